#pragma once

#include <cmath>
#include <cstdint>

namespace zv {

// Whole-number conversions round halves to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
inline std::int64_t roundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value)); // default FE_TONEAREST is half-even
}

} // namespace zv
