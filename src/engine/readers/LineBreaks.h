#pragma once
// Where a report line ends: at its first LF or CR. Every byte of a month of
// reports passes through this search, so it looks for both in one pass
// where the processor can compare 32 characters at a time.

namespace kov {

// The first LF or CR in [from, end), or end when there is none.
const char* FindLineBreak(const char* from, const char* end);

// The two ways FindLineBreak may take, for the tests to hold to each other:
// one pass with 32-character compares (only where CanFindLineBreaksWide()),
// or a search for each character with the C library's memchr.
bool CanFindLineBreaksWide();
const char* FindLineBreakWide(const char* from, const char* end);
const char* FindLineBreakByMemchr(const char* from, const char* end);

}  // namespace kov
