// Every Win32 service of the seam, and the host window a form is shown in,
// assembled once for the user-interface thread, with a tool's decorators
// between them and the program.
#pragma once

#include <windows.h>

#include <objbase.h>

#include "platform/decorators.h"
#include "platform/win32/form_window.h"
#include "platform/win32/pictures.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_user_interface.h"
#include "platform/win32/wininet_internet.h"
#include "platform/win32/xmllite_files.h"

namespace orvane::win32 {

// The user-interface thread's COM apartment, which the shell's folder dialog needs.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

class Win32Platform {
 public:
  explicit Win32Platform(HINSTANCE instance, const Decorators& decorators = {},
                         double minimumPassSeconds = kDefaultMinimumPassSeconds)
      : pictures_(instance, gdiplus_),
        services_({ui_, internet_, files_, processes_, system_, shell_, xml_}, decorators,
                  SteadySeconds, minimumPassSeconds),
        window_(instance, pictures_, decorators.repaints) {}
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Creates the window for the form at its outer size; message boxes and
  // the message loop's passes then belong to it.
  bool CreateWindowFor(Form& form, int width, int height) {
    if (!window_.Create(form, width, height)) return false;
    ui_.SetMainWindow(&window_);
    internet_.SetDialogOwner(window_.Handle());
    return true;
  }
  void Show() { window_.Show(); }
  // Turns the message loop until the window closes; returns the exit code.
  int Run() { return ui_.RunMessageLoop(); }

  // The services as the program sees them, decorated.
  Platform& Services() { return services_.Services(); }
  WindowPort& Window() { return window_; }

 private:
  ComApartment com_;
  GdiplusSession gdiplus_;
  PictureLibrary pictures_;
  Win32UserInterface ui_;
  WinInetInternet internet_;
  Win32FileSystem files_;
  Win32Processes processes_;
  Win32SystemInfo system_;
  Win32Shell shell_;
  XmlLiteFiles xml_;
  DecoratedPlatform services_;
  FormWindow window_;
};

}  // namespace orvane::win32
