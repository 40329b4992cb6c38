// Reading a counter column a word at a time must give exactly what
// ParseNumberField gives the same text: the same value, or the same error.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "common/ColumnNumber.h"

namespace kov {
namespace {

struct Outcome {
    bool Error = false;
    double Value = 0;
    std::string Message;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome General(std::string_view text, NumberKind kind, bool decimalComma) {
    try {
        return {false, ParseNumberField(text, kind, decimalComma), ""};
    } catch (const FieldError& error) {
        return {true, 0, error.what()};
    }
}

// The column inside a line, between digits, as the readers meet it: a
// narrow column reads the characters before it, and none may leak in.
constexpr std::string_view kBefore = "98765432";
constexpr std::string_view kAfter = "1234";

template <std::size_t Width>
Outcome Column(std::string_view text, NumberKind kind, bool decimalComma, bool& plain) {
    const std::string line = std::string(kBefore) + std::string(text) + std::string(kAfter);
    const char* field = line.data() + kBefore.size();
    std::int32_t whole = 0;
    double real = 0;
    plain = kind == NumberKind::Int32 ? TryPlainWhole<Width>(field, whole)
                                      : TryPlainDecimal<Width>(field, decimalComma, real);
    try {
        return {false,
                kind == NumberKind::Int32 ? ColumnInt32<Width>(field, decimalComma)
                                          : ColumnDouble<Width>(field, decimalComma),
                ""};
    } catch (const FieldError& error) {
        return {true, 0, error.what()};
    }
}

std::string Describe(std::string_view text, NumberKind kind, bool decimalComma) {
    return "'" + std::string(text) + "' as " + (kind == NumberKind::Int32 ? "Int32" : "Double") +
           (decimalComma ? " with decimal comma" : "");
}

template <std::size_t Width>
struct Case {
    std::string_view Text;
    NumberKind Kind;
    bool DecimalComma;
    bool Plain;  // read by the word-at-a-time path, not handed on
};

template <std::size_t Width>
void ExpectSameAsGeneral(const Case<Width>& c) {
    ASSERT_EQ(c.Text.size(), Width) << c.Text;
    SCOPED_TRACE(Describe(c.Text, c.Kind, c.DecimalComma));
    bool plain = false;
    const Outcome column = Column<Width>(c.Text, c.Kind, c.DecimalComma, plain);
    const Outcome general = General(c.Text, c.Kind, c.DecimalComma);
    EXPECT_EQ(column, general) << "column " << column.Value << column.Message << ", general " << general.Value
                               << general.Message;
    EXPECT_EQ(plain, c.Plain);
}

constexpr auto I32 = NumberKind::Int32;
constexpr auto Dbl = NumberKind::Double;

TEST(ColumnNumber, ColumnsGiveWhatTheGeneralConversionGives) {
    const Case<10> tenWide[] = {
        {"    155243", I32, false, true},
        {" 123456789", I32, false, true},  // more than the word holds
        {"2147483647", I32, false, true},
        {"2147483648", I32, false, false},  // out of range: handed on
        {"      12.5", I32, false, false},  // whole-number columns round
        {"12345     ", I32, false, false},  // left-aligned
        {"          ", I32, false, false},  // blank
        {"        :1", I32, false, false},  // the byte after '9'
        {"        /1", I32, false, false},  // the byte before '0'
        {"       \x80\x31\x32", I32, false, false},
        {"  70504.73", Dbl, false, true},
        {"  1234567.", Dbl, false, true},
        {"        .5", Dbl, false, true},
        {"     12,50", Dbl, true, true},
        {"     12.50", Dbl, true, true},    // a "." before the comma column survives
        {"     12,50", Dbl, false, false},  // no comma in a USA report
        {"1.23456789", Dbl, false, false},  // more than 8 characters
        {"       1e5", Dbl, false, false},
        {"       inf", Dbl, false, false},
        {"    12.34 ", Dbl, false, false},
    };
    for (const auto& c : tenWide) ExpectSameAsGeneral(c);
    const Case<6> sixWide[] = {
        {" 73.54", Dbl, false, true},  {"100.00", Dbl, false, true},  {"  12,3", Dbl, true, true},
        {"  12,3", Dbl, false, false}, {"   -.5", Dbl, false, false}, {"     .", Dbl, false, false},
        {"123456", I32, false, true},  {"1234 6", I32, false, false}, {"  99.5", I32, false, false},
    };
    for (const auto& c : sixWide) ExpectSameAsGeneral(c);
}

// Fields made of the characters a column may hold, mostly right-aligned
// numbers with now and then a sign, a separator or a stray character.
template <std::size_t Width>
void CompareRandomFields(unsigned seed) {
    std::mt19937 random(seed);
    const std::string_view rare = ".,.,-+x :";
    int plainSeen = 0;
    for (int n = 0; n < 20000; ++n) {
        std::string text(Width, ' ');
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, Width)(random);
        for (std::size_t i = Width - length; i < Width; ++i) {
            const bool odd = std::uniform_int_distribution<int>(0, 9)(random) == 0;
            text[i] = odd ? rare[std::uniform_int_distribution<std::size_t>(0, rare.size() - 1)(random)]
                          : static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(random));
        }
        for (const NumberKind kind : {I32, Dbl}) {
            for (const bool decimalComma : {false, true}) {
                bool plain = false;
                const Outcome column = Column<Width>(text, kind, decimalComma, plain);
                const Outcome general = General(text, kind, decimalComma);
                plainSeen += plain ? 1 : 0;
                ASSERT_EQ(column, general) << Describe(text, kind, decimalComma);
                if constexpr (Width >= 8) {
                    // At most 8 digits after blanks: the value without the checks.
                    if (kind == I32 && plain && text.find_first_not_of(' ') >= Width - 8) {
                        ASSERT_EQ(KnownPlainWhole<Width>(text.data()), column.Value) << text;
                    }
                }
            }
        }
    }
    EXPECT_GT(plainSeen, 20000) << "the sweep should mostly meet the plain form";
}

TEST(ColumnNumber, RandomFieldsGiveWhatTheGeneralConversionGives) {
    CompareRandomFields<6>(6);
    CompareRandomFields<8>(8);
    CompareRandomFields<10>(10);
}

}  // namespace
}  // namespace kov
