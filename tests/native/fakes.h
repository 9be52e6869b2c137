// Recording fakes of the platform seam, and frmMain wired to them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "program/program.h"

namespace orvane::testing {

// The system around the program: a 528 x 255 pixel window at 15 twips per pixel, message boxes (all
// under the program's title), processes, Windows 10.0 build 19045 as it really is, no temporary
// folder unless a test sets one, the folder dialog and Info.xml files.
struct FakeSystem : WindowPort, UserInterface, Processes, SystemInfo, Shell, XmlFiles {
  TwipsRect placement{0, 0, 528 * 15, 255 * 15};
  WindowState state = WindowState::Normal;
  Point cursor;
  Rect region;  // the last rounded outline
  bool unloaded = false, ended = false;
  int passes = 0, pacedPasses = 0, drags = 0;
  std::vector<bool> bands;       // each SetTopMost: true for the topmost band
  std::function<void()> onPass;  // runs inside each message-loop pass, as a click would
  std::vector<std::string> messages, started;
  std::vector<int> icons;  // each message's style
  std::string focused;     // the control that got the input focus last
  std::uint32_t majorVersion = 10, minorVersion = 0, platformId = kVerPlatformWin32Nt;
  std::map<std::string, std::string> customers;  // Info.xml's Customer by the file's path

  std::vector<std::pair<Rect, Rect>> changes;  // each change shown: where it was, and is
  void ControlChanged(const Control& control, const Rect& was) override {
    changes.emplace_back(was, control.Bounds());
  }
  std::string caption;  // the window's own
  void SetCaption(const std::string& text) override { caption = text; }
  void SetBackColor(Color) override {}
  void SetFocus(const Control& control) override { focused = control.Name(); }
  double TwipsPerPixelX() const override { return 15; }
  double TwipsPerPixelY() const override { return 15; }
  TwipsRect Placement() const override { return placement; }
  void MoveTo(const TwipsRect& to) override { placement = to; }
  WindowState State() const override { return state; }
  void SetState(WindowState to) override { state = to; }
  void SetRoundRegion(int left, int top, int right, int bottom, int, int) override {
    region = {left, top, right - left, bottom - top};
  }
  void SetTopMost(bool topMost) override { bands.push_back(topMost); }
  void BeginCaptionDrag() override { ++drags; }
  void Unload() override { unloaded = true; }

  void DoEvents() override { Pass(passes); }
  void DoEventsPaced() override { Pass(pacedPasses); }
  void Pass(int& count) {
    ++count;
    if (onPass) onPass();
  }
  double paused = 0;  // seconds of every pause together
  std::function<void()> onPause;
  void Pause(double seconds) override {
    paused += seconds;
    if (onPause) onPause();
  }
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    EXPECT_EQ(title, "THONG BAO");
    messages.push_back(text);
    icons.push_back(style);
    return 1;
  }
  bool GetCursorPos(Point& point) override {
    point = cursor;
    return true;
  }

  std::string executable = "C:\\Tools\\OrvaneSetup.exe";
  std::string ExecutablePath() override { return executable; }
  StartOutcome startOutcome = StartOutcome::Started;
  std::vector<std::string>* events = nullptr;  // shared with the files, to show the order
  std::vector<DllSources> sources;             // each start's
  StartOutcome StartProgram(const std::string& path, DllSources from) override {
    started.push_back(unloaded ? path + " after the window unloaded" : path);
    sources.push_back(from);
    if (events) events->push_back("started " + path);
    return startOutcome;
  }
  void EndProcess() override { ended = true; }

  std::string ThousandsSeparator() override { return ","; }
  std::string programData;  // none: the support log is skipped
  LocalDateTime now{2024, 3, 9, 7, 5, 1};
  bool elevated = false;
  std::string ProgramDataFolder() override { return programData; }
  LocalDateTime LocalTime() override { return now; }
  WindowsBuild RealVersion() override { return {majorVersion, minorVersion, 19045, platformId}; }
  bool IsElevated() override { return elevated; }

