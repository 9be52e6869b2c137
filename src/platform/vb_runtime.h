// Numeric and boolean rules of the program's runtime: 16-bit booleans with
// true -1, and rounding of halves to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>

namespace orvane {

using VbBoolean = std::int16_t;
inline constexpr VbBoolean kVbTrue = -1;
inline constexpr VbBoolean kVbFalse = 0;

// Rounds to the nearest whole number, exact halves to the even neighbour
// (1.5 -> 2, 2.5 -> 2, 0.5 -> 0). std::rint honours the current rounding
// mode, which nothing in this program changes from the default to-nearest-even;
// unlike nearbyint it need not save and restore the floating-point state,
// which the 32-bit runtime does slowly, and the download rounds at every block.
inline double RoundHalfEven(double value) {
  return std::rint(value);
}

}  // namespace orvane
