#include "common/CollectionDate.h"

#include <charconv>
#include <string>
#include <vector>

#include "common/TextMatch.h"

namespace kov {

namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<int> MonthNamed(std::string_view name) {
    static constexpr std::array<const char*, 12> months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (name.size() != 3) return std::nullopt;
    for (std::size_t m = 0; m < months.size(); ++m)
        if (ContainsIgnoringCase(name, months[m])) return static_cast<int>(m) + 1;
    return std::nullopt;
}

int FullYear(std::string_view digits, int year) {
    if (digits.size() > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::optional<CalendarDate> ReadCollectionDate(std::string_view text) {
    const char separator = text.find('/') != std::string_view::npos ? '/' : '-';
    const std::vector<std::string_view> parts = Split(text, separator);
    if (parts.size() != 3) return std::nullopt;
    std::optional<CalendarDate> date;
    if (const auto month = MonthNamed(parts[1]); month && separator == '-') {
        const auto day = Number(parts[0]), year = Number(parts[2]);
        if (day && year) date = CalendarDate{FullYear(parts[2], *year), *month, *day};
    } else if (separator == '-' && parts[0].size() == 4) {
        const auto year = Number(parts[0]), mon = Number(parts[1]), day = Number(parts[2]);
        if (year && mon && day) date = CalendarDate{*year, *mon, *day};
    } else if (separator == '/') {
        const auto mon = Number(parts[0]), day = Number(parts[1]), year = Number(parts[2]);
        if (mon && day && year) date = CalendarDate{FullYear(parts[2], *year), *mon, *day};
    }
    if (!date || date->Month < 1 || date->Month > 12 || date->Day < 1 || date->Day > 31) return std::nullopt;
    return date;
}

std::optional<std::array<int, 3>> ReadCollectionTime(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ':');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    const auto hour = Number(parts[0]), minute = Number(parts[1]);
    if (!hour || !minute || *hour > 23 || *minute > 59 || *hour < 0 || *minute < 0) return std::nullopt;
    std::optional<int> second = 0;
    if (parts.size() == 3) second = Number(parts[2]);
    if (!second || *second < 0 || *second > 59) return std::nullopt;
    return std::array<int, 3>{*hour, *minute, *second};
}

}  // namespace kov
