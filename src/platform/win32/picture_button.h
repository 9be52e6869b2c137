// The picture button: a system push button, owner-drawn, so that the keyboard
// and screen readers know it as a button named by its words, while it shows a
// picture inside a thin frame. The parent draws it from WM_DRAWITEM and hears
// of a click, released over it, as WM_COMMAND/BN_CLICKED.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/dpi_scale.h"
#include "platform/win32/pictures.h"

namespace orvane::win32 {

// A hidden or shown tab stop in its parent at a place in device pixels, with
// the hand pointer, which the caller keeps for the button's life.
HWND CreatePictureButton(HWND parent, int id, const std::wstring& words, const RECT& place,
                         bool visible, HCURSOR hand);

// Draws the button: frame and picture at the scale, the face sunk while the
// mouse or the space bar holds it, and a ring inside the frame while it has
// the keyboard and the keyboard is in use.
void DrawPictureButton(const DRAWITEMSTRUCT& item, const Picture* picture, const DpiScale& scale,
                       bool showFocus);

}  // namespace orvane::win32
