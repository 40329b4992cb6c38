#include "views/GridSort.h"

#include <algorithm>
#include <charconv>

#include "common/FixedText.h"

namespace kov {

bool GridSortState::Toggle() {
    code_ = code_ == 1 ? 2 : 1;
    return code_ == 1;
}

std::optional<double> CellNumber(std::string_view cell) {
    const std::string_view trimmed = TrimBlanks(cell);
    if (trimmed.empty()) return std::nullopt;
    std::string digits;
    digits.reserve(trimmed.size());
    for (char c : trimmed)
        if (c != ',') digits += c;
    if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.find_first_of("iInN") != std::string::npos)
        return std::nullopt;
    return value;
}

void SortTable(StringTable& table, const std::vector<std::string>& headingTable, int column, bool ascending) {
    table.Headings = headingTable;
    const auto c = static_cast<std::size_t>(column);
    if (c >= table.Headings.size()) return;
    table.Headings[c] += ascending ? " (A)" : " (D)";

    // Each cell is read as a number once, not at every comparison, so a
    // 5000-row grid sorts at once.
    struct Key {
        std::optional<double> Number;
        std::string_view Text;
        std::size_t Row;
    };
    std::vector<Key> keys;
    keys.reserve(table.Rows.size());
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const std::string_view cell = c < table.Rows[r].size() ? std::string_view(table.Rows[r][c]) : std::string_view();
        keys.push_back({CellNumber(cell), cell, r});
    }
    const auto less = [](const Key& a, const Key& b) {
        if (a.Number && b.Number) return *a.Number < *b.Number;
        return a.Text < b.Text;
    };
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const Key& a, const Key& b) { return ascending ? less(a, b) : less(b, a); });
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(keys.size());
    for (const Key& key : keys) sorted.push_back(std::move(table.Rows[key.Row]));
    table.Rows = std::move(sorted);
}

}  // namespace kov
