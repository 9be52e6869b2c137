// The keyboard: Tab and Shift+Tab move it between the shown controls in the
// form's order, Enter and the space bar press the picture button that has it,
// and it never stays on a control that a panel hid or covered.
#include <utility>

#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"

namespace orvane::win32 {

namespace {

bool Held(int key) {
  return GetKeyState(key) < 0;
}

}  // namespace

bool FormWindow::TranslateKey(const MSG& message) {
  if (!window_ || (message.hwnd != window_.get() && GetParent(message.hwnd) != window_.get()))
    return false;
  const Control* focused = ControlForChild(message.hwnd);
  const bool onButton = focused && focused->Kind() == ControlKind::PictureButton;
  const auto key = message.wParam;
  if (message.message == WM_KEYDOWN && key == VK_TAB && !Held(VK_CONTROL) && !Held(VK_MENU))
    return MoveFocus(Held(VK_SHIFT));
  if (!onButton || (key != VK_RETURN && key != VK_SPACE)) return false;
  // The button's own space-bar click would be a second one: both keys take
  // this one path, once per press, not again while the key repeats.
  const bool repeat = (message.lParam & (1 << 30)) != 0;
  if (message.message == WM_KEYDOWN && !repeat) {
    ShowKeyboardCues();
    form_->Click(*focused);
  }
  return message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
}

bool FormWindow::MoveFocus(bool backward) {
  const Control* target = form_->NextFocus(ControlForChild(GetFocus()), backward);
  if (!target) return false;
  ShowKeyboardCues();
  FocusControl(*target);
  // As in a dialog, a box reached by Tab has its text selected.
  if (target->Kind() == ControlKind::TextBox) SendMessageW(ChildFor(*target), EM_SETSEL, 0, -1);
  return true;
}

void FormWindow::ShowKeyboardCues() {
  if (std::exchange(keyboardCues_, true)) return;
  if (const Control* focused = ControlForChild(GetFocus()))
    InvalidateRect(ChildFor(*focused), nullptr, FALSE);
}

void FormWindow::FocusControl(const Control& control) {
  if (HWND child = ChildFor(control)) ::SetFocus(child);
}

bool FormWindow::Reachable(const Control& control) const {
  const Control* first = form_->NextFocus(nullptr, false);
  const Control* next = first;
  for (std::size_t step = 0; next && step < form_->Controls().size(); ++step) {
    if (next == &control) return true;
    next = form_->NextFocus(next, false);
    if (next == first) break;
  }
  return false;
}

// Run once the panel's changes are all made, so the control the panel itself
// focuses (the proxy's address box) keeps the keyboard. While another window
// (a message box) has it, the window's activation sees to it instead.
void FormWindow::KeepFocusReachable() {
  focusCheckPosted_ = false;
  HWND focus = GetFocus();
  const Control* focused = ControlForChild(focus);
  if (!focused && focus != window_.get()) return;
  const bool lost = std::exchange(focusLostToHiding_, false) && !focused;
  if (!lost && (!focused || Reachable(*focused))) return;
  if (const Control* first = form_->NextFocus(nullptr, false)) FocusControl(*first);
}

bool FormWindow::OnActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    focusBeforeDeactivation_ = ControlForChild(GetFocus());
    return false;
  }
  if (HIWORD(state)) return false;  // minimised
  const Control* back = std::exchange(focusBeforeDeactivation_, nullptr);
  const bool lost = std::exchange(focusLostToHiding_, false);
  if (!back && !lost) return false;  // the keyboard was nowhere: it stays so
  if (!back || !Reachable(*back)) back = form_->NextFocus(nullptr, false);
  if (!back) return false;
  FocusControl(*back);
  return true;
}

}  // namespace orvane::win32
