#pragma once
// UTF-8 text measured as a reader sees it: the arrows, signs and dashes of
// the advice and comparison texts are several bytes but one character.

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace kov {

constexpr bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Characters of well-formed UTF-8 text (every byte that starts one).
inline std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return !IsContinuationByte(static_cast<unsigned char>(c)); }));
}

}  // namespace kov
