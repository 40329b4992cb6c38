#include <gtest/gtest.h>

#include <optional>

#include "model/UsageIntent.h"

namespace kov {
namespace {

// The letters are what --intent takes and what the JSON keys and the
// per-intent arrays of a compare are read by: a swap here swaps the advice.
TEST(UsageIntent, LettersNamesAndPlaces) {
    const struct {
        UsageIntent intent;
        char letter;
        const char* name;
        std::size_t index;
    } cases[] = {{UsageIntent::Random, 'R', "Random", 0}, {UsageIntent::Sequential, 'S', "Sequential", 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(IntentLetter(c.intent), c.letter);
        EXPECT_EQ(IntentKey(c.intent), std::string(1, c.letter));
        EXPECT_STREQ(IntentName(c.intent), c.name);
        EXPECT_EQ(IntentIndex(c.intent), c.index);
        EXPECT_EQ(BothIntents.at(c.index), c.intent);
        EXPECT_EQ(IntentFromLetter(c.letter), c.intent);
    }
}

TEST(UsageIntent, OnlyTheTwoCapitalLettersNameAnIntent) {
    for (const char letter : {'r', 's', 'X', ' ', '\0', 'Q'})
        EXPECT_EQ(IntentFromLetter(letter), std::nullopt) << static_cast<int>(letter);
}

}  // namespace
}  // namespace kov
