#pragma once
// Numbers of fixed-width columns whose width the caller knows when it is
// compiled: the counters of the statistics lines and the results of the
// simulation object lines, more than a hundred to a line. Nearly all of them
// are at most 8 characters of digits right-aligned in blanks, a decimal with
// one separator among them. That form is read a word at a time without a
// call; every other form, and every error, goes to ParseNumberField, so the
// values and the messages are the ones it gives.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/NumberField.h"

namespace kov {

namespace column_detail {

constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
constexpr double kPowersOfTen[9] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// Byte i of the text in byte i of the word (little-endian machines only).
inline std::uint64_t Load8(const char* text) {
    std::uint64_t word = 0;
    std::memcpy(&word, text, 8);
    return word;
}

// Eight digit values, one per byte and the most significant in the lowest
// byte, as one number: three multiplications instead of a loop.
constexpr std::uint64_t EightDigits(std::uint64_t digits) {
    digits = digits * 10 + (digits >> 8);
    return (((digits & 0x000000FF000000FFULL) * 0x000F424000000064ULL) +
            (((digits >> 16) & 0x000000FF000000FFULL) * 0x0000271000000001ULL)) >>
           32;
}

// Characters turned into digit values (character ^ '0'): nonzero in the high
// nibble of every byte that is not a digit 0..9.
constexpr std::uint64_t NotDigits(std::uint64_t values) {
    return (values & (kEachByte * 0xF0)) | (((values & (kEachByte * 0x0F)) + kEachByte * 0x06) & (kEachByte * 0xF0));
}

// The last 8 characters of a column as one word, the last in the highest
// byte. A narrower column reads as if blanks stood before it (the bytes
// read there must belong to the same line); a wider one must have only
// blanks before its last 8, else false.
template <std::size_t Width>
[[gnu::always_inline]] inline bool LastEight(const char* field, std::uint64_t& word) {
    static_assert(Width >= 1 && Width <= 16, "a counter column is 1 to 16 characters wide");
    if constexpr (Width > 8) {
        for (std::size_t i = 0; i < Width - 8; ++i)
            if (field[i] != ' ') return false;
    }
    word = Load8(field + Width - 8);
    if constexpr (Width < 8) {
        constexpr std::uint64_t before = (std::uint64_t{1} << (8 * (8 - Width))) - 1;
        word = (word & ~before) | ((kEachByte * ' ') & before);
    }
    return true;
}

// A whole number with more than 8 digits in a column wider than 8 (large
// get-page counts fill a 10-wide column): blanks, then digits to the end,
// at most the Int32 maximum. Out of line, as it is rare.
template <std::size_t Width>
[[gnu::noinline]] bool LongWhole(const char* field, std::int32_t& value) {
    static_assert(Width > 8 && Width <= 16);
    std::uint64_t head = 0;
    bool digits = false;
    for (std::size_t i = 0; i < Width - 8; ++i) {
        const char c = field[i];
        if (c >= '0' && c <= '9') {
            head = head * 10 + static_cast<std::uint64_t>(c - '0');
            digits = true;
        } else if (c != ' ' || digits) {
            return false;
        }
    }
    const std::uint64_t values = Load8(field + Width - 8) ^ (kEachByte * '0');
    if (NotDigits(values) != 0) return false;
    const std::uint64_t whole = head * 100000000 + EightDigits(values);
    if (whole > 2147483647) return false;
    value = static_cast<std::int32_t>(whole);
    return true;
}

}  // namespace column_detail

namespace column_detail {

// The plain whole numbers of TryPlainWhole, with the value taken only when
// `value` is given: a read that skips a counter still checks it this way.
template <std::size_t Width>
[[gnu::always_inline]] inline bool PlainWhole(const char* field, std::int32_t* value) {
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    } else {
        std::uint64_t word = 0;
        if (!LastEight<Width>(field, word)) {
            std::int32_t unused = 0;
            if constexpr (Width > 8) return LongWhole<Width>(field, value != nullptr ? *value : unused);
            return false;
        }
        const std::uint64_t notBlank = word ^ (kEachByte * ' ');
        if (notBlank == 0) return false;
        const std::uint64_t used = ~std::uint64_t{0} << (std::countr_zero(notBlank) & ~7);
        const std::uint64_t values = word ^ (kEachByte * '0');
        if ((NotDigits(values) & used) != 0) return false;
        if (value != nullptr) *value = static_cast<std::int32_t>(EightDigits(values & used));
        return true;
    }
}

}  // namespace column_detail

