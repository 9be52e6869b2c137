// The seam to processes: the running executable, starting a program, ending.
#pragma once

#include <string>

namespace orvane {

enum class StartOutcome {
  Started,
  Declined,  // the user said no to the rights the program asks for
  Failed,    // missing, not a program, blocked
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
  // Starts a program with no arguments in a normal, focused window, its own
  // folder as the working folder; no wait.
  virtual StartOutcome StartProgram(const std::string& path) = 0;
  // Ends the own process at once. Fakes return, so callers stop right after.
  virtual void EndProcess() = 0;
};

}  // namespace orvane
