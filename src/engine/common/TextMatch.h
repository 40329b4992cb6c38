#pragma once
// Substring tests as the report rules state them: record codes are matched
// case-sensitively, markers such as "*CHD" and "Data Space" in any case.

#include <cctype>
#include <string_view>

namespace kov {

// Position of word in text ignoring case, or npos.
inline std::size_t FindIgnoringCase(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < word.size() && std::toupper(static_cast<unsigned char>(text[i + j])) ==
                                      std::toupper(static_cast<unsigned char>(word[j])))
            ++j;
        if (j == word.size()) return i;
    }
    return std::string_view::npos;
}

inline bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    return FindIgnoringCase(text, word) != std::string_view::npos;
}

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FindIgnoringCase(a, b) == 0;
}

// The record code of a report line is its first four characters.
// Asked of every line of a report: compared in place, which for a literal
// code costs a few instructions where a search costs a library call.
inline bool CodeContains(std::string_view line, std::string_view code) {
    const std::string_view head = line.substr(0, 4);
    for (std::size_t at = 0; at + code.size() <= head.size(); ++at)
        if (head.substr(at, code.size()) == code) return true;
    return false;
}

// A consolidated data file starts with, and separates its parts by, "*CHD" lines.
inline bool IsConsolidatedMarker(std::string_view line) {
    return ContainsIgnoringCase(line, "*CHD");
}

}  // namespace kov