// A right-aligned whole number without a sign: at most 8 digits, or in a
// wider column up to the Int32 maximum; false for any other text (which may
// still be a number).
template <std::size_t Width>
[[gnu::always_inline]] inline bool TryPlainWhole(const char* field, std::int32_t& value) {
    return column_detail::PlainWhole<Width>(field, &value);
}
// The same test without the value.
template <std::size_t Width>
[[gnu::always_inline]] inline bool IsPlainWhole(const char* field) {
    return column_detail::PlainWhole<Width>(field, nullptr);
}

// The value of a whole-number column already known to be blanks, then 1 to
// 8 digits to its end (as PlainCounters finds every one of a sound counter
// block): TryPlainWhole without its checks.
template <std::size_t Width>
[[gnu::always_inline]] inline std::int32_t KnownPlainWhole(const char* field) {
    using namespace column_detail;
    static_assert(Width >= 8, "the last 8 characters are read as one word");
    static_assert(std::endian::native == std::endian::little);
    const std::uint64_t word = Load8(field + Width - 8);
    const std::uint64_t used = ~std::uint64_t{0} << (std::countr_zero(word ^ (kEachByte * ' ')) & ~7);
    return static_cast<std::int32_t>(EightDigits((word ^ (kEachByte * '0')) & used));
}

// A right-aligned decimal of at most 8 characters: digits with at most one
// separator ("." or, with decimalComma, ","), no sign and at least one
// digit. The exact mantissa divided by a power of ten is correctly rounded,
// as a full conversion is. Whether a value has a separator varies from one
// line to the next, so both kinds take the same branch-free road: the
// digits after the separator move down a byte, which leaves the mantissa
// times ten, divided by ten times the power (10^0 without a separator).
template <std::size_t Width>
[[gnu::always_inline]] inline bool TryPlainDecimal(const char* field, bool decimalComma, double& value) {
    using namespace column_detail;
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    } else {
        std::uint64_t word = 0;
        if (!LastEight<Width>(field, word)) return false;
        const std::uint64_t notBlank = word ^ (kEachByte * ' ');
        if (notBlank == 0) return false;
        const std::uint64_t used = ~std::uint64_t{0} << (std::countr_zero(notBlank) & ~7);
        const std::uint64_t values = word ^ (kEachByte * '0');
        const std::uint64_t notDigit = NotDigits(values) & used;
        // The first byte that is not a digit is the separator, if any (64:
        // none); every byte from it on, and the separator's byte alone.
        const int separatorBit = std::countr_zero(notDigit) & ~7;
        const std::uint64_t fromSeparator = separatorBit < 64 ? ~std::uint64_t{0} << separatorBit : 0;
        const std::uint64_t separatorByte = fromSeparator & ~(fromSeparator << 8);
        const std::uint64_t separator = word & separatorByte;
        const bool separatorAllowed = separator == ((kEachByte * '.') & separatorByte) ||
                                      (decimalComma && separator == ((kEachByte * ',') & separatorByte));
        if ((notDigit & ~separatorByte) != 0 || !separatorAllowed || (used & ~separatorByte) == 0) return false;
        const std::uint64_t digits = values & used & ~separatorByte;
        const std::uint64_t closed = (digits & ~fromSeparator) | ((digits & fromSeparator) >> 8);
        value = static_cast<double>(EightDigits(closed)) / kPowersOfTen[(64 - separatorBit) / 8];
        return true;
    }
}

// A whole-number (Int32) or Double column: the plain form read here, any
// other through ParseNumberField, which throws FieldError.
// Forced inline: as a call each would cost as much as the conversion.
template <std::size_t Width>
[[gnu::always_inline]] inline std::int32_t ColumnInt32(const char* field, bool decimalComma) {
    std::int32_t value = 0;
    if (TryPlainWhole<Width>(field, value)) [[likely]]
        return value;
    return static_cast<std::int32_t>(ParseNumberField(std::string_view(field, Width), NumberKind::Int32, decimalComma));
}

// Throws FieldError exactly where ColumnInt32 would, without converting a
// plain column.
template <std::size_t Width>
[[gnu::always_inline]] inline void CheckColumnInt32(const char* field, bool decimalComma) {
    if (IsPlainWhole<Width>(field)) [[likely]]
        return;
    ParseNumberField(std::string_view(field, Width), NumberKind::Int32, decimalComma);
}

template <std::size_t Width>
[[gnu::always_inline]] inline double ColumnDouble(const char* field, bool decimalComma) {
    double value = 0;
    if (TryPlainDecimal<Width>(field, decimalComma, value)) [[likely]]
        return value;
    return ParseNumberField(std::string_view(field, Width), NumberKind::Double, decimalComma);
}

}  // namespace kov
