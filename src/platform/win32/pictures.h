// Pictures embedded in the executable, decoded once (JPEG, GIF, BMP) into
// 32-bit premultiplied bitmaps that the host draws with GdiAlphaBlend, so GIF
// transparency shows what lies beneath. Each is embedded as drawn for 100 %,
// and for some larger scales as drawn afresh at that scale.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class Picture {
 public:
  // opaque: every pixel's alpha is 255 (JPEG, BMP, a GIF without transparency).
  // percent: the scale it was drawn for.
  Picture(Bitmap bitmap, int width, int height, bool opaque, int percent)
      : bitmap_(std::move(bitmap)),
        width_(width),
        height_(height),
        opaque_(opaque),
        percent_(percent) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Its size at 100 %, in the pixels the form is laid out in.
  int DesignWidth() const { return MulDiv(width_, 100, percent_); }
  int DesignHeight() const { return MulDiv(height_, 100, percent_); }

  // Draws the picture with its top-left at (x, y), at its own size or
  // stretched to width x height.
  void Draw(HDC target, int x, int y, int width, int height) const;

 private:
  Bitmap bitmap_;
  int width_;
  int height_;
  bool opaque_;
  int percent_;
};

// GDI+, loaded from the system folder and kept running for the life of the
// object: Windows 7 keeps it out of its known DLLs, so an import would be
// looked for beside the program first, where anyone may have left one.
class GdiplusSession {
 public:
  GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession();

  // The JPEG or GIF as a 32-bit picture for that scale; null when it can't
  // be decoded, or GDI+ is not there.
  std::unique_ptr<Picture> Decode(const void* data, DWORD size, int percent) const;

 private:
  struct Api;
  Module gdiplus_;
  std::unique_ptr<Api> api_;  // null when GDI+ could not be loaded and started
  ULONG_PTR token_ = 0;
};

class PictureLibrary {
 public:
  PictureLibrary(HINSTANCE module, const GdiplusSession& gdiplus)
      : module_(module), gdiplus_(gdiplus) {}
  // The picture embedded under a file name such as "bg.jpg" as drawn for the
  // scale in percent (100, 125, 150, 200), or else for 100 %; null when there
  // is none or it can't be decoded.
  const Picture* Get(std::string_view fileName, int percent = 100);

 private:
  const Picture* Load(const std::string& fileName, int percent);

  HINSTANCE module_;
  const GdiplusSession& gdiplus_;
  std::map<std::pair<std::string, int>, std::unique_ptr<Picture>> pictures_;
};

}  // namespace orvane::win32
