#include "analysis/GridSort.h"

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

bool CellLess(std::string_view a, std::string_view b) {
    const auto x = CellNumber(a);
    const auto y = CellNumber(b);
    if (x && y) return *x < *y;
    return a < b;
}

void SortTable(StringTable& table, const std::vector<std::string>& headingTable, int column, bool ascending) {
    table.Headings = headingTable;
    const auto c = static_cast<std::size_t>(column);
    if (c >= table.Headings.size()) return;
    table.Headings[c] += ascending ? " (A)" : " (D)";
    std::stable_sort(table.Rows.begin(), table.Rows.end(), [&](const auto& left, const auto& right) {
        const std::string_view a = c < left.size() ? std::string_view(left[c]) : std::string_view();
        const std::string_view b = c < right.size() ? std::string_view(right[c]) : std::string_view();
        return ascending ? CellLess(a, b) : CellLess(b, a);
    });
}

}  // namespace kov
