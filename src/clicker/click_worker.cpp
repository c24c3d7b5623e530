#include "clicker/click_worker.h"

#include <system_error>

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
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ClickWorker::~ClickWorker() {
  Stop();
}

bool ClickWorker::Start(const ClickRequest& request, std::uint64_t runId) {
  const std::lock_guard<std::mutex> control(controlMutex_);
  if (!stopEvent_ || running_.load()) return false;
  if (thread_.joinable()) thread_.join();  // a run that ended by itself
  running_.exchange(true);
  ResetEvent(stopEvent_.get());
  try {
    thread_ = std::thread(&ClickWorker::Run, this, request, runId);
  } catch (const std::system_error&) {
    running_.exchange(false);
    return false;
  }
  return true;
}

void ClickWorker::Stop() {
  std::thread finishing;
  {
    const std::lock_guard<std::mutex> control(controlMutex_);
    if (!running_.load() && !thread_.joinable()) return;
    if (stopEvent_) SetEvent(stopEvent_.get());
    finishing = std::move(thread_);
  }
  if (finishing.joinable()) finishing.join();
  const std::lock_guard<std::mutex> click(clickMutex_);
  running_.exchange(false);
}

bool ClickWorker::IsRunning() const {
  return running_.load();
}

void ClickWorker::Post(std::uint64_t runId, ClickStatus status) const {
  PostMessageW(notifyWindow_, WM_CLICKER_STATUS, static_cast<WPARAM>(runId), static_cast<LPARAM>(status));
}

void ClickWorker::Run(ClickRequest request, std::uint64_t runId) {
  HANDLE stopEvent = stopEvent_.get();
  if (StopRequested(stopEvent, kClickStartDelayMs)) {
    running_.exchange(false);
    Post(runId, ClickStatus::Stopped);
    return;
  }
  Post(runId, ClickStatus::Running);
  for (;;) {
    {
      const std::lock_guard<std::mutex> click(clickMutex_);
      if (StopRequested(stopEvent, 0)) {
        running_.exchange(false);
        Post(runId, ClickStatus::Stopped);
        return;
      }
      if (!adapter_->SendClick(request)) {
        SetEvent(stopEvent);
        running_.exchange(false);
        Post(runId, ClickStatus::InputRejected);
        return;
      }
    }
    if (StopRequested(stopEvent, request.interval_ms)) {
      running_.exchange(false);
      Post(runId, ClickStatus::Stopped);
      return;
    }
  }
}

}  // namespace kestul
