#pragma once
// A figure as a JSON number for the batch documents: whole values as
// integers (3600, not 3600.0); never inf or NaN, which JSON cannot hold
// (null instead).

#include <cmath>
#include <nlohmann/json.hpp>

namespace kov {

inline nlohmann::ordered_json JsonNumber(double value) {
    if (!std::isfinite(value)) return nullptr;
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15) return static_cast<long long>(value);
    return value;
}

}  // namespace kov
