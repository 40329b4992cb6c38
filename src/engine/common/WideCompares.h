#pragma once
// Which wider character compares this processor has beyond the 16 at a time
// every x86-64 has. The report scans that use them ask here, so the
// processor is asked once and in one way.

// Whether this build can hold functions compiled for wider compares than the
// program as a whole: x86-64 with a compiler that takes per-function targets.
// Every scan with a wide way asks this one macro.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOV_WIDE_COMPARES 1
#endif

namespace kov {

struct WideCompares {
    bool By32 = false;  // AVX2 (with BMI1, which every such processor has)
    bool By64 = false;  // AVX-512BW
};

// Both false where the build cannot use them (not x86-64, or a compiler
// without per-function targets).
const WideCompares& ProcessorCompares();

}  // namespace kov
