// frmMain: the program's only window. Its controls, start-up, panels and
// form-level state; the event handlers of its controls.
#pragma once

#include <string>
#include <vector>

#include "main_window/commands.h"
#include "main_window/workflow_context.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "platform/vb_runtime.h"

namespace orvane {

class MdlSkin;

class FrmMain : public Form {
 public:
  // The window's outer size as designed, in pixels.
  static constexpr int kDesignWidth = 528;
  static constexpr int kDesignHeight = 255;

  // The install, upgrade and folder commands hand their work to `workflows`.
  // `self` is the path of the program's own file as held for the run, which
  // Stop starts again; "" when it could not be held.
  FrmMain(WindowPort& window, Platform& platform, MdlSkin& skin, MdlDownload& download,
          WorkflowHandlers& workflows, std::string self);

  // True (-1) while an install or upgrade download runs.
  VbBoolean Downloading = kVbFalse;
  // Cursor positions in screen pixels at the last press and release on a grip.
  Point ResizeStart;
  Point ResizeEnd;

  void Form_Load();
  // Shows a panel over the reset state, in which everything any panel shows
  // is hidden and the progress display is emptied.
  void Layout_Setting(Panel panel);

  // A command, unless its guard holds it back while a workflow downloads.
  void Execute(Command command);
  // A click on a control, or Enter or Space on it: the command bound to it
  // in the command table, or else its own handler.
  void Click(const Control& control) override;

  // The title bar and the grips.
  void Resizer_MouseDown(int Index, const MouseEvent& event);
  void Resizer_MouseUp(int Index, const MouseEvent& event);

 private:
  // Closing the window is Exit.
  void CloseRequested() override { Execute(Command::Exit); }
  // Stop and Exit end the program, Stop starting a fresh copy first.
  void End(bool restart);
  // A maximise or restore from outside lays the skin out as the title's
  // button does.
  bool StateRequested(WindowState requested) override;

  // A panel of Layout_Setting: what it shows over the reset state, in which
  // everything any panel shows is hidden and everything a panel covers shown.
  struct PanelDesign {
    Panel panel;
    std::vector<Control*> shows;  // its background first, then its own controls
    Control* covers = nullptr;    // shown in every other panel, hidden in this one
    bool showsProgress = false;   // keeps the progress bar and caption
    Control* focus = nullptr;     // takes the keyboard focus
  };
  // What the form's code reaches of its design, resolved once, when the
  // design has declared it: the controls it touches, and the panels.
  struct Design {
    Control &lblTitle, &ProgressCap, &ProgressBar, &txtFolder, &txtIP, &txtPort;
    std::vector<PanelDesign> panels;
  };

  // Declares every control with its design-time state and binds its events
  // to the handlers above, in stacking order from front to back.
  Design AddControls();

  Platform& platform_;
  MdlSkin& skin_;
  MdlDownload& download_;
  WorkflowHandlers& workflows_;
  const std::string self_;
  const Design design_;
  WorkflowContext context_;
};

}  // namespace orvane
