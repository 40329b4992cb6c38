#pragma once
// Whether every whole-number counter of an activity block is plain: blanks
// in its first two columns, then blanks and at least one digit to its end,
// so at most 8 digits, which always convert. Nearly every block is; a read
// that converts only some counters then needs none of the others checked
// one by one.

#include <cstddef>

#include "model/Records.h"
#include "readers/Layouts.h"

namespace kov {

// Characters of a block the check reads from its first column: a little
// past its last counter.
inline constexpr std::size_t PlainCheckBytes =
    std::size_t{(ActivityColumn(1, ActivityPositions) - 1 + ActivityWidth(ActivityPositions) + 15) / 16} * 16;

// `block`: the block's first column, with PlainCheckBytes readable.
bool WholeCountersArePlain(const char* block);

// The ways the characters can be classed: 16 at a time (any x86-64), 32 or
// 64 at a time where the processor has 32- or 64-byte compares. All give the
// same answer; tests hold them to each other. WholeCountersArePlain(block)
// takes the widest the processor has.
enum class CharacterClassing { By16, By32, By64 };
bool CanClass(CharacterClassing classing);
bool WholeCountersArePlain(const char* block, CharacterClassing classing);

}  // namespace kov
