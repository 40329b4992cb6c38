#include "readers/PlainCounters.h"

#include <cstdint>
#include <utility>

#include "common/WideCompares.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(KOV_WIDE_COMPARES)
#include <immintrin.h>
#endif

namespace kov {

namespace {

// The block is classed into a bit per character (blank, digit), and the
// columns' shapes are bit masks made from the layout.
constexpr int kBlockBytes = ActivityColumn(1, ActivityPositions) - 1 + ActivityWidth(ActivityPositions);
constexpr int kWords = (kBlockBytes + 63) / 64;
static_assert(PlainCheckBytes <= std::size_t{64} * kWords);

struct WholeColumnMasks {
    std::uint64_t Whole[kWords]{};  // every character of a whole-number column
    std::uint64_t Lead[kWords]{};   // its first two, which must be blank
    std::uint64_t Inner[kWords]{};  // all but its first
    std::uint64_t Last[kWords]{};   // its last, which must be a digit
};

constexpr WholeColumnMasks MakeWholeColumnMasks() {
    WholeColumnMasks m;
    const auto set = [](std::uint64_t* words, int at) { words[at / 64] |= std::uint64_t{1} << (at % 64); };
    for (int p = 1; p <= ActivityPositions; ++p) {
        if (IsRealActivityPosition(p)) continue;
        const int start = ActivityColumn(1, p) - 1;
        const int width = ActivityWidth(p);
        for (int i = 0; i < width; ++i) set(m.Whole, start + i);
        for (int i = 1; i < width; ++i) set(m.Inner, start + i);
        set(m.Lead, start);
        set(m.Lead, start + 1);
        set(m.Last, start + width - 1);
    }
    return m;
}

constexpr WholeColumnMasks kMasks = MakeWholeColumnMasks();

// The characters of word w that break a whole-number column's shape, given
// a bit per blank and per digit; `blankBefore` carries the last character's
// blank from word to word.
[[gnu::always_inline]] inline std::uint64_t WrongIn(int w, std::uint64_t b, std::uint64_t d,
                                                    std::uint64_t& blankBefore) {
    // A lead character that is no blank, a last one that is no digit, any
    // other that is neither: the terms share their negations, as this runs
    // for every word of every object line.
    const std::uint64_t notBlank = ~b;
    std::uint64_t wrong = (notBlank & kMasks.Lead[w]) | (~d & (kMasks.Last[w] | (kMasks.Whole[w] & notBlank)));
    // A blank inside a column follows a blank: the blanks lead.
    wrong |= b & kMasks.Inner[w] & ~((b << 1) | blankBefore);
    blankBefore = b >> 63;
    return wrong;
}

// Whether no character breaks a whole-number column's shape, given every
// character's bits.
[[gnu::always_inline]] inline bool NoneWrong(const std::uint64_t* blanks, const std::uint64_t* digits) {
    std::uint64_t wrong = 0;
    std::uint64_t blankBefore = 0;
    // Spelled out, so each word's masks are constants.
#pragma GCC unroll 8
    for (int w = 0; w < kWords; ++w) wrong |= WrongIn(w, blanks[w], digits[w], blankBefore);
    return wrong == 0;
}

#if defined(__SSE2__)
// Each 16 characters into their bits, every chunk spelled out: the loop's
// own counting cost as much as the classing.
template <std::size_t Chunk>
[[gnu::always_inline]] inline void Class16(const char* block, std::uint64_t* blanks, std::uint64_t* digits) {
    // '0'..'9' moved to -128..-119, the only bytes below -118.
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * Chunk));
    const auto isBlank = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(text, _mm_set1_epi8(' '))));
    const auto isDigit = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_cmplt_epi8(_mm_add_epi8(text, _mm_set1_epi8(static_cast<char>(0x80 - '0'))), _mm_set1_epi8(-118))));
    blanks[Chunk / 4] |= std::uint64_t{isBlank} << (16 * (Chunk % 4));
    digits[Chunk / 4] |= std::uint64_t{isDigit} << (16 * (Chunk % 4));
}

template <std::size_t... Chunk>
bool PlainBy16(const char* block, std::index_sequence<Chunk...>) {
    std::uint64_t blanks[kWords]{};
    std::uint64_t digits[kWords]{};
    (Class16<Chunk>(block, blanks, digits), ...);
    return NoneWrong(blanks, digits);
}
#endif

