// MdlSkin: the geometry of the skin pieces, the rounded window outline and
// the window's band. Procedures take the form they act on and find the
// pieces on it by name.
#pragma once

#include <cstdint>

#include "main_window/form.h"

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
};

// The window's outer size in pixels, from its size in twips.
int SkinWidth(const Form& frm);
int SkinHeight(const Form& frm);

}  // namespace orvane
