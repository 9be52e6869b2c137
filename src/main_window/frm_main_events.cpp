// Routes the host's events to frmMain's handlers, by control name.
#include "main_window/frm_main.h"

namespace orvane {

void FrmMain::Click(const Control& control) {
  const std::string& name = control.Name();
  if (name == "cmdOrvane") return cmdOrvane_Click();
  if (name == "cmdStop") return cmdStop_Click();
  if (name == "cmdOK") return cmdOK_Click();
  if (name == "cmdUpd") return cmdUpd_Click();
  if (name == "cmdHelp") return cmdHelp_Click();
  if (name == "cmdProxy") return cmdProxy_Click();
  if (name == "cmdExit") return cmdExit_Click();
  if (name == "cmdBr") return cmdBr_Click();
  if (name == "imgTitleMaxRestore") return imgTitleMaxRestore_Click();
}

void FrmMain::DblClick(const Control& control) {
  const std::string& name = control.Name();
  if (name == "lblTitle") return lblTitle_DblClick();
  if (name == "imgTitleMain") return imgTitleMain_DblClick();
  if (name == "txtFolder") return txtFolder_DblClick();
}

void FrmMain::MouseDown(const Control& control, const MouseEvent& event) {
  const std::string& name = control.Name();
  if (name == "imgTitleLeft") return imgTitleLeft_MouseDown(event);
  if (name == "imgTitleMain") return imgTitleMain_MouseDown(event);
  if (name == "imgTitleRight") return imgTitleRight_MouseDown(event);
  if (name == "lblTitle") return lblTitle_MouseDown(event);
  if (name == "Resizer") return Resizer_MouseDown(control.Index(), event);
}

void FrmMain::MouseUp(const Control& control, const MouseEvent& event) {
  if (control.Name() == "Resizer") Resizer_MouseUp(control.Index(), event);
}

void FrmMain::Change(Control& control) {
  if (control.Name() == "txtFolder") txtFolder_Change();
}

}  // namespace orvane
