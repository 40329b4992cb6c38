#pragma once
// Number-to-text conversions shared by the readers' messages and the writer.

#include <string>

namespace kov {

// Shortest decimal text that reads back as the same double, without exponent
// for the magnitudes reports hold ("1000", "12.5", "-0.25").
std::string ShortestDecimal(double value);

}  // namespace kov