  // The folder dialog starts from `desktop` (null: not found); the user's `choice` (null:
  // cancelled) has `choicePath` (nullopt: none) and a display name. `dialog` notes what the
  // dialog was asked for; `held`, the item lists handed out and not yet freed.
  ItemIdList desktop = nullptr, choice = nullptr;
  std::optional<std::string> choicePath;
  std::string choiceName, dialog;
  std::set<ItemIdList> held;
  ItemIdList SpecialFolderLocation(std::intptr_t owner, std::int32_t folder) override {
    dialog = "from " + std::to_string(folder) + " owner " + std::to_string(owner);
    if (desktop) held.insert(desktop);
    return desktop;
  }
  ItemIdList BrowseForFolder(const BrowseInfo& info, std::string& displayName) override {
    dialog += (info.root == desktop ? " at desktop \"" : " elsewhere \"") + info.title +
              "\" flags " + std::to_string(info.flags) + " owner " + std::to_string(info.owner);
    displayName = choiceName;
    if (choice) held.insert(choice);
    return choice;
  }
  bool PathFromIdList(ItemIdList item, std::string& path) override {
    path = choicePath.value_or("");
    return item == choice && choicePath;
  }
  void FreeItemIdList(ItemIdList item) override { EXPECT_EQ(held.erase(item), 1u); }

  std::optional<std::string> ElementText(const std::string& path, const std::string& root,
                                         const std::string& child) override {
    const auto found = customers.find(path);
    if (found == customers.end() || root != "Info" || child != "Customer") return std::nullopt;
    return found->second;
  }
};

// Files as byte strings, with failures on demand. As on Windows, a file open or held can be neither
// removed nor moved, and one open for writing can't be held. `signatures` says what a file's check
// finds; `links`, names that lead elsewhere; `finalPaths`, what the system names a path held when
// not the path itself (a folder's name maps all below it). `events` tells each hold, check and
// release; `guarded`, the folders made writable by administrators only. A folder with a file in it
// exists.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files, finalPaths;
  std::map<std::string, Signature> signatures;
  std::set<std::string> folders, open, links, guarded;
  std::multiset<std::string> held;
  std::vector<std::string> events;
  bool openFails = false, writeFails = false, closeFails = false, moveFails = false;
  bool writesShort = false;  // each write keeps all but its last byte, and says it kept all

  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool PathExists(const std::string& path) override {
    return FileExists(path) || folders.count(path) > 0;
  }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }
  bool IsRealFolder(const std::string& path) override {
    return folders.count(path) > 0 && links.count(path) == 0;
  }
  bool RemoveFile(const std::string& path) override {
    return open.count(path) == 0 && held.count(path) == 0 && files.erase(path) > 0;
  }
  std::optional<std::uint64_t> FileLength(const std::string& path) override {
    if (!FileExists(path)) return std::nullopt;
    return files[path].size();
  }
  std::optional<std::string> ReadFrom(const std::string& path, std::uint64_t offset) override {
    if (openFails || !FileExists(path) || offset > files[path].size()) return std::nullopt;
    return files[path].substr(offset);
  }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    if (moveFails || open.count(from) + open.count(to) + held.count(from) + held.count(to) > 0 ||
        !FileExists(from))
      return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override {
    if (openFails || held.count(path) > 0 || !open.insert(path).second) return nullptr;
    files[path].clear();
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                               std::uint64_t length) override {
    if (openFails || FileLength(path) != length || held.count(path) > 0 ||
        !open.insert(path).second)
      return nullptr;
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<HeldFile> Hold(const std::string& path) override {
    if (!FileExists(path) || open.count(path) > 0) return nullptr;
    held.insert(path);
    events.push_back("held " + path);
    return std::make_unique<Held>(*this, path);
  }
  std::unique_ptr<HeldFolder> HoldFolder(const std::string& path) override {
    const auto below = files.lower_bound(path + "\\");
    const bool filled = below != files.end() && below->first.starts_with(path + "\\");
    if (folders.count(path) == 0 && !filled) return nullptr;
    events.push_back("held folder " + path);
    return std::make_unique<Folder>(FinalPathOf(path));
  }
  bool CreateProtectedFolder(const std::string& path) override {
    if (openFails || links.count(path) > 0) return false;
    folders.insert(path);
    guarded.insert(path);
    return true;
  }
  std::unique_ptr<LogFile> OpenLog(const std::string& path) override {
    if (openFails || links.count(path) > 0) return nullptr;
    files[path];
    return std::make_unique<Log>(*this, path);
  }
  std::string FinalPathOf(const std::string& path) {
    for (const auto& [name, final] : finalPaths) {
      if (path == name) return final;
      if (path.starts_with(name + "\\")) return final + path.substr(name.size());
    }
    return path;
  }

 private:
  struct Held : HeldFile {
    Held(MemoryFileSystem& owner, std::string path) : fs(owner), name(std::move(path)) {}
    ~Held() override {
      fs.held.erase(fs.held.find(name));
      fs.events.push_back("released " + name);
    }
    Signature CheckSignature() override {
      fs.events.push_back("checked " + name);
      return fs.signatures[name];
    }
    std::string FinalPath() override { return fs.FinalPathOf(name); }
    MemoryFileSystem& fs;
    std::string name;
  };
  struct Folder : HeldFolder {
    explicit Folder(std::string path) : final(std::move(path)) {}
    std::string FinalPath() override { return final; }
    std::string final;
  };
  struct Log : LogFile {
    Log(MemoryFileSystem& owner, std::string path) : fs(owner), name(std::move(path)) {}
    std::optional<std::uint64_t> Length() override { return fs.files[name].size(); }
    std::optional<std::string> ReadFrom(std::uint64_t offset) override {
      return fs.ReadFrom(name, offset);
    }
    bool Append(std::string_view text) override {
      if (fs.writeFails) return false;
      fs.files[name] += text;
      return true;
    }
    bool Rewrite(std::string_view text) override {
      if (fs.writeFails) return false;
      fs.files[name] = text;
      return true;
    }
    MemoryFileSystem& fs;
    std::string name;
  };
  struct File : OutputFile {
    File(MemoryFileSystem& owner, std::string path) : fs(owner), name(std::move(path)) {}
    ~File() override { fs.open.erase(name); }
    bool Write(const void* data, std::size_t size) override {
      if (fs.writeFails || fs.open.count(name) == 0) return false;
      if (fs.writesShort) --size;
      fs.files[name].append(static_cast<const char*>(data), size);
      return true;
    }
    bool Close() override {
      fs.open.erase(name);
      return !fs.closeFails;
    }
    MemoryFileSystem& fs;
    std::string name;
  };
};

