#include "platform/pixel_rows.h"

#include <cstring>

namespace orvane {

bool CopyPixelRows(const std::uint8_t* from, std::ptrdiff_t stride, std::uint8_t* to, int width,
                   int height) {
  const auto rowBytes = static_cast<std::size_t>(width) * 4;
  bool opaque = true;
  for (int row = 0; row < height; ++row, from += stride, to += rowBytes) {
    std::memcpy(to, from, rowBytes);
    for (std::size_t alpha = 3; alpha < rowBytes && opaque; alpha += 4) opaque = from[alpha] == 255;
  }
  return opaque;
}

}  // namespace orvane
