// A form: its controls in stacking order, its window-level properties and
// the events the host delivers to it. Procedures that act on "a form" (the
// skin) find its pieces here by name.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "platform/control.h"
#include "platform/window_port.h"

namespace orvane {

// The grey behind the skin and the panels.
inline constexpr Color kFormBackColor = Color::Rgb(207, 207, 207);

class Form : private ControlObserver {
 public:
  explicit Form(WindowPort& window) : window_(window) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  // Controls are added front to back: the first added lies in front.
  Control& Add(ControlDesign design);

  // The named control. A name the form doesn't have is a programming error:
  // the program stops at once and names it.
  Control& operator[](std::string_view name) { return Find(name, -1); }
  const Control& operator[](std::string_view name) const;
  Control& Element(std::string_view name, int index) { return Find(name, index); }

  // Front to back; windowed controls lie in front of every windowless one.
  const std::deque<Control>& Controls() const { return controls_; }

  // The front-most shown windowless control under a window point, or null.
  // A control without a picture still takes the mouse over its rectangle.
  const Control* HitTest(int x, int y) const;

  // Where Tab (Shift+Tab: backward) takes the keyboard from `from`: the next
  // windowed control that is shown and not covered by one in front of it, in
  // the order the controls were added, round the end; from none, the first
  // (the last). Null when no control can take the keyboard.
  const Control* NextFocus(const Control* from, bool backward) const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color);
  void SetFocus(const Control& control) { window_.SetFocus(control); }

  WindowPort& Window() { return window_; }
  const WindowPort& Window() const { return window_; }

  // The events the host delivers. Each runs the handler bound to the control
  // where it is declared; a form may take an event over.
  virtual void Click(const Control& control);
  virtual void DblClick(const Control& control);
  virtual void MouseDown(const Control& control, const MouseEvent& event);
  virtual void MouseUp(const Control& control, const MouseEvent& event);
  // The user edited a text box: the model takes the text and raises Change.
  virtual void TextTyped(Control& control, std::string text);
  // The system asks the window to close: Alt+F4, the taskbar, the system
  // menu, the end of the session. By default the form unloads.
  virtual void CloseRequested() { window_.Unload(); }
  // The system asks for another window state from outside the form's own
  // controls (the taskbar's menu, a keyboard shortcut); true when the form
  // has seen to it, false to let the system do it.
  virtual bool StateRequested(WindowState) { return false; }

 protected:
  // A text box's text changed, typed or set by the program.
  virtual void Change(const Control& control);

 private:
  Control& Find(std::string_view name, int index);
  void ControlChanged(const Control& control, const Rect& previousRect) override {
    window_.ControlChanged(control, previousRect);
  }
  void TextChanged(Control& control) override { Change(control); }

  WindowPort& window_;
  std::deque<Control> controls_;  // deque: controls never move once added
  std::string caption_;
  Color backColor_ = kFormBackColor;
};

}  // namespace orvane
