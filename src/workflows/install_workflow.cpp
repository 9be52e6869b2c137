// The install: fetch the product installer next to this program and start it.
#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "platform/path_text.h"
#include "workflows/messages.h"

namespace orvane {

void FrmMain::cmdOrvane_Click() {
  if (Downloading) return;
  Form& frm = *this;
  const std::string target = FolderOf(platform_.processes.ExecutablePath()) + "\\install.exe";

  // An old installer that can't be deleted is left to the download, which
  // reports its own failure if it can't replace it.
  if (platform_.files.FileExists(target)) platform_.files.RemoveFile(target);
  // Guarded before the pending messages run: a second click already queued
  // (a double-click) must not start a second install inside this one.
  Downloading = kVbTrue;
  platform_.ui.DoEvents();
  Layout_Setting("InsTrue");

  const std::string status = download_.DownloadFile(
      "/install/install.exe", target, frm["ProgressCap"], frm["ProgressBar"], ProxyText());
  if (status.empty()) {
    // Not waited for; the window stays open. A declined prompt for the
    // installer's rights is the user's own choice.
    if (platform_.processes.StartProgram(target) == StartOutcome::Failed)
      ShowNotice(platform_.ui, kStartFailedMessage);
  } else {
    fnMsgBox4Download(status);
  }
  Downloading = kVbFalse;
  Layout_Setting("");
}

}  // namespace orvane
