#include "common/NumberField.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "common/ColumnNumber.h"
#include "common/FixedText.h"

namespace kov {
namespace {

constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDecimalSeparator(char c, bool decimalComma) {
    return c == '.' || (decimalComma && c == ',');
}

// Plain "[+-]digits[.digits]" with at most 15 significant digits: the
// quotient of two exactly representable doubles is correctly rounded, so this
// gives the same value as a full conversion, several times faster.
bool TryFastDecimal(std::string_view text, bool decimalComma, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool inFraction = false;
    bool sawDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            sawDigit = true;
            if (mantissa != 0 || c != '0') ++digits;
            if (digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (inFraction) ++fractionDigits;
        } else if (!inFraction && IsDecimalSeparator(c, decimalComma)) {
            inFraction = true;
        } else {
            return false;
        }
    }
    if (!sawDigit || fractionDigits > 22) return false;
    value = static_cast<double>(mantissa) / kPowersOfTen[static_cast<std::size_t>(fractionDigits)];
    if (negative) value = -value;
    return true;
}

bool TryFullDecimal(std::string_view text, bool decimalComma, double& value) {
    std::string buffer(text);
    if (!buffer.empty() && buffer.front() == '+') {
        buffer.erase(0, 1);
        if (!buffer.empty() && (buffer.front() == '+' || buffer.front() == '-')) return false;
    }
    if (buffer.empty()) return false;
    if (decimalComma) {
        for (char& c : buffer)
            if (c == ',') c = '.';
    }
    const char* first = buffer.data();
    const char* last = first + buffer.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = std::numeric_limits<double>::infinity();
        return true;  // reported as out of range by the caller
    }
    // from_chars also takes "inf" and "nan", which no report writes.
    return error == std::errc() && end == last && !std::isnan(value) &&
           buffer.find_first_of("iInN") == std::string::npos;
}

void CheckRange(double rounded, double low, double high, std::string_view text, const char* what) {
    if (rounded < low || rounded > high) {
        throw FieldError("'" + QuotableFieldText(text) + "' is out of range for " + what + " (" +
                         std::to_string(static_cast<long long>(low)) + " to " +
                         std::to_string(static_cast<long long>(high)) + ")");
    }
}

using column_detail::EightDigits;
using column_detail::kEachByte;
using column_detail::Load8;
using column_detail::NotDigits;

std::uint64_t Load4(const char* p) {
    std::uint32_t word = 0;
    std::memcpy(&word, p, 4);
    return word;
}

// Any field: blanks on either side, signs, long digit runs, exponents, and
// the errors. Out of line, so that the common case in ParseNumberField keeps
// few registers to save.
[[gnu::noinline]] double ParseAnyNumber(std::string_view field, NumberKind kind, bool decimalComma) {
    const std::string_view text = TrimBlanks(field);
    if (text.empty()) throw FieldError("the field is blank where a number is expected");

    double value = 0;
    if (!TryFastDecimal(text, decimalComma, value) && !TryFullDecimal(text, decimalComma, value))
        throw FieldError("'" + QuotableFieldText(text) + "' is not a number");
    if (!std::isfinite(value)) throw FieldError("'" + QuotableFieldText(text) + "' is too large for any number field");

    switch (kind) {
        case NumberKind::Double:
            return value;
        case NumberKind::Int16: {
            const double rounded = std::nearbyint(value);
            CheckRange(rounded, -32768.0, 32767.0, text, "a 16-bit whole number");
            return rounded;
        }
        case NumberKind::Int32: {
            const double rounded = std::nearbyint(value);
            CheckRange(rounded, -2147483648.0, 2147483647.0, text, "a 32-bit whole number");
            return rounded;
        }
    }
    return value;
}

}  // namespace

std::string QuotableFieldText(std::string_view field) {
    constexpr std::size_t kMaxShown = 40;
    std::string shown;
    for (char c : field.substr(0, kMaxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += (byte < 0x20 || byte == 0x7f || c == '"') ? '?' : c;
    }
    if (field.size() > kMaxShown) shown += "...";
    return shown;
}

double ParseNumberField(std::string_view field, NumberKind kind, bool decimalComma) {
    // Nearly every counter column holds at most 8 characters of digits, for
    // a Double perhaps with one separator, right-aligned. That case is read
    // here a word at a time: the varying count of blanks and digits costs no
    // mispredicted branch, and the call stays lean. Anything else, and every
    // error, goes to ParseAnyNumber.
    if constexpr (std::endian::native == std::endian::little) {
        const std::size_t size = field.size();
        if (size >= 4 && field[size - 1] != ' ') {
            const char* data = field.data();
            // The leading blanks, and the last 8 characters in one word with
            // the field's last character in the highest byte (for a column
            // of 4 to 7, the lower bytes repeat its start and are not used).
            std::size_t lead = 0;
            std::uint64_t word = 0;
            if (size >= 8) {
                const std::uint64_t notBlank = Load8(data) ^ (kEachByte * ' ');
                lead = notBlank != 0 ? static_cast<std::size_t>(std::countr_zero(notBlank)) / 8 : 8;
                word = Load8(data + size - 8);
            } else {
                const std::uint64_t notBlank = Load4(data) ^ 0x20202020U;
                lead = notBlank != 0 ? static_cast<std::size_t>(std::countr_zero(notBlank)) / 8 : 4;
                word = (Load4(data + size - 4) << 32) | (Load4(data) << (8 * (8 - size)));
            }
            while (lead < size && data[lead] == ' ') ++lead;
            const std::size_t length = size - lead;
            if (length <= 8) {
                const std::uint64_t used = ~std::uint64_t{0} << (64 - 8 * length);
                std::uint64_t values = word ^ (kEachByte * '0');  // a digit becomes 0..9
                const std::uint64_t notDigit = NotDigits(values) & used;
                if (notDigit == 0) {
                    // A whole number: exact, in range for Int32, nothing to round.
                    const auto whole = static_cast<double>(EightDigits(values & used));
                    if (kind != NumberKind::Int16 || whole <= 32767.0) return whole;
                } else if (kind == NumberKind::Double && length >= 2) {
                    const int low = std::countr_zero(notDigit) / 8;
                    const int high = 7 - std::countl_zero(notDigit) / 8;
                    if (low == high && IsDecimalSeparator(static_cast<char>(word >> (8 * low)), decimalComma)) {
                        // One separator: close up its byte, then divide the
                        // exact mantissa by 10^fraction digits.
                        const std::uint64_t before = (std::uint64_t{1} << (8 * low)) - 1;
                        values &= used & ~(std::uint64_t{0xFF} << (8 * low));
                        values = ((values & before) << 8) | (values & ~before);
                        return static_cast<double>(EightDigits(values)) /
                               kPowersOfTen[static_cast<std::size_t>(7 - low)];
                    }
                }
            }
        }
    }
    return ParseAnyNumber(field, kind, decimalComma);
}

}  // namespace kov
