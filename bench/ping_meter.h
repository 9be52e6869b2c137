// Measures how soon a window's thread answers its messages: a helper thread
// posts a timestamped message to the window every interval, and the window
// (subclassed for it) notes how long each waited in the queue. Under a
// download the wait is how long a click on Stop would go unanswered.
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
        // Microseconds since the meter was made: they fit a 32-bit LPARAM
        // for over half an hour, where the counter itself would not.
        if (PostMessageW(window_, kPing, 0, static_cast<LPARAM>(MicrosecondsSinceOrigin())))
          ++posted_;
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
    if (message != kPing) return DefSubclassProc(window, message, wParam, lParam);
    reinterpret_cast<PingMeter*>(self)->Answer(lParam);
    return 0;
  }

  std::int64_t MicrosecondsSinceOrigin() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - origin_.QuadPart) * 1'000'000 / frequency_.QuadPart;
  }

  void Answer(LPARAM postedAt) {
    delaysMs_.push_back(static_cast<double>(MicrosecondsSinceOrigin() - postedAt) / 1000.0);
    postedAt_.push_back(static_cast<double>(postedAt) / 1e6);
  }

  HWND window_;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER origin_{};
  std::atomic<std::uint64_t> posted_{0};
  // Touched by the window's thread only.
  std::vector<double> delaysMs_;
  std::vector<double> postedAt_;
  std::jthread poster_;
};

}  // namespace orvane::probe
