// The title bar and grip events of frmMain that are more than a call on
// the skin; those are bound where the title pieces are declared.
#include "main_window/frm_main.h"
#include "skin/mdl_skin.h"

namespace orvane {

bool FrmMain::StateRequested(WindowState requested) {
  const WindowState current = Window().State();
  // Minimising, and coming back from it, keep the layout as it is.
  if (requested == WindowState::Minimized || current == WindowState::Minimized) return false;
  if (requested != current) skin_.ToggleMaximize(*this);
  return true;
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
