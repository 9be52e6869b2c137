// The monitor's scale (platform/display_scale.h) with the system's own
// rectangles at the host's edge.
#pragma once

#include <windows.h>

#include "platform/display_scale.h"

namespace orvane::win32 {

class DpiScale : public DisplayScale {
 public:
  using DisplayScale::DisplayScale;
  using DisplayScale::Pixels;

  RECT Pixels(const Rect& design) const {
    const Edges edges = DisplayScale::Pixels(design);
    return {edges.left, edges.top, edges.right, edges.bottom};
  }
  Rect DesignCovering(const RECT& pixels) const {
    return DisplayScale::DesignCovering({pixels.left, pixels.top, pixels.right, pixels.bottom});
  }
};

}  // namespace orvane::win32
