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
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0",    // the whole of a name
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

// A value taken trimmed reads as the value trimmed, and says whether it
// held more than blanks.
TEST(FixedText, AssignTrimmedSkipsLeadingBlanksOnly) {
    const struct {
        std::string_view value;
        std::string_view padded;
        bool notBlank;
    } cases[] = {
        {"", "        ", false},          {"   ", "        ", false}, {"BP0", "BP0     ", true},
        {"  BP0", "BP0     ", true},      {"A B", "A B     ", true},  {" ABCDEFGHIJ", "ABCDEFGH", true},
        {"ABCDEFGHIJ", "ABCDEFGH", true}, {"\tX", "\tX      ", true},
    };
    for (const auto& c : cases) {
        FixedText<8> field("OLDVALUE");
        EXPECT_EQ(field.AssignTrimmed(c.value), c.notBlank) << "'" << c.value << "'";
        EXPECT_EQ(field.Padded(), c.padded) << "'" << c.value << "'";
    }
}

}  // namespace
}  // namespace kov
