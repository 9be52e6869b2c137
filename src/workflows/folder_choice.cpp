// Choosing and checking the installation folder.
#include "main_window/frm_main.h"
#include "workflows/mod_open_dir.h"

namespace orvane {

void FrmMain::txtFolder_Change() {
  Control& folderBox = (*this)["txtFolder"];
  const std::string folder = folderBox.Caption();
  if (folder.empty()) return;
  if (platform_.files.FileExists(folder + "\\Report\\Info.xml") &&
      platform_.files.FileExists(folder + "\\Orvane.dll"))
    return;
  platform_.ui.ShowMessage("Thu muc chua dung.\r\nXin vui long cho biet thu muc da cai dat Orvane.",
                           "THONG BAO", kMsgBoxCritical);
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
  std::string path;
  return BrowseFolder(platform_.shell, kCsidlDesktop, kBifReturnOnlyFsDirs, path, 0,
                      "Select a folder:");
}

}  // namespace orvane
