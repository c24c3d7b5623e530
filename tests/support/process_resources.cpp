#include "support/process_resources.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdint>

#include "common/unique_handle.h"

namespace kestul::test {

namespace {

DWORD CountThreads(DWORD pid) {
  const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  DWORD count = 0;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == pid) ++count;
  }
  return count;
}

// The value the next handle opened in `process` receives, or 0 if it cannot be found.
DWORD NextHandleSlot(HANDLE process) {
  const UniqueKernelHandle probe(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE remote = nullptr;
  if (!probe ||
      !DuplicateHandle(GetCurrentProcess(), probe.get(), process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return 0;
  }
  // Bring it back to close it here: Wine does not close a source handle without a target.
  HANDLE back = nullptr;
  if (DuplicateHandle(process, remote, GetCurrentProcess(), &back, 0, FALSE,
                      DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS)) {
    CloseHandle(back);
  }
  return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(remote));
}

}  // namespace

ProcessResources ReadResources(HANDLE process, DWORD pid) {
  ProcessResources r;
  if (!GetProcessHandleCount(process, &r.handles) || r.handles == 0) {
    r.handlesCounted = false;
    r.handles = NextHandleSlot(process);
  }
  r.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  r.user = GetGuiResources(process, GR_USEROBJECTS);
  r.threads = CountThreads(pid);
  return r;
}

std::string Describe(const ProcessResources& r) {
  return (r.handlesCounted ? "handles " : "next handle slot ") + std::to_string(r.handles) + ", GDI " +
         std::to_string(r.gdi) + ", USER " + std::to_string(r.user) + ", threads " +
         std::to_string(r.threads);
}

bool NoGrowth(const ProcessResources& baseline, const ProcessResources& now) {
  // Windows 10 and later give every process loader and thread-pool threads that come and go (the
  // parallel loader's end after about 30 s idle); a leaked thread per run grows without bound.
  constexpr DWORD kThreadSlack = 4;
  // Windows also counts the handles those threads and their pool hold (the thread's own, its waits
  // and completion objects), which Wine never has: as many threads' worth of handles, a few each,
  // on top of the one or two of the system's own bookkeeping.
  constexpr DWORD kHandlesPerPoolThread = 3;
  constexpr DWORD kSlotStep = 4;  // handle values go up in fours
  const DWORD handleSlack = now.handlesCounted ? 2 + kThreadSlack * kHandlesPerPoolThread : 2 * kSlotStep;
  return now.handlesCounted == baseline.handlesCounted && now.handles <= baseline.handles + handleSlack &&
         now.gdi <= baseline.gdi && now.user <= baseline.user &&
         now.threads <= baseline.threads + kThreadSlack;
}

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters))) {
    return {-1, -1};
  }
  // Wine leaves PrivateUsage at zero; PagefileUsage is the same commit charge on Windows.
  const SIZE_T commit = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  return {static_cast<double>(commit) / 1024.0, static_cast<double>(counters.WorkingSetSize) / 1024.0};
}

}  // namespace kestul::test
