#include "platform/win32/pictures.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ decodes JPEG and GIF; it ships with every Windows since XP.
#include <gdiplus.h>

#include <string>
#include <type_traits>

#include "platform/pixel_rows.h"
#include "platform/resource_name.h"
#include "platform/win32/system_library.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

// The flat entry points the decoding needs; the C++ wrappers of the header
// would import them.
struct GdiplusSession::Api {
  decltype(&Gdiplus::GdiplusStartup) startup;
  decltype(&Gdiplus::GdiplusShutdown) shutdown;
  decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) fromStream;
  decltype(&Gdiplus::DllExports::GdipGetImageWidth) width;
  decltype(&Gdiplus::DllExports::GdipGetImageHeight) height;
  decltype(&Gdiplus::DllExports::GdipBitmapLockBits) lockBits;
  decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) unlockBits;
  decltype(&Gdiplus::DllExports::GdipDisposeImage) dispose;
};

namespace {

template <typename Pointer>
Pointer Resolve(const Module& module, const char* name) {
  return EntryPoint<std::remove_pointer_t<Pointer>>(module.get(), name);
}

}  // namespace

GdiplusSession::GdiplusSession() : gdiplus_(LoadSystemLibrary(L"gdiplus.dll")) {
  auto api = std::make_unique<Api>(
      Api{Resolve<decltype(Api::startup)>(gdiplus_, "GdiplusStartup"),
          Resolve<decltype(Api::shutdown)>(gdiplus_, "GdiplusShutdown"),
          Resolve<decltype(Api::fromStream)>(gdiplus_, "GdipCreateBitmapFromStream"),
          Resolve<decltype(Api::width)>(gdiplus_, "GdipGetImageWidth"),
          Resolve<decltype(Api::height)>(gdiplus_, "GdipGetImageHeight"),
          Resolve<decltype(Api::lockBits)>(gdiplus_, "GdipBitmapLockBits"),
          Resolve<decltype(Api::unlockBits)>(gdiplus_, "GdipBitmapUnlockBits"),
          Resolve<decltype(Api::dispose)>(gdiplus_, "GdipDisposeImage")});
  if (!api->startup || !api->shutdown || !api->fromStream || !api->width || !api->height ||
      !api->lockBits || !api->unlockBits || !api->dispose)
    return;
  const Gdiplus::GdiplusStartupInput input;
  if (api->startup(&token_, &input, nullptr) == Gdiplus::Ok) api_ = std::move(api);
}

GdiplusSession::~GdiplusSession() {
  if (api_) api_->shutdown(token_);
}

std::unique_ptr<Picture> GdiplusSession::Decode(const void* data, DWORD size, int percent) const {
  if (!api_) return nullptr;
  ComPointer<IStream> stream(SHCreateMemStream(static_cast<const BYTE*>(data), size));
  Gdiplus::GpBitmap* source = nullptr;
  if (!stream || api_->fromStream(stream.get(), &source) != Gdiplus::Ok) return nullptr;
  const std::unique_ptr<Gdiplus::GpBitmap, decltype(Api::dispose)> owned(source, api_->dispose);
  UINT width = 0;
  UINT height = 0;
  api_->width(source, &width);
  api_->height(source, &height);
  const Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData pixels{};
  if (api_->lockBits(source, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &pixels) !=
      Gdiplus::Ok)
    return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down rows, as GDI+ hands them over
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const bool opaque = bitmap && CopyPixelRows(static_cast<const std::uint8_t*>(pixels.Scan0),
                                              pixels.Stride, static_cast<std::uint8_t*>(bits),
                                              static_cast<int>(width), static_cast<int>(height));
  api_->unlockBits(source, &pixels);
  if (!bitmap) return nullptr;
  return std::make_unique<Picture>(std::move(bitmap), static_cast<int>(width),
                                   static_cast<int>(height), opaque, percent);
}

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
    if (loaded && size) picture = gdiplus_.Decode(LockResource(loaded), size, percent);
  }
  const Picture* result = picture.get();
  pictures_.emplace(key, std::move(picture));
  return result;
}

}  // namespace orvane::win32
