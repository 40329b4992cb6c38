#include <gtest/gtest.h>

#include <string_view>

#include "common/TextMatch.h"

namespace kov {
namespace {

// A record code is looked for in the first four characters only, wherever
// it starts among them.
TEST(CodeContains, LooksOnlyAtTheFirstFourCharacters) {
    const struct {
        std::string_view line;
        std::string_view code;
        bool found;
    } cases[] = {
        {"BPD OBJSTATS", "BPD", true},
        {" BPD", "BPD", true},
        {"*BPP HEADER", "BPP", true},
        {"ENV USA", "ENV", true},
        {"XXBPD", "BPD", false},  // starts past the fourth character
        {"BPS POOLSTATS", "BPD", false},
        {"BP", "BPD", false},  // the line is shorter than the code
        {"", "BPD", false},
        {"bpd", "BPD", false},  // codes match case-sensitively
        {"BPD", "BPD", true},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeContains(c.line, c.code), c.found) << c.line << " / " << c.code;
}

}  // namespace
}  // namespace kov
