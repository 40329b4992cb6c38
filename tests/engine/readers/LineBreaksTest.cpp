// The search for a line's end must find the first LF or CR wherever it lies
// against the 32- and 64-character rounds, and read nothing past the end it
// is given (the sanitizer build sees to that: every text here is a heap
// block of exactly its own length).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "readers/LineBreaks.h"

namespace kov {
namespace {

using Search = const char* (*)(const char*, const char*);

// FindLineBreak is the wide way where the processor has it, else memchr.
std::vector<Search> Ways() {
    return {FindLineBreak, FindLineBreakByMemchr};
}

// Where the first break is, as an offset, whichever way finds it.
std::vector<std::size_t> FoundBy(const std::string& text) {
    const auto bytes = std::make_unique_for_overwrite<char[]>(text.size());
    std::copy(text.begin(), text.end(), bytes.get());
    std::vector<std::size_t> found;
    for (const Search way : Ways())
        found.push_back(static_cast<std::size_t>(way(bytes.get(), bytes.get() + text.size()) - bytes.get()));
    return found;
}

std::size_t FirstBreak(const std::string& text) {
    return std::min(text.find_first_of("\r\n"), text.size());
}

TEST(LineBreaks, EveryWayFindsTheFirstBreakAtEveryPlace) {
    // Lengths around the rounds' edges; one break, or an LF after a CR, at
    // each place in turn, and none at all.
    for (const std::size_t length : {0u, 1u, 31u, 32u, 33u, 63u, 64u, 65u, 95u, 96u, 97u, 130u, 200u}) {
        std::vector<std::string> texts{std::string(length, 'x')};
        for (std::size_t at = 0; at < length; ++at)
            for (const std::string breaks : {"\n", "\r", "\r\n", "\n\r"}) {
                std::string text(length, 'x');
                const std::string placed = breaks.substr(0, length - at);
                text.replace(at, placed.size(), placed);
                texts.push_back(text);
            }
        for (const std::string& text : texts)
            for (const std::size_t found : FoundBy(text)) ASSERT_EQ(found, FirstBreak(text)) << length << " " << text;
    }
}

TEST(LineBreaks, BytesNextToTheBreakCharactersAreNotBreaks) {
    // Characters one off LF (10) and CR (13), and bytes with the top bit set
    // (signed compares), are line text.
    const std::string lookalikes = {'\x09', '\x0b', '\x0c', '\x0e', '\x8a', '\x8d', '\xff', '\0'};
    std::mt19937 random(7);
    for (int trial = 0; trial < 500; ++trial) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 150)(random), 'x');
        for (char& c : text)
            c = lookalikes[std::uniform_int_distribution<std::size_t>(0, lookalikes.size() - 1)(random)];
        if (trial % 2 == 0 && !text.empty())
            text[std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random)] = trial % 4 == 0 ? '\n' : '\r';
        for (const std::size_t found : FoundBy(text)) ASSERT_EQ(found, FirstBreak(text)) << "trial " << trial;
    }
}

}  // namespace
}  // namespace kov
