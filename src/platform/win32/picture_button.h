// The picture button: a small child window that shows a picture inside a
// thin frame and tells its parent about a click with WM_COMMAND/BN_CLICKED.
#pragma once

#include <windows.h>

#include "platform/win32/pictures.h"

namespace orvane::win32 {

inline constexpr wchar_t kPictureButtonClass[] = L"OrvanePictureButton";

// Registers the class with the program's 32 x 32 hand pointer.
bool RegisterPictureButtonClass(HINSTANCE instance, HCURSOR hand);
// The picture the button shows; null shows an empty face.
void SetButtonPicture(HWND button, const Picture* picture);

}  // namespace orvane::win32
