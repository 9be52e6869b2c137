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
  // Every path is built from the box's text as it reads at that moment.
  auto folder = [&frm] { return frm["txtFolder"].Caption(); };

  if (folder().empty()) {
    ShowNotice(platform_.ui, kNoFolderMessage);
    SetFocus(frm["txtFolder"]);
    cmdBr_Click();
    return;
  }

  // The customer's package lives under its name on the server; without a
  // safe name nothing is deleted or fetched.
  const std::optional<std::string> customer = ReadCustomerName(platform_.xml, folder());
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
    const std::string temp = folder() + "\\OrvaneTarvikTemp";
    if (!platform_.files.PathExists(temp)) platform_.files.CreateFolder(temp);
  };

  // A: the updater, an older copy removed first.
  const std::string updater = folder() + "\\Tarvik.exe";
  if (platform_.files.FileExists(updater)) platform_.files.RemoveFile(updater);
  std::string status = download("/Tarvik/Tarvik.exe", folder() + "\\Tarvik.exe");
  if (status.empty()) {
    // B: the system package; the updater copes without a fresh one.
    ensureTempFolder();
    download("/Tarvik/Orvane_sys.rar", folder() + "\\OrvaneTarvikTemp\\Orvane_sys.rar");
    // C: the customer's upgrade package.
    ensureTempFolder();
    status = download("/Tarvik/" + *customer + "/Orvane.rar",
                      folder() + "\\OrvaneTarvikTemp\\Orvane.rar");
  }

  // The hand-over: the updater carries on alone and this program ends. If it
  // can't be started, ending would leave the user with nothing, so say so
  // and stay.
  if (status.empty() && platform_.processes.StartProgram(folder() + "\\Tarvik.exe")) {
    Window().Unload();
    platform_.processes.EndProcess();
    return;
  }
  if (status.empty()) {
    ShowNotice(platform_.ui, kUpdaterWontStartMessage);
  } else {
    fnMsgBox4Download(status);
  }
  Downloading = kVbFalse;
}

}  // namespace orvane
