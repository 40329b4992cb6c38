#include "common/HeapPolicy.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kov {

void KeepFreedHeapForReuse() {
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD)
    constexpr int kKeptBytes = 64 << 20;
    (void)mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    // Setting the one fixes the other where it starts, at 128 KB, and then
    // every larger block (a history's packed object lists) is mapped and
    // unmapped afresh; the library would have raised it as such blocks came
    // and went, up to this.
    constexpr int kLargestHeapBlock = 32 << 20;
    (void)mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
#endif
}

}  // namespace kov