// A server that answers every request alike, from the scripted status and body, except where a
// fault or a silence is scripted for one of the first requests. A silent request waits, a second
// at a time, until the caller gives up; `silences` notes when it did. A request cancelled while
// it waits still tries to hand over a block, which the caller must refuse.
class ScriptedInternet : public Internet {
 public:
  std::optional<std::string> status = "200";  // nullopt: the status can't be read
  std::optional<std::string> length;          // nullopt: no length announced
  std::string body;
  // The validators; a range asked with If-Range naming the ETag (or else Last-Modified) is answered
  // with 206, from the byte asked or else `rangeStart`.
  std::string etag, lastModified;
  std::optional<std::uint64_t> rangeStart;
  std::optional<std::string> retryAfter;
  // By request, from the first: a status instead of the scripted one (nullopt: unreadable), or
  // "" for a request that fails with openError.
  std::vector<std::optional<std::string>> faults;
  std::uint32_t openError = 12029;  // ERROR_INTERNET_CANNOT_CONNECT
  std::vector<std::uint64_t> cuts;  // by request: the body bytes it brings before a read fails
  // By request: where it falls silent (a cut request falls silent at its cut in the body).
  std::vector<std::optional<FetchStage>> hangs;
  std::vector<double> silences;  // how long each silent request waited, in seconds
  int cancels = 0;               // requests cancelled while they waited
  // When set, the proxy answers 407 until a request carries this login, and `refusal` to a wrong
  // one; `typed`, what the user types into each of its password dialogs (nullopt: Cancel).
  using Login = std::pair<std::string, std::string>;
  std::optional<Login> proxyLogin;
  std::string refusal = "401";
  std::vector<std::optional<Login>> typed;
  std::size_t dialogs = 0;
  std::vector<FetchRequest> requests;
  std::vector<std::string> urls, sessions;  // each request's address, and its proxy or "system"

  void Serve(std::string bytes) {
    length = std::to_string(bytes.size());
    body = std::move(bytes);
  }

