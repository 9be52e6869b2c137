// The seam between a form and the top-level window that shows it: the host
// implements it with a real window, the tests with a recording fake.
#pragma once

#include <cmath>
#include <string>

#include "platform/geometry.h"

namespace orvane {

class Control;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The window's outer place and size in twips (1440 per inch), the unit in
// which the form keeps its own geometry.
struct TwipsRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// Twips per pixel on a screen of the given dots per inch.
inline double TwipsPerPixel(int dotsPerInch) {
  return 1440.0 / dotsPerInch;
}

// A window's place in screen pixels as twips, and back to the nearest pixel.
inline TwipsRect TwipsOf(const Rect& pixels, double perPixelX, double perPixelY) {
  return {static_cast<float>(pixels.left * perPixelX), static_cast<float>(pixels.top * perPixelY),
          static_cast<float>(pixels.width * perPixelX),
          static_cast<float>(pixels.height * perPixelY)};
}
inline Rect PixelsOf(const TwipsRect& twips, double perPixelX, double perPixelY) {
  auto nearest = [](double value) { return static_cast<int>(std::lround(value)); };
  return {nearest(twips.left / perPixelX), nearest(twips.top / perPixelY),
          nearest(twips.width / perPixelX), nearest(twips.height / perPixelY)};
}

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // A control's look, place or visibility changed; previousRect is where it was.
  virtual void ControlChanged(const Control& control, const Rect& previousRect) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetBackColor(Color color) = 0;
  virtual void SetFocus(const Control& control) = 0;

  virtual double TwipsPerPixelX() const = 0;
  virtual double TwipsPerPixelY() const = 0;
  virtual TwipsRect Placement() const = 0;
  virtual void MoveTo(const TwipsRect& placement) = 0;
  virtual WindowState State() const = 0;
  virtual void SetState(WindowState state) = 0;

  // CreateRoundRectRgn(left, top, right, bottom, ellipse) handed to
  // SetWindowRgn with redraw TRUE; the window owns the region afterwards.
  virtual void SetRoundRegion(int left, int top, int right, int bottom, int ellipseWidth,
                              int ellipseHeight) = 0;
  // Into the topmost band of the desktop, or back into the normal one,
  // neither moved nor sized.
  virtual void SetTopMost(bool topMost) = 0;
  // Gives up the mouse that a press captured and lets the system move the
  // window with it, as a press on a real caption does; returns once the
  // button is released.
  virtual void BeginCaptionDrag() = 0;
  // Unloads the form: the window closes and is gone.
  virtual void Unload() = 0;
};

}  // namespace orvane
