// What a tool puts between the program and the platform's services to watch
// them (the download benchmark counts passes and paints, and records the
// progress shown). Each, when set, is handed the real service and answers the
// one to use in its place, which the tool keeps alive.
#pragma once

#include <functional>
#include <utility>

#include "platform/internet.h"
#include "platform/paced_user_interface.h"
#include "platform/platform.h"
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

// The services as the program sees them: the real ones behind their
// decorators, with the message loop's passes paced between the program's
// calls (and their decorator) and each real pass (and its own).
class DecoratedPlatform {
 public:
  DecoratedPlatform(const Platform& real, const Decorators& decorators,
                    std::function<double()> clock, double minimumPassSeconds)
      : paced_(Decorated(decorators.messagePasses, real.ui), std::move(clock), minimumPassSeconds),
        services_{Decorated(decorators.userInterface, static_cast<UserInterface&>(paced_)),
                  Decorated(decorators.internet, real.internet),
                  real.files,
                  real.processes,
                  real.system,
                  real.shell,
                  real.xml} {}
  DecoratedPlatform(const DecoratedPlatform&) = delete;
  DecoratedPlatform& operator=(const DecoratedPlatform&) = delete;

  Platform& Services() { return services_; }

 private:
  PacedUserInterface paced_;
  Platform services_;
};

}  // namespace orvane
