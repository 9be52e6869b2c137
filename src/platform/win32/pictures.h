// Pictures embedded in the executable, decoded once (JPEG, GIF, BMP) into
// 32-bit premultiplied bitmaps that the host draws with GdiAlphaBlend, so GIF
// transparency shows what lies beneath.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class Picture {
 public:
  // opaque: every pixel's alpha is 255 (JPEG, BMP, a GIF without transparency).
  Picture(Bitmap bitmap, int width, int height, bool opaque = false)
      : bitmap_(std::move(bitmap)), width_(width), height_(height), opaque_(opaque) {}
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Draws the picture with its top-left at (x, y), at its own size or
  // stretched to width x height.
  void Draw(HDC target, int x, int y, int width, int height) const;

 private:
  Bitmap bitmap_;
  int width_;
  int height_;
  bool opaque_;
};

// Keeps GDI+ running for the life of the object.
class GdiplusSession {
 public:
  GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession();

 private:
  ULONG_PTR token_ = 0;
};

class PictureLibrary {
 public:
  explicit PictureLibrary(HINSTANCE module) : module_(module) {}
  // The picture embedded under a file name such as "bg.jpg", or null when
  // there is none or it can't be decoded.
  const Picture* Get(std::string_view fileName);

 private:
  HINSTANCE module_;
  std::map<std::string, std::unique_ptr<Picture>, std::less<>> pictures_;
};

}  // namespace orvane::win32
