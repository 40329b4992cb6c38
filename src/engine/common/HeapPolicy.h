#pragma once

namespace kov {

// A program that reads reports one after another frees, after each, about
// as much of the heap as the report took. By default the C library gives
// such memory back to the system as soon as 128 KB of it lies free at the
// heap's top, and the next report faults it in again page by page: on a
// virtual machine a month of reports then spends about a twentieth of its
// time in those faults. Each program calls this once, first thing, to keep
// up to 64 MB of freed heap for the next report instead. Where the C
// library has no such setting it does nothing.
void KeepFreedHeapForReuse();

}  // namespace kov
