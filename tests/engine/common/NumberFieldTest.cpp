#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/NumberField.h"

namespace kov {
namespace {

TEST(ParseNumberField, ConvertsColumnTextOrNamesWhyNot) {
    constexpr auto I16 = NumberKind::Int16;
    constexpr auto I32 = NumberKind::Int32;
    constexpr auto Dbl = NumberKind::Double;
    const struct {
        std::string_view text;
        NumberKind kind;
        bool decimalComma;
        std::optional<double> value;  // nullopt: a field error
    } cases[] = {
        {"      1234", I32, false, 1234},
        {"  -17", I16, false, -17},
        {"+5", I32, false, 5},
        {"  12.5", Dbl, false, 12.5},
        {"  12,5", Dbl, true, 12.5},
        {"  12,5", Dbl, false, std::nullopt},
        {"2.5", I32, false, 2},  // whole-number fields round ties to even
        {"3.5", I32, false, 4},
        {"32767", I16, false, 32767},
        {"32768", I16, false, std::nullopt},
        {"32767.6", I16, false, std::nullopt},
        {"2147483647", I32, false, 2147483647.0},
        {"2147483648", I32, false, std::nullopt},
        {"-.5", Dbl, false, -0.5},
        {"5.", Dbl, false, 5},
        {"   007   ", I32, false, 7},
        {"1,5", I32, true, 2},
        {"2147483647.4", I32, false, 2147483647.0},
        {"1.2,3", Dbl, true, std::nullopt},
        {"-", I32, false, std::nullopt},
        {std::string_view("1\0 2", 4), I32, false, std::nullopt},
        {"", I32, false, std::nullopt},
        {"12x", I32, false, std::nullopt},
        {"1 2", I32, false, std::nullopt},
        {".", Dbl, false, std::nullopt},
        {"inf", Dbl, false, std::nullopt},
        {"1e999", Dbl, false, std::nullopt},
        {"\t5", I32, false, std::nullopt},  // only blanks pad a column
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + std::string(c.text) + "'" + (c.decimalComma ? " with decimal comma" : ""));
        if (c.value) {
            EXPECT_EQ(ParseNumberField(c.text, c.kind, c.decimalComma), *c.value);
        } else {
            EXPECT_THROW(ParseNumberField(c.text, c.kind, c.decimalComma), FieldError);
        }
    }
}

}  // namespace
}  // namespace kov
