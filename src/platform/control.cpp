#include "platform/control.h"

#include <utility>

namespace orvane {

Control::Control(ControlDesign design, ControlObserver& observer)
    : design_(std::move(design)), observer_(observer) {}

// Setters report only real changes, so repeated resets (every panel switch
// starts by hiding and emptying) cost no repaint.
void Control::SetVisible(bool visible) {
  if (design_.visible == visible) return;
  design_.visible = visible;
  Changed(design_.rect);
}

void Control::SetCaption(std::string caption) {
  if (design_.caption == caption) return;
  design_.caption = std::move(caption);
  Changed(design_.rect);
  // As with typing, text set by the program raises the box's change event.
  if (design_.kind == ControlKind::TextBox) observer_.TextChanged(*this);
}

void Control::TakeTypedText(std::string text) {
  if (design_.caption == text) return;
  design_.caption = std::move(text);
  observer_.TextChanged(*this);
}

void Control::SetPicture(std::string picture) {
  if (design_.picture == picture) return;
  design_.picture = std::move(picture);
  Changed(design_.rect);
}

void Control::SetLocked(bool locked) {
  if (design_.locked == locked) return;
  design_.locked = locked;
  Changed(design_.rect);
}

void Control::Move(int left, int top) {
  SetBounds({left, top, design_.rect.width, design_.rect.height});
}

void Control::SetBounds(const Rect& rect) {
  if (design_.rect == rect) return;
  const Rect previous = design_.rect;
  design_.rect = rect;
  Changed(previous);
}

void Control::SetWidth(int width) {
  SetBounds({design_.rect.left, design_.rect.top, width, design_.rect.height});
}

}  // namespace orvane
