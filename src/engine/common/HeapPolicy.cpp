#include "common/HeapPolicy.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kov {

void KeepFreedHeapForReuse() {
#if defined(M_TRIM_THRESHOLD)
    constexpr int kKeptBytes = 64 << 20;
    (void)mallopt(M_TRIM_THRESHOLD, kKeptBytes);
#endif
}

}  // namespace kov
