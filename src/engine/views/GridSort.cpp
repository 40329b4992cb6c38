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
    if (error != std::errc() || end != digits.data() + digits.size() ||
        digits.find_first_of("iInN") != std::string::npos)
        return std::nullopt;
    return value;
}

std::string SortedHeading(std::string_view heading, bool ascending) {
    return std::string(heading) + (ascending ? " (A)" : " (D)");
}

std::vector<std::size_t> SortedOrder(const std::vector<std::string_view>& cells,
                                     const std::vector<std::optional<double>>& numbers, bool ascending) {
    std::vector<std::size_t> order(cells.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto less = [&](std::size_t a, std::size_t b) {
        if (numbers[a] && numbers[b]) return *numbers[a] < *numbers[b];
        return cells[a] < cells[b];
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ascending ? less(a, b) : less(b, a); });
    return order;
}

SortableTable::SortableTable(StringTable table) : table_(std::move(table)), headingTable_(table_.Headings) {
    numbers_.reserve(table_.Rows.size());
    for (const auto& row : table_.Rows) {
        std::vector<std::optional<double>>& numbers = numbers_.emplace_back();
        numbers.reserve(row.size());
        for (const std::string& cell : row) numbers.push_back(CellNumber(cell));
    }
}

std::optional<double> SortableTable::Number(std::size_t row, std::size_t column) const {
    if (row >= numbers_.size() || column >= numbers_[row].size()) return std::nullopt;
    return numbers_[row][column];
}

void SortableTable::SortBy(int column, bool ascending) {
    table_.Headings = headingTable_;
    const auto c = static_cast<std::size_t>(column);
    if (column < 0 || c >= table_.Headings.size()) return;
    table_.Headings[c] = SortedHeading(table_.Headings[c], ascending);

    std::vector<std::string_view> cells;
    std::vector<std::optional<double>> numbers;
    cells.reserve(table_.Rows.size());
    numbers.reserve(table_.Rows.size());
    for (std::size_t r = 0; r < table_.Rows.size(); ++r) {
        const bool present = c < table_.Rows[r].size();
        cells.push_back(present ? std::string_view(table_.Rows[r][c]) : std::string_view());
        numbers.push_back(present ? numbers_[r][c] : std::nullopt);
    }
    const std::vector<std::size_t> order = SortedOrder(cells, numbers, ascending);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<std::optional<double>>> rowNumbers;
    rows.reserve(order.size());
    rowNumbers.reserve(order.size());
    for (std::size_t r : order) {
        rows.push_back(std::move(table_.Rows[r]));
        rowNumbers.push_back(std::move(numbers_[r]));
    }
    table_.Rows = std::move(rows);
    numbers_ = std::move(rowNumbers);
}

}  // namespace kov
