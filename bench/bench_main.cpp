// The entry point of every benchmark: the harness first, then the benchmark's body.
#include "bench.h"

int main() {
  kestul::bench::Bench harness;
  return kestul::bench::Run(harness);
}
