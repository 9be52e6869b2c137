// frmMain wired to the recording fakes, for the tests of start-up, panels,
// skin layout and the server address; plus a snapshot of every control.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "download/mdl_download.h"
#include "fake_platform.h"
#include "main_window/frm_main.h"
#include "memory_file_system.h"
#include "scripted_internet.h"
#include "skin/mdl_skin.h"

namespace orvane {

inline void PrintTo(const Rect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.width << ", " << rect.height << "}";
}

namespace testing {

// Keeps the version record exactly as the caller hands it over.
class VersionQueryRecorder : public FakeSystemInfo {
 public:
  std::vector<OsVersionInfo> queries;

  bool GetVersionExA(OsVersionInfo& info) override {
    queries.push_back(info);
    return FakeSystemInfo::GetVersionExA(info);
  }
};

// A 528 x 255 window at 15 twips per pixel; Form_Load has not run yet.
struct FrmMainHarness {
  FakeWindow window;
  FakeUserInterface ui;
  ScriptedInternet internet;
  MemoryFileSystem files;
  FakeProcesses processes;
  VersionQueryRecorder system;
  FakeShell shell;
  FakeXmlFiles xml;
  Platform platform{ui, internet, files, processes, system, shell, xml};
  MdlSkin skin;
  MdlDownload download{platform};
  FrmMain frm{window, platform, skin, download};
};

// What a layout or a panel switch can change of one control.
struct ControlState {
  std::string name;
  int index;
  Rect rect;
  bool visible;
  std::string caption;
  std::string picture;
  friend bool operator==(const ControlState&, const ControlState&) = default;
};

inline void PrintTo(const ControlState& state, std::ostream* out) {
  *out << state.name;
  if (state.index >= 0) *out << "(" << state.index << ")";
  *out << " ";
  orvane::PrintTo(state.rect, out);
  *out << (state.visible ? " shown" : " hidden") << " caption \"" << state.caption
       << "\" picture \"" << state.picture << "\"";
}

inline std::vector<ControlState> Snapshot(const Form& form) {
  std::vector<ControlState> states;
  for (const Control& control : form.Controls()) {
    states.push_back({control.Name(), control.Index(), control.Bounds(), control.Visible(),
                      control.Caption(), control.Picture()});
  }
  return states;
}

}  // namespace testing
}  // namespace orvane
