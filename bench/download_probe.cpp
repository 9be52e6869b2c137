// Runs the real DownloadFile on real WinINet with the real main window
// showing its progress, and prints one JSON line of what happened: status,
// captions and bar widths seen at each message-loop pass, time, passes, peak
// working set and how long the window took to answer its messages meanwhile.
// --bare instead runs only a 4096-byte InternetReadFile loop with file
// writes (same session and address calls), the benchmark's baseline.
// --abandon-after-ms N ends the download from a timer of the window's
// thread, as Stop does, and reports how long DownloadFile took to return.
//
// Usage: download_probe.exe SERVER_BASE PATH LOCAL_FILE PROXY
//        [--min-pass-ms N] [--captions] [--bare] [--ping-ms N] [--abandon-after-ms N]
//        profiling: [--hidden] (window never shown) [--no-loop] (passes skipped)
//        [--no-purge] (bare loop only: no cache purge first)
//        [--cpu-of Z:\proc\PID\stat] (add that process's CPU time to cpu_seconds)
//        download_probe.exe --cache-query URL   whether WinINet caches URL
#include <windows.h>

// psapi.h and wininet.h need the types of windows.h, so they come in a block
// of their own.
#include <psapi.h>
#include <wininet.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "download/download_text.h"
#include "ping_meter.h"
#include "platform/win32/application.h"
#include "recording_ui.h"
#include "watching_decorators.h"

namespace orvane::probe {
namespace {

struct Options {
  std::string serverBase;
  std::string path;
  std::string localFile;
  std::string proxy;
  double minPassMs = kDefaultMinimumPassSeconds * 1000;
  bool captions = false;
  bool bare = false;
  bool hidden = false;
  bool noLoop = false;
  bool noPurge = false;
  std::string cacheQuery;
  std::string cpuOf;
  int pingMs = 50;
  int abandonAfterMs = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  std::vector<std::string_view> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--captions") {
      options.captions = true;
    } else if (arg == "--bare") {
      options.bare = true;
    } else if (arg == "--hidden") {
      options.hidden = true;
    } else if (arg == "--no-loop") {
      options.noLoop = true;
    } else if (arg == "--no-purge") {
      options.noPurge = true;
    } else if (arg == "--cpu-of" && i + 1 < argc) {
      options.cpuOf = argv[++i];
    } else if (arg == "--cache-query" && i + 1 < argc) {
      options.cacheQuery = argv[++i];
    } else if (arg == "--min-pass-ms" && i + 1 < argc) {
      options.minPassMs = std::atof(argv[++i]);
    } else if (arg == "--ping-ms" && i + 1 < argc) {
      options.pingMs = std::atoi(argv[++i]);
    } else if (arg == "--abandon-after-ms" && i + 1 < argc) {
      options.abandonAfterMs = std::atoi(argv[++i]);
    } else if (arg.starts_with("--")) {
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (!options.cacheQuery.empty()) return positional.empty();
  if (positional.size() != 4) return false;
  options.serverBase = positional[0];
  options.path = positional[1];
  options.localFile = positional[2];
  options.proxy = positional[3];
  return true;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::uint64_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
  return counters.PeakWorkingSetSize;
}

// CPU time of this process, plus, when named, that of another process whose
// Linux /proc/PID/stat file is readable through Wine's Z: drive (the
// wineserver, which every message-loop pass calls). Other work on the
// machine does not inflate it, as it does the elapsed time.
class CpuClock {
 public:
  explicit CpuClock(std::string otherStat) : otherStat_(std::move(otherStat)) {}
  double Seconds() const {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    double own = 0;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
      own = (Ticks(kernel) + Ticks(user)) / 1e7;
    return own + OtherSeconds();
  }

