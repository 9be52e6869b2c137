// The program's modules wired over a platform: frmMain with the skin and the
// download engine it uses. The Win32 composition root, the download benchmark
// and the unit tests all build the program through this one place.
#pragma once

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/platform.h"
#include "skin/mdl_skin.h"

namespace orvane {

struct Program {
  Program(Platform& platform, WindowPort& window)
      : download(platform), frm(window, platform, skin, download) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  MdlSkin skin;
  MdlDownload download;
  FrmMain frm;
};

}  // namespace orvane
