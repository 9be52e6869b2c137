// What a tool puts between the program and the platform's services to watch
// them (the download benchmark counts passes and paints, and records the
// progress shown). Each, when set, is handed the real service and answers the
// one to use in its place, which the tool keeps alive.
#pragma once

#include <functional>

#include "platform/internet.h"
#include "platform/repaint_pacer.h"
#include "platform/user_interface.h"

namespace orvane {

struct Decorators {
  // The message loop, message boxes and cursor as the program calls them.
  std::function<UserInterface&(UserInterface&)> userInterface;
  // Each pass that reaches the message queue, below the pacing of passes.
  std::function<UserInterface&(UserInterface&)> messagePasses;
  std::function<Internet&(Internet&)> internet;
  // The window's paints, the system's and the repaints of changes alike.
  std::function<RepaintPort&(RepaintPort&)> repaints;
};

template <typename Service>
Service& Decorated(const std::function<Service&(Service&)>& decorator, Service& real) {
  return decorator ? decorator(real) : real;
}

}  // namespace orvane
