// The monitor's scale as the host applies it. The core lays the window out in
// 100 % pixels (96 dots per inch); the host turns them into device pixels at
// its edge, and back for the mouse.
#pragma once

#include <windows.h>

#include <cmath>

#include "platform/geometry.h"

namespace orvane::win32 {

class DpiScale {
 public:
  static constexpr int kDesignDpi = 96;

  explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  int Dpi() const { return dpi_; }

  // A design length or coordinate in device pixels, to the nearest (half away
  // from zero, as the artwork is drawn).
  int Pixels(int design) const { return MulDiv(design, dpi_, kDesignDpi); }
  // Each edge on its own, so neighbours that meet in design pixels still meet.
  RECT Pixels(const Rect& design) const {
    return {Pixels(design.left), Pixels(design.top), Pixels(design.left + design.width),
            Pixels(design.top + design.height)};
  }
  // The design pixel a device pixel lies in.
  int Design(int pixels) const {
    return static_cast<int>(std::floor(static_cast<double>(pixels) * kDesignDpi / dpi_));
  }
  // The design pixels that cover a device area.
  Rect DesignCovering(const RECT& pixels) const {
    const int left = Design(pixels.left);
    const int top = Design(pixels.top);
    return {left, top, Design(pixels.right - 1) + 1 - left, Design(pixels.bottom - 1) + 1 - top};
  }
  // The artwork drawn for this scale: the smallest rendered scale at or above
  // it, so that below the largest no picture is ever enlarged.
  int ArtPercent() const {
    for (int percent : {100, 125, 150}) {
      if (percent * kDesignDpi >= dpi_ * 100) return percent;
    }
    return 200;
  }
  // A font's height in pixels for its size in points; negative asks for the
  // character height, as fonts are sized on a form.
  int FontHeight(double points) const {
    return -static_cast<int>(std::lround(points * dpi_ / 72.0));
  }

  friend bool operator==(const DpiScale&, const DpiScale&) = default;

 private:
  int dpi_;
};

}  // namespace orvane::win32
