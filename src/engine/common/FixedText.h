#pragma once
// A fixed-width text field of a report record: always exactly N characters,
// left-justified and blank-padded, longer values cut at N. Views compare
// some fields padded (pool names) and some trimmed, so both forms are kept
// at hand instead of padding at every call site.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kov {

// Blanks only: the host reports pad with spaces, and a tab or NUL inside a
// field is data, not padding.
inline std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

template <std::size_t N>
class FixedText {
public:
    // Copied from a constant rather than filled: a record's adjacent fields
    // are then blanked by a few stores instead of a call per field.
    FixedText() : chars_(kBlanks) {}
    FixedText(std::string_view value) { Assign(value); }  // NOLINT: assignment from text is the point

    FixedText& operator=(std::string_view value) {
        Assign(value);
        return *this;
    }
    // The value without blanks at either end, as TrimBlanks gives it. Only
    // the leading ones are looked for: the trailing ones become padding.
    // False where the value was blanks only.
    bool AssignTrimmed(std::string_view value) {
        // Most values start at the field's first character.
        const std::size_t first = !value.empty() && value[0] != ' ' ? 0 : value.find_first_not_of(' ');
        const bool blank = first == std::string_view::npos;
        Assign(blank ? std::string_view{} : value.substr(first));
        return !blank;
    }

    static constexpr std::size_t Width = N;

    std::string_view Padded() const { return {chars_.data(), N}; }
    // TrimBlanks(Padded()), the padding skipped a word at a time from the
    // end: a trend trims the name of every object of every report.
    std::string_view Trimmed() const {
        if constexpr (std::endian::native != std::endian::little) {
            return TrimBlanks(Padded());
        } else {
            std::size_t end = N;
            for (bool found = false; end >= 8 && !found;) {
                std::uint64_t word = 0;
                std::memcpy(&word, chars_.data() + end - 8, 8);
                const std::uint64_t notBlank = word ^ 0x2020202020202020ULL;  // a zero byte per blank
                found = notBlank != 0;
                end -= found ? static_cast<std::size_t>(std::countl_zero(notBlank)) / 8 : 8;
            }
            if (end < 8)
                while (end > 0 && chars_[end - 1] == ' ') --end;
            std::size_t first = 0;
            while (first < end && chars_[first] == ' ') ++first;
            return {chars_.data() + first, end - first};
        }
    }
    std::string PaddedString() const { return std::string(Padded()); }
    std::string TrimmedString() const { return std::string(Trimmed()); }
    bool IsBlank() const { return chars_ == kBlanks; }
    // All N characters, for a scan that reads them in wide words.
    const std::array<char, N>& Chars() const { return chars_; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.chars_ == b.chars_; }

private:
    // Compared whole, not character by character: most long names of a
    // report are blank.
    static constexpr std::array<char, N> kBlanks = [] {
        std::array<char, N> blanks{};
        blanks.fill(' ');
        return blanks;
    }();

    void Assign(std::string_view value) {
        // A report field is as wide as its record's: one copy of known size.
        // GCC's optimiser, seeing a short string's inline buffer passed in,
        // warns about this copy on the branch such a string never takes.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
        if (value.size() >= N) {
            std::memcpy(chars_.data(), value.data(), N);
            return;
        }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
        const std::size_t copied = value.copy(chars_.data(), N);
        std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(copied), chars_.end(), ' ');
    }

    std::array<char, N> chars_{};
};

}  // namespace kov
