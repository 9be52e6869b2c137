// The message a user sees after a failed download.
#include "workflows/messages.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::ShowDownloadMessage(WorkflowContext& context, const std::string& status) {
  UserInterface& ui = context.platform.ui;
  if (status == "NetErr") {
    ShowNotice(ui, kNetErrMessage);
  } else if (status == "FileErr") {
    ShowNotice(ui, kFileErrMessage);
  } else if (status == "DiskErr") {
    ShowNotice(ui, kDiskErrMessage);
  } else if (status == "ProxyErr") {
    ShowNotice(ui, kProxyErrMessage);
  }
}

}  // namespace orvane
