#include "views/CsvTable.h"

#include <algorithm>

#include "common/FixedText.h"
#include "common/NumberText.h"
#include "common/Utf8.h"

namespace kov {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 sequence starting at `at`, 0 if none.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuationByte(byte(i))) return 0;
    return length;
}

// The headings, then every row, each padded with empty fields to the widest.
std::size_t GridWidth(const SortableTable& grid) {
    std::size_t width = grid.PlainHeadings().size();
    for (const auto& row : grid.Table().Rows) width = std::max(width, row.size());
    return width;
}

std::string HeadingOf(const SortableTable& grid, std::size_t column) {
    const auto& headings = grid.PlainHeadings();
    return column < headings.size() ? ValidUtf8(headings[column]) : std::string();
}

// A tab or a line end would split the cell in a spreadsheet's paste.
std::string OneTabCell(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::vector<std::size_t> InGridOrder(std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

}  // namespace

std::string ValidUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0) {
            text += kReplacement;
            ++at;
        } else {
            text += bytes.substr(at, length);
            at += length;
        }
    }
    return text;
}

std::string ExportCell(const SortableTable& grid, std::size_t row, std::size_t column) {
    if (const auto number = grid.Number(row, column)) return ShortestDecimal(*number);
    const auto& rows = grid.Table().Rows;
    if (row >= rows.size() || column >= rows[row].size()) return {};
    return ValidUtf8(TrimBlanks(rows[row][column]));
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvText(const SortableTable& grid) {
    const std::size_t width = GridWidth(grid);
    std::string csv;
    const auto record = [&](const auto& fieldAt) {
        for (std::size_t c = 0; c < width; ++c) {
            if (c > 0) csv += ',';
            csv += CsvField(fieldAt(c));
        }
        csv += "\r\n";
    };
    record([&](std::size_t c) { return HeadingOf(grid, c); });
    for (std::size_t r = 0; r < grid.Table().Rows.size(); ++r)
        record([&](std::size_t c) { return ExportCell(grid, r, c); });
    return csv;
}

std::string TabSeparatedText(const SortableTable& grid, std::vector<std::size_t> rows,
                             std::vector<std::size_t> columns) {
    rows = InGridOrder(std::move(rows));
    columns = InGridOrder(std::move(columns));
    std::string text;
    const auto line = [&](const auto& cellAt) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) text += '\t';
            text += OneTabCell(cellAt(columns[i]));
        }
        text += '\n';
    };
    if (columns.empty()) return text;
    line([&](std::size_t c) { return HeadingOf(grid, c); });
    for (std::size_t r : rows) line([&](std::size_t c) { return ExportCell(grid, r, c); });
    return text;
}

}  // namespace kov
