// The search of new history text for the language file's phrases, alone: linear in the text,
// also for text made to look like the start of a phrase again and again.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "monitor/phrase_recency.h"

namespace {

CPhrase P(const char16_t* s) { return CPhrase(reinterpret_cast<const WCHAR*>(s)); }

// The English language file's phrases.
const std::vector<CPhrase>& Phrases() {
  static const std::vector<CPhrase> phrases = {P(u"would like to have a voice conversation with you"),
                                               P(u"You are now in a voice conversation"),
                                               P(u"The voice conversation has ended"),
                                               P(u"You have declined the invitation"),
                                               P(u"has declined your invitation"),
                                               P(u"has cancelled the invitation")};
  return phrases;
}

CPhrase Text(size_t length, const char16_t* pattern) {
  CPhrase unit = P(pattern), text;
  text.reserve(length);
  while (text.size() < length) text += unit;
  text.resize(length);
  return text;
}

void Scan(benchmark::State& state, const char16_t* pattern) {
  const CPhrase text = Text(static_cast<size_t>(state.range(0)), pattern);
  for (auto _ : state) benchmark::DoNotOptimize(FindRecency(text.data(), text.size(), Phrases()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) * 2);
  state.SetComplexityN(state.range(0));
}

void BM_ScanChatText(benchmark::State& state) {
  Scan(state, u"Bob says: you are now in a voice with you, has declined the ... would like to have a v\r\n");
}
BENCHMARK(BM_ScanChatText)->RangeMultiplier(4)->Range(16 * 1024, 16 * 1024 * 1024)->Complexity(benchmark::oN);

// Every position starts a partial match of several phrases.
void BM_ScanNearMisses(benchmark::State& state) { Scan(state, u"You are now in a voice conversatio"); }
BENCHMARK(BM_ScanNearMisses)
    ->RangeMultiplier(4)
    ->Range(16 * 1024, 16 * 1024 * 1024)
    ->Complexity(benchmark::oN);

}  // namespace
