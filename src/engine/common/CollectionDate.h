#pragma once
// The collection date and time as the collection tools write them in a
// report header, read into numbers so that reports can be put in time order
// and printed in one form whatever form their tool wrote.

#include <array>
#include <optional>
#include <string_view>

namespace kov {

struct CalendarDate {
    int Year = 0, Month = 0, Day = 0;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// The date forms collection tools write: 30-NOV-26, 2026-11-30, 11/30/2026.
// Two-digit years 00..29 are this century's, 30..99 the last one's.
std::optional<CalendarDate> ReadCollectionDate(std::string_view text);

// "hh:mm" or "hh:mm:ss": hour, minute and second (0 when not written).
std::optional<std::array<int, 3>> ReadCollectionTime(std::string_view text);

}  // namespace kov
