// The Messenger watch tick with many long conversations: its cost when nothing new was written,
// next to the floor that get_History's copy sets (reading every history once), and the tick that
// finds new text, whose cost follows the length of that text.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_world.h"

namespace {

const int kConversations = 100;
const size_t kHistoryChars = 100 * 1000;  // 100 conversations of 100,000 characters: 10 MB of text

// Chat text that carries no status phrase.
std::string ChatText(size_t length) {
  static const std::string kWords = "see you at the station at eight, bring the maps and the big umbrella. ";
  std::string text;
  text.reserve(length);
  while (text.size() < length) text += kWords;
  text.resize(length);
  return text;
}

// Tellbud watching 100 conversations whose histories hold 10 MB of text, all of it scanned once.
struct LongConversations {
  bench::BenchWorld bench;
  bench::ClientProgram client{bench.world.desktop()};
  std::vector<IMessengerConversationWnd*> windows;  // the client's objects for the conversations
  double firstTickSeconds = 0;

  LongConversations() {
    bench.StartConnected(kConversations);
    const std::string text = ChatText(kHistoryChars);
    for (int i = 0; i < kConversations; ++i) bench.world.messenger().Chat(bench::BenchWorld::Signin(i), text);
    // The first tick scans all of the new text.
    firstTickSeconds = bench::Seconds([&] { bench.world.Wait(2000); });
    client.Do([&] {
      IMessenger* messenger = nullptr;
      CoCreateInstance(CLSID_Messenger, nullptr, CLSCTX_INPROC_SERVER, IID_IMessenger,
                       reinterpret_cast<void**>(&messenger));
      for (int i = 0; i < kConversations; ++i) {
        std::string signin = bench::BenchWorld::Signin(i);
        VARIANT contact;
        VariantInit(&contact);
        contact.vt = VT_BSTR;
        contact.bstrVal = SysAllocString(std::u16string(signin.begin(), signin.end()).c_str());
        IDispatch* window = nullptr;
        messenger->InstantMessage(contact, &window);
        VariantClear(&contact);
        IMessengerConversationWnd* conversation = nullptr;
        window->QueryInterface(IID_IMessengerConversationWnd, reinterpret_cast<void**>(&conversation));
        window->Release();
        windows.push_back(conversation);
      }
      messenger->Release();
    });
  }
  ~LongConversations() {
    client.Do([&] {
      for (IMessengerConversationWnd* w : windows) w->Release();
    });
  }
  size_t Watched() { return bench.Dialog()->m_lstConversations.size(); }
};

LongConversations& Shared() {
  static auto* shared = new LongConversations();  // kept to the end of the run
  return *shared;
}

void BM_WatchTickNothingNew(benchmark::State& state) {
  LongConversations& s = Shared();
  if (s.Watched() != kConversations) state.SkipWithError("the conversations are not all watched");
  for (auto _ : state) s.bench.world.Wait(2000);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kConversations * kHistoryChars * 2);
  state.counters["first_tick_ms"] = s.firstTickSeconds * 1000;
}
BENCHMARK(BM_WatchTickNothingNew)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: every history read once through get_History, as a program must to see new text.
void BM_ReadEveryHistoryOnce(benchmark::State& state) {
  LongConversations& s = Shared();
  for (auto _ : state) {
    s.client.Do([&] {
      for (IMessengerConversationWnd* w : s.windows) {
        BSTR history = nullptr;
        w->get_History(&history);
        benchmark::DoNotOptimize(history);
        SysFreeString(history);
      }
    });
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kConversations * kHistoryChars * 2);
}
BENCHMARK(BM_ReadEveryHistoryOnce)->Unit(benchmark::kMillisecond)->UseRealTime();

// A tick that finds `n` characters of new text in one conversation (opened for the purpose and
// closed again), beside 100 conversations with nothing new.
void BM_WatchTickWithNewText(benchmark::State& state) {
  LongConversations& s = Shared();
  const size_t n = static_cast<size_t>(state.range(0));
  const std::string text = ChatText(n);
  s.bench.world.messenger().AddContact("newtext@example.com", "New Text", 2);
  for (auto _ : state) {
    state.PauseTiming();
    s.bench.world.messenger().Chat("newtext@example.com", text);
    state.ResumeTiming();
    s.bench.world.Wait(2000);
    state.PauseTiming();
    s.bench.world.messenger().UserCloses("newtext@example.com");
    state.ResumeTiming();
  }
  s.bench.world.messenger().RemoveContact("newtext@example.com");
  state.SetComplexityN(static_cast<int64_t>(n));
}
BENCHMARK(BM_WatchTickWithNewText)
    ->RangeMultiplier(4)
    ->Range(64 * 1024, 4 * 1024 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

}  // namespace
