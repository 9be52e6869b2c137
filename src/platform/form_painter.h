// What the host paints of a form: its background and its windowless
// controls, back to front, on a surface the host provides.
#pragma once

#include <string>

#include "platform/form.h"

namespace orvane {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void Fill(const Rect& area, Color color) = 0;
  // An embedded picture with its top-left at the box's, at its own size or
  // stretched to the box; nothing for a name without a picture.
  virtual void DrawPicture(const std::string& picture, const Rect& box, bool stretch) = 0;
  // Text broken into lines between words within the box; "&&" shows as one
  // ampersand, as on a label.
  virtual void WriteText(const std::string& text, const Rect& box, const Font& font, Color color,
                         TextAlign align) = 0;
};

// Paints an area of the form: the background, then every shown windowless
// control that overlaps the area. The windowed controls paint themselves.
void PaintForm(const Form& form, const Rect& area, Canvas& canvas);

}  // namespace orvane
