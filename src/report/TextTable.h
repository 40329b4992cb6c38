#pragma once
// A grid as plain text for the batch programs: columns padded to their
// widest cell, measured in characters so arrows and signs keep columns
// straight.

#include <cstddef>
#include <string>

#include "views/ViewData.h"

namespace kov {

// The first keyColumns columns (names) left-aligned, the figures right-aligned.
std::string TextTable(const StringTable& table, std::size_t keyColumns, const std::string& indent);

}  // namespace kov
