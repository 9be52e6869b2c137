// Decorators the download probe puts between the program and the real
// services: each passes every call on unchanged and notes what it needs to
// know (how many message-loop passes reached the queue and how long they
// took, the same for the window's paints, and what WinINet's cache held).
#pragma once

#include <windows.h>

#include <wininet.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/internet.h"
#include "platform/repaint_pacer.h"
#include "platform/user_interface.h"

namespace orvane::probe {

// Seconds on the performance counter since start.
inline double SecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Counts calls and the time spent in them.
class CallTimer {
 public:
  template <typename Call>
  auto Time(Call call) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      Note(start);
    } else {
      auto result = call();
      Note(start);
      return result;
    }
  }
  std::uint64_t Calls() const { return calls_; }
  double Seconds() const { return seconds_; }

 private:
  void Note(const LARGE_INTEGER& start) {
    ++calls_;
    seconds_ += SecondsSince(start);
  }

  std::uint64_t calls_ = 0;
  double seconds_ = 0;
};

// The real message loop's passes, below the pacing: only those that looked
// at the queue, paints and handlers included.
class CountingPasses : public UserInterface {
 public:
  explicit CountingPasses(UserInterface& inner) : inner_(inner) {}
  void DoEvents() override {
    timer_.Time([this] { inner_.DoEvents(); });
  }
  void Pause(double seconds) override { inner_.Pause(seconds); }
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    return inner_.ShowMessage(text, title, style);
  }
  bool GetCursorPos(Point& point) override { return inner_.GetCursorPos(point); }
  const CallTimer& Passes() const { return timer_; }

 private:
  UserInterface& inner_;
  CallTimer timer_;
};

// The window's paints, the system's and the repaints of changes alike.
class CountingPaints : public RepaintPort {
 public:
  explicit CountingPaints(RepaintPort& inner) : inner_(inner) {}
  bool Shown() const override { return inner_.Shown(); }
  void Repaint(const Rect& area) override {
    timer_.Time([&] { inner_.Repaint(area); });
  }
  void SetFrameTimer(std::uint32_t milliseconds) override { inner_.SetFrameTimer(milliseconds); }
  void KillFrameTimer() override { inner_.KillFrameTimer(); }
  const CallTimer& Paints() const { return timer_; }

 private:
  RepaintPort& inner_;
  CallTimer timer_;
};

// An entry exists when the size query asks for a larger buffer.
inline bool IsCached(const std::string& url) {
  DWORD size = 0;
  return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
         GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// WinINet as DownloadFile gets it, noting whether the cache still held an
// entry for the address when the session opened, that is after the purge.
class CacheWatchingInternet : public Internet {
 public:
  CacheWatchingInternet(Internet& inner, std::string url) : inner_(inner), url_(std::move(url)) {}
  bool DeleteUrlCacheEntryA(const std::string& url) override {
    return inner_.DeleteUrlCacheEntryA(url);
  }
  InternetHandle InternetOpenA(const std::string& agent, std::uint32_t accessType,
                               const char* proxyName, const char* proxyBypass,
                               std::uint32_t flags) override {
    cachedAtOpen_ = IsCached(url_);
    return inner_.InternetOpenA(agent, accessType, proxyName, proxyBypass, flags);
  }
  InternetHandle InternetOpenUrlA(InternetHandle session, const std::string& url,
                                  const char* headers, std::uint32_t headersLength,
                                  std::uint32_t flags, std::uintptr_t context) override {
    return inner_.InternetOpenUrlA(session, url, headers, headersLength, flags, context);
  }
  bool HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                      std::uint32_t& bufferLength, std::uint32_t& index) override {
    return inner_.HttpQueryInfoA(request, infoLevel, buffer, bufferLength, index);
  }
  bool InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                        std::uint32_t& bytesRead) override {
    return inner_.InternetReadFile(file, buffer, bytesToRead, bytesRead);
  }
  // Closing the request is where WinINet finishes its cache entry: timed,
  // as no message-loop pass runs meanwhile.
  bool InternetCloseHandle(InternetHandle handle) override {
    return closes_.Time([&] { return inner_.InternetCloseHandle(handle); });
  }
  bool InternetSetOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                          std::uint32_t bufferLength) override {
    return inner_.InternetSetOptionA(handle, option, buffer, bufferLength);
  }
  bool InternetQueryOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                            std::uint32_t& bufferLength) override {
    return inner_.InternetQueryOptionA(handle, option, buffer, bufferLength);
  }
  bool HttpSendRequestA(InternetHandle request, const char* headers, std::uint32_t headersLength,
                        void* optional, std::uint32_t optionalLength) override {
    return inner_.HttpSendRequestA(request, headers, headersLength, optional, optionalLength);
  }
  std::uint32_t InternetErrorDlg(InternetHandle request, std::uint32_t error,
                                 std::uint32_t flags) override {
    return inner_.InternetErrorDlg(request, error, flags);
  }
  std::uint32_t GetLastError() override { return inner_.GetLastError(); }
  bool CachedAtOpen() const { return cachedAtOpen_; }
  double CloseSeconds() const { return closes_.Seconds(); }

 private:
  Internet& inner_;
  std::string url_;
  bool cachedAtOpen_ = false;
  CallTimer closes_;
};

}  // namespace orvane::probe
