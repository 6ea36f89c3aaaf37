// Tellbud's memory over hours of virtual time: 1,000 contacts, 100 open conversations, and every
// virtual minute a chat line, a contact changing status and, every five minutes, a call that
// rings, is answered and ends. Prints the resident set and the heap in use at the end of each
// hour; neither may grow from hour to hour.
//
//   tellbud_memory_run [HOURS]     (default 4; the first hour includes the start)
#include <malloc.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sim/files.h>

#include "bench/bench_world.h"

namespace {

const int kContacts = 1000;
const int kConversations = 100;
const double kMiB = 1024.0 * 1024.0;

double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0 / kMiB;
}

double HeapInUseMiB() { return static_cast<double>(mallinfo2().uordblks) / kMiB; }

// What the world keeps that grows by design, in MiB, estimated from the sizes of its strings:
// Messenger's conversation texts (they only grow), the transcript's lines, and the simulated
// desktop's record of every file a process opened (Tellbud opens its language file whenever a
// conversation has new text, and Custom.ini whenever a contact changes).
struct WorldRecords {
  double histories = 0;
  double transcript = 0;
  double openedFiles = 0;
  double Total() const { return histories + transcript + openedFiles; }
};

// The storage a growing std::vector or std::basic_string holds for `n` elements: libstdc++
// doubles it as it grows.
size_t Grown(size_t n) { return n < 2 ? n : std::bit_ceil(n); }

WorldRecords MeasureWorld(bench::BenchWorld& b) {
  WorldRecords r;
  size_t bytes = 0;
  for (const auto& c : b.world.messenger().Conversations())
    bytes += Grown(c.history.size() + 1) * sizeof(WCHAR);
  r.histories = static_cast<double>(bytes) / kMiB;
  const auto& lines = b.world.transcript().lines();
  bytes = Grown(lines.size()) * sizeof(std::string);
  for (const std::string& line : lines) bytes += line.capacity() + 1;
  r.transcript = static_cast<double>(bytes) / kMiB;
  bytes = 0;
  for (DWORD pid : b.world.RunningTellbuds()) {
    auto opened = sim::OpenedFiles(pid);
    bytes += Grown(opened.size()) * sizeof(sim::FileOpenRecord);
    for (const sim::FileOpenRecord& f : opened) bytes += (f.path.size() + 1) * sizeof(char16_t);
  }
  r.openedFiles = static_cast<double>(bytes) / kMiB;
  return r;
}

void Minute(bench::BenchWorld& b, long minute) {
  const std::string talker = bench::BenchWorld::Signin(static_cast<int>(minute % kConversations));
  b.world.messenger().Chat(talker, "minute " + std::to_string(minute) + ": nothing to report, all is well");
  const std::string mover = bench::BenchWorld::Signin(static_cast<int>((minute * 37) % kContacts));
  b.console.ExecuteLine("contact status " + mover + (minute % 2 ? " online" : " offline"));
  if (minute % 5 == 0) {
    const std::string caller = bench::BenchWorld::Signin(static_cast<int>((minute / 5) % kConversations));
    b.Run("call " + caller);
    b.Run("wait 2s");
    b.Run("handset lift");
    b.Run("wait 10s");
    b.Run("hangup " + caller);
    b.Run("wait 2s");
    b.Run("handset down");
    b.Run("wait 46s");
  } else {
    b.Run("wait 60s");
  }
}

}  // namespace

int main(int argc, char** argv) {
  int hours = argc > 1 ? std::atoi(argv[1]) : 4;
  if (hours < 1) hours = 1;
  bench::BenchWorld b;
  b.StartConnected(kContacts);
  for (int i = 0; i < kConversations; ++i) b.world.messenger().Chat(bench::BenchWorld::Signin(i), "hello");
  std::printf("MiB; histories, transcript and file log are the world's own records\n");
  std::printf("%-6s %9s %9s | %10s %10s %10s | %12s %8s %6s\n", "hour", "resident", "heap", "histories",
              "transcript", "file log", "heap - these", "watched", "state");
  auto report = [&](const std::string& when) {
    WorldRecords w = MeasureWorld(b);
    double heap = HeapInUseMiB();
    std::printf("%-6s %9.2f %9.2f | %10.3f %10.3f %10.3f | %12.2f %8zu %6d\n", when.c_str(), ResidentMiB(),
                heap, w.histories, w.transcript, w.openedFiles, heap - w.Total(),
                b.Dialog()->m_lstConversations.size(), b.Dialog()->m_nCallState);
    std::fflush(stdout);
  };
  report("start");
  long minute = 0;
  for (int hour = 1; hour <= hours; ++hour) {
    for (int m = 0; m < 60; ++m) Minute(b, minute++);
    malloc_trim(0);
    report(std::to_string(hour));
  }
  return 0;
}
