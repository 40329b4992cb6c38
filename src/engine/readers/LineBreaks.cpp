#include "readers/LineBreaks.h"

#include <cstddef>
#include <cstring>

#include "common/WideCompares.h"

#if defined(KOV_WIDE_COMPARES)
#include <immintrin.h>
#endif

namespace kov {

namespace {

#if defined(KOV_WIDE_COMPARES)
[[gnu::target("avx2")]] unsigned BreaksIn(const char* at) {
    const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i breaks = _mm256_or_si256(_mm256_cmpeq_epi8(text, _mm256_set1_epi8('\n')),
                                           _mm256_cmpeq_epi8(text, _mm256_set1_epi8('\r')));
    return static_cast<unsigned>(_mm256_movemask_epi8(breaks));
}

// 64 characters a round, then the rest 32 at a time, the last 32 ending at
// `end` so that no byte past it is read (they may overlap characters already
// searched, which held no break).
[[gnu::target("avx2")]] const char* WideSearch(const char* from, const char* end) {
    if (end - from < 32) return FindLineBreakByMemchr(from, end);
    const char* at = from;
    for (; end - at >= 64; at += 64) {
        const unsigned low = BreaksIn(at);
        const unsigned high = BreaksIn(at + 32);
        if ((low | high) != 0) return low != 0 ? at + __builtin_ctz(low) : at + 32 + __builtin_ctz(high);
    }
    if (end - at > 32) {
        if (const unsigned found = BreaksIn(at); found != 0) return at + __builtin_ctz(found);
    }
    if (at == end) return end;
    const char* const last = end - 32;
    if (const unsigned found = BreaksIn(last); found != 0) return last + __builtin_ctz(found);
    return end;
}

// Asked once: the search runs for every line.
const bool kWide = ProcessorCompares().By32;
#endif

}  // namespace

const char* FindLineBreakByMemchr(const char* from, const char* end) {
    const auto size = static_cast<std::size_t>(end - from);
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', size));
    const char* const lineEnd = lf != nullptr ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(from, '\r', static_cast<std::size_t>(lineEnd - from)));
    return cr != nullptr ? cr : lineEnd;
}

bool CanFindLineBreaksWide() {
#if defined(KOV_WIDE_COMPARES)
    return kWide;
#else
    return false;
#endif
}

const char* FindLineBreak(const char* from, const char* end) {
#if defined(KOV_WIDE_COMPARES)
    if (kWide) return WideSearch(from, end);
#endif
    return FindLineBreakByMemchr(from, end);
}

}  // namespace kov
