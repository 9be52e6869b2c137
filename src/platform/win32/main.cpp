// The program's entry point. It reads no command line: frmMain is the
// start-up object and everything else follows from its load event.
#ifndef ORVANE_PUBLISHER
#error "ORVANE_PUBLISHER names the code-signing publisher (empty: no check); the build sets it"
#endif

#include <windows.h>

#include "platform/win32/application.h"
#include "platform/win32/dpi_awareness.h"
#include "platform/win32/system_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL: only the system folder is searched.
  orvane::win32::RestrictDllSearchToSystemFolder();
  // A folder on a drive that isn't ready is simply not there; no system
  // error box interrupts the check.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  // It draws itself at each monitor's scale: Windows must not stretch it.
  orvane::win32::DeclareDpiAwareness();
  // Every program it starts must be signed by the publisher the build names.
  orvane::win32::Application application(instance, ORVANE_PUBLISHER);
  if (!application.Start()) return 1;
  return application.Run();
}
