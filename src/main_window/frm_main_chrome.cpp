// The title bar and grip events of frmMain.
#include "main_window/frm_main.h"
#include "skin/mdl_skin.h"

namespace orvane {

// Dragging, maximising and resizing arrive with the window chrome.
void FrmMain::imgTitleLeft_MouseDown(const MouseEvent&) {}
void FrmMain::imgTitleMain_MouseDown(const MouseEvent&) {}
void FrmMain::imgTitleRight_MouseDown(const MouseEvent&) {}
void FrmMain::lblTitle_MouseDown(const MouseEvent&) {}
void FrmMain::imgTitleMaxRestore_Click() {}
void FrmMain::lblTitle_DblClick() {}
void FrmMain::imgTitleMain_DblClick() {}
void FrmMain::Resizer_MouseDown(int, const MouseEvent&) {}
void FrmMain::Resizer_MouseUp(int, const MouseEvent&) {}

}  // namespace orvane
