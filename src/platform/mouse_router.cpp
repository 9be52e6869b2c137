#include "platform/mouse_router.h"

#include <cstdlib>

namespace orvane {

MouseEvent MouseRouter::EventFor(const MouseInput& input, const Control& control) const {
  MouseEvent event;
  event.button = input.button;
  event.shift = input.shift;
  event.x = input.at.x - control.Left();
  event.y = input.at.y - control.Top();
  return event;
}

void MouseRouter::ButtonDown(const MouseInput& input) {
  if (inMoveLoop_) return;  // the caption move owns the mouse until it ends
  // While a button is held on a control, the other buttons' presses go to it too.
  const Control* control = pressed_ ? pressed_ : form_.HitTest(input.at.x, input.at.y);
  if (!control) return;
  // The release goes to the control that got the press, wherever it happens.
  pressed_ = control;
  releaseClicks_ = true;
  capture_.SetCapture();
  form_.MouseDown(*control, EventFor(input, *control));
}

void MouseRouter::ButtonUp(const MouseInput& input) {
  if (inMoveLoop_) {
    // A caption move started by a title press ends only on a left release
    // (or Enter); one started with another button ends with that button's.
    if (!input.buttonsHeld) capture_.EndMoveLoop();
    return;
  }
  const Control* control = pressed_;
  // No press of ours: the caption move took it, or it began outside.
  if (!control) return;
  if (!input.buttonsHeld) {
    pressed_ = nullptr;
    capture_.ReleaseCapture();
  }
  form_.MouseUp(*control, EventFor(input, *control));
  // A left release over the pressed control clicks it, except the release
  // that ends a double-click: that one already raised DblClick.
  if (input.button == MouseButton::Left && releaseClicks_ &&
      form_.HitTest(input.at.x, input.at.y) == control)
    form_.Click(*control);
}

void MouseRouter::DoubleClick(const MouseInput& input) {
  const Control* control = form_.HitTest(input.at.x, input.at.y);
  if (!control) return;
  // The second press of a double-click raises DblClick instead of MouseDown,
  // so it never starts a second caption move.
  pressed_ = control;
  releaseClicks_ = false;
  capture_.SetCapture();
  form_.DblClick(*control);
}

// A double-click on a picture button is one click, even when the first
// click put another button in its place (Stop takes Install's, OK takes
// Upgrade's): a click that comes within the double-click time and distance
// of the previous one is its second half. Times and places are the
// releases', which these clicks are sent from.
void MouseRouter::ButtonClicked(const Control& button, const ButtonClick& click,
                                const DoubleClickArea& area) {
  const bool second = clickedBefore_ && click.time - lastClick_.time <= area.time &&
                      std::abs(click.at.x - lastClick_.at.x) <= area.width / 2 &&
                      std::abs(click.at.y - lastClick_.at.y) <= area.height / 2;
  clickedBefore_ = !second;  // a third click starts afresh
  lastClick_ = click;
  if (!second) form_.Click(button);
}

}  // namespace orvane
