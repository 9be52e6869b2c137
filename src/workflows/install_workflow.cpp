// The install: fetch the product installer next to this program and start it.
#include "platform/path_text.h"
#include "workflows/checked_start.h"
#include "workflows/download_scope.h"
#include "workflows/messages.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::Install(WorkflowContext& context) {
  Platform& platform = context.platform;
  const std::string target = FolderOf(platform.processes.ExecutablePath()) + "\\install.exe";

  // An old installer that can't be deleted is left to the download, which
  // reports its own failure if it can't replace it.
  if (platform.files.FileExists(target)) platform.files.RemoveFile(target);
  // The home panel comes back however it ends; the window stays open.
  DownloadScope scope(context, Panel::Installing, Panel::Home);
  const DownloadResult result = scope.Download("/install/install.exe", target);
  if (result == DownloadResult::Ok) {
    StartChecked(context, target, ownFolder_);  // not waited for
  } else {
    ShowDownloadMessage(context, result);
  }
}

bool Workflows::StartChecked(WorkflowContext& context, const std::string& path,
                             const std::string& folder) {
  UserInterface& ui = context.platform.ui;
  switch (StartDownloaded(context.platform, log_, path, publisher_, folder)) {
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
