#include "common/Formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/NumberText.h"

namespace kov {

std::string Grouped(double value, int decimals) {
    if (!std::isfinite(value)) return ShortestDecimal(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text == "-0" || text.find_first_not_of("-0.") == std::string::npos) {
        if (text.front() == '-') text.erase(0, 1);  // no "-0.00"
    }
    const std::size_t start = text.front() == '-' ? 1 : 0;
    std::size_t integerEnd = text.find('.');
    if (integerEnd == std::string::npos) integerEnd = text.size();
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on inserts into a string.
    std::string grouped(text, 0, start);
    for (std::size_t i = start; i < integerEnd; ++i) {
        grouped += text[i];
        const std::size_t digitsLeft = integerEnd - i - 1;
        if (digitsLeft > 0 && digitsLeft % 3 == 0) grouped += ',';
    }
    grouped.append(text, integerEnd, std::string::npos);
    return grouped;
}

std::string GroupedThousandths(double value) {
    std::string text = Grouped(value, 3);
    const std::size_t start = text.front() == '-' ? 1 : 0;
    if (text.compare(start, 2, "0.") == 0) text.erase(start, 1);
    return text;
}

std::string UpToThreeDecimals(double value) {
    std::string text = Grouped(value, 3);
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    while (text.back() == '0') text.pop_back();
    return text;
}

std::string Percent(double fraction) {
    std::string text = Grouped(fraction * 100, 1);  // "#0.0%" has no grouping
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return text + "%";
}

std::string PlainInteger(long long value) {
    return std::to_string(value);
}

std::string ShortestSingle(float value) {
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return written.ec == std::errc() ? std::string(text, written.ptr) : ShortestDecimal(value);
}

std::string SignPositioned(double value) {
    std::string text(value < 0 ? 0 : 1, ' ');
    return text.append(ShortestDecimal(value));
}

std::string ListedWithMore(const std::vector<std::string_view>& shown, std::size_t total) {
    std::string text;
    for (const std::string_view name : shown) {
        if (!text.empty()) text += ", ";
        text += name;
    }
    if (total > shown.size()) text += " and " + Grouped(static_cast<double>(total - shown.size()), 0) + " more";
    return text;
}

}  // namespace kov
