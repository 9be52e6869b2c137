// The program's message boxes: modal, OK only, under one title.
#pragma once

#include <string>

#include "platform/user_interface.h"

namespace orvane {

inline constexpr char kMessageTitle[] = "THONG BAO";

// Stop could not start the program again: its own file was not held.
inline constexpr char kRestartFailedMessage[] =
    "Khong khoi dong lai duoc chuong trinh.\r\nXin vui long tu mo lai chuong trinh.";

// A modal box with OK under the program's title; the information icon
// unless another style is given.
inline void ShowNotice(UserInterface& ui, const std::string& text, int style = kMsgBoxInformation) {
  ui.ShowMessage(text, kMessageTitle, style);
}

}  // namespace orvane
