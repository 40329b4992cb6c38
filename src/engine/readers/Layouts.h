#pragma once
// Column layouts of the report lines: one FieldSpan per field, in the order
// the fields are parsed, so that a field's ordinal in the table is the
// "Error in Field" number a field error reports. Columns are 1-based.

#include <string_view>
#include <vector>

namespace kov {

struct FieldSpan {
    int Start = 0;  // 1-based column
    int Length = 0;

    // The field's text in a line; shorter when the line ends inside the
    // field, empty when it ends before it.
    constexpr std::string_view In(std::string_view line) const {
        const auto offset = static_cast<std::size_t>(Start - 1);
        if (offset >= line.size()) return {};
        return line.substr(offset, static_cast<std::size_t>(Length));
    }
    constexpr int End() const { return Start + Length - 1; }
};

using Layout = std::vector<FieldSpan>;

// Start column of activity position p (1..40) in a line whose block starts at
// blockStart: 10 columns each, except positions 9 and 10 with 6.
constexpr int ActivityColumn(int blockStart, int position) {
    if (position <= 9) return blockStart + 10 * (position - 1);
    if (position == 10) return blockStart + 86;
    return blockStart + 92 + 10 * (position - 11);
}
constexpr int ActivityWidth(int position) {
    return (position == 9 || position == 10) ? 6 : 10;
}

inline constexpr int PoolActivityStart = 67;
inline constexpr int ObjectActivityStart = 57;

// Statistics report lines.
const Layout& HeaderLayout();  // 18 fields
const Layout& PoolLayout();    // 52 fields
const Layout& ObjectLayout();  // 45 fields

// Simulation header: the fixed part (fields 1-10), then SimVPSize(i) and
// SimHPSize(i) for i = 1..n, then SizeLabel(i) for i = 1..n.
struct SimHeaderLayout {
    static constexpr int FixedFields = 10;
    Layout Fixed;  // RecordTag .. SimValue68
    static FieldSpan VPSize(int point) { return {74 + 20 * (point - 1), 10}; }
    static FieldSpan HPSize(int point) { return {84 + 20 * (point - 1), 10}; }
    static FieldSpan SizeLabel(int points, int point) { return {74 + 20 * points + 8 * (point - 1), 8}; }
};
const SimHeaderLayout& SimHeader();

// Simulation pool and object lines for a simulation of n size points.
struct SimLineLayout {
    int Points = 0;
    static constexpr FieldSpan RecordTag{5, 16};
    static constexpr FieldSpan IncludeFlag{21, 1};
    static constexpr FieldSpan ObjectName{22, 27};
    static constexpr FieldSpan SimValue49{49, 10};
    static constexpr FieldSpan SimValue59{59, 6};
    // Group 1 of point i: Detail1..Detail5 (widths 10, 10, 6, 10, 10).
    constexpr FieldSpan Group1(int point, int detail) const {
        constexpr int offsets[] = {0, 0, 10, 20, 26, 36};
        constexpr int widths[] = {0, 10, 10, 6, 10, 10};
        return {65 + 46 * (point - 1) + offsets[detail], widths[detail]};
    }
    // Group 2 of point i: Detail6..Detail8 (widths 10, 10, 6).
    constexpr FieldSpan Group2(int point, int detail) const {
        constexpr int offsets[] = {0, 0, 0, 0, 0, 0, 0, 10, 20};  // indexed by Detail6..8
        constexpr int widths[] = {0, 0, 0, 0, 0, 0, 10, 10, 6};
        return {65 + 46 * Points + 26 * (point - 1) + offsets[detail], widths[detail]};
    }
    // Detail 1..8 of point i, in whichever group holds it.
    constexpr FieldSpan Detail(int point, int detail) const {
        return detail <= 5 ? Group1(point, detail) : Group2(point, detail);
    }
    // The column just past the last field: the length of a full line.
    constexpr int LineLength() const { return 64 + 72 * Points; }
};

}  // namespace kov
