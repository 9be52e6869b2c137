#include "platform/win32/pictures.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ decodes JPEG and GIF; it ships with every Windows since XP.
#include <gdiplus.h>

#include <string>

#include "platform/pixel_rows.h"
#include "platform/resource_name.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

std::unique_ptr<Picture> Decode(const void* data, DWORD size, int percent) {
  ComPointer<IStream> stream(SHCreateMemStream(static_cast<const BYTE*>(data), size));
  if (!stream) return nullptr;
  Gdiplus::Bitmap source(stream.get());
  if (source.GetLastStatus() != Gdiplus::Ok) return nullptr;

  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());
  Gdiplus::Rect whole(0, 0, width, height);
  Gdiplus::BitmapData pixels{};
  if (source.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &pixels) !=
      Gdiplus::Ok)
    return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as GDI+ hands them over
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const bool opaque =
      bitmap && CopyPixelRows(static_cast<const std::uint8_t*>(pixels.Scan0), pixels.Stride,
                              static_cast<std::uint8_t*>(bits), width, height);
  source.UnlockBits(&pixels);
  if (!bitmap) return nullptr;
  return std::make_unique<Picture>(std::move(bitmap), width, height, opaque, percent);
}

}  // namespace

void Picture::Draw(HDC target, int x, int y, int width, int height) const {
  MemoryDc source(CreateCompatibleDC(target));
  SelectedObject selected(source.get(), bitmap_.get());
  // An opaque picture at its own size blends to exactly its own pixels, and a
  // plain copy is several times cheaper under Wine: the panel behind the
  // progress caption is repainted up to 30 times a second during a download.
  if (opaque_ && width == width_ && height == height_) {
    BitBlt(target, x, y, width, height, source.get(), 0, 0, SRCCOPY);
    return;
  }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own AlphaBlend: msimg32 would be one more DLL to load.
  GdiAlphaBlend(target, x, y, width, height, source.get(), 0, 0, width_, height_, blend);
}

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

const Picture* PictureLibrary::Get(std::string_view fileName, int percent) {
  if (fileName.empty()) return nullptr;
  const std::string name(fileName);
  if (percent != 100) {
    if (const Picture* scaled = Load(name, percent)) return scaled;
  }
  return Load(name, 100);
}

// The 100 % picture is embedded under its file name ("BG_JPG"), another
// scale's with the percent after it ("BG_JPG_150").
const Picture* PictureLibrary::Load(const std::string& fileName, int percent) {
  const auto key = std::make_pair(fileName, percent);
  if (auto found = pictures_.find(key); found != pictures_.end()) return found->second.get();

  std::unique_ptr<Picture> picture;
  std::string resourceName = ResourceNameOf(fileName);
  if (percent != 100) resourceName += "_" + std::to_string(percent);
  const std::wstring name = Widen(resourceName);
  if (HRSRC resource = FindResourceW(module_, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */)) {
    HGLOBAL loaded = LoadResource(module_, resource);
    const DWORD size = SizeofResource(module_, resource);
    if (loaded && size) picture = Decode(LockResource(loaded), size, percent);
  }
  const Picture* result = picture.get();
  pictures_.emplace(key, std::move(picture));
  return result;
}

}  // namespace orvane::win32
