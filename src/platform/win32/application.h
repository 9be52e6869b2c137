// The composition root: the program over the Win32 platform, with a tool's
// decorators between them. The program itself, the download benchmark and
// the window inspector start from here.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/win32/win32_platform.h"
#include "program/program.h"

namespace orvane::win32 {

struct Application {
  // `publisher` must have signed every program the workflows start; a tool
  // that starts none passes "".
  Application(HINSTANCE instance, std::string publisher, const Decorators& decorators = {},
              double minimumPassSeconds = kDefaultMinimumPassSeconds)
      : platform(instance, decorators, minimumPassSeconds),
        program(platform.Services(), platform.Window(), std::move(publisher)) {}

  // Logs the start of the run, creates the window, runs frmMain's load event
  // and shows the window, unless a tool keeps it hidden.
  bool Start(bool show = true) {
    program.log.WriteStart();
    if (!platform.CreateWindowFor(program.frm, FrmMain::kDesignWidth, FrmMain::kDesignHeight))
      return false;
    program.frm.Form_Load();
    if (show) platform.Show();
    return true;
  }
  // Turns the message loop until the window closes; returns the exit code.
  int Run() { return platform.Run(); }

  Win32Platform platform;
  Program program;
};

}  // namespace orvane::win32
