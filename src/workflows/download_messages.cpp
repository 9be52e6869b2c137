// The message a user sees after a failed download.
#include "main_window/frm_main.h"
#include "workflows/messages.h"

namespace orvane {

void FrmMain::fnMsgBox4Download(const std::string& strErr) {
  if (strErr == "NetErr") {
    ShowNotice(platform_.ui, kNetErrMessage);
  } else if (strErr == "FileErr") {
    ShowNotice(platform_.ui, kFileErrMessage);
  } else if (strErr == "DiskErr") {
    ShowNotice(platform_.ui, kDiskErrMessage);
  }
}

}  // namespace orvane
