// The message a user sees after a failed download.
#include "workflows/messages.h"
#include "workflows/workflows.h"

namespace orvane {

void Workflows::ShowDownloadMessage(WorkflowContext& context, DownloadResult result) {
  UserInterface& ui = context.platform.ui;
  switch (result) {
    case DownloadResult::NetErr:
      return ShowNotice(ui, kNetErrMessage);
    case DownloadResult::FileErr:
      return ShowNotice(ui, kFileErrMessage);
    case DownloadResult::DiskErr:
      return ShowNotice(ui, kDiskErrMessage);
    case DownloadResult::ProxyErr:
      return ShowNotice(ui, kProxyErrMessage);
    case DownloadResult::Ok:
      return;
  }
}

}  // namespace orvane
