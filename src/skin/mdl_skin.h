// MdlSkin: the geometry of the skin pieces, the rounded window outline, the
// window's band, and the title bar and grips that move, maximise and size the
// window. Procedures take the form they act on and find the pieces on it by name.
#pragma once

#include <cstdint>

#include "platform/form.h"
#include "platform/geometry.h"

namespace orvane {

inline constexpr int kGripCount = 8;
inline constexpr int kCornerEllipse = 24;

class MdlSkin {
 public:
  // 1 when the latest layout placed the grips, else 0; 0 before the first.
  std::int16_t SkinResizable = 0;

  void ApplySkin(Form& frm, bool blnResizable);
  void SetWindowRoundRegion(Form& frm);
  void SetTopMost(Form& frm, bool blnTopMost);

  // Moves the window with the mouse as a caption press would, until the
  // button is released; does nothing while the window is maximised.
  void DragWindow(Form& frm);
  // Normal to maximised, anything else to normal; then lays the skin out.
  void ToggleMaximize(Form& frm);
  // Moves and sizes the window by the cursor's travel from ptDown to ptUp on
  // grip Index (0 to 7), keeps the minimum size and lays the skin out.
  void ResizeWindow(Form& frm, const Point& ptDown, const Point& ptUp, const std::int16_t& Index);
};

// The smallest window a grip resize leaves, in pixels.
inline constexpr int kMinimumWidth = 57;
inline constexpr int kMinimumHeight = 90;

// The window's outer size in pixels, from its size in twips.
int SkinWidth(const Form& frm);
int SkinHeight(const Form& frm);

}  // namespace orvane
