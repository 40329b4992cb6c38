#pragma once
// Which wider character compares this processor has beyond the 16 at a time
// every x86-64 has. The report scans that use them ask here, so the
// processor is asked once and in one way.

namespace kov {

struct WideCompares {
    bool By32 = false;  // AVX2
    bool By64 = false;  // AVX-512BW
};

// Both false where the build cannot use them (not x86-64, or a compiler
// without per-function targets).
const WideCompares& ProcessorCompares();

}  // namespace kov
