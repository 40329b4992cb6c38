#pragma once
// Number-to-text conversions shared by the readers' messages and the writer.

#include <cstdint>
#include <optional>
#include <string>

namespace kov {

// Shortest decimal text that reads back as the same double, without exponent
// for the magnitudes reports hold ("1000", "12.5", "-0.25").
std::string ShortestDecimal(double value);

// The nearest whole number, halves to even, when it lies within
// [least, most]; nothing beyond (or for a NaN), which a chart reports as
// "6 : Overflow".
std::optional<long long> WholeNumberWithin(double value, long long least, long long most);
// The same within 32 bits.
std::optional<long long> WholeNumber32(double value);

}  // namespace kov
