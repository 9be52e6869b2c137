// Choosing and checking the installation folder.
#include "workflows/messages.h"
#include "workflows/mod_open_dir.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::CheckFolder(WorkflowContext& context) {
  const std::string folder = context.txtFolder.Caption();
  if (folder.empty()) return;
  FileSystem& files = context.platform.files;
  if (files.FileExists(folder + "\\Report\\Info.xml") && files.FileExists(folder + "\\Orvane.dll"))
    return;
  ShowNotice(context.platform.ui, kWrongFolderMessage, kMsgBoxCritical);
  // Emptying the box runs this check once more, which stops at the empty text.
  context.txtFolder.SetCaption("");
}

void Workflows::BrowseForFolder(WorkflowContext& context) {
  if (context.Downloading) return;
  context.txtFolder.SetCaption(SelectFolder(context));
}

std::string Workflows::SelectFolder(WorkflowContext& context) {
  return BrowseFolder(context.platform.shell, kCsidlDesktop, kBifReturnOnlyFsDirs, 0,
                      "Select a folder:");
}

}  // namespace orvane
