// The quick check that lets a partial read skip most counters must say
// "plain" only of blocks whose whole-number counters all convert, the same
// whichever way it classes the characters.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "readers/PlainCounters.h"

namespace kov {
namespace {

int Start(int position) {
    return ActivityColumn(1, position) - 1;
}

// A block of small right-aligned numbers, a little longer than the check reads.
std::string SoundBlock() {
    std::string block(PlainCheckBytes + 16, ' ');
    for (int p = 1; p <= ActivityPositions; ++p) {
        const std::string number = IsRealActivityPosition(p) ? "9.5" : std::to_string(p * 37);
        block.replace(static_cast<std::size_t>(Start(p) + ActivityWidth(p)) - number.size(), number.size(), number);
    }
    return block;
}

// Column by column, the rule the check stands for.
bool PlainByColumns(const std::string& block) {
    for (int p = 1; p <= ActivityPositions; ++p) {
        if (IsRealActivityPosition(p)) continue;
        const std::string column = block.substr(static_cast<std::size_t>(Start(p)), ActivityWidth(p));
        if (column[0] != ' ' || column[1] != ' ' || column.back() < '0' || column.back() > '9') return false;
        bool digitSeen = false;
        for (const char c : column) {
            if (c == ' ' && digitSeen) return false;
            if (c != ' ' && (c < '0' || c > '9')) return false;
            digitSeen = digitSeen || c != ' ';
        }
    }
    return true;
}

std::vector<CharacterClassing> Classings() {
    std::vector<CharacterClassing> ways;
    for (const CharacterClassing way : {CharacterClassing::By16, CharacterClassing::By32, CharacterClassing::By64})
        if (CanClass(way)) ways.push_back(way);
    return ways;
}

TEST(PlainCounters, EachWayAgreesWithTheColumnRule) {
    // Position 7 ends in the first 64 characters, position 8 crosses into
    // the next word, 9-11 are Reals, 40 is the last.
    const struct {
        const char* what;
        int position;
        int offset;  // from the column's first character
        char c;
        bool plain;
    } cases[] = {
        {"a sound block", 1, 9, '7', true},
        {"a letter in a counter", 3, 8, 'x', false},
        {"a blank between digits", 8, 8, ' ', false},
        {"a digit in a lead column", 12, 1, '4', false},
        {"a blank last character", 40, 9, ' ', false},
        {"a sign", 21, 5, '-', false},
        {"a decimal point in a counter", 8, 7, '.', false},
        {"nine digits", 30, 1, '1', false},
        {"anything in a Real", 10, 2, 'x', true},
        {"a counter across a word boundary", 7, 9, '0', true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string block = SoundBlock();
        if (c.position == 30) block.replace(static_cast<std::size_t>(Start(30)), 10, " 123456789");
        block[static_cast<std::size_t>(Start(c.position) + c.offset)] = c.c;
        ASSERT_EQ(PlainByColumns(block), c.plain);
        for (const CharacterClassing way : Classings())
            EXPECT_EQ(WholeCountersArePlain(block.data(), way), c.plain) << static_cast<int>(way);
    }
}

TEST(PlainCounters, EachWayAgreesWithTheColumnRuleOnDamagedBlocks) {
    std::mt19937 random(20261208);
    // the bytes either side of the digits as well
    const std::string characters = "  0123456789x.-+/:\t";
    std::uniform_int_distribution<std::size_t> at(0, PlainCheckBytes - 1);
    std::uniform_int_distribution<std::size_t> pick(0, characters.size() - 1);
    std::uniform_int_distribution<int> changes(1, 3);
    int plain = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string block = SoundBlock();
        for (int n = changes(random); n > 0; --n) block[at(random)] = characters[pick(random)];
        const bool expected = PlainByColumns(block);
        plain += expected ? 1 : 0;
        for (const CharacterClassing way : Classings())
            ASSERT_EQ(WholeCountersArePlain(block.data(), way), expected) << "trial " << trial << ": " << block;
    }
    EXPECT_GT(plain, 100);  // both answers were put to the test
    EXPECT_LT(plain, 2900);
}

}  // namespace
}  // namespace kov
