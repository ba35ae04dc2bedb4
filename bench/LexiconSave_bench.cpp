// Time to add 1000 new phrases to the shipped lexicon and save it after
// each one, as the engine does for every phrase the user builds (store,
// pinyin index, initials index and association maps, each through a
// temporary file, fsynced and renamed). Runs on a scratch copy of the
// distribution data (build/dist, or KVR_DIST), fresh for each iteration.
// Run from build/bench/.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/engine/EngineStart.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr int kPhrases = 1000;

// Three-character phrases of common characters (GBK rows 0xB0 and 0xB1),
// nearly all unknown to the shipped lexicon.
std::vector<std::string> Phrases() {
  std::vector<std::string> out;
  for (int a = 0; a < 12; ++a)
    for (int b = 0; b < 12; ++b)
      for (int c = 0; c < 12; ++c) {
        const char p[] = {static_cast<char>(0xB0),
                          static_cast<char>(0xA1 + a),
                          static_cast<char>(0xB1),
                          static_cast<char>(0xA1 + b),
                          static_cast<char>(0xB0),
                          static_cast<char>(0xC1 + c),
                          0};
        out.emplace_back(p);
      }
  return out;
}

void BM_AddAndSavePhrases(benchmark::State& state) {
  const char* env = std::getenv("KVR_DIST");
  const std::string dist = env ? env : kvrtest::DistDir();
  const std::vector<std::string> phrases = Phrases();
  RecordingHost host;
  int64_t added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    kvrtest::ScratchDir dir;
    if (!enginetest::CopyRegularFiles(dist, dir.Path())) {
      state.SkipWithError("cannot copy the distribution data");
      break;
    }
    host.dataDir = dir.Path() + "/";
    typInputSettings s = enginetest::PinYinSettings();
    s.candidateOrderChoice = 1;  // the shipped character order
    enginetest::StartEngine(host, s);
    state.ResumeTiming();
    int n = 0;
    for (size_t i = 0; i < phrases.size() && n < kPhrases; ++i) {
      std::string p = phrases[i];
      if (dictionary.AddToCiKu(p.data(), kPinYin, 0, -1) == 1) ++n;
    }
    added += n;
    state.PauseTiming();
    dictionary.m_arrNewCiQueue.RemoveAll();  // filing it is not measured
    dictionary.CloseDictionary();
    state.ResumeTiming();
  }
  state.counters["phrases"] = benchmark::Counter(static_cast<double>(added));
  state.counters["seconds_per_phrase"] = benchmark::Counter(
      static_cast<double>(added), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  SetEngineHost(nullptr);
}
BENCHMARK(BM_AddAndSavePhrases)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
