// The upgrade: the updater and the two packages into the installation
// folder, then the hand-over to the updater, which carries on alone.
#include <memory>

#include "platform/path_text.h"
#include "workflows/customer_name.h"
#include "workflows/download_scope.h"
#include "workflows/messages.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::Upgrade(WorkflowContext& context) {
  Platform& platform = context.platform;
  Control& folderBox = context.txtFolder;
  if (folderBox.Caption().empty()) {
    ShowNotice(platform.ui, kNoFolderMessage);
    context.window.SetFocus(folderBox);
    BrowseForFolder(context);
    return;
  }

  // A network folder was not probed as it was typed; it is checked now.
  if (IsNetworkPath(folderBox.Caption()) && RefuseWrongFolder(context)) return;

  // Held from here to the end: neither the folder nor one above it can be
  // renamed or swapped for a link meanwhile, and everything is done in it by
  // the path the system has for it, whatever links the box's text went
  // through, as the user chose them.
  const std::unique_ptr<HeldFolder> held = platform.files.HoldFolder(folderBox.Caption());
  const std::string folder = held ? held->FinalPath() : "";
  if (folder.empty()) return ShowDownloadMessage(context, DownloadResult::DiskErr);

  // The customer's package lives under its name on the server; without a
  // safe name nothing is deleted or fetched.
  const std::optional<std::string> customer =
      ReadCustomerName(platform.files, platform.xml, folder);
  if (!customer) {
    ShowNotice(platform.ui, kNoCustomerMessage);
    return;
  }

  FileSystem& files = platform.files;
  // The packages go only into a folder of the upgrade's own: a file of that
  // name, or a link to another place, stops the upgrade before a byte is
  // written through it.
  auto ensureTempFolder = [&] {
    const std::string temp = folder + "\\OrvaneTarvikTemp";
    if (!files.PathExists(temp)) files.CreateFolder(temp);
    return files.IsRealFolder(temp);
  };

  // No typing may change the folder or raise its check mid-transfer, and the
  // upgrade panel stays throughout.
  DownloadScope scope(context);

  // A: the updater, an older copy removed first.
  const std::string updater = folder + "\\Tarvik.exe";
  if (files.FileExists(updater)) files.RemoveFile(updater);
  DownloadResult result = scope.Download("/Tarvik/Tarvik.exe", updater);
  if (result == DownloadResult::Ok && !ensureTempFolder()) result = DownloadResult::DiskErr;
  if (result == DownloadResult::Ok) {
    // B: the system package. How it ends is not examined: the updater copes
    // without one, but not with a stale one from an earlier run.
    const std::string systemPackage = folder + "\\OrvaneTarvikTemp\\Orvane_sys.rar";
    if (files.FileExists(systemPackage)) files.RemoveFile(systemPackage);
    scope.Download("/Tarvik/Orvane_sys.rar", systemPackage);
    // C: the customer's upgrade package.
    result = ensureTempFolder() ? scope.Download("/Tarvik/" + *customer + "/Orvane.rar",
                                                 folder + "\\OrvaneTarvikTemp\\Orvane.rar")
                                : DownloadResult::DiskErr;
  }

  // The hand-over: the updater carries on alone and this program ends. If it
  // doesn't start, ending would leave the user with nothing, so stay. What a
  // failed system package left for a later click is not the updater's to find.
  if (result != DownloadResult::Ok) return ShowDownloadMessage(context, result);
  context.download.DiscardKept();
  if (StartChecked(context, updater, folder)) {
    context.window.Unload();
    platform.processes.EndProcess();
  }
}

}  // namespace orvane
