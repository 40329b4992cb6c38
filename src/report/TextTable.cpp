#include "report/TextTable.h"

#include <algorithm>
#include <sstream>

#include "common/Utf8.h"

namespace kov {

// The first keyColumns columns (names) left-aligned, the figures right-aligned.
std::string TextTable(const StringTable& table, std::size_t keyColumns, const std::string& indent) {
    std::vector<std::size_t> widths(table.Headings.size(), 0);
    const auto measure = [&](const std::vector<std::string>& row) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], CharacterCount(row[c]));
    };
    measure(table.Headings);
    for (const auto& row : table.Rows) measure(row);
    std::ostringstream out;
    const auto print = [&](const std::vector<std::string>& row) {
        std::string line = indent;
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
            const std::string pad(widths[c] - CharacterCount(row[c]), ' ');
            line += (c == 0 ? "" : "  ") + (c < keyColumns ? row[c] + pad : pad + row[c]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    };
    print(table.Headings);
    for (const auto& row : table.Rows) print(row);
    return out.str();
}

}  // namespace kov
