#include "common/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kov {

std::string ShortestDecimal(double value) {
    if (value == 0) return "0";  // also folds -0
    std::array<char, 64> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (error != std::errc()) {
        auto general = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        end = general.ptr;
    }
    return std::string(buffer.data(), end);
}

std::optional<long long> WholeNumberWithin(double value, long long least, long long most) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(least) && rounded <= static_cast<double>(most))) return std::nullopt;
    return static_cast<long long>(rounded);
}

std::optional<long long> WholeNumber32(double value) {
    return WholeNumberWithin(value, INT32_MIN, INT32_MAX);
}

}  // namespace kov
