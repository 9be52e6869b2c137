// The platform with each message box and each program start written to the
// support log, whoever in the program asks for them. Neither line can hold a
// password or a proxy login: a message's first line is the program's own
// text, and a program is named by its path.
#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/support_log.h"

namespace orvane {

class LoggedUserInterface : public UserInterface {
 public:
  LoggedUserInterface(UserInterface& real, SupportLog& log) : real_(real), log_(log) {}
  void DoEvents() override { real_.DoEvents(); }
  void DoEventsPaced() override { real_.DoEventsPaced(); }
  void Pause(double seconds) override { real_.Pause(seconds); }
  // Written before the box is shown: a user may end the program while it waits.
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    log_.Write("Message: " + text);
    return real_.ShowMessage(text, title, style);
  }
  bool GetCursorPos(Point& point) override { return real_.GetCursorPos(point); }

 private:
  UserInterface& real_;
  SupportLog& log_;
};

class LoggedProcesses : public Processes {
 public:
  LoggedProcesses(Processes& real, SupportLog& log) : real_(real), log_(log) {}
  std::string ExecutablePath() override { return real_.ExecutablePath(); }
  StartOutcome StartProgram(const std::string& path, DllSources sources) override {
    const StartOutcome outcome = real_.StartProgram(path, sources);
    log_.Write(std::string(outcome == StartOutcome::Started    ? "Program started: "
                           : outcome == StartOutcome::Declined ? "Program declined: "
                                                               : "Program failed: ") +
               path);
    return outcome;
  }
  void EndProcess() override { real_.EndProcess(); }

 private:
  Processes& real_;
  SupportLog& log_;
};

class LoggedPlatform {
 public:
  LoggedPlatform(const Platform& real, SupportLog& log)
      : ui_(real.ui, log), processes_(real.processes, log), services_{ui_,         real.internet,
                                                                      real.files,  processes_,
                                                                      real.system, real.shell,
                                                                      real.xml} {}
  LoggedPlatform(const LoggedPlatform&) = delete;
  LoggedPlatform& operator=(const LoggedPlatform&) = delete;

  Platform& Services() { return services_; }

 private:
  LoggedUserInterface ui_;
  LoggedProcesses processes_;
  Platform services_;
};

}  // namespace orvane
