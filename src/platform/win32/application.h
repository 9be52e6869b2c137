// The composition root: the program's modules and frmMain on the Win32
// platform. The only file of the platform layer that knows them.
#pragma once

#include <windows.h>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/win32/win32_platform.h"
#include "skin/mdl_skin.h"
#include "workflows/workflows.h"

namespace orvane::win32 {

class Application {
 public:
  explicit Application(HINSTANCE instance)
      : platform_(instance),
        download_(platform_.Services()),
        form_(platform_.Window(), platform_.Services(), skin_, download_, workflows_) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the window, runs frmMain's load event and shows the window.
  bool Start() {
    if (!platform_.CreateWindowFor(form_, FrmMain::kDesignWidth, FrmMain::kDesignHeight))
      return false;
    form_.Form_Load();
    platform_.Window().Show();
    return true;
  }
  // Turns the message loop until the window closes; returns the exit code.
  int Run() { return platform_.Run(); }

  FrmMain& Form() { return form_; }
  FormWindow& Window() { return platform_.Window(); }

 private:
  Win32Platform platform_;
  MdlSkin skin_;
  MdlDownload download_;
  Workflows workflows_;
  FrmMain form_;
};

}  // namespace orvane::win32
