// Choosing and checking the installation folder.
#include "main_window/frm_main.h"

namespace orvane {

// The folder check and the folder dialog arrive with the upgrade.
void FrmMain::txtFolder_Change() {}
void FrmMain::txtFolder_DblClick() {}
void FrmMain::cmdBr_Click() {}
std::string FrmMain::fnSelectFolder() {
  return {};
}

}  // namespace orvane
