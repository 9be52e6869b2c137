// The upgrade: the updater and the two packages into the installation
// folder, then the hand-over to the updater, which carries on alone.
#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "workflows/customer_name.h"
#include "workflows/messages.h"

namespace orvane {

void FrmMain::cmdOK_Click() {
  if (Downloading) return;
  Form& frm = *this;
  if (frm["txtFolder"].Caption().empty()) {
    ShowNotice(platform_.ui, kNoFolderMessage);
    SetFocus(frm["txtFolder"]);
    cmdBr_Click();
    return;
  }

  // Read once: whatever happens to the box meanwhile, this upgrade stays in
  // the folder it started in.
  const std::string folder = frm["txtFolder"].Caption();

  // The customer's package lives under its name on the server; without a
  // safe name nothing is deleted or fetched.
  const std::optional<std::string> customer = ReadCustomerName(platform_.xml, folder);
  if (!customer) {
    ShowNotice(platform_.ui, kNoCustomerMessage);
    return;
  }

  auto download = [&](const std::string& path, const std::string& localFile) {
    // Guarded before the pending messages run, as for the install.
    Downloading = kVbTrue;
    platform_.ui.DoEvents();
    return download_.DownloadFile(path, localFile, frm["ProgressCap"], frm["ProgressBar"],
                                  ProxyText());
  };
  auto ensureTempFolder = [&] {
    const std::string temp = folder + "\\OrvaneTarvikTemp";
    if (!platform_.files.PathExists(temp)) platform_.files.CreateFolder(temp);
  };

  // No typing may change the folder or raise its check mid-transfer.
  frm["txtFolder"].SetLocked(true);

  // A: the updater, an older copy removed first.
  const std::string updater = folder + "\\Tarvik.exe";
  if (platform_.files.FileExists(updater)) platform_.files.RemoveFile(updater);
  std::string status = download("/Tarvik/Tarvik.exe", updater);
  if (status.empty()) {
    // B: the system package. Its status is not examined: the updater copes
    // without one, but not with a stale one from an earlier run.
    ensureTempFolder();
    const std::string systemPackage = folder + "\\OrvaneTarvikTemp\\Orvane_sys.rar";
    if (platform_.files.FileExists(systemPackage)) platform_.files.RemoveFile(systemPackage);
    download("/Tarvik/Orvane_sys.rar", systemPackage);
    // C: the customer's upgrade package.
    ensureTempFolder();
    status =
        download("/Tarvik/" + *customer + "/Orvane.rar", folder + "\\OrvaneTarvikTemp\\Orvane.rar");
  }

  // The hand-over: the updater carries on alone and this program ends. If it
  // doesn't start, ending would leave the user with nothing, so stay.
  if (status.empty()) {
    const StartOutcome started = platform_.processes.StartProgram(updater);
    if (started == StartOutcome::Started) {
      Window().Unload();
      platform_.processes.EndProcess();
      return;
    }
    // A declined prompt for the updater's rights is the user's own choice.
    if (started == StartOutcome::Failed) ShowNotice(platform_.ui, kStartFailedMessage);
  } else {
    fnMsgBox4Download(status);
  }
  Downloading = kVbFalse;
  frm["txtFolder"].SetLocked(false);
}

}  // namespace orvane