  FetchResult Fetch(const FetchRequest& request, FetchSink& sink) override {
    const std::size_t n = requests.size();
    requests.push_back(request);
    urls.push_back(request.url);
    sessions.push_back(request.proxy.value_or("system"));
    bool cancelled = false;
    const std::stop_callback onCancel(request.cancel, [&] { cancelled = true; });
    const std::optional<FetchStage> hang = n < hangs.size() ? hangs[n] : std::nullopt;
    for (const FetchStage stage : {FetchStage::Connecting, FetchStage::AwaitingAnswer}) {
      if (hang == stage) return Silent(sink, stage, cancelled);
      if (!sink.Waiting(stage, 0)) return {FetchResult::Stopped};
    }
    using Text = std::optional<std::string>;
    const Text fault = n < faults.size() ? faults[n] : "200";
    if (fault == "") return {FetchResult::Failed, openError};
    const std::string& validator = etag.empty() ? lastModified : etag;
    const bool ranged = !validator.empty() && request.from > 0 && request.ifRange == validator;
    std::uint64_t served = ranged ? rangeStart.value_or(request.from) : 0;
    const std::uint64_t cutAt = n < cuts.size() ? served + cuts[n] : UINT64_MAX;
    const std::uint64_t total = body.size();
    FetchAnswer answer{{},
                       ranged ? std::to_string(total - served) : length,
                       {},
                       etag.empty() ? Text() : etag,
                       lastModified.empty() ? Text() : lastModified,
                       retryAfter};
    if (ranged) {
      answer.contentRange = "bytes " + std::to_string(served) + "-" + std::to_string(total - 1) +
                            "/" + std::to_string(total);
    }
    std::optional<Login> given;
    for (;;) {
      const bool passes = !proxyLogin || given == proxyLogin;
      answer.status = passes  ? (fault != "200" ? fault
                                 : ranged       ? Text("206")
                                                : status)
                      : given ? refusal
                              : "407";
      const AnswerStep step = sink.Answer(answer);
      if (step.kind == AnswerStep::ReadBody) break;
      if (step.kind == AnswerStep::Stop) return {FetchResult::Stopped};
      if (step.kind == AnswerStep::SendLogin) {
        given = Login{step.login.user, step.login.password};
        continue;
      }
      EXPECT_EQ(answer.status, "407") << "over another status it asks another login";
      given = dialogs < typed.size() ? typed[dialogs] : std::nullopt;
      ++dialogs;
      if (!given) return {FetchResult::LoginCancelled};
      sink.LoginTyped({given->first, given->second});
    }
    while (served < total) {
      if (served >= cutAt) {
        if (hang == FetchStage::ReceivingBody) return Silent(sink, *hang, cancelled);
        return {FetchResult::Failed, openError};
      }
      const std::size_t size = std::min<std::uint64_t>({4096, total - served, cutAt - served});
      if (!sink.Block(reinterpret_cast<const std::byte*>(body.data() + served), size))
        return {FetchResult::Stopped};
      served += size;
    }
    return {FetchResult::Complete};
  }

 private:
  FetchResult Silent(FetchSink& sink, FetchStage stage, const bool& cancelled) {
    for (double second = 1; second < 600; ++second) {
      if (sink.Waiting(stage, second)) continue;
      silences.push_back(second);
      if (cancelled) {
        ++cancels;
        EXPECT_FALSE(sink.Block(reinterpret_cast<const std::byte*>("late"), 4));
      }
      return {FetchResult::Stopped};
    }
    ADD_FAILURE() << "a silent request was waited for without end";
    return {FetchResult::Failed, openError};
  }
};

// frmMain on the fakes before Form_Load, its own file in place; programs it starts need
// `publisher`'s signature, if set. With `system.programData` set, there is a support log.
struct Rig {
  explicit Rig(std::string signer = "") : publisher(std::move(signer)) {
    system.events = &files.events;
  }
  FakeSystem system;
  ScriptedInternet internet;
  MemoryFileSystem files;
  std::string publisher;
  const bool placed = !(files.files[system.executable] = "this program").empty();
  Platform platform{system, internet, files, system, system, system, system};
  Program program{platform, system, publisher};
  MdlDownload& download = program.download;
  FrmMain& frm = program.frm;
  std::string& Log() { return files.files[system.programData + "Orvane\\Logs\\OrvaneSetup.log"]; }
};

}  // namespace orvane::testing
