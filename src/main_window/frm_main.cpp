#include "main_window/frm_main.h"

#include <algorithm>
#include <utility>

#include "download/mdl_download.h"
#include "skin/mdl_skin.h"

namespace orvane {

FrmMain::FrmMain(WindowPort& window, Platform& platform, MdlSkin& skin, MdlDownload& download,
                 WorkflowHandlers& workflows, std::string self)
    : Form(window),
      platform_(platform),
      skin_(skin),
      download_(download),
      workflows_(workflows),
      self_(std::move(self)),
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
               [this](Panel panel) { Layout_Setting(panel); }} {}

void FrmMain::Form_Load() {
  skin_.ApplySkin(*this, true);
  skin_.SetTopMost(*this, false);
  Layout_Setting(Panel::Home);
  download_.UseServer(ProductServerHost());
  // The label shows "&&" as one ampersand. The window caption keeps the
  // design caption until the skin is laid out again.
  design_.lblTitle.SetCaption("Install && Upgrade Orvane 12 .0");
}

void FrmMain::Layout_Setting(Panel panel) {
  const std::vector<PanelDesign>& panels = design_.panels;
  for (const PanelDesign& each : panels) {
    for (Control* control : each.shows) control->SetVisible(false);
    if (each.covers) each.covers->SetVisible(true);
  }
  // The progress display is reset on every call, also for the panel shown.
  Control& bar = design_.ProgressBar;
  Control& caption = design_.ProgressCap;
  bar.SetVisible(true);
  bar.SetWidth(1);
  caption.SetVisible(true);
  caption.SetCaption("");

  const auto shown = std::find_if(panels.begin(), panels.end(),
                                  [panel](const PanelDesign& each) { return each.panel == panel; });
  for (Control* control : shown->shows) control->SetVisible(true);
  if (shown->covers) shown->covers->SetVisible(false);
  if (!shown->showsProgress) {
    bar.SetVisible(false);
    caption.SetVisible(false);
  }
  if (shown->focus) SetFocus(*shown->focus);
}

}  // namespace orvane
