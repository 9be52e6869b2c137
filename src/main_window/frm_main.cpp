#include "main_window/frm_main.h"

#include <utility>

#include "download/mdl_download.h"
#include "skin/mdl_skin.h"

namespace orvane {

FrmMain::FrmMain(WindowPort& window, Platform& platform, MdlSkin& skin, MdlDownload& download)
    : Form(window), platform_(platform), skin_(skin), download_(download) {
  AddControls();
}

void FrmMain::Form_Load() {
  skin_.ApplySkin(*this, true);
  skin_.SetTopMost(*this, false);
  Layout_Setting("");
  download_.ServerBase = ServerBaseFor(download_.GetWindowsVersionName(), ProductServerHost());
  // The label shows "&&" as one ampersand. The window caption keeps the
  // design caption until the skin is laid out again.
  (*this)["lblTitle"].SetCaption("Install && Upgrade Orvane 12 .0");
}

void FrmMain::Layout_Setting(const std::string& Para) {
  Form& frm = *this;
  for (const char* background : {"bg", "bg1", "bg2", "bg3", "bg5"})
    frm[background].SetVisible(false);
  frm["cmdOK"].SetVisible(false);
  frm["cmdStop"].SetVisible(false);
  frm["cmdUpd"].SetVisible(true);
  for (const char* name : {"txtFolder", "cmdBr", "txtIP", "txtPort"}) frm[name].SetVisible(false);
  Control& bar = frm["ProgressBar"];
  Control& caption = frm["ProgressCap"];
  bar.SetVisible(true);
  bar.SetWidth(1);
  caption.SetVisible(true);
  caption.SetCaption("");

  if (Para == "") {
    frm["bg"].SetVisible(true);
    bar.SetVisible(false);
    caption.SetVisible(false);
  } else if (Para == "InsTrue") {
    frm["bg1"].SetVisible(true);
    frm["cmdStop"].SetVisible(true);
  } else if (Para == "Upgrade") {
    for (const char* name : {"bg2", "txtFolder", "cmdBr", "cmdOK"}) frm[name].SetVisible(true);
    frm["cmdUpd"].SetVisible(false);
  } else if (Para == "Proxy") {
    for (const char* name : {"bg3", "txtIP", "txtPort"}) frm[name].SetVisible(true);
    frm.SetFocus(frm["txtIP"]);
    bar.SetVisible(false);
    caption.SetVisible(false);
  } else if (Para == "Help") {
    frm["bg5"].SetVisible(true);
    bar.SetVisible(false);
    caption.SetVisible(false);
  }
}

}  // namespace orvane
