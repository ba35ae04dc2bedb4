// Lookups per second on the shipped dictionaries (build/dist): exact
// pinyin, initials, a mistyped key ranked by edit distance, fuzzy pinyin, a
// wildcard pattern and a shape code. Run from build/bench/.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ShippedData.h"
#include "engine/CChnChars.h"
#include "tests/engine/EngineStart.h"

namespace {

void StartEngine(int method, int fuzzy) {
  static RecordingHost host;
  host.dataDir = bench::ShippedDataCopy() + "/";
  dictionary.CloseDictionary();
  typInputSettings s = enginetest::PinYinSettings();
  s.InputMthd = method;
  s.ExcludeLevel = 10000;
  s.candidateOrderChoice = 1;  // the shipped order: nothing is written
  s.fuzziPY = fuzzy;
  enginetest::StartEngine(host, s);
}

void RunLookups(benchmark::State& state, int method, int fuzzy, const char* keys) {
  StartEngine(method, fuzzy);
  AArray<typCharFatFmt, typCharFatFmt&> out;
  for (auto _ : state) {
    dictionary.m_strKeySeq = keys;
    benchmark::DoNotOptimize(dictionary.Lookup0(keys, out, 0, 0, 0));
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::string(keys) + " -> " + std::to_string(out.GetSize()) + " candidates");
}

}  // namespace

static void BM_PinYinWord(benchmark::State& s) { RunLookups(s, kPinYin, 0, "zhongguo"); }
static void BM_PinYinInitials(benchmark::State& s) { RunLookups(s, kPinYin, 0, "zg"); }
static void BM_PinYinSentence(benchmark::State& s) {
  RunLookups(s, kPinYin, 0, "womenshizhongguoren");
}
static void BM_PinYinTypo(benchmark::State& s) { RunLookups(s, kPinYin, 0, "zhonggup"); }
static void BM_FuzzyPinYin(benchmark::State& s) { RunLookups(s, kPinYin, 1, "zongguo"); }
static void BM_Wildcard(benchmark::State& s) { RunLookups(s, kPinYin, 0, "z?ng"); }
static void BM_ShapeCode(benchmark::State& s) { RunLookups(s, kXingMa, 0, "khklgyi"); }
BENCHMARK(BM_PinYinWord);
BENCHMARK(BM_PinYinInitials);
BENCHMARK(BM_PinYinSentence);
BENCHMARK(BM_PinYinTypo);
BENCHMARK(BM_FuzzyPinYin);
BENCHMARK(BM_Wildcard);
BENCHMARK(BM_ShapeCode);

BENCHMARK_MAIN();
