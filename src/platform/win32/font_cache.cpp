#include "platform/win32/font_cache.h"

#include <iterator>

#include "platform/win32/utf.h"

namespace orvane::win32 {

HFONT FontCache::For(const Font& font, const DpiScale& scale) {
  const auto key = std::make_pair(font, scale.Dpi());
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    HFONT created =
        CreateFontW(scale.FontHeight(font.points), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, Widen(font.face).c_str());
    found = fonts_.emplace(key, FontHandle(created)).first;
  }
  return found->second.get();
}

void FontCache::KeepOnly(const DpiScale& scale) {
  for (auto it = fonts_.begin(); it != fonts_.end();)
    it = it->first.second == scale.Dpi() ? std::next(it) : fonts_.erase(it);
}

}  // namespace orvane::win32
