// libFuzzer entry point: see FuzzInputs.h for how an input is read.
#include <cstddef>
#include <cstdint>

#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kov::fuzz::ReadSimulationInput({reinterpret_cast<const char*>(data), size});
    return 0;
}
