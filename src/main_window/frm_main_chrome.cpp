// The title bar and grip events of frmMain.
#include "main_window/frm_main.h"
#include "skin/mdl_skin.h"

namespace orvane {

// A press of any button on a title piece moves the window; the button, the
// shift keys and the place within the piece don't matter.
void FrmMain::imgTitleLeft_MouseDown(const MouseEvent&) {
  skin_.DragWindow(*this);
}
void FrmMain::imgTitleMain_MouseDown(const MouseEvent&) {
  skin_.DragWindow(*this);
}
void FrmMain::imgTitleRight_MouseDown(const MouseEvent&) {
  skin_.DragWindow(*this);
}
void FrmMain::lblTitle_MouseDown(const MouseEvent&) {
  skin_.DragWindow(*this);
}

bool FrmMain::StateRequested(WindowState requested) {
  const WindowState current = Window().State();
  // Minimising, and coming back from it, keep the layout as it is.
  if (requested == WindowState::Minimized || current == WindowState::Minimized) return false;
  if (requested != current) skin_.ToggleMaximize(*this);
  return true;
}

void FrmMain::imgTitleMaxRestore_Click() {
  skin_.ToggleMaximize(*this);
}
void FrmMain::lblTitle_DblClick() {
  skin_.ToggleMaximize(*this);
}
void FrmMain::imgTitleMain_DblClick() {
  skin_.ToggleMaximize(*this);
}

// The window changes once, at the release, by the cursor's travel since the
// press; any button drags a grip.
void FrmMain::Resizer_MouseDown(int, const MouseEvent&) {
  platform_.ui.GetCursorPos(ResizeStart);
}
void FrmMain::Resizer_MouseUp(int Index, const MouseEvent&) {
  platform_.ui.GetCursorPos(ResizeEnd);
  const auto grip = static_cast<std::int16_t>(Index);
  skin_.ResizeWindow(*this, ResizeStart, ResizeEnd, grip);
}

}  // namespace orvane
