#include <gtest/gtest.h>

#include "support/CsvReader.h"
#include "views/CsvTable.h"

namespace kov {
namespace {

using test::ReadCsv;

TEST(CsvField, QuotesOnlyWhatWouldSplitOrEndTheField) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {{"BP0", "BP0"},
                 {" padded ", " padded "},
                 {"1,234", "\"1,234\""},
                 {"say \"hi\"", "\"say \"\"hi\"\"\""},
                 {"two\nlines", "\"two\nlines\""},
                 {"semi;colon", "semi;colon"}};
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(ValidUtf8, KeepsWellFormedTextAndReplacesEachBadByte) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {{"plain", "plain"},
                 {"Gr\u00f6\u00df, \u20ac and \U0001F600", "Gr\u00f6\u00df, \u20ac and \U0001F600"},
                 {"Gro\xDF", "Gro\xEF\xBF\xBD"},                                             // a Latin-1 byte
                 {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                   // overlong "/"
                 {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                   // a surrogate
                 {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},                           // a sequence cut short
                 {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}};  // past U+10FFFF
    for (const auto& c : cases) EXPECT_EQ(ValidUtf8(c.bytes), c.text) << c.bytes;
}

// A grid with what a report can put in a cell: grouped numbers, thousandths
// without a leading zero, percentages, names with commas, quotes, line ends
// and bytes that are no UTF-8, blanks that pad a name to its column, and a
// short row.
SortableTable AwkwardGrid() {
    return SortableTable(StringTable{{"Object", "Get Pages", "Hit Ratio", "Note"},
                                     {{"DB1.TS1   ", "1,234,567", "40.0%", "  plain"},
                                      {"DB1,TS2", "-12.50", ".450", "say \"hi\""},
                                      {"DB1.IX\xE9", "0.00", "n/a", "two\r\nlines"},
                                      {"SHORT", "7"}}});
}

TEST(CsvText, ReadsBackAsTheGridWithPlainNumbersInItsPresentOrder) {
    SortableTable grid = AwkwardGrid();
    grid.SortBy(1, false);  // the marker must not reach the file
    const test::CsvRecords expected = {{"Object", "Get Pages", "Hit Ratio", "Note"},
                                       {"DB1.TS1", "1234567", "40.0%", "plain"},
                                       {"SHORT", "7", "", ""},
                                       {"DB1.IX\xEF\xBF\xBD", "0", "n/a", "two\r\nlines"},
                                       {"DB1,TS2", "-12.5", "0.45", "say \"hi\""}};
    EXPECT_EQ(ReadCsv(CsvText(grid)), expected);
}

TEST(CsvText, AnEmptyGridIsItsHeadingLine) {
    EXPECT_EQ(CsvText(SortableTable(StringTable{{"Pool", "VP Size"}, {}})), "Pool,VP Size\r\n");
    EXPECT_EQ(CsvText(SortableTable()), "\r\n");
}

TEST(TabSeparatedText, GivesTheChosenCellsUnderTheirHeadingsInGridOrder) {
    const SortableTable grid = AwkwardGrid();
    const struct {
        std::vector<std::size_t> rows, columns;
        std::string text;
    } cases[] = {
        {{0}, {0, 1, 2, 3}, "Object\tGet Pages\tHit Ratio\tNote\nDB1.TS1\t1234567\t40.0%\tplain\n"},
        // Rows and columns come back in grid order, each once.
        {{2, 1, 2}, {1, 3}, "Get Pages\tNote\n-12.5\tsay \"hi\"\n0\ttwo  lines\n"},
        {{3}, {2, 3}, "Hit Ratio\tNote\n\t\n"},
        {{0, 1}, {}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TabSeparatedText(grid, c.rows, c.columns), c.text);
}

}  // namespace
}  // namespace kov
