// Measures how soon a window's thread answers its messages: a helper thread
// posts a timestamped message to the window every interval, and the window
// (subclassed for it) notes how long each waited in the queue. Under a
// download the wait is how long a click on Stop would go unanswered. It also
// counts the window's paints and their time.
#pragma once

#include <windows.h>

// commctrl.h needs the types of windows.h, so it comes in a block of its own.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace orvane::probe {

class PingMeter {
 public:
  static constexpr UINT kPing = WM_APP + 0x70;

  explicit PingMeter(HWND window) : window_(window) {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&origin_);
    SetWindowSubclass(window_, &PingMeter::Subclass, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
  PingMeter(const PingMeter&) = delete;
  PingMeter& operator=(const PingMeter&) = delete;
  ~PingMeter() {
    Stop();
    RemoveWindowSubclass(window_, &PingMeter::Subclass, kSubclassId);
  }

  void Start(std::chrono::milliseconds interval) {
    if (poster_.joinable()) return;
    poster_ = std::jthread([this, interval](std::stop_token stop) {
      std::mutex mutex;
      std::condition_variable_any wake;
      std::unique_lock lock(mutex);
      while (!stop.stop_requested()) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (PostMessageW(window_, kPing, 0, static_cast<LPARAM>(now.QuadPart))) ++posted_;
        wake.wait_for(lock, stop, interval, [] { return false; });
      }
    });
  }

  // Stops posting; the pings already queued are still answered by Drain.
  void Stop() {
    if (poster_.joinable()) {
      poster_.request_stop();
      poster_.join();
    }
  }

  // Runs the window's messages until every posted ping is answered or the
  // timeout passes.
  void Drain(std::chrono::milliseconds timeout) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    while (Answered() < posted_ && GetTickCount64() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }

  std::uint64_t Posted() const { return posted_; }
  // The window's paints meanwhile, and the time they took.
  std::uint64_t Paints() const { return paints_; }
  double PaintSeconds() const { return paintSeconds_; }
  std::uint64_t Answered() const { return delaysMs_.size(); }
  // The worst wait and the given quantile (0..1) of the waits, in ms.
  double WorstMs() const {
    return delaysMs_.empty() ? 0 : *std::max_element(delaysMs_.begin(), delaysMs_.end());
  }
  // When the worst-answered ping was posted, in seconds since the meter
  // was made: tells which phase of the transfer held the window up.
  double WorstPostedAt() const {
    if (delaysMs_.empty()) return 0;
    const auto worst = std::max_element(delaysMs_.begin(), delaysMs_.end()) - delaysMs_.begin();
    return postedAt_[static_cast<std::size_t>(worst)];
  }
  double QuantileMs(double q) const {
    if (delaysMs_.empty()) return 0;
    std::vector<double> sorted = delaysMs_;
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1))];
  }

 private:
  static constexpr UINT_PTR kSubclassId = 0x70;

  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR self) {
    auto* meter = reinterpret_cast<PingMeter*>(self);
    if (message == kPing) {
      meter->Answer(lParam);
      return 0;
    }
    if (message != WM_PAINT) return DefSubclassProc(window, message, wParam, lParam);
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    QueryPerformanceCounter(&end);
    ++meter->paints_;
    meter->paintSeconds_ += static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(meter->frequency_.QuadPart);
    return result;
  }

  void Answer(LPARAM postedAt) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const double frequency = static_cast<double>(frequency_.QuadPart);
    delaysMs_.push_back(static_cast<double>(now.QuadPart - postedAt) * 1000.0 / frequency);
    postedAt_.push_back(static_cast<double>(postedAt - origin_.QuadPart) / frequency);
  }

  HWND window_;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER origin_{};
  std::atomic<std::uint64_t> posted_{0};
  // Touched by the window's thread only.
  std::vector<double> delaysMs_;
  std::vector<double> postedAt_;
  std::uint64_t paints_ = 0;
  double paintSeconds_ = 0;
  std::jthread poster_;
};

}  // namespace orvane::probe
