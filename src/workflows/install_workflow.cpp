// The install: fetch the product installer next to this program and start it.
#include "platform/path_text.h"
#include "workflows/checked_start.h"
#include "workflows/guarded_download.h"
#include "workflows/messages.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::Install(WorkflowContext& context) {
  if (context.Downloading) return;
  Platform& platform = context.platform;
  const std::string target = FolderOf(platform.processes.ExecutablePath()) + "\\install.exe";

  // An old installer that can't be deleted is left to the download, which
  // reports its own failure if it can't replace it.
  if (platform.files.FileExists(target)) platform.files.RemoveFile(target);
  const std::string status = GuardedDownload(context, "/install/install.exe", target, "InsTrue");
  if (status.empty()) {
    StartChecked(context, target);  // not waited for; the window stays open
  } else {
    ShowDownloadMessage(context, status);
  }
  context.Downloading = kVbFalse;
  context.Layout_Setting("");
}

bool Workflows::StartChecked(WorkflowContext& context, const std::string& path) {
  UserInterface& ui = context.platform.ui;
  switch (StartDownloaded(context.platform, log_, path, publisher_)) {
    case CheckedStart::Started:
      return true;
    case CheckedStart::Refused:
      ShowNotice(ui, kUnsignedMessage);
      return false;
    case CheckedStart::Failed:
      ShowNotice(ui, kStartFailedMessage);
      return false;
    default:
      return false;  // a declined prompt for its rights is the user's own choice
  }
}

}  // namespace orvane