 private:
  static double Ticks(const FILETIME& time) {
    return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime);
  }
  // utime and stime are the 14th and 15th fields, in clock ticks of 1/100 s.
  double OtherSeconds() const {
    if (otherStat_.empty()) return 0;
    std::ifstream file(otherStat_);
    const std::string stat((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    double ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
      if (index >= 14) ticks += std::atof(field.c_str());
    }
    return ticks / 100;
  }

  std::string otherStat_;
};

int RunCacheQuery(const Options& options) {
  std::printf("{\"cached\": %s}\n", IsCached(options.cacheQuery) ? "true" : "false");
  return 0;
}

// An internet handle of the bare loop, closed once.
struct InternetHandleTraits : NullIsInvalid<HINTERNET> {
  static void Close(HINTERNET handle) { InternetCloseHandle(handle); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// The same session and address calls as a fetch of DownloadFile, then
// nothing but 4096-byte reads and writes on one thread: what a transfer
// costs without progress.
int RunBare(const Options& options) {
  // The program's own services, its window never made.
  win32::Application application(GetModuleHandleW(nullptr), "");
  FileSystem& files = application.platform.Services().files;
  const CpuClock cpu(options.cpuOf);
  const double cpuStart = cpu.Seconds();
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const std::string address = options.serverBase + options.path;
  if (!options.noPurge) DeleteUrlCacheEntryA(CacheEntryAddress(address).c_str());
  const bool cachedAtOpen = IsCached(address);
  const std::optional<std::string> proxy = ChooseProxy(options.proxy);
  bool ok = false;
  std::uint64_t received = 0;
  {
    const InternetHandle session(InternetOpenA(
        "API-Download", proxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_PRECONFIG,
        proxy ? proxy->c_str() : nullptr, proxy ? "<local>" : nullptr, 0));
    // The program's own request flags, so that both loops leave the cache alone.
    constexpr DWORD kFlags =
        INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    const InternetHandle request(
        session ? InternetOpenUrlA(session.get(), address.c_str(), nullptr, 0, kFlags, 0)
                : nullptr);
    std::unique_ptr<OutputFile> file = request ? files.OpenForWriting(options.localFile) : nullptr;
    if (file) {
      std::array<char, 4096> block;
      for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), block.data(), 4096, &read)) break;
        if (read == 0) {
          ok = true;
          break;
        }
        if (!file->Write(block.data(), read)) break;
        received += read;
      }
      ok = file->Close() && ok;
    }
  }
  const double elapsed = SecondsSince(start);
  const double cpuSeconds = cpu.Seconds() - cpuStart;
  std::printf(
      "{\"mode\": \"bare\", \"status\": %s, \"bytes\": %llu, \"elapsed\": %.6f, "
      "\"cpu_seconds\": %.3f, "
      "\"cached_at_open\": %s, \"peak_working_set\": %llu}\n",
      JsonString(ok ? "" : "NetErr").c_str(), static_cast<unsigned long long>(received), elapsed,
      cpuSeconds, cachedAtOpen ? "true" : "false",
      static_cast<unsigned long long>(PeakWorkingSet()));
  return 0;
}

// The program's main window, as the system knows it: this thread's window
// of the main window's class.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wcscmp(name, win32::kMainWindowClass) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND MainWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMainWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The probe's decorators, which the composition root puts between the program
// and the real services as it builds them: the message loop the download
// engine sees is the recording one.
struct Watchers {
  explicit Watchers(const Options& options) : address(options.serverBase + options.path) {
    decorators.userInterface = [this, &options](UserInterface& paced) -> UserInterface& {
      passes = &paced;
      return recorder.emplace(paced, options.captions);
    };
    decorators.messagePasses = [this](UserInterface& real) -> UserInterface& {
      return counted.emplace(real);
    };
    decorators.internet = [this](Internet& real) -> Internet& {
      return internet.emplace(real, address);
    };
    decorators.repaints = [this](RepaintPort& real) -> RepaintPort& {
      return paints.emplace(real);
    };
  }
  Watchers(const Watchers&) = delete;
  Watchers& operator=(const Watchers&) = delete;

  std::string address;
  UserInterface* passes = nullptr;  // the paced message loop, below the recorder
  std::optional<RecordingUserInterface> recorder;
  std::optional<CountingPasses> counted;
  std::optional<CacheWatchingInternet> internet;
  std::optional<CountingPaints> paints;
  Decorators decorators;
};

// The download a timer abandons, and when it did; the timer's id points here.
struct Abandoning {
  MdlDownload* download;
  LARGE_INTEGER at;
};

void CALLBACK AbandonOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  auto* abandoning = reinterpret_cast<Abandoning*>(id);
  QueryPerformanceCounter(&abandoning->at);
  abandoning->download->AbandonTransfer();
}

