// Reads a top-level window of another process from inside Wine and prints
// it as JSON: its caption, place, band, maximised state and region, and
// every child window with the frmMain control name it stands for, its place,
// visibility, text and whether Tab stops on it, in stacking order. "close <title>" presses OK on a
// message box or dialog, "cancel <title>" presses Cancel. "ping <title> <interval_ms>
// <duration_ms>" times how long the window takes to answer a message, every
// interval for the duration or until the window is gone, and prints
// {"probes":[ms,...],"worst_ms":ms,"gone":bool}: a window whose thread is
// stuck in a call answers late, or at the probe's timeout.
//   wininspect window "Orvane Tools"
//   wininspect close "THONG BAO"
//   wininspect ping "Orvane Tools" 500 20000
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/application.h"
#include "platform/win32/dpi_awareness.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                      nullptr, nullptr);
  return out;
}

std::string Quoted(const std::string& text) {
  std::string out(1, '"');
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out.push_back('"');
  return out;
}

// Another process's text: GetWindowText doesn't read edit controls across
// processes, WM_GETTEXT does.
std::string TextOf(HWND window) {
  wchar_t buffer[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      2000, &copied);
  return Utf8(buffer);
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Utf8(name);
}

std::string RectJson(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", static_cast<long>(r.left),
                static_cast<long>(r.top), static_cast<long>(r.right - r.left),
                static_cast<long>(r.bottom - r.top));
  return text;
}

int PrintWindow(HWND window) {
  // The program's own form names the controls; its window is never created.
  orvane::win32::Application application(GetModuleHandleW(nullptr), "");
  const orvane::Form& design = application.program.frm;
  auto nameOf = [&design](HWND child) -> std::string {
    const int index = GetDlgCtrlID(child) - orvane::win32::kFirstChildId;
    if (index < 0 || index >= static_cast<int>(design.Controls().size())) return "";
    return design.Controls()[static_cast<std::size_t>(index)].Name();
  };

  RECT outer;
  GetWindowRect(window, &outer);
  RECT regionBox{};
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int regionKind = GetWindowRgn(window, region);
  if (regionKind != ERROR) GetRgnBox(region, &regionBox);
  // The corner pixel lies outside a rounded outline, the pixel 12 in lies inside.
  const bool cornerInside = regionKind != ERROR && PtInRegion(region, 0, 0);
  const bool innerInside = regionKind != ERROR && PtInRegion(region, 12, 12);
  DeleteObject(region);

  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);

  std::printf("{\"caption\":%s,\"class\":%s,\"rect\":%s,\"visible\":%s,\"topmost\":%s,",
              Quoted(TextOf(window)).c_str(), Quoted(ClassOf(window)).c_str(),
              RectJson(outer).c_str(), IsWindowVisible(window) ? "true" : "false",
              (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "true" : "false");
  std::printf("\"zoomed\":%s,", IsZoomed(window) ? "true" : "false");
  std::printf("\"region\":%s,\"regionCornerInside\":%s,\"regionInnerInside\":%s,",
              regionKind == ERROR ? "null" : RectJson(regionBox).c_str(),
              cornerInside ? "true" : "false", innerInside ? "true" : "false");
  std::printf("\"focus\":%s,\"children\":[",
              thread.hwndFocus ? Quoted(nameOf(thread.hwndFocus)).c_str() : "null");

  bool first = true;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    std::printf(
        "%s{\"name\":%s,\"id\":%d,\"class\":%s,\"rect\":%s,\"visible\":%s,\"text\":%s,"
        "\"tabstop\":%s}",
        first ? "" : ",", Quoted(nameOf(child)).c_str(), GetDlgCtrlID(child),
        Quoted(ClassOf(child)).c_str(), RectJson(r).c_str(),
        IsWindowVisible(child) ? "true" : "false", Quoted(TextOf(child)).c_str(),
        (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) ? "true" : "false");
    first = false;
  }
  std::printf("]}\n");
  return 0;
}

// A frozen window shows as an answer this late rather than as a failure.
constexpr UINT kProbeTimeoutMs = 5000;
constexpr DWORD kFindWindowMs = 5000;

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// The window may still be on its way when the pinger starts beside the program.
HWND WaitForWindow(const wchar_t* title) {
  const DWORD start = GetTickCount();
  HWND window = FindWindowW(nullptr, title);
  while (!window && GetTickCount() - start < kFindWindowMs) {
    Sleep(50);
    window = FindWindowW(nullptr, title);
  }
  return window;
}

int Ping(HWND window, double intervalMs, double durationMs) {
  std::vector<double> probes;
  bool gone = false;
  const LONGLONG start = Now();
  for (;;) {
    const LONGLONG sent = Now();
    DWORD_PTR answer = 0;
    const bool answered =
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &answer) != 0;
    const DWORD error = GetLastError();
    if (!answered && (error == ERROR_INVALID_WINDOW_HANDLE || !IsWindow(window))) {
      gone = true;
      break;
    }
    probes.push_back(answered ? Milliseconds(Now() - sent) : kProbeTimeoutMs);
    const double next = intervalMs * static_cast<double>(probes.size());
    const double elapsed = Milliseconds(Now() - start);
    if (next >= durationMs) break;
    if (next > elapsed) Sleep(static_cast<DWORD>(next - elapsed));
  }
  std::printf("{\"probes\":[");
  for (std::size_t i = 0; i < probes.size(); ++i) {
    std::printf("%s%.2f", i ? "," : "", probes[i]);
  }
  const double worst = probes.empty() ? 0.0 : *std::max_element(probes.begin(), probes.end());
  std::printf("],\"worst_ms\":%.2f,\"gone\":%s}\n", worst, gone ? "true" : "false");
  std::fflush(stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Places and sizes in device pixels, as the program, itself aware, sees them.
  orvane::win32::DeclareDpiAwareness();
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (argc != (command == L"ping" ? 5 : 3)) {
    std::fprintf(stderr,
                 "usage: wininspect window|close|cancel <title>\n"
                 "       wininspect ping <title> <interval_ms> <duration_ms>\n");
    return 2;
  }
  HWND window = command == L"ping" ? WaitForWindow(argv[2]) : FindWindowW(nullptr, argv[2]);
  if (!window) {
    std::fprintf(stderr, "no window titled %s\n", Utf8(argv[2]).c_str());
    return 1;
  }
  if (command == L"window") return PrintWindow(window);
  if (command == L"ping")
    return Ping(window, std::wcstod(argv[3], nullptr), std::wcstod(argv[4], nullptr));
  if (command == L"close") {
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (command == L"cancel") {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  std::fprintf(stderr, "unknown command\n");
  return 2;
}
