// The fonts the form's controls ask for, created once each per scale and kept
// until the window moves on to another scale.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "platform/geometry.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class FontCache {
 public:
  HFONT For(const Font& font, const DpiScale& scale);
  // Lets go of the fonts of every other scale, once nothing uses them.
  void KeepOnly(const DpiScale& scale);

 private:
  std::map<std::pair<Font, int>, FontHandle> fonts_;
};

}  // namespace orvane::win32
