#pragma once
// Where a report line ends: at its first LF or CR. Every byte of a month of
// reports passes through this search, so it looks for both in one pass
// where the processor can compare 32 characters at a time.

namespace kov {

// The first LF or CR in [from, end), or end when there is none: in one pass
// with 32-character compares where CanFindLineBreaksWide(), else as
// FindLineBreakByMemchr does, a search for each character with the C
// library's memchr. The tests hold the two ways to each other.
const char* FindLineBreak(const char* from, const char* end);
bool CanFindLineBreaksWide();
const char* FindLineBreakByMemchr(const char* from, const char* end);

}  // namespace kov
