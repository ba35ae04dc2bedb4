// Lookups per second on the shipped dictionaries (build/dist): exact
// pinyin, initials, a mistyped key ranked by edit distance, fuzzy pinyin, a
// wildcard pattern and a shape code. Run from build/bench/.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "tests/engine/RecordingHost.h"

namespace {

std::string DistDir() {
  const char* env = getenv("KVR_DIST");
  return env ? env : std::string(KVR_BENCH_DIST);
}

// A private copy of the shipped data files: fuzzy pinyin writes its lists
// beside them.
std::string DataCopy() {
  static std::string dir;
  if (!dir.empty()) return dir;
  char tmpl[] = "/tmp/kvr_lookup_bench_XXXXXX";
  dir = mkdtemp(tmpl);
  const std::string from = DistDir();
  DIR* d = opendir(from.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) {
    if (e->d_type != DT_REG) continue;
    std::ifstream in(from + "/" + e->d_name, std::ios::binary);
    std::ofstream out(dir + "/" + e->d_name, std::ios::binary);
    out << in.rdbuf();
  }
  if (d) closedir(d);
  return dir;
}

void StartEngine(int method, int fuzzy) {
  static RecordingHost host;
  host.dataDir = DataCopy() + "/";
  SetEngineHost(&host);
  dictionary.CloseDictionary();
  cfgInputManager = typInputSettings{};
  cfgInputManager.InputMthd = method;
  cfgInputManager.StdPinYin = 1;
  cfgInputManager.useCizu = 1;
  cfgInputManager.NumberOfCandidatesShown = 10;
  cfgInputManager.ExcludeLevel = 10000;
  cfgInputManager.candidateOrderChoice = 1;  // the shipped order: nothing is written
  cfgInputManager.fuzziPY = fuzzy;
  cfgInputManager.zhz_fuzzy = cfgInputManager.chc_fuzzy = cfgInputManager.shs_fuzzy = 1;
  gbInitDone = 0;
  dictionary.InitFirst();
  dictionary.InitDictionary();
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
static void BM_PinYinSentence(benchmark::State& s) { RunLookups(s, kPinYin, 0, "womenshizhongguoren"); }
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
