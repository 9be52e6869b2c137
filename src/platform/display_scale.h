// The monitor's scale as the host applies it. The core lays the window out in
// 100 % pixels (96 dots per inch); the host turns them into device pixels at
// its edge, and back for the mouse. Pure, so the arithmetic is unit tested.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/geometry.h"

namespace orvane {

class DisplayScale {
 public:
  static constexpr int kDesignDpi = 96;

  // A rectangle by its edges, in device pixels.
  struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Edges&, const Edges&) = default;
  };

  explicit DisplayScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  int Dpi() const { return dpi_; }

  // A design length or coordinate in device pixels, to the nearest, halves
  // away from zero as the artwork is drawn.
  int Pixels(int design) const {
    const std::int64_t scaled = static_cast<std::int64_t>(design) * dpi_;
    const std::int64_t half = kDesignDpi / 2;
    return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / kDesignDpi);
  }
  // Each edge on its own, so neighbours that meet in design pixels still meet.
  Edges Pixels(const Rect& design) const {
    return {Pixels(design.left), Pixels(design.top), Pixels(design.left + design.width),
            Pixels(design.top + design.height)};
  }
  // The design pixel a device pixel lies in: the last whose first device
  // pixel is not past it, so a control's edge pixels on screen are its own.
  int Design(int pixels) const {
    int design = static_cast<int>(std::floor(static_cast<double>(pixels) * kDesignDpi / dpi_));
    while (Pixels(design + 1) <= pixels) ++design;
    while (Pixels(design) > pixels) --design;
    return design;
  }
  // The design pixels that cover a device area.
  Rect DesignCovering(const Edges& pixels) const {
    const int left = Design(pixels.left);
    const int top = Design(pixels.top);
    return {left, top, Design(pixels.right - 1) + 1 - left, Design(pixels.bottom - 1) + 1 - top};
  }
  // The artwork drawn for this scale: the smallest rendered scale at or above
  // it, so that below the largest no picture is ever enlarged.
  int ArtPercent() const {
    for (const int percent : {100, 125, 150}) {
      if (percent * kDesignDpi >= dpi_ * 100) return percent;
    }
    return 200;
  }
  // A font's height in pixels for its size in points; negative asks for the
  // character height, as fonts are sized on a form.
  int FontHeight(double points) const {
    return -static_cast<int>(std::lround(points * dpi_ / 72.0));
  }

  friend bool operator==(const DisplayScale&, const DisplayScale&) = default;

 private:
  int dpi_;
};

}  // namespace orvane
