// What one fetch shares with the worker threads that make its blocking
// WinINet calls: the handles, the stage the connection is at, and the body's
// blocks on their way to the window's thread. The window's thread only ever
// waits in a message-aware wait; every sink call is made there.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/internet.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wininet_api.h"

namespace orvane::win32 {

// A worker left behind by a cancel still holds the job, so it finds it there
// when its call returns; it then touches neither the handles nor the sink.
class FetchJob : public std::enable_shared_from_this<FetchJob> {
 public:
  explicit FetchJob(const WinInetApi& api);
  FetchJob(const FetchJob&) = delete;
  FetchJob& operator=(const FetchJob&) = delete;
  ~FetchJob();

  // Runs `call` on a worker thread and waits for it, letting the sink run
  // the window's messages meanwhile. False when the sink or Abort ended the
  // wait first: the call is then left to end by itself.
  bool Run(std::function<void(FetchJob&)> call, FetchSink& sink);
  // Reads the body on a worker thread and hands its blocks to the sink.
  FetchResult Receive(FetchSink& sink);
  // Closes the handles, which ends a pending call on Windows, and lets no
  // worker use them again. Any thread; more than once is harmless.
  void Abort();

  // For the calls on a worker: takes a handle the worker opened as the
  // job's session or request, unless the job was aborted meanwhile (the
  // handle is then closed, and false returned).
  bool AdoptSession(HINTERNET session);
  bool AdoptRequest(HINTERNET request);
  HINTERNET Request() const { return request_; }
  void SetError(DWORD error) { error_ = error; }
  DWORD Error() const { return error_; }
  // Something came from the server: silence is measured from here.
  void Heard() { lastHeard_ = GetTickCount64(); }
  const WinInetApi& Api() const { return api_; }

  // WinINet's status callback, with the job as the request's context: the
  // connection is made, or the request is out on one already made.
  static void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD);

 private:
  static constexpr std::size_t kBlockSize = 4096;
  static constexpr std::size_t kSlots = 256;  // a megabyte on its way
  // The window's thread is woken for this many blocks, or the end; in
  // between it looks on its own at every tick. Every wake-up is a round trip
  // to the system (under Wine, to its server): a wake per 16 blocks still
  // cost a transfer 5 % more than reading it on one thread, one per 128 none.
  static constexpr std::uint64_t kWakeForBlocks = kSlots / 2;
  static constexpr DWORD kTickMilliseconds = 50;

  bool Adopt(std::atomic<HINTERNET>& slot, HINTERNET handle);
  void StartWorker(std::function<void(FetchJob&)> call);
  void ReadBody();
  // Waits for the worker's wake-up, a window message or the next tick;
  // true for a message or a tick, when the sink is to be asked.
  bool WaitForWorkerOrMessage();
  double SilentSeconds() const;
  void Wake() { SetEvent(wake_.get()); }

  const WinInetApi& api_;
  KernelHandle wake_;  // auto-reset: the worker has something for the window's thread
  std::mutex lock_;    // orders taking the handles against closing them
  std::atomic<HINTERNET> session_{nullptr};
  std::atomic<HINTERNET> request_{nullptr};
  std::atomic<bool> aborted_{false};
  std::atomic<bool> callDone_{false};
  std::atomic<DWORD> error_{0};
  std::atomic<FetchStage> stage_{FetchStage::Connecting};
  std::atomic<ULONGLONG> lastHeard_;

  // The body: a ring of blocks the worker fills and the window's thread
  // empties; `tail_` counts the blocks filled, `head_` those handed over.
  std::array<std::array<std::byte, kBlockSize>, kSlots> blocks_{};
  std::array<std::uint32_t, kSlots> sizes_{};
  std::atomic<std::uint64_t> head_{0};
  std::atomic<std::uint64_t> tail_{0};
  std::atomic<bool> windowWaiting_{false};
  std::atomic<int> bodyEnd_{0};  // 0 while it flows, else a FetchResult::Kind + 1
  std::mutex spaceLock_;
  std::condition_variable space_;  // the ring has room again
};

}  // namespace orvane::win32
