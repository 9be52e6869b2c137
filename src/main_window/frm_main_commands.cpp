// The window's commands: the panel buttons, Exit and Stop; the install, the
// upgrade and the folder box are the workflows' work.
#include <string>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/path_text.h"

namespace orvane {

void FrmMain::cmdUpd_Click() {
  if (Downloading) return;
  Layout_Setting("Upgrade");
}

void FrmMain::cmdHelp_Click() {
  if (Downloading) return;
  Layout_Setting("Help");
}

void FrmMain::cmdProxy_Click() {
  if (Downloading) return;
  Layout_Setting("Proxy");
}

void FrmMain::cmdExit_Click() {
  download_.AbandonTransfer();
  Window().Unload();
  platform_.processes.EndProcess();
}

void FrmMain::cmdStop_Click() {
  // The fresh copy must find no partial file of this one, open or not.
  download_.AbandonTransfer();
  // The same program again: its folder, its name without the extension, ".exe".
  const std::string self = platform_.processes.ExecutablePath();
  platform_.processes.StartProgram(FolderOf(self) + "\\" + BaseNameOf(self) + ".exe");
  Window().Unload();
  platform_.processes.EndProcess();
}

void FrmMain::cmdOrvane_Click() {
  workflows_.Install(context_);
}

void FrmMain::cmdOK_Click() {
  workflows_.Upgrade(context_);
}

void FrmMain::fnMsgBox4Download(const std::string& strErr) {
  workflows_.ShowDownloadMessage(context_, strErr);
}

void FrmMain::txtFolder_Change() {
  workflows_.CheckFolder(context_);
}

void FrmMain::txtFolder_DblClick() {
  cmdBr_Click();
}

void FrmMain::cmdBr_Click() {
  workflows_.BrowseForFolder(context_);
}

std::string FrmMain::fnSelectFolder() {
  return workflows_.SelectFolder(context_);
}

}  // namespace orvane
