// The install: fetch the product installer next to this program and start it.
#include "platform/path_text.h"
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
    // Not waited for; the window stays open. A declined prompt for the
    // installer's rights is the user's own choice.
    if (platform.processes.StartProgram(target) == StartOutcome::Failed)
      ShowNotice(platform.ui, kStartFailedMessage);
  } else {
    ShowDownloadMessage(context, status);
  }
  context.Downloading = kVbFalse;
  context.Layout_Setting("");
}

}  // namespace orvane
