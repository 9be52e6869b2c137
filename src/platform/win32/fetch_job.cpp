#include "platform/win32/fetch_job.h"

#include <chrono>
#include <utility>

namespace orvane::win32 {

namespace {

struct WorkerStart {
  std::shared_ptr<FetchJob> job;
  std::function<void(FetchJob&)> call;
};

DWORD WINAPI WorkerMain(void* parameter) {
  const std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
  start->call(*start->job);
  return 0;
}

}  // namespace

FetchJob::FetchJob(const WinInetApi& api)
    : api_(api),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      lastHeard_(GetTickCount64()) {}

FetchJob::~FetchJob() {
  Abort();
}

// The thread is the system's own rather than std::thread, whose failure to
// start would be an exception inside a window message.
bool FetchJob::Run(std::function<void(FetchJob&)> call, FetchSink& sink) {
  callDone_ = false;
  StartWorker([call = std::move(call)](FetchJob& job) {
    call(job);
    job.callDone_ = true;
    job.Wake();
  });
  for (;;) {
    if (aborted_) return false;
    if (callDone_) return true;
    if (WaitForWorkerOrMessage() && !callDone_ && !aborted_ &&
        !sink.Waiting(stage_, SilentSeconds())) {
      Abort();
      return false;
    }
  }
}

void FetchJob::StartWorker(std::function<void(FetchJob&)> call) {
  auto start = std::make_unique<WorkerStart>(WorkerStart{shared_from_this(), std::move(call)});
  const KernelHandle thread(CreateThread(nullptr, 0, WorkerMain, start.get(), 0, nullptr));
  if (thread) {
    start.release();  // the thread's own now
    return;
  }
  // No thread: the call fails as WinINet's would, and the waiter hears of it.
  SetError(GetLastError());
  bodyEnd_ = FetchResult::Failed + 1;
  callDone_ = true;
  Wake();
}

FetchResult FetchJob::Receive(FetchSink& sink) {
  stage_ = FetchStage::ReceivingBody;
  Heard();
  StartWorker([](FetchJob& job) { job.ReadBody(); });
  for (;;) {
    for (std::uint64_t head = head_; head < tail_; head = ++head_) {
      const std::size_t slot = head % kSlots;
      if (!sink.Block(blocks_[slot].data(), sizes_[slot])) {
        Abort();
        return {FetchResult::Stopped};
      }
      // A worker waiting for room is woken once half the ring is free.
      if (tail_ - head == kSlots / 2 + 1) {
        const std::lock_guard guard(spaceLock_);
        space_.notify_one();
      }
    }
    if (aborted_) return {FetchResult::Stopped};
    if (const int end = bodyEnd_; end != 0 && head_ == tail_) {
      return {static_cast<FetchResult::Kind>(end - 1), error_};
    }
    windowWaiting_ = true;
    const bool idle = head_ == tail_ && bodyEnd_ == 0 && WaitForWorkerOrMessage();
    windowWaiting_ = false;
    if (idle && !aborted_ && !sink.Waiting(FetchStage::ReceivingBody, SilentSeconds())) {
      Abort();
      return {FetchResult::Stopped};
    }
  }
}

// The worker's side of the ring. Blocks of 4096 bytes, as the window's thread
// shows them; it waits while the ring is full.
void FetchJob::ReadBody() {
  const HINTERNET request = request_;
  for (std::uint64_t tail = tail_;; tail = tail_) {
    if (tail - head_ == kSlots) {
      std::unique_lock wait(spaceLock_);
      space_.wait_for(wait, std::chrono::milliseconds(kTickMilliseconds),
                      [&] { return tail - head_ < kSlots || aborted_; });
      if (aborted_) return;
      continue;
    }
    if (aborted_) return;
    const std::size_t slot = tail % kSlots;
    DWORD read = 0;
    const BOOL ok = api_.internetReadFile(request, blocks_[slot].data(), kBlockSize, &read);
    const DWORD error = ok ? 0 : GetLastError();
    if (aborted_) return;
    if (!ok || read == 0) {
      error_ = error;
      bodyEnd_ = (ok ? FetchResult::Complete : FetchResult::Failed) + 1;
      Wake();
      return;
    }
    sizes_[slot] = read;
    Heard();
    tail_ = tail + 1;
    if (windowWaiting_ && tail + 1 - head_ >= kWakeForBlocks) Wake();
  }
}

bool FetchJob::WaitForWorkerOrMessage() {
  HANDLE wake = wake_.get();
  const DWORD woke =
      MsgWaitForMultipleObjectsEx(1, &wake, kTickMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return woke != WAIT_OBJECT_0;
}

double FetchJob::SilentSeconds() const {
  return static_cast<double>(GetTickCount64() - lastHeard_) / 1000.0;
}

void FetchJob::Abort() {
  {
    const std::lock_guard guard(lock_);
    if (aborted_.exchange(true)) return;
    if (HINTERNET request = request_.exchange(nullptr)) api_.internetCloseHandle(request);
    if (HINTERNET session = session_.exchange(nullptr)) api_.internetCloseHandle(session);
  }
  {
    const std::lock_guard guard(spaceLock_);
    space_.notify_all();
  }
  Wake();
}

bool FetchJob::AdoptSession(HINTERNET session) {
  return Adopt(session_, session);
}

bool FetchJob::AdoptRequest(HINTERNET request) {
  return Adopt(request_, request);
}

bool FetchJob::Adopt(std::atomic<HINTERNET>& slot, HINTERNET handle) {
  const std::lock_guard guard(lock_);
  if (aborted_) {
    if (handle) api_.internetCloseHandle(handle);
    return false;
  }
  slot = handle;
  return true;
}

// Only ever moves the stage on from Connecting, whichever handle reports.
void CALLBACK FetchJob::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
  if (status != INTERNET_STATUS_CONNECTED_TO_SERVER && status != INTERNET_STATUS_REQUEST_SENT)
    return;
  FetchStage connecting = FetchStage::Connecting;
  reinterpret_cast<FetchJob*>(context)->stage_.compare_exchange_strong(connecting,
                                                                       FetchStage::AwaitingAnswer);
}

}  // namespace orvane::win32
