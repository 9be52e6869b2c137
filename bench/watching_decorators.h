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

// The internet as DownloadFile gets it, noting whether the cache still held
// an entry for the address when the answer came, that is after the purge.
class CacheWatchingInternet : public Internet {
 public:
  CacheWatchingInternet(Internet& inner, std::string url) : inner_(inner), url_(std::move(url)) {}
  FetchResult Fetch(const FetchRequest& request, FetchSink& sink) override {
    Watching watching(*this, sink);
    return inner_.Fetch(request, watching);
  }
  bool CachedAtOpen() const { return cachedAtOpen_; }

 private:
  // Passes every call on, looking at the cache at each answer.
  class Watching : public FetchSink {
   public:
    Watching(CacheWatchingInternet& owner, FetchSink& inner) : owner_(owner), inner_(inner) {}
    bool Waiting(FetchStage stage, double silentSeconds) override {
      return inner_.Waiting(stage, silentSeconds);
    }
    AnswerStep Answer(const FetchAnswer& answer) override {
      owner_.cachedAtOpen_ = IsCached(owner_.url_);
      return inner_.Answer(answer);
    }
    void LoginTyped(const ProxyLogin& login) override { inner_.LoginTyped(login); }
    bool Block(const std::byte* data, std::size_t size) override {
      return inner_.Block(data, size);
    }

   private:
    CacheWatchingInternet& owner_;
    FetchSink& inner_;
  };

  Internet& inner_;
  std::string url_;
  bool cachedAtOpen_ = false;
};

}  // namespace orvane::probe
