// The clicking thread: a start delay, then one click per interval until stopped or refused.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "clicker/click_status.h"
#include "clicker/input_adapter.h"
#include "common/unique_handle.h"

namespace kestul {

constexpr DWORD kClickStartDelayMs = 1000;

class ClickWorker {
 public:
  ClickWorker(HWND notifyWindow, std::unique_ptr<InputAdapter> adapter);
  ~ClickWorker();
  ClickWorker(const ClickWorker&) = delete;
  ClickWorker& operator=(const ClickWorker&) = delete;

  // False, changing nothing, while a run or a stop is in progress, or without its events. The run
  // takes the system's button swap as it is now, whatever `request.buttonsSwapped` says.
  bool Start(const ClickRequest& request, std::uint64_t runId);
  // Ends the run, if any, and returns after its thread has finished. Messages sent to the calling
  // thread run while it waits (see WaitServingSentMessages).
  void Stop();
  bool IsRunning() const;

 private:
  void Run(ClickRequest request, std::uint64_t runId);
  void Post(std::uint64_t runId, ClickStatus status) const;
  // The last thing a run does, at each of its ends.
  void Finish(std::uint64_t runId, ClickStatus status);

  HWND notifyWindow_;
  std::unique_ptr<InputAdapter> adapter_;
  UniqueKernelHandle stopEvent_;
  UniqueKernelHandle finishedEvent_;  // set by a run as its last step; what Stop waits for before the join
  std::thread thread_;
  std::mutex controlMutex_;
  std::mutex clickMutex_;
  std::atomic<bool> running_{false};
  bool stopping_ = false;  // under controlMutex_: from taking the thread in Stop until its join
};

}  // namespace kestul
