// The fonts the form's controls ask for, created once each at the screen's
// resolution and kept for the life of the window.
#pragma once

#include <windows.h>

#include <map>

#include "platform/geometry.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class FontCache {
 public:
  HFONT For(const Font& font);

 private:
  std::map<Font, FontHandle> fonts_;
};

}  // namespace orvane::win32
