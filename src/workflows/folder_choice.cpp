// Choosing and checking the installation folder.
#include "main_window/frm_main.h"
#include "workflows/messages.h"
#include "workflows/mod_open_dir.h"

namespace orvane {

void FrmMain::txtFolder_Change() {
  Control& folderBox = (*this)["txtFolder"];
  const std::string folder = folderBox.Caption();
  if (folder.empty()) return;
  if (platform_.files.FileExists(folder + "\\Report\\Info.xml") &&
      platform_.files.FileExists(folder + "\\Orvane.dll"))
    return;
  ShowNotice(platform_.ui, kWrongFolderMessage, kMsgBoxCritical);
  // Emptying the box runs this check once more, which stops at the empty text.
  folderBox.SetCaption("");
}

void FrmMain::txtFolder_DblClick() {
  cmdBr_Click();
}

void FrmMain::cmdBr_Click() {
  if (Downloading) return;
  (*this)["txtFolder"].SetCaption(fnSelectFolder());
}

std::string FrmMain::fnSelectFolder() {
  return BrowseFolder(platform_.shell, kCsidlDesktop, kBifReturnOnlyFsDirs, 0, "Select a folder:");
}

}  // namespace orvane
