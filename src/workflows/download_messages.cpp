// The message a user sees after a failed download.
#include "main_window/frm_main.h"

namespace orvane {

void FrmMain::fnMsgBox4Download(const std::string& strErr) {
  const std::string status = strErr;
  if (status.empty()) return;
  if (status == "NetErr") {
    platform_.ui.ShowMessage(
        "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet.", "THONG BAO",
        kMsgBoxInformation);
  } else if (status == "FileErr") {
    platform_.ui.ShowMessage(
        "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap.", "THONG BAO",
        kMsgBoxInformation);
  }
}

}  // namespace orvane
