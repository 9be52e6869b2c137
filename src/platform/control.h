// One control of a form: its kind, place, size, visibility, caption, picture,
// font, colours, mouse pointer and the handlers of its events. Every change
// is reported to the form's observer so the window on screen follows the model.
#pragma once

#include <functional>
#include <string>

#include "platform/geometry.h"

namespace orvane {

enum class ControlKind {
  PictureButton,  // a child window showing a picture; acts on a click
  TextBox,        // a single-line edit child window
  Image,          // windowless picture
  Label,          // windowless text
  Shape,          // windowless filled rectangle
};

enum class MousePointer {
  Default,
  Hand,                    // the program's own 32 x 32 pointing hand
  SizeWestEast,            // left and right grips
  SizeNorthSouth,          // top and bottom grips
  SizeNorthWestSouthEast,  // bottom-right and top-left corners
  SizeNorthEastSouthWest,  // bottom-left and top-right corners
};

enum class TextAlign { Left, Center };

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

// What the host reports of a mouse event on a windowless control.
struct MouseEvent {
  MouseButton button = MouseButton::Left;
  int shift = 0;
  int x = 0;  // within the control
  int y = 0;
};

// The handlers a control's events run, bound where the control is declared;
// an event without a handler does nothing.
struct ControlEvents {
  std::function<void()> click;
  std::function<void()> dblClick;
  std::function<void(const MouseEvent&)> mouseDown;
  std::function<void(const MouseEvent&)> mouseUp;
  std::function<void()> change;  // a text box's text changed
};

// Everything a control is at design time, before the program touches it.
struct ControlDesign {
  std::string name;
  int index = -1;  // element of a control array, -1 for a plain control
  ControlKind kind = ControlKind::Image;
  Rect rect;
  bool visible = true;
  std::string caption;  // label caption, text box text, or the words on a picture button
  std::string label;    // a text box's caption on its panel, which names it to a screen reader
  std::string picture;  // embedded picture file name, empty for none
  bool stretch = false;
  Font font;
  Color foreColor = Color::Rgb(0, 0, 0);
  Color fillColor = Color::Rgb(0, 0, 0);
  TextAlign align = TextAlign::Left;
  MousePointer pointer = MousePointer::Default;
  bool locked = false;  // a text box that shows its text but takes no typing
  ControlEvents events;
};

class Control;

class ControlObserver {
 public:
  virtual void ControlChanged(const Control& control, const Rect& previousRect) = 0;
  // A text box's text changed, whether typed or set by the program.
  virtual void TextChanged(Control& control) = 0;

 protected:
  ~ControlObserver() = default;
};

class Control {
 public:
  Control(ControlDesign design, ControlObserver& observer);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return design_.name; }
  int Index() const { return design_.index; }
  ControlKind Kind() const { return design_.kind; }
  // Picture buttons and text boxes are real child windows; the rest are
  // painted by the host onto the form itself.
  bool Windowed() const {
    return design_.kind == ControlKind::PictureButton || design_.kind == ControlKind::TextBox;
  }

  const Rect& Bounds() const { return design_.rect; }
  int Left() const { return design_.rect.left; }
  int Top() const { return design_.rect.top; }
  int Width() const { return design_.rect.width; }
  int Height() const { return design_.rect.height; }
  bool Visible() const { return design_.visible; }
  const std::string& Caption() const { return design_.caption; }
  const std::string& Label() const { return design_.label; }
  const std::string& Picture() const { return design_.picture; }
  bool Stretch() const { return design_.stretch; }
  const Font& GetFont() const { return design_.font; }
  Color ForeColor() const { return design_.foreColor; }
  Color FillColor() const { return design_.fillColor; }
  TextAlign Align() const { return design_.align; }
  MousePointer Pointer() const { return design_.pointer; }
  bool Locked() const { return design_.locked; }
  const ControlEvents& Events() const { return design_.events; }

  void SetVisible(bool visible);
  void SetCaption(std::string caption);
  void SetPicture(std::string picture);
  void SetLocked(bool locked);
  void Move(int left, int top);
  void SetBounds(const Rect& rect);
  void SetWidth(int width);

  // The user edited a text box: the window already shows the text, so the
  // model takes it without echoing it back, and raises the change.
  void TakeTypedText(std::string text);

 private:
  void Changed(const Rect& previousRect) { observer_.ControlChanged(*this, previousRect); }

  ControlDesign design_;
  ControlObserver& observer_;
};

}  // namespace orvane
