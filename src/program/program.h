// The whole portable program wired over a platform: frmMain with the skin,
// the download engine and the workflows behind its handlers. The Win32
// composition root, the download benchmark and the unit tests all build the
// program through this one place.
#pragma once

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/platform.h"
#include "skin/mdl_skin.h"
#include "workflows/workflows.h"

namespace orvane {

struct Program {
  Program(Platform& platform, WindowPort& window)
      : download(platform), frm(window, platform, skin, download, workflows) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  MdlSkin skin;
  MdlDownload download;
  Workflows workflows;
  FrmMain frm;
};

}  // namespace orvane
