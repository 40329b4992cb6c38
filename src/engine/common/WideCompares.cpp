#include "common/WideCompares.h"

namespace kov {

const WideCompares& ProcessorCompares() {
    static const WideCompares compares = [] {
#if defined(KOV_WIDE_COMPARES)
        __builtin_cpu_init();
        return WideCompares{__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi"),
                            __builtin_cpu_supports("avx512bw") != 0};
#else
        return WideCompares{};
#endif
    }();
    return compares;
}

}  // namespace kov
