// frmMain's commands, and the one table that binds each to its control and
// says whether it waits for the download to end. A click, Enter or Space on
// a focused button, Alt+F4 and a double-click on the folder box all reach a
// command through here.
#pragma once

#include <array>
#include <string_view>

namespace orvane {

enum class Command { Install, Stop, OpenUpgrade, Upgrade, BrowseFolder, Help, Proxy, Exit };

// Whether a command acts while a workflow downloads. Only Stop and Exit do:
// anything else could start a second workflow inside the first.
enum class Guard { WhileIdle, Always };

struct CommandBinding {
  std::string_view control;
  Command command;
  Guard guard;
};

inline constexpr std::array<CommandBinding, 8> kCommands{{
    {"cmdOrvane", Command::Install, Guard::WhileIdle},
    {"cmdStop", Command::Stop, Guard::Always},
    {"cmdUpd", Command::OpenUpgrade, Guard::WhileIdle},
    {"cmdOK", Command::Upgrade, Guard::WhileIdle},
    {"cmdBr", Command::BrowseFolder, Guard::WhileIdle},
    {"cmdHelp", Command::Help, Guard::WhileIdle},
    {"cmdProxy", Command::Proxy, Guard::WhileIdle},
    {"cmdExit", Command::Exit, Guard::Always},
}};

}  // namespace orvane