int RunDownload(const Options& options) {
  Watchers watch(options);
  win32::Application application(GetModuleHandleW(nullptr), "", watch.decorators,
                                 options.minPassMs / 1000);
  if (!application.Start(!options.hidden)) {
    std::fprintf(stderr, "the main window could not be created\n");
    return 1;
  }
  FrmMain& form = application.program.frm;
  RecordingUserInterface& recorder = *watch.recorder;
  recorder.Watch(form["ProgressCap"], form["ProgressBar"]);
  MdlDownload& download = application.program.download;
  download.ServerBase = options.serverBase;
  // As the install workflow does before its download.
  form.Downloading = kVbTrue;
  form.Layout_Setting(Panel::Installing);
  watch.passes->DoEvents();
  recorder.SetForwarding(!options.noLoop);

  PingMeter pings(MainWindow());
  if (options.pingMs > 0) {
    recorder.OnFirstPass([&] { pings.Start(std::chrono::milliseconds(options.pingMs)); });
  }
  // Stop's first step, from a timer of the window: the download is abandoned.
  Abandoning abandoning{&download, {}};
  if (options.abandonAfterMs > 0) {
    SetTimer(MainWindow(), reinterpret_cast<UINT_PTR>(&abandoning),
             static_cast<UINT>(options.abandonAfterMs), AbandonOnTimer);
  }
  const CpuClock cpu(options.cpuOf);
  const double cpuStart = cpu.Seconds();
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const DownloadResult result = download.DownloadFile(
      options.path, options.localFile, form["ProgressCap"], form["ProgressBar"], options.proxy);
  const double elapsed = SecondsSince(start);
  const double cpuSeconds = cpu.Seconds() - cpuStart;
  const double abandonMs = abandoning.at.QuadPart != 0 ? SecondsSince(abandoning.at) * 1000 : -1;
  pings.Stop();
  pings.Drain(std::chrono::milliseconds(2000));
  form.Downloading = kVbFalse;

  std::string captions;
  std::string widths;
  if (options.captions) {
    for (const std::string& caption : recorder.Captions())
      captions += (captions.empty() ? "" : ", ") + JsonString(caption);
    for (const int width : recorder.Widths())
      widths += (widths.empty() ? "" : ", ") + std::to_string(width);
    captions = ", \"captions\": [" + captions + "], \"widths\": [" + widths + "]";
  }
  const std::optional<std::uint64_t> length =
      application.platform.Services().files.FileLength(options.localFile);
  std::printf(
      "{\"mode\": \"download\", \"status\": %s, \"caption\": %s, \"bar\": %d, "
      "\"caption_width\": %d, \"file_length\": %lld, \"elapsed\": %.6f, \"cpu_seconds\": %.3f, "
      "\"doevents\": %llu, "
      "\"passes\": %llu, \"pass_seconds\": %.3f, \"paints\": %llu, \"paint_seconds\": %.3f, "
      "\"distinct_captions\": %llu, \"distinct_widths\": %llu, "
      "\"min_pass_ms\": %g, \"cached_at_open\": %s, \"abandon_return_ms\": %.1f, "
      "\"peak_working_set\": "
      "%llu, "
      "\"pings\": {\"posted\": %llu, \"answered\": %llu, \"worst_ms\": %.3f, "
      "\"median_ms\": %.3f, \"p95_ms\": %.3f, \"worst_posted_at\": %.3f}%s}\n",
      JsonString(result == DownloadResult::Ok ? "" : ResultName(result)).c_str(),
      JsonString(form["ProgressCap"].Caption()).c_str(), form["ProgressBar"].Width(),
      form["ProgressCap"].Width(), length ? static_cast<long long>(*length) : -1LL, elapsed,
      cpuSeconds, static_cast<unsigned long long>(recorder.Calls()),
      static_cast<unsigned long long>(watch.counted->Passes().Calls()),
      watch.counted->Passes().Seconds(),
      static_cast<unsigned long long>(watch.paints->Paints().Calls()),
      watch.paints->Paints().Seconds(),
      static_cast<unsigned long long>(recorder.DistinctCaptions()),
      static_cast<unsigned long long>(recorder.DistinctWidths()), options.minPassMs,
      watch.internet->CachedAtOpen() ? "true" : "false", abandonMs,
      static_cast<unsigned long long>(PeakWorkingSet()),
      static_cast<unsigned long long>(pings.Posted()),
      static_cast<unsigned long long>(pings.Answered()), pings.WorstMs(), pings.QuantileMs(0.5),
      pings.QuantileMs(0.95), pings.WorstPostedAt(), captions.c_str());
  // The report is out. Ending here skips the window's teardown, for which
  // Wine takes some 2 s (DestroyWindow on the main window), and which would
  // only slow the tests; the process's end releases everything it holds.
  std::fflush(stdout);
  ExitProcess(0);
}

}  // namespace
}  // namespace orvane::probe

int main(int argc, char** argv) {
  orvane::probe::Options options;
  if (!orvane::probe::ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: download_probe.exe SERVER_BASE PATH LOCAL_FILE PROXY "
                 "[--min-pass-ms N] [--captions] [--bare] [--ping-ms N] [--abandon-after-ms N] "
                 "[--hidden] [--no-loop] "
                 "[--no-purge]\n       download_probe.exe --cache-query URL\n");
    return 2;
  }
  if (!options.cacheQuery.empty()) return orvane::probe::RunCacheQuery(options);
  return options.bare ? orvane::probe::RunBare(options) : orvane::probe::RunDownload(options);
}
