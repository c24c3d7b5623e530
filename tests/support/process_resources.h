// What a process holds and uses, for checking that repeated work leaks nothing and for measuring
// what the program costs.
#pragma once

#include <windows.h>

#include <string>

namespace kestul::test {

struct ProcessResources {
  // Kernel handles: their count, or where the system cannot count them (Wine), the value a new
  // handle in that process gets. Handles take the lowest free slot there, so a leak raises it.
  DWORD handles = 0;
  bool handlesCounted = true;
  DWORD gdi = 0;   // GDI objects (0 where the system does not count them)
  DWORD user = 0;  // USER objects (likewise)
  DWORD threads = 0;
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_DUP_HANDLE; `pid` names the same process.
ProcessResources ReadResources(HANDLE process, DWORD pid);
std::string Describe(const ProcessResources& r);
// True when `now` holds no more than `baseline`: no more GDI or USER objects, and no more threads
// and handles than the system's own threads, which come and go, and its bookkeeping account for.
bool NoGrowth(const ProcessResources& baseline, const ProcessResources& now);

// CPU time (kernel and user) the process has used, in milliseconds.
double CpuMs(HANDLE process);
struct Memory {
  double privateKiB = 0;     // commit charge
  double workingSetKiB = 0;  // resident set
};
Memory MemoryOf(HANDLE process);

}  // namespace kestul::test
