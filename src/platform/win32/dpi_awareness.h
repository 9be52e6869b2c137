// The program draws itself at each monitor's scale, so it tells Windows not to
// stretch it. The calls exist only on newer versions and are looked up.
#pragma once

#include <windows.h>

namespace orvane::win32 {

// At start, before any window: per-monitor aware (v2 where Windows has it,
// then per-monitor, then system-wide).
void DeclareDpiAwareness();

// The dots per inch a window is drawn at: its monitor's, or the system's
// where Windows has no per-monitor scale; null asks for the system's.
int DpiOf(HWND window);

}  // namespace orvane::win32
