// The window's own chrome: dragging by the title pieces, maximise/restore, and
// sizing by the grips, each followed by a fresh layout of the skin.
#include <cstdint>
#include <limits>

#include "skin/mdl_skin.h"

namespace orvane {

namespace {

// The cursor's travel in pixels along one axis. A difference that does not
// fit 32 bits is a failed step, which the procedure skips: no travel.
double PixelTravel(std::int32_t from, std::int32_t to) {
  const std::int64_t travel = std::int64_t{to} - from;
  if (travel < std::numeric_limits<std::int32_t>::min() ||
      travel > std::numeric_limits<std::int32_t>::max())
    return 0;
  return static_cast<double>(travel);
}

// The form keeps its geometry in single precision; sums are taken in double.
float Single(double twips) {
  return static_cast<float>(twips);
}

}  // namespace

void MdlSkin::DragWindow(Form& frm) {
  WindowPort& window = frm.Window();
  if (window.State() == WindowState::Maximized) return;
  window.BeginCaptionDrag();
}

void MdlSkin::ToggleMaximize(Form& frm) {
  WindowPort& window = frm.Window();
  Control& button = frm["imgTitleMaxRestore"];
  // The state changes first, so the layout sees the window's new size.
  if (window.State() == WindowState::Normal) {
    window.SetState(WindowState::Maximized);
    button.SetPicture(frm["imgTitleRestore"].Picture());
    ApplySkin(frm, false);
  } else {
    window.SetState(WindowState::Normal);
    button.SetPicture(frm["imgTitleMaximize"].Picture());
    // The maximise laid out without grips and stored 0, so a restore after
    // it keeps the grips where they were too.
    ApplySkin(frm, SkinResizable == 1);
  }
}

void MdlSkin::ResizeWindow(Form& frm, const Point& ptDown, const Point& ptUp,
                           const std::int16_t& Index) {
  WindowPort& window = frm.Window();
  const double dX = PixelTravel(ptDown.x, ptUp.x) * window.TwipsPerPixelX();
  const double dY = PixelTravel(ptDown.y, ptUp.y) * window.TwipsPerPixelY();

  const TwipsRect start = window.Placement();
  const double L = start.left;
  const double T = start.top;
  const double W = start.width;
  const double H = start.height;
  auto move = [&window](double left, double top, double width, double height) {
    window.MoveTo({Single(left), Single(top), Single(width), Single(height)});
  };
  // One move per grip, all four values together; any other index moves nothing.
  // clang-format off
  switch (Index) {
    case 0: move(L + dX, T, W - dX, H); break;
    case 1: move(L, T, W + dX, H); break;
    case 2: move(L, T + dY, W, H - dY); break;
    case 3: move(L, T, W, H + dY); break;
    case 4: move(L, T, W + dX, H + dY); break;
    case 5: move(L + dX, T, W - dX, H + dY); break;
    case 6: move(L, T + dY, W + dX, H - dY); break;
    case 7: move(L + dX, T + dY, W - dX, H - dY); break;
    default: break;
  }
  // clang-format on

  // The minimum applies to whatever size the window system left; the far
  // edge gives way, Left and Top stay where the move put them.
  const float minimumWidth = Single(kMinimumWidth * window.TwipsPerPixelX());
  TwipsRect now = window.Placement();
  if (minimumWidth > now.width) {
    now.width = minimumWidth;
    window.MoveTo(now);
  }
  const float minimumHeight = Single(kMinimumHeight * window.TwipsPerPixelY());
  now = window.Placement();
  if (minimumHeight > now.height) {
    now.height = minimumHeight;
    window.MoveTo(now);
  }

  ApplySkin(frm, true);
}

}  // namespace orvane
