#include "platform/form_painter.h"

namespace orvane {

namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.width > 0 && a.height > 0 && b.width > 0 && b.height > 0 && a.left < b.left + b.width &&
         b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

}  // namespace

void PaintForm(const Form& form, const Rect& area, Canvas& canvas) {
  canvas.Fill(area, form.BackColor());
  const auto& controls = form.Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {  // back to front
    const Control& control = *it;
    if (control.Windowed() || !control.Visible() || !Overlap(control.Bounds(), area)) continue;
    switch (control.Kind()) {
      case ControlKind::Image:
        canvas.DrawPicture(control.Picture(), control.Bounds(), control.Stretch());
        break;
      case ControlKind::Shape:
        canvas.Fill(control.Bounds(), control.FillColor());
        break;
      case ControlKind::Label:
        canvas.WriteText(control.Caption(), control.Bounds(), control.GetFont(),
                         control.ForeColor(), control.Align());
        break;
      case ControlKind::PictureButton:
      case ControlKind::TextBox:
        break;
    }
  }
}

}  // namespace orvane
