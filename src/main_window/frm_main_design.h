// The design of frmMain: every control with its design-time state, in
// stacking order from front to back.
#pragma once

#include "main_window/form.h"

namespace orvane {

inline constexpr int kFormWidth = 528;
inline constexpr int kFormHeight = 255;

void AddFrmMainControls(Form& form);

}  // namespace orvane
