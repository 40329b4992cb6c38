#pragma once
// The conversion of a whole counter block at its fixed columns, position by
// position with every place and width a constant. Shared by the reader and
// by a caller that fixes its choice of counters at compile time
// (ReportReader::ChooseObjectCounters<Chosen>): the conversion built for one
// choice tests none of the 40 positions at run time, which at capacity is
// about 4 % of a trend's instructions.

#include <cstddef>
#include <utility>

#include "common/ColumnNumber.h"
#include "model/Records.h"
#include "readers/Layouts.h"
#include "readers/PlainCounters.h"

namespace kov::activity {

// Counter position P of a block whose first column is `block`, at its place
// and width in the layout. In a block whose whole numbers are all plain a
// whole number is taken without the checks that made it so.
template <int P, bool WholesPlain>
[[gnu::always_inline]] inline void Convert(const char* block, bool decimalComma, ActivityBlock& b) {
    constexpr int offset = ActivityColumn(1, P) - 1;
    constexpr auto width = static_cast<std::size_t>(ActivityWidth(P));
    if constexpr (IsRealActivityPosition(P))
        *ActivityField(b, P).Real = ColumnDouble<width>(block + offset, decimalComma);
    else if constexpr (WholesPlain)
        *ActivityField(b, P).Integer = KnownPlainWhole<width>(block + offset);
    else
        *ActivityField(b, P).Integer = ColumnInt32<width>(block + offset, decimalComma);
}

// A position that is not chosen: checked as its conversion would check it
// (a Real, one of three, is simply converted and dropped), then marked. A
// whole number needs no check in a block whose whole numbers are all plain.
template <int P, bool WholesPlain>
[[gnu::always_inline]] inline void Skip(const char* block, bool decimalComma, ActivityBlock& b) {
    constexpr int offset = ActivityColumn(1, P) - 1;
    constexpr auto width = static_cast<std::size_t>(ActivityWidth(P));
    if constexpr (IsRealActivityPosition(P))
        ColumnDouble<width>(block + offset, decimalComma);
    else if constexpr (!WholesPlain)
        CheckColumnInt32<width>(block + offset, decimalComma);
    MarkNotRead(ActivityField(b, P));
}

// `readable`: the characters of the line from the block's start.
inline bool WholesArePlain(const char* block, std::size_t readable) {
    return readable >= PlainCheckBytes && WholeCountersArePlain(block);
}

template <bool IsChosen, int P, bool WholesPlain>
[[gnu::always_inline]] inline void Take(const char* block, bool decimalComma, ActivityBlock& b) {
    if constexpr (IsChosen)
        Convert<P, WholesPlain>(block, decimalComma, b);
    else
        Skip<P, WholesPlain>(block, decimalComma, b);
}

// Every position in column order, so that a failing field leaves the same
// counters written as the walk by layout does. The walk is built twice, for
// a block whose whole numbers are all plain (nearly every one) and for any
// other, so no position asks which it is in.
template <const ActivityCounters& Chosen, int... P>
void ConvertChosen(const char* block, std::size_t readable, bool decimalComma, ActivityBlock& b,
                   std::integer_sequence<int, P...>) {
    if (WholesArePlain(block, readable))
        (Take<Chosen.Has(P + 1), P + 1, true>(block, decimalComma, b), ...);
    else
        (Take<Chosen.Has(P + 1), P + 1, false>(block, decimalComma, b), ...);
}

// The conversion built for `Chosen`, in the form the reader keeps.
template <const ActivityCounters& Chosen>
void ConvertChosen(const char* block, std::size_t readable, bool decimalComma, ActivityBlock& b) {
    ConvertChosen<Chosen>(block, readable, decimalComma, b, std::make_integer_sequence<int, ActivityPositions>{});
}

}  // namespace kov::activity
