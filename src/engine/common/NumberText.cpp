#include "common/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

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

}  // namespace kov
