#include "platform/win32/font_cache.h"

#include <cmath>

#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

// The program doesn't declare itself aware of the screen's scale, so the
// resolution it sees stays what it was at its start: a font is made once.
HFONT FontCache::For(const Font& font) {
  auto found = fonts_.find(font);
  if (found == fonts_.end()) {
    // A negative height asks for the character height in points, as fonts
    // are sized on a form.
    const int height = -static_cast<int>(std::lround(font.points * ScreenDpi(LOGPIXELSY) / 72.0));
    HFONT created =
        CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_SWISS, Widen(font.face).c_str());
    found = fonts_.emplace(font, FontHandle(created)).first;
  }
  return found->second.get();
}

}  // namespace orvane::win32
