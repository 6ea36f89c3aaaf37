// The contact list rebuilt from Messenger's contacts (the refresh the monitor does on its
// timer 8500, which reads the whole collection again and applies the custom names), for lists
// of growing length. The figure per contact shows how the cost grows.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

#include "bench/bench_world.h"

namespace {

// Custom.ini with a custom name and a speed-dial number for every contact, or none.
void WriteCustomFile(bench::BenchWorld& b, int contacts) {
  std::ofstream out(b.world.exe_folder() / "Custom.ini", std::ios::binary | std::ios::trunc);
  out << "[CustomName]\r\n";
  for (int i = 0; i < contacts; ++i) out << bench::BenchWorld::Signin(i) << "=Custom " << i << "\r\n";
  out << "[SpeedDialNumber]\r\n";
  for (int i = 0; i < contacts; ++i) out << bench::BenchWorld::Signin(i) << "=" << (i % 1000) << "\r\n";
}

void Rebuild(benchmark::State& state, bool customFile) {
  const int contacts = static_cast<int>(state.range(0));
  auto bench = std::make_unique<bench::BenchWorld>();
  if (customFile) WriteCustomFile(*bench, contacts);
  bench->StartConnected(contacts);
  HWND main = *bench->world.TellbudMainWindow();
  for (auto _ : state) {
    PostMessageW(main, WM_TIMER, TIMER_CONTACT_REFRESH, 0);
    bench->world.Settle();
  }
  if (bench->Dialog()->m_list.GetItemCount() != contacts + 1) state.SkipWithError("the list is not whole");
  state.counters["per_contact"] =
      benchmark::Counter(static_cast<double>(contacts),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetComplexityN(contacts);
}

void BM_ContactListRebuild(benchmark::State& state) { Rebuild(state, false); }
BENCHMARK(BM_ContactListRebuild)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

// Every contact with a custom name and a speed-dial number: each row reads Custom.ini three times.
void BM_ContactListRebuildWithCustomFile(benchmark::State& state) { Rebuild(state, true); }
BENCHMARK(BM_ContactListRebuildWithCustomFile)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
