#pragma once
// A short text of at most N characters held in place, for values of which a
// run keeps very many: a month of hourly reports at capacity carries
// millions of object names, and a std::string longer than its small buffer
// (15 characters, which most names pass) takes a heap block each.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/FixedText.h"

namespace kov {

template <std::size_t N>
class InlineText;
template <std::size_t N>
InlineText<N> TrimmedText(const FixedText<N>& field);

template <std::size_t N>
class InlineText {
    static_assert(N < 256, "the length is kept in one byte");

public:
    static constexpr std::size_t Capacity = N;

    InlineText() = default;
    // A longer text is refused (std::length_error): cutting it would change it.
    InlineText(std::string_view text) {  // NOLINT: taken from text like a std::string
        if (text.size() > N)
            throw std::length_error("\"" + std::string(text) + "\" is longer than " + std::to_string(N) +
                                    " characters");
        std::copy(text.begin(), text.end(), chars_.begin());
        size_ = static_cast<std::uint8_t>(text.size());
    }
    InlineText(const char* text) : InlineText(std::string_view(text)) {}         // NOLINT: as above
    InlineText(const std::string& text) : InlineText(std::string_view(text)) {}  // NOLINT: as above

    std::string_view View() const { return {chars_.data(), size_}; }
    operator std::string_view() const { return View(); }  // NOLINT: read like a std::string
    std::string String() const { return std::string(View()); }
    bool empty() const { return size_ == 0; }

    // One comparison for every kind of text: another InlineText, a
    // std::string or a literal all read as a view.
    friend bool operator==(const InlineText& a, std::string_view b) { return a.View() == b; }

    friend InlineText TrimmedText<N>(const FixedText<N>& field);

private:
    std::array<char, N> chars_{};
    std::uint8_t size_ = 0;
};

// A record's fixed-width field, trimmed: where the value starts at the
// field's start (nearly always) the whole field is copied in one move of
// known size, and the length alone says where the value ends.
template <std::size_t N>
InlineText<N> TrimmedText(const FixedText<N>& field) {
    const std::string_view trimmed = field.Trimmed();
    if (trimmed.data() != field.Chars().data()) return InlineText<N>(trimmed);
    InlineText<N> text;
    text.chars_ = field.Chars();
    text.size_ = static_cast<std::uint8_t>(trimmed.size());
    return text;
}

}  // namespace kov
