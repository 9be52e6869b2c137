#include "platform/win32/font_cache.h"

#include <cmath>
#include <utility>

#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

HFONT FontCache::For(const Font& font) {
  // A negative height asks for the character height in points, as fonts
  // are sized on a form.
  const int height = -static_cast<int>(std::lround(font.points * ScreenDpi(LOGPIXELSY) / 72.0));
  auto key = std::make_tuple(Widen(font.face), height, font.bold);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    HFONT created =
        CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_SWISS, std::get<0>(key).c_str());
    found = fonts_.emplace(std::move(key), FontHandle(created)).first;
  }
  return found->second.get();
}

}  // namespace orvane::win32
