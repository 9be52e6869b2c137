// The seam between a form and the top-level window that shows it: the host
// implements it with a real window, the tests with a recording fake.
#pragma once

#include <cstdint>
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

// SetWindowPos's insert-after values for the band of the window.
enum class InsertAfter : std::int32_t { TopMost = -1, NoTopMost = -2 };
inline constexpr std::uint32_t kSwpNoSize = 0x0001;
inline constexpr std::uint32_t kSwpNoMove = 0x0002;

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
  virtual void SetWindowPos(InsertAfter insertAfter, int x, int y, int width, int height,
                            std::uint32_t flags) = 0;

  // ReleaseCapture, and SendMessageA to the window itself.
  virtual void ReleaseCapture() = 0;
  virtual std::intptr_t SendMessageA(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  // Unloads the form: the window closes and is gone.
  virtual void Unload() = 0;
};

inline constexpr std::uint32_t kWmNcLButtonDown = 0xA1;
inline constexpr std::uintptr_t kHtCaption = 2;

}  // namespace orvane
