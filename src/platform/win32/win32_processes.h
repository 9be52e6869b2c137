// Processes on kernel32: the running executable, starting a program, ending.
#pragma once

#include "platform/processes.h"

namespace orvane::win32 {

class Win32Processes : public Processes {
 public:
  std::string ExecutablePath() override;
  StartOutcome StartProgram(const std::string& path, DllSources sources) override;
  void EndProcess() override;
};

}  // namespace orvane::win32
