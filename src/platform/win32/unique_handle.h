// Move-only owners for Win32 handles: each handle is released exactly once,
// whatever path the code takes.
#pragma once

#include <windows.h>

#include "platform/unique_handle.h"

namespace orvane::win32 {

struct MemoryDcTraits : NullIsInvalid<HDC> {
  static void Close(HDC dc) { DeleteDC(dc); }
};
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
// A kernel object whose failed opening gives null, as a process token.
struct KernelHandleTraits : NullIsInvalid<HANDLE> {
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
// A top-level window whose procedure finds its object through
// GWLP_USERDATA: the link is cut first, so no message of the teardown
// reaches an object that is going away.
struct WindowTraits : NullIsInvalid<HWND> {
  static void Close(HWND window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
};
struct ModuleTraits : NullIsInvalid<HMODULE> {
  static void Close(HMODULE module) { FreeLibrary(module); }
};
// A cursor loaded from the program's resources, not a shared one.
struct CursorTraits : NullIsInvalid<HCURSOR> {
  static void Close(HCURSOR cursor) { DestroyCursor(cursor); }
};
template <typename Interface>
struct ComTraits : NullIsInvalid<Interface*> {
  static void Close(Interface* object) { object->Release(); }
};

using MemoryDc = UniqueHandle<MemoryDcTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using Module = UniqueHandle<ModuleTraits>;
using Cursor = UniqueHandle<CursorTraits>;
template <typename Interface>
using ComPointer = UniqueHandle<ComTraits<Interface>>;

// Typed GDI owners, so callers keep the handle's own type.
template <typename H>
struct TypedGdiTraits : NullIsInvalid<H> {
  static void Close(H object) { DeleteObject(object); }
};
using Bitmap = UniqueHandle<TypedGdiTraits<HBITMAP>>;
using FontHandle = UniqueHandle<TypedGdiTraits<HFONT>>;
using Brush = UniqueHandle<TypedGdiTraits<HBRUSH>>;
using Region = UniqueHandle<TypedGdiTraits<HRGN>>;

// Selects an object into a DC for the scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's DC from GetDC, released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace orvane::win32
