#pragma once
// A grid as other programs read it: the CSV file that "Save as CSV…" and
// kovgraph-report --csv write, and the tab-separated text a copy puts on the
// clipboard. A number cell is written from the number it reads as, without
// grouping and with "." as the decimal point, so a spreadsheet in any locale
// reads "1,234" as one thousand two hundred and thirty-four and never as a
// decimal. Text is always valid UTF-8: report names are bytes from the host,
// and a byte that is no UTF-8 becomes U+FFFD.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "views/GridSort.h"

namespace kov {

// Invalid UTF-8 sequences replaced by U+FFFD; valid text unchanged.
std::string ValidUtf8(std::string_view bytes);

// A cell as it leaves the program: "1234.5" for "1,234.50", text without the
// blanks that pad it to its column ("BP0" for "BP0     ").
std::string ExportCell(const SortableTable& grid, std::size_t row, std::size_t column);

// One CSV field: quoted (quotes doubled) when it holds a comma, a quote, CR or LF.
std::string CsvField(std::string_view text);

// The whole grid in its present order under its headings (no sort marker),
// one record per line ending in CR LF, every record as wide as the widest.
std::string CsvText(const SortableTable& grid);

// The chosen rows and columns (in grid order, whatever order they are given
// in) under their headings, cells apart by tabs, lines ending in LF. A tab or
// line end inside a cell becomes a blank, so each cell stays one cell.
std::string TabSeparatedText(const SortableTable& grid, std::vector<std::size_t> rows,
                             std::vector<std::size_t> columns);

}  // namespace kov
