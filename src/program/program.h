// The whole portable program wired over a platform: frmMain with the skin,
// the download engine and the workflows behind its handlers, over the
// platform with message boxes and program starts logged for support. The
// Win32 composition root, the download benchmark and the unit tests all
// build the program through this one place.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/logged_platform.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/support_log.h"
#include "skin/mdl_skin.h"
#include "workflows/workflows.h"

namespace orvane {

struct Program {
  // `publisher` signs every program the workflows start; empty: no check.
  Program(Platform& platform, WindowPort& window, std::string publisher)
      : log(platform.files, platform.system),
        logged(platform, log),
        ownFile(platform.files.Hold(platform.processes.ExecutablePath())),
        ownPath(ownFile ? ownFile->FinalPath() : ""),
        download(logged.Services(), log),
        workflows(std::move(publisher), log, FolderOf(ownPath)),
        frm(window, logged.Services(), skin, download, workflows, ownPath) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  SupportLog log;
  LoggedPlatform logged;
  // The program's own file, held for the whole run: nobody can rename it
  // away and put another in its place, so Stop starts this very file again,
  // by the path the system has for it ("" when it could not be held).
  std::unique_ptr<HeldFile> ownFile;
  std::string ownPath;
  MdlSkin skin;
  MdlDownload download;
  Workflows workflows;
  FrmMain frm;
};

}  // namespace orvane
