// Recording fakes of the platform seam for the core's unit tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/platform.h"

namespace orvane::testing {

struct RegionCall {
  int left, top, right, bottom, ellipseWidth, ellipseHeight;
  friend bool operator==(const RegionCall&, const RegionCall&) = default;
};

struct WindowPosCall {
  InsertAfter insertAfter;
  int x, y, width, height;
  std::uint32_t flags;
  friend bool operator==(const WindowPosCall&, const WindowPosCall&) = default;
};

// A window of 528 x 255 pixels at 15 twips per pixel unless a test says otherwise.
class FakeWindow : public WindowPort {
 public:
  std::vector<std::string> changes;  // names of controls reported changed, in order
  std::string caption;
  Color backColor;
  const Control* focused = nullptr;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
  TwipsRect placement{0, 0, 528 * 15, 255 * 15};
  WindowState state = WindowState::Normal;
  // Where a maximise puts the window (a 1024 x 738 work area); a restore
  // brings back the place it had before.
  TwipsRect maximizedPlacement{0, 0, 1024 * 15, 738 * 15};
  TwipsRect restorePlacement;
  std::vector<RegionCall> regions;
  std::vector<WindowPosCall> windowPositions;
  std::vector<std::string> calls;  // capture, messages and unload, in order
  bool unloaded = false;

  void ControlChanged(const Control& control, const Rect&) override {
    changes.push_back(control.Name());
  }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetBackColor(Color color) override { backColor = color; }
  void SetFocus(const Control& control) override { focused = &control; }
  double TwipsPerPixelX() const override { return twipsPerPixelX; }
  double TwipsPerPixelY() const override { return twipsPerPixelY; }
  TwipsRect Placement() const override { return placement; }
  // As the host's form: a maximised or minimised window can't be moved or sized.
  void MoveTo(const TwipsRect& where) override {
    if (state == WindowState::Normal) placement = where;
  }
  WindowState State() const override { return state; }
  void SetState(WindowState newState) override {
    if (newState == WindowState::Maximized && state != WindowState::Maximized) {
      if (state == WindowState::Normal) restorePlacement = placement;
      placement = maximizedPlacement;
    } else if (newState == WindowState::Normal && state != WindowState::Normal) {
      placement = restorePlacement;
    } else if (newState == WindowState::Minimized && state == WindowState::Normal) {
      restorePlacement = placement;
    }
    state = newState;
  }
  void SetRoundRegion(int left, int top, int right, int bottom, int ew, int eh) override {
    regions.push_back({left, top, right, bottom, ew, eh});
  }
  void SetWindowPos(InsertAfter insertAfter, int x, int y, int width, int height,
                    std::uint32_t flags) override {
    windowPositions.push_back({insertAfter, x, y, width, height, flags});
  }
  void ReleaseCapture() override { calls.push_back("ReleaseCapture"); }
  std::intptr_t SendMessageA(std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override {
    calls.push_back("SendMessageA " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                    std::to_string(lParam));
    return 0;
  }
  void Unload() override {
    calls.push_back("Unload");
    unloaded = true;
  }
};

struct ShownMessage {
  std::string text;
  std::string title;
  int style;
};

class FakeUserInterface : public UserInterface {
 public:
  int doEventsCalls = 0;
  std::vector<ShownMessage> messages;
  Point cursor;
  std::function<void()> onDoEvents;  // lets a test click while a download runs

  void DoEvents() override {
    ++doEventsCalls;
    if (onDoEvents) onDoEvents();
  }
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    messages.push_back({text, title, style});
    return 1;
  }
  bool GetCursorPos(Point& point) override {
    point = cursor;
    return true;
  }
};

class FakeSystemInfo : public SystemInfo {
 public:
  bool versionQuerySucceeds = true;
  OsVersionInfo version{kOsVersionInfoASize, 6, 1, kVerPlatformWin32Nt};
  std::string thousandsSeparator = ",";
  std::uint32_t sizeSeenByQuery = 0;

  bool GetVersionExA(OsVersionInfo& info) override {
    sizeSeenByQuery = info.osVersionInfoSize;
    if (!versionQuerySucceeds) return false;
    info = version;
    return true;
  }
  std::string ThousandsSeparator() override { return thousandsSeparator; }
};

class FakeProcesses : public Processes {
 public:
  std::string executablePath = "C:\\Tools\\OrvaneSetup.exe";
  std::vector<std::string> started;
  int endProcessCalls = 0;

  std::string ExecutablePath() override { return executablePath; }
  StartOutcome outcome = StartOutcome::Started;
  StartOutcome StartProgram(const std::string& path) override {
    started.push_back(path);
    return outcome;
  }
  void EndProcess() override { ++endProcessCalls; }
};

// The folder dialog: a scripted choice per call, and every call recorded.
class FakeShell : public Shell {
 public:
  bool rootFound = true;
  std::vector<std::optional<std::string>> choices;  // per dialog: a path, or nullopt to cancel
  bool choiceHasPath = true;                        // false: a virtual folder, name only
  std::vector<BrowseInfo> dialogs;
  int freed = 0;

  ItemIdList SpecialFolderLocation(std::intptr_t, std::int32_t folder) override {
    rootFolder = folder;
    return rootFound ? Item("root") : nullptr;
  }
  ItemIdList BrowseForFolder(const BrowseInfo& info, std::string& displayName) override {
    dialogs.push_back(info);
    const std::size_t call = dialogs.size() - 1;
    if (call >= choices.size() || !choices[call]) return nullptr;
    chosen = *choices[call];
    displayName = chosen.substr(chosen.find_last_of('\\') + 1) + std::string(3, '\0');
    return Item("chosen");
  }
  bool PathFromIdList(ItemIdList, std::string& path) override {
    if (!choiceHasPath) return false;
    path = chosen + std::string(kMaxPath - chosen.size(), '\0');
    return true;
  }
  void FreeItemIdList(ItemIdList) override { ++freed; }

  std::int32_t rootFolder = -1;

 private:
  ItemIdList Item(const char* name) {
    items_.push_back(name);
    return &items_.back();
  }
  std::string chosen;
  std::deque<std::string> items_;
};

// Info.xml files by path: the Customer text, or nullopt for a file that
// can't be read or has no Customer.
class FakeXmlFiles : public XmlFiles {
 public:
  std::map<std::string, std::optional<std::string>> customers;
  std::vector<std::string> reads;

  std::optional<std::string> ElementText(const std::string& path, const std::string& root,
                                         const std::string& child) override {
    reads.push_back(path + " " + root + "/" + child);
    const auto found = customers.find(path);
    return found == customers.end() ? std::nullopt : found->second;
  }
};

}  // namespace orvane::testing
