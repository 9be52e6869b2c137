#include "main_window/frm_main.h"

#include <algorithm>

#include "download/mdl_download.h"
#include "skin/mdl_skin.h"

namespace orvane {

FrmMain::FrmMain(WindowPort& window, Platform& platform, MdlSkin& skin, MdlDownload& download,
                 WorkflowHandlers& workflows)
    : Form(window),
      platform_(platform),
      skin_(skin),
      download_(download),
      workflows_(workflows),
      design_(AddControls()),
      context_{platform,
               download,
               window,
               Downloading,
               design_.ProgressCap,
               design_.ProgressBar,
               design_.txtFolder,
               design_.txtIP,
               design_.txtPort,
               [this](const std::string& Para) { Layout_Setting(Para); }} {}

void FrmMain::Form_Load() {
  skin_.ApplySkin(*this, true);
  skin_.SetTopMost(*this, false);
  Layout_Setting("");
  download_.ServerBase = ServerBaseFor(download_.GetWindowsVersionName(), ProductServerHost());
  // The label shows "&&" as one ampersand. The window caption keeps the
  // design caption until the skin is laid out again.
  design_.lblTitle.SetCaption("Install && Upgrade Orvane 12 .0");
}

void FrmMain::Layout_Setting(const std::string& Para) {
  const std::vector<Panel>& panels = design_.panels;
  for (const Panel& panel : panels) {
    for (Control* control : panel.shows) control->SetVisible(false);
    if (panel.covers) panel.covers->SetVisible(true);
  }
  // The progress display is reset on every call, also for the panel shown.
  Control& bar = design_.ProgressBar;
  Control& caption = design_.ProgressCap;
  bar.SetVisible(true);
  bar.SetWidth(1);
  caption.SetVisible(true);
  caption.SetCaption("");

  // Any other value leaves the reset state.
  const auto panel = std::find_if(panels.begin(), panels.end(), [&Para](const Panel& candidate) {
    return candidate.Para == Para;
  });
  if (panel == panels.end()) return;
  for (Control* control : panel->shows) control->SetVisible(true);
  if (panel->covers) panel->covers->SetVisible(false);
  if (!panel->showsProgress) {
    bar.SetVisible(false);
    caption.SetVisible(false);
  }
  if (panel->focus) SetFocus(*panel->focus);
}

}  // namespace orvane
