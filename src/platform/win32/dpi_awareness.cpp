#include "platform/win32/dpi_awareness.h"

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and PROCESS_PER_MONITOR_DPI_AWARE;
// the headers declare them only for Windows 10.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kProcessPerMonitorAware = 2;

HMODULE User32() {
  return GetModuleHandleW(L"user32.dll");
}

}  // namespace

void DeclareDpiAwareness() {
  // Windows 10 1703 on. Access is denied once the manifest has declared it.
  if (auto setContext = EntryPoint<BOOL WINAPI(HANDLE)>(User32(), "SetProcessDpiAwarenessContext");
      setContext && (setContext(kPerMonitorAwareV2) || GetLastError() == ERROR_ACCESS_DENIED))
    return;
  // Windows 8.1 on; shcore is not a known DLL, so it comes from the system folder.
  const Module shcore = LoadSystemLibrary(L"shcore.dll");
  if (auto setAwareness = EntryPoint<HRESULT WINAPI(int)>(shcore.get(), "SetProcessDpiAwareness");
      setAwareness) {
    const HRESULT result = setAwareness(kProcessPerMonitorAware);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  // Vista on: the system's scale, whatever the monitor.
  if (auto setAware = EntryPoint<BOOL WINAPI()>(User32(), "SetProcessDPIAware")) setAware();
}

int DpiOf(HWND window) {
  // Windows 10 1607 on.
  if (auto dpiForWindow = EntryPoint<UINT WINAPI(HWND)>(User32(), "GetDpiForWindow");
      window && dpiForWindow) {
    if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
  }
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

}  // namespace orvane::win32
