// The window's commands, reached through the command table: the panels, Exit
// and Stop here; the install, the upgrade and the folder are the workflows'.
#include <algorithm>
#include <string>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "main_window/notice.h"

namespace orvane {

namespace {

const CommandBinding* BindingOf(Command command) {
  const auto found = std::ranges::find(kCommands, command, &CommandBinding::command);
  return found == kCommands.end() ? nullptr : &*found;
}

}  // namespace

void FrmMain::Click(const Control& control) {
  const auto bound = std::ranges::find(kCommands, control.Name(), &CommandBinding::control);
  if (bound == kCommands.end()) return Form::Click(control);
  Execute(bound->command);
}

void FrmMain::Execute(Command command) {
  const CommandBinding* binding = BindingOf(command);
  if (!binding || (binding->guard == Guard::WhileIdle && Downloading)) return;
  switch (command) {
    case Command::Install:
      return workflows_.Install(context_);
    case Command::Upgrade:
      return workflows_.Upgrade(context_);
    case Command::BrowseFolder:
      return workflows_.BrowseForFolder(context_);
    case Command::OpenUpgrade:
      return Layout_Setting(Panel::Upgrade);
    case Command::Help:
      return Layout_Setting(Panel::Help);
    case Command::Proxy:
      return Layout_Setting(Panel::Proxy);
    case Command::Stop:
      return End(true);
    case Command::Exit:
      return End(false);
  }
}

// The fresh copy must find no partial file of this one, open or not. It is
// this very program again, by the path of its own file held since the start;
// without one, nothing else is started in its name.
void FrmMain::End(bool restart) {
  download_.AbandonTransfer();
  if (restart && self_.empty()) {
    ShowNotice(platform_.ui, kRestartFailedMessage);
  } else if (restart) {
    platform_.processes.StartProgram(self_, DllSources::Default);
  }
  Window().Unload();
  platform_.processes.EndProcess();
}

}  // namespace orvane
