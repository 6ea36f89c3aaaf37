// The memory each call costs over many calls: a call rings, is answered on the handset, and is
// ended from the handset, which confirms Messenger's question on a thread of its own. Prints, for
// every block of calls, the heap in use, what a call added on average, and the records the
// simulated desktop and the world keep (thread records, transcript lines `expect` may still see).
// Nothing may grow from block to block.
//
//   tellbud_call_memory [CALLS]     (default 2000, in blocks of 250)
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_world.h"

namespace {

const int kContacts = 10;
const int kBlock = 250;

double HeapInUseBytes() {
  malloc_trim(0);
  return static_cast<double>(mallinfo2().uordblks);
}

void Call(bench::BenchWorld& b, int n) {
  const std::string caller = bench::BenchWorld::Signin((n % 3) * 3);  // online contacts
  b.Run("call " + caller);
  b.Run("wait 2s");
  b.Run("handset lift");
  b.Run("wait 5s");
  b.Run("handset down");
  b.Run("wait 5s");
}

}  // namespace

int main(int argc, char** argv) {
  int calls = argc > 1 ? std::atoi(argv[1]) : 2000;
  if (calls < kBlock) calls = kBlock;
  bench::BenchWorld b;
  b.StartConnected(kContacts);
  Call(b, 0);  // the first call creates what every call reuses
  std::printf("%8s %12s %14s %14s %16s\n", "calls", "heap KiB", "bytes / call", "thread records",
              "transcript kept");
  double before = HeapInUseBytes();
  for (int done = 0; done < calls;) {
    for (int i = 0; i < kBlock; ++i) Call(b, ++done);
    double heap = HeapInUseBytes();
    std::printf("%8d %12.1f %14.0f %14zu %16zu\n", done, heap / 1024.0, (heap - before) / kBlock,
                b.world.desktop().ThreadRecordCount(), b.world.transcript().lines().size());
    std::fflush(stdout);
    before = heap;
  }
  return 0;
}
