#pragma once
// A strict RFC 4180 reader for the tests: records end in CR LF (the last one
// too), a field is quoted or holds no quote, CR or LF, and a quote inside a
// quoted field is doubled. Anything else throws, so a test that reads a file
// back also proves the file is well formed.

#include <gtest/gtest.h>

#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/FixedText.h"
#include "views/GridSort.h"

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

// A copied or saved line against the cells of the row it comes from: a
// number as plain digits with "." that read as the same number, a text
// without the blanks that pad it, a missing cell as an empty field.
inline void ExpectFieldsAreCells(const std::vector<std::string>& fields, const std::vector<std::string>& cells) {
    ASSERT_GE(fields.size(), cells.size());
    for (std::size_t c = 0; c < fields.size(); ++c) {
        const std::string cell = c < cells.size() ? cells[c] : "";
        const std::string& field = fields[c];
        SCOPED_TRACE("cell '" + cell + "' field '" + field + "'");
        if (const auto number = CellNumber(cell)) {
            double read = 0;
            const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), read);
            EXPECT_TRUE(field.find_first_not_of("-0123456789.") == std::string::npos && error == std::errc() &&
                        end == field.data() + field.size());
            EXPECT_EQ(read, *number);
        } else {
            EXPECT_EQ(field, TrimBlanks(cell));
        }
    }
}

}  // namespace kov::test
