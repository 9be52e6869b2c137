// The program assembled: the platform services, the modules and frmMain on
// its host window. The entry point and the Windows-side tests build the same.
#pragma once

#include <windows.h>

#include <objbase.h>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/win32/form_window.h"
#include "platform/win32/pictures.h"
#include "platform/win32/shell_services.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/wininet_internet.h"
#include "skin/mdl_skin.h"

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

class Application {
 public:
  explicit Application(HINSTANCE instance);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the window, runs frmMain's load event and shows the window.
  bool Start();
  // Turns the message loop until the window closes; returns the exit code.
  int Run() { return ui_.RunMessageLoop(); }

  FrmMain& Form() { return form_; }
  FormWindow& Window() { return window_; }
  PictureLibrary& Pictures() { return pictures_; }
  MdlDownload& Download() { return download_; }
  Win32UserInterface& Ui() { return ui_; }

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
  Platform platform_;
  MdlSkin skin_;
  MdlDownload download_;
  FormWindow window_;
  FrmMain form_;
};

}  // namespace orvane::win32