#if defined(KOV_WIDE_COMPARES)
// As Class16, 32 characters at a time.
template <std::size_t Chunk>
[[gnu::target("avx2,bmi"), gnu::always_inline]] inline void Class32(const char* block, std::uint64_t* blanks,
                                                                    std::uint64_t* digits) {
    const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32 * Chunk));
    const auto isBlank =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(text, _mm256_set1_epi8(' '))));
    const auto isDigit = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(
        _mm256_set1_epi8(-118), _mm256_add_epi8(text, _mm256_set1_epi8(static_cast<char>(0x80 - '0'))))));
    blanks[Chunk / 2] |= std::uint64_t{isBlank} << (32 * (Chunk % 2));
    digits[Chunk / 2] |= std::uint64_t{isDigit} << (32 * (Chunk % 2));
}

// Half the classing of PlainBy16; the block's last 16 characters, where its
// length is no multiple of 32, are classed 16 at a time, so no character
// past PlainCheckBytes is touched.
template <std::size_t... Chunk>
[[gnu::target("avx2,bmi")]] bool PlainBy32(const char* block, std::index_sequence<Chunk...>) {
    std::uint64_t blanks[kWords]{};
    std::uint64_t digits[kWords]{};
    (Class32<Chunk>(block, blanks, digits), ...);
    if constexpr (PlainCheckBytes % 32 != 0) Class16<PlainCheckBytes / 16 - 1>(block, blanks, digits);
    return NoneWrong(blanks, digits);
}

// A word at a time, a quarter of the classing; the last word is loaded
// masked, so no character past PlainCheckBytes is touched.
[[gnu::target("avx512bw")]] bool PlainBy64(const char* block) {
    std::uint64_t wrong = 0;
    std::uint64_t blankBefore = 0;
#pragma GCC unroll 8
    for (int w = 0; w < kWords; ++w) {
        const std::size_t from = std::size_t{64} * static_cast<std::size_t>(w);
        const __mmask64 take =
            from + 64 <= PlainCheckBytes ? ~__mmask64{0} : (__mmask64{1} << (PlainCheckBytes - from)) - 1;
        const __m512i text = _mm512_maskz_loadu_epi8(take, block + from);
        const std::uint64_t b = _mm512_mask_cmpeq_epi8_mask(take, text, _mm512_set1_epi8(' '));
        const std::uint64_t d =
            _mm512_mask_cmplt_epu8_mask(take, _mm512_sub_epi8(text, _mm512_set1_epi8('0')), _mm512_set1_epi8(10));
        wrong |= WrongIn(w, b, d, blankBefore);
    }
    return wrong == 0;
}

#endif

// `classing`: one the processor has.
bool PlainAs(const char* block, CharacterClassing classing) {
#if defined(KOV_WIDE_COMPARES)
    if (classing == CharacterClassing::By64) return PlainBy64(block);
    if (classing == CharacterClassing::By32) return PlainBy32(block, std::make_index_sequence<PlainCheckBytes / 32>{});
#endif
#if defined(__SSE2__)
    (void)classing;
    return PlainBy16(block, std::make_index_sequence<PlainCheckBytes / 16>{});
#else
    // Without any of them, every block is checked counter by counter.
    (void)block;
    (void)classing;
    return false;
#endif
}

// The widest classing this processor has, chosen once.
const CharacterClassing kWidest = [] {
    if (CanClass(CharacterClassing::By64)) return CharacterClassing::By64;
    if (CanClass(CharacterClassing::By32)) return CharacterClassing::By32;
    return CharacterClassing::By16;
}();

}  // namespace

bool CanClass(CharacterClassing classing) {
    switch (classing) {
        case CharacterClassing::By16:
#if defined(__SSE2__)
            return true;
#else
            return false;
#endif
#if defined(KOV_WIDE_COMPARES)
        case CharacterClassing::By32:
            return ProcessorCompares().By32;
        case CharacterClassing::By64:
            return ProcessorCompares().By64;
#endif
        default:
            return false;
    }
}

bool WholeCountersArePlain(const char* block, CharacterClassing classing) {
    // A classing the processor lacks falls back to 16 at a time.
    return PlainAs(block, CanClass(classing) ? classing : CharacterClassing::By16);
}

bool WholeCountersArePlain(const char* block) {
    return PlainAs(block, kWidest);
}

}  // namespace kov
