#pragma once
// View data: the exact texts a page shows, computed by the engine. Widgets
// render these and never compute or format a figure themselves.

#include <string>
#include <utility>
#include <vector>

namespace kov {

// A caption label and the value label beside it.
struct LabelPair {
    std::string Caption;
    std::string Value;
    friend bool operator==(const LabelPair&, const LabelPair&) = default;
};

// A grid: fixed heading row and rows of text cells.
struct StringTable {
    std::vector<std::string> Headings;
    std::vector<std::vector<std::string>> Rows;
};

}  // namespace kov
