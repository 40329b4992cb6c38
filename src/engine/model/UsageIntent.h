#pragma once
// The pool usage intent a DBA analyses a pool for: random access or
// sequential access. The tuning rules, the cluster analysis and both their
// pages follow it. Outside the program an intent travels as its letter (the
// batch report's --intent option and the JSON keys "R" and "S"); the letters
// are written here only.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace kov {

enum class UsageIntent { Random, Sequential };

// Both intents, Random first: the order of every per-intent list.
inline constexpr std::array<UsageIntent, 2> BothIntents{UsageIntent::Random, UsageIntent::Sequential};

// The intent's place in BothIntents and in arrays that follow that order.
constexpr std::size_t IntentIndex(UsageIntent intent) {
    return intent == UsageIntent::Random ? 0 : 1;
}

constexpr char IntentLetter(UsageIntent intent) {
    return intent == UsageIntent::Random ? 'R' : 'S';
}

// The letter as a text, as a JSON key carries it.
inline std::string IntentKey(UsageIntent intent) {
    return std::string(1, IntentLetter(intent));
}

// None for a letter that names no intent (the letters are upper case only).
constexpr std::optional<UsageIntent> IntentFromLetter(char letter) {
    if (letter == 'R') return UsageIntent::Random;
    if (letter == 'S') return UsageIntent::Sequential;
    return std::nullopt;
}

// "Random" or "Sequential", as the pages and reports name an intent.
constexpr const char* IntentName(UsageIntent intent) {
    return intent == UsageIntent::Random ? "Random" : "Sequential";
}

}  // namespace kov
