#include "clicker/click_worker.h"

#include <system_error>

#include "common/message_wait.h"
#include "common/window_messages.h"

namespace kestul {

namespace {
// True when the event was set within the time-out; a failed wait counts as not stopped.
bool StopRequested(HANDLE stopEvent, DWORD timeoutMs) {
  return WaitForSingleObject(stopEvent, timeoutMs) == WAIT_OBJECT_0;
}
}  // namespace

ClickWorker::ClickWorker(HWND notifyWindow, std::unique_ptr<InputAdapter> adapter)
    : notifyWindow_(notifyWindow),
      adapter_(std::move(adapter)),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      finishedEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ClickWorker::~ClickWorker() {
  Stop();
}

bool ClickWorker::Start(const ClickRequest& request, std::uint64_t runId) {
  const std::lock_guard<std::mutex> control(controlMutex_);
  // A stop under way further up this thread's stack waits for its run's finished event, which a
  // new run would reset: no new run until that stop is done.
  if (!stopEvent_ || !finishedEvent_ || running_.load() || stopping_) return false;
  if (thread_.joinable()) thread_.join();  // a run that ended by itself
  // Read once: a run presses one physical button throughout, even if the user swaps them meanwhile.
  ClickRequest run = request;
  run.buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  running_.store(true);
  ResetEvent(stopEvent_.get());
  ResetEvent(finishedEvent_.get());
  try {
    thread_ = std::thread(&ClickWorker::Run, this, run, runId);
  } catch (const std::system_error&) {
    running_.store(false);
    return false;
  }
  return true;
}

void ClickWorker::Stop() {
  std::thread finishing;
  {
    const std::lock_guard<std::mutex> control(controlMutex_);
    // No thread: no run, or, while running, a stop already in progress further up this thread's
    // stack (its wait ran a sent message that stops again), which finishes the job.
    if (!thread_.joinable()) return;
    if (stopEvent_) SetEvent(stopEvent_.get());
    finishing = std::move(thread_);
    stopping_ = true;
  }
  if (finishing.joinable()) {
    // The run may be inside SendInput, which waits until this thread has run its mouse hook: the
    // hook must be served until the run has finished, and only then is the join short.
    WaitServingSentMessages(finishedEvent_.get(), INFINITE);
    finishing.join();
  }
  {
    const std::lock_guard<std::mutex> click(clickMutex_);
    running_.store(false);
  }
  const std::lock_guard<std::mutex> control(controlMutex_);
  stopping_ = false;
}

bool ClickWorker::IsRunning() const {
  return running_.load();
}

void ClickWorker::Post(std::uint64_t runId, ClickStatus status) const {
  PostMessageW(notifyWindow_, WM_CLICKER_STATUS, static_cast<WPARAM>(runId), static_cast<LPARAM>(status));
}

void ClickWorker::Finish(std::uint64_t runId, ClickStatus status) {
  running_.store(false);
  Post(runId, status);
  SetEvent(finishedEvent_.get());
}

void ClickWorker::Run(ClickRequest request, std::uint64_t runId) {
  HANDLE stopEvent = stopEvent_.get();
  if (StopRequested(stopEvent, kClickStartDelayMs)) {
    Finish(runId, ClickStatus::Stopped);
    return;
  }
  Post(runId, ClickStatus::Running);
  for (;;) {
    {
      const std::lock_guard<std::mutex> click(clickMutex_);
      if (StopRequested(stopEvent, 0)) {
        Finish(runId, ClickStatus::Stopped);
        return;
      }
      if (!adapter_->SendClick(request)) {
        SetEvent(stopEvent);
        Finish(runId, ClickStatus::InputRejected);
        return;
      }
    }
    if (StopRequested(stopEvent, request.interval_ms)) {
      Finish(runId, ClickStatus::Stopped);
      return;
    }
  }
}

}  // namespace kestul
