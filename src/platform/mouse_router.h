// Which control gets the mouse: presses, releases, clicks and double-clicks
// on the windowless controls go to the one under the mouse, or to the one
// that got the press until the last button is let go; the picture buttons'
// clicks, with the second half of a double-click dropped. The host reports
// what the mouse did and carries out the capture calls it is asked for.
#pragma once

#include <cstdint>

#include "platform/form.h"

namespace orvane {

// What the router asks of the window.
class MouseCapture {
 public:
  virtual ~MouseCapture() = default;
  virtual void SetCapture() = 0;
  // Lets go of the mouse, if the window still holds it.
  virtual void ReleaseCapture() = 0;
  // Ends the system's caption move, as Enter would.
  virtual void EndMoveLoop() = 0;
};

// A press or release as the window saw it.
struct MouseInput {
  MouseButton button = MouseButton::Left;
  Point at;                  // window pixels
  int shift = 0;             // 1 Shift, 2 Ctrl, 4 Alt
  bool buttonsHeld = false;  // some button is still down after this one
};

// When and where (screen pixels) a picture button's click came from, and how
// near in time and place a second one must come to finish a double-click.
struct ButtonClick {
  std::uint32_t time = 0;  // milliseconds; the count wraps round
  Point at;
};
struct DoubleClickArea {
  std::uint32_t time = 0;
  int width = 0;
  int height = 0;
};

class MouseRouter {
 public:
  MouseRouter(Form& form, MouseCapture& capture) : form_(form), capture_(capture) {}

  void ButtonDown(const MouseInput& input);
  void ButtonUp(const MouseInput& input);
  // The second press of a left double-click.
  void DoubleClick(const MouseInput& input);
  // Another window took the mouse: no release will come for the press.
  void CaptureLost() { pressed_ = nullptr; }
  // The system's caption move runs from its start to its end.
  void SetMoveLoop(bool running) { inMoveLoop_ = running; }

  // A picture button was clicked; the second click of a double-click is not
  // passed on.
  void ButtonClicked(const Control& button, const ButtonClick& click, const DoubleClickArea& area);

 private:
  MouseEvent EventFor(const MouseInput& input, const Control& control) const;

  Form& form_;
  MouseCapture& capture_;
  const Control* pressed_ = nullptr;  // the windowless control that got the press
  bool releaseClicks_ = false;        // false when the press was a double-click's second
  bool inMoveLoop_ = false;
  bool clickedBefore_ = false;  // the last button click may start a double-click
  ButtonClick lastClick_;
};

}  // namespace orvane
