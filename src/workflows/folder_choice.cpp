// Choosing and checking the installation folder.
#include "platform/path_text.h"
#include "workflows/messages.h"
#include "workflows/mod_open_dir.h"
#include "workflows/workflows.h"

namespace orvane {

// A network folder is checked when OK is clicked instead: every keystroke
// would wait on the network.
void Workflows::CheckFolder(WorkflowContext& context) {
  const std::string folder = context.txtFolder.Caption();
  if (folder.empty() || IsNetworkPath(folder)) return;
  RefuseWrongFolder(context);
}

bool Workflows::RefuseWrongFolder(WorkflowContext& context) {
  const std::string folder = context.txtFolder.Caption();
  FileSystem& files = context.platform.files;
  if (files.FileExists(folder + "\\Report\\Info.xml") && files.FileExists(folder + "\\Orvane.dll"))
    return false;
  ShowNotice(context.platform.ui, kWrongFolderMessage, kMsgBoxCritical);
  // Emptying the box runs the check once more, which stops at the empty text.
  context.txtFolder.SetCaption("");
  return true;
}

// A cancelled dialog empties the box.
void Workflows::BrowseForFolder(WorkflowContext& context) {
  context.txtFolder.SetCaption(BrowseFolder(context.platform.shell, kCsidlDesktop,
                                            kBifReturnOnlyFsDirs, 0, "Select a folder:"));
}

}  // namespace orvane
