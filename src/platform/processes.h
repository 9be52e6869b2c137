// The seam to processes: the running executable, starting a program, ending.
#pragma once

#include <string>

namespace orvane {

// Where a started program's DLLs may come from.
enum class DllSources {
  Default,
  // The system folder before the program's own, and never a network:
  // nothing planted beside a downloaded program is loaded into it.
  SystemFirst,
};

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
  // folder as the working folder; no wait. Where the system can't restrict
  // the DLL sources, the program starts as by default.
  virtual StartOutcome StartProgram(const std::string& path, DllSources sources) = 0;
  // Ends the own process at once. Fakes return, so callers stop right after.
  virtual void EndProcess() = 0;
};

}  // namespace orvane
