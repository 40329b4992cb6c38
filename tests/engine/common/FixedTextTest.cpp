// A field trimmed a word at a time must give what trimming the padded value
// character by character gives, wherever the blanks stand; a trend's object
// text taken from the field must read the same.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/FixedText.h"
#include "common/InlineText.h"

namespace kov {
namespace {

template <std::size_t N>
void ExpectTrimmedAsTrimBlanks(std::string_view value) {
    SCOPED_TRACE("'" + std::string(value) + "' in " + std::to_string(N));
    FixedText<N> field;
    field = value;  // as given, leading blanks kept
    const std::string_view expected = TrimBlanks(field.Padded());
    EXPECT_EQ(field.Trimmed(), expected);
    EXPECT_EQ(TrimmedText(field).View(), expected);
}

TEST(FixedText, TrimmedWordAtATimeAsCharacterByCharacter) {
    const std::string_view values[] = {
        "",
        " ",
        "A",
        " A",
        "AB CD",
        "DSNDB06.SYSDBASE",
        "  DSNDB06.SYSDBASE  ",
        "ABCDEFG",
        "ABCDEFGH",
        "ABCDEFGHI",
        "       H",
        "                  X",
        "X                  Y",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0",   // the whole of a name
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ012",  // cut at its width
        "                           ",
        "A\tB",
    };
    for (const std::string_view value : values) {
        ExpectTrimmedAsTrimBlanks<1>(value);
        ExpectTrimmedAsTrimBlanks<8>(value);
        ExpectTrimmedAsTrimBlanks<16>(value);
        ExpectTrimmedAsTrimBlanks<27>(value);
    }
}

}  // namespace
}  // namespace kov
