// The upgrade: the updater and the two packages, then the hand-over.
#include "main_window/frm_main.h"

namespace orvane {

// The upgrade arrives with the installation-folder check.
void FrmMain::cmdOK_Click() {}

}  // namespace orvane
