// The composition root: the program's modules over the Win32 platform, wired
// in this one place for the program itself and for the tools that drive it
// (the download benchmark, the window inspector). The only file of the
// platform layer that knows them.
#pragma once

#include <windows.h>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/win32/win32_platform.h"
#include "skin/mdl_skin.h"

namespace orvane::win32 {

struct Application {
  // decorators: what a tool puts between the program and the services.
  explicit Application(HINSTANCE instance, const Decorators& decorators = {},
                       double minimumPassSeconds = kDefaultMinimumPassSeconds)
      : platform(instance, decorators, minimumPassSeconds),
        download(platform.Services()),
        frm(platform.Window(), platform.Services(), skin, download) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the window, runs frmMain's load event and shows the window,
  // unless a tool keeps it hidden.
  bool Start(bool show = true) {
    if (!platform.CreateWindowFor(frm, FrmMain::kDesignWidth, FrmMain::kDesignHeight)) return false;
    frm.Form_Load();
    if (show) platform.Show();
    return true;
  }
  // Turns the message loop until the window closes; returns the exit code.
  int Run() { return platform.Run(); }

  Win32Platform platform;
  MdlSkin skin;
  MdlDownload download;
  FrmMain frm;
};

}  // namespace orvane::win32
