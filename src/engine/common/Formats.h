#pragma once
// Every display pattern of the analysis, in one place. Grouping is "," and
// the decimal point "." throughout.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/NumberText.h"  // ShortestDecimal: "95.25", "2000"

namespace kov {

// Grouped thousands with a fixed number of decimals: "1,234,567.89".
std::string Grouped(double value, int decimals);
// "#,###.000": grouped with three decimals and no leading zero (".450").
std::string GroupedThousandths(double value);
// "0.###": up to three decimals, the point kept when none follow ("9.").
std::string UpToThreeDecimals(double value);
// "#0.0%": a fraction as a percentage with one decimal, "40.0%", "0.5%".
std::string Percent(double fraction);
// Digits and a minus sign when negative, no grouping: "-1234".
std::string PlainInteger(long long value);
// Shortest fixed-point text that reads back as the single-precision value,
// for figures a chart plots in single precision ("12.345", not "12.3450002").
std::string ShortestSingle(float value);
// Shortest text after a sign position: one blank when not negative, so
// labels of positive and negative values line up (" 2000", "-3").
std::string SignPositioned(double value);
// Names joined by ", ", then " and N more" when the list held `total`:
// "DB1.TS1, DB1.TS2 and 14 more".
std::string ListedWithMore(const std::vector<std::string_view>& shown, std::size_t total);

}  // namespace kov
