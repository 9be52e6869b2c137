// The stage for DownloadFile's tests: the progress caption and bar on a form
// whose window records what the user would see, the scripted internet, an
// in-memory file system, and checks that every handle and file is closed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download/mdl_download.h"
#include "fake_platform.h"
#include "platform/form.h"
#include "memory_file_system.h"
#include "scripted_internet.h"

namespace orvane::testing {

using Lines = std::vector<std::string>;

// Records each change of the caption and the bar with its new value, and
// each message-loop pass, in the order they happen.
class ScreenWindow : public FakeWindow {
 public:
  std::vector<std::string> screen;
  bool recording = true;

  void ControlChanged(const Control& control, const Rect&) override {
    if (!recording) return;
    if (control.Kind() == ControlKind::Label) {
      screen.push_back("caption " + control.Caption());
    } else {
      screen.push_back("bar " + std::to_string(control.Width()));
    }
  }
};

inline ControlDesign CaptionDesign() {
  ControlDesign design;
  design.name = "ProgressCap";
  design.kind = ControlKind::Label;
  design.rect = {12, 218, 504, 20};
  design.caption = "left from before";
  return design;
}

// Not the usual 1, so that setting the start width shows.
inline ControlDesign BarDesign() {
  ControlDesign design;
  design.name = "ProgressBar";
  design.kind = ControlKind::Shape;
  design.rect = {12, 214, 7, 23};
  return design;
}

class DownloadTest : public ::testing::Test {
 protected:
  static constexpr char kTarget[] = "C:\\Orvane\\Tarvik.exe";
  static constexpr char kPartial[] = "C:\\Orvane\\Tarvik.exe.download";

  DownloadTest() {
    download.ServerBase = "https://orvane.example";
    ui.onDoEvents = [this] {
      if (window.recording) window.screen.push_back("DoEvents");
    };
  }

  void TearDown() override { ExpectAllClosed(); }

  void ExpectAllClosed() {
    EXPECT_EQ(internet.OpenHandles(), 0u) << "an internet handle was left open";
    EXPECT_TRUE(internet.faults.empty()) << internet.faults.front();
    EXPECT_EQ(files.openFiles, 0) << "a file was left open";
  }

  // A body that announces its exact length.
  void Serve(std::vector<std::string> chunks) {
    std::size_t total = 0;
    for (const std::string& chunk : chunks) total += chunk.size();
    internet.response.contentLength = std::to_string(total);
    internet.response.chunks = std::move(chunks);
  }

  // Checks the clean-up after every call, as tests may run several.
  std::string Download(const std::string& proxy = ":") {
    std::string status = download.DownloadFile("/Tarvik/Tarvik.exe", kTarget, caption, bar, proxy);
    ExpectAllClosed();
    return status;
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& [name, file] : files.files) names.push_back(name);
    return names;
  }

  ScreenWindow window;
  Form form{window};
  Control& caption = form.Add(CaptionDesign());
  Control& bar = form.Add(BarDesign());
  FakeUserInterface ui;
  ScriptedInternet internet;
  MemoryFileSystem files;
  FakeProcesses processes;
  FakeSystemInfo system;
  FakeShell shell;
  FakeXmlFiles xml;
  Platform platform{ui, internet, files, processes, system, shell, xml};
  MdlDownload download{platform};
};

// n bytes of one letter, told apart from other chunks by the letter.
inline std::string Bytes(std::size_t n, char letter = 'b') {
  return std::string(n, letter);
}

}  // namespace orvane::testing
