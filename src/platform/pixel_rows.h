// Pictures are kept as rows of 32-bit pixels, blue, green, red and alpha.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// Copies height rows of width pixels, which lie stride bytes apart in from
// (negative for rows stored bottom up), packed one after another into to;
// true when every pixel is opaque (alpha 255), so the picture can be drawn
// by a plain copy rather than blended.
bool CopyPixelRows(const std::uint8_t* from, std::ptrdiff_t stride, std::uint8_t* to, int width,
                   int height);

}  // namespace orvane
