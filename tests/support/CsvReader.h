#pragma once
// A strict RFC 4180 reader for the tests: records end in CR LF (the last one
// too), a field is quoted or holds no quote, CR or LF, and a quote inside a
// quoted field is doubled. Anything else throws, so a test that reads a file
// back also proves the file is well formed.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kov::test {

using CsvRecords = std::vector<std::vector<std::string>>;

inline CsvRecords ReadCsv(std::string_view text) {
    CsvRecords records;
    std::vector<std::string> record;
    std::size_t at = 0;
    const auto fail = [&](const char* why) {
        throw std::runtime_error(std::string(why) + " at byte " + std::to_string(at));
    };
    while (at < text.size()) {
        std::string field;
        if (text[at] == '"') {
            for (++at;; ++at) {
                if (at >= text.size()) fail("unterminated quoted field");
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        field += '"';
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += text[at];
            }
        } else {
            while (at < text.size() && text[at] != ',' && text[at] != '\r') {
                if (text[at] == '"' || text[at] == '\n') fail("quote or line feed in an unquoted field");
                field += text[at++];
            }
        }
        record.push_back(std::move(field));
        if (at < text.size() && text[at] == ',') {
            ++at;
            if (at == text.size()) fail("a record ends in a comma without its line end");
            continue;
        }
        if (text.substr(at, 2) != "\r\n") fail("a record does not end in CR LF");
        at += 2;
        records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

}  // namespace kov::test
