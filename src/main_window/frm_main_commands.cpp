// The window's own commands: the panel buttons, Exit and Stop.
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

std::string FrmMain::ProxyText() {
  Form& frm = *this;
  return frm["txtIP"].Caption() + ":" + frm["txtPort"].Caption();
}

}  // namespace orvane
