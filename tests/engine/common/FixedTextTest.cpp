#include <gtest/gtest.h>

#include <string_view>

#include "common/FixedText.h"

namespace kov {
namespace {

// A field is always its full width: cut when longer, blank-padded when
// shorter. Trimming on the way in must read the same as storing the text
// trimmed, though only its leading blanks are looked for.
TEST(FixedText, StoresTextAtItsWidthTrimmedOrNot) {
    const struct {
        std::string_view text;
        std::string_view stored;   // as given
        std::string_view trimmed;  // trimmed on the way in
    } cases[] = {
        {"BP1", "BP1     ", "BP1     "},
        {"BUFPOOL1", "BUFPOOL1", "BUFPOOL1"},
        {"BUFPOOL12", "BUFPOOL1", "BUFPOOL1"},
        {"  BP1   ", "  BP1   ", "BP1     "},
        {"   LONGNAME12", "   LONGN", "LONGNAME"},  // the cut falls after the leading blanks go
        {"A B     ", "A B     ", "A B     "},       // a blank inside stays
        {"        ", "        ", "        "},
        {"", "        ", "        "},
        {std::string_view("\tX", 2), std::string_view("\tX      ", 8), std::string_view("\tX      ", 8)},
    };
    for (const auto& c : cases) {
        FixedText<8> stored;
        stored = c.text;
        EXPECT_EQ(stored.Padded(), c.stored) << '"' << c.text << '"';
        FixedText<8> trimmed;
        trimmed.AssignTrimmed(c.text);
        EXPECT_EQ(trimmed.Padded(), c.trimmed) << '"' << c.text << '"';
        EXPECT_EQ(trimmed, FixedText<8>(TrimBlanks(c.text))) << '"' << c.text << '"';
        EXPECT_EQ(trimmed.IsBlank(), TrimBlanks(c.text).empty()) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace kov
