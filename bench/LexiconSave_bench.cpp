// Time to add 1000 new phrases to the shipped lexicon and save it after
// each one, as the engine does for every phrase the user builds (store,
// pinyin index, initials index and association maps, each through a
// temporary file, fsynced and renamed). Runs on a scratch copy of the
// distribution data (build/dist), fresh for each iteration. Run from
// build/bench/.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "tests/engine/RecordingHost.h"

namespace {

constexpr int kPhrases = 1000;

std::string DistDir() {
  const char* env = getenv("KVR_DIST");
  return env ? env : std::string(KVR_BENCH_DIST);
}

void CopyDir(const std::string& from, const std::string& to) {
  DIR* d = opendir(from.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) {
    if (e->d_type != DT_REG) continue;
    std::ifstream in(from + "/" + e->d_name, std::ios::binary);
    std::ofstream out(to + "/" + e->d_name, std::ios::binary);
    out << in.rdbuf();
  }
  if (d) closedir(d);
}

void RemoveDir(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) {
    if (e->d_type == DT_REG) unlink((dir + "/" + e->d_name).c_str());
  }
  if (d) closedir(d);
  rmdir(dir.c_str());
}

// Three-character phrases of common characters (GBK rows 0xB0 and 0xB1),
// nearly all unknown to the shipped lexicon.
std::vector<std::string> Phrases() {
  std::vector<std::string> out;
  for (int a = 0; a < 12 && out.size() < kPhrases * 2; ++a)
    for (int b = 0; b < 12; ++b)
      for (int c = 0; c < 12; ++c) {
        const char p[] = {static_cast<char>(0xB0), static_cast<char>(0xA1 + a),
                          static_cast<char>(0xB1), static_cast<char>(0xA1 + b),
                          static_cast<char>(0xB0), static_cast<char>(0xC1 + c), 0};
        out.emplace_back(p);
      }
  return out;
}

void BM_AddAndSavePhrases(benchmark::State& state) {
  RecordingHost host;
  SetEngineHost(&host);
  const std::vector<std::string> phrases = Phrases();
  int64_t added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    char tmpl[] = "/tmp/kvr_lexicon_bench_XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    CopyDir(DistDir(), dir);
    host.dataDir = dir + "/";
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMthd = kPinYin;
    cfgInputManager.StdPinYin = 1;
    cfgInputManager.useCizu = 1;
    cfgInputManager.NumberOfCandidatesShown = 10;
    cfgInputManager.ExcludeLevel = 10000;
    cfgInputManager.candidateOrderChoice = 1;
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
    state.ResumeTiming();
    int n = 0;
    for (size_t i = 0; i < phrases.size() && n < kPhrases; ++i) {
      std::string p = phrases[i];
      if (dictionary.AddToCiKu(p.data(), kPinYin, 0, -1) == 1) ++n;
    }
    added += n;
    state.PauseTiming();
    dictionary.m_arrNewCiQueue.RemoveAll();  // not part of the measure
    dictionary.CloseDictionary();
    RemoveDir(dir);
    state.ResumeTiming();
  }
  state.counters["phrases"] = benchmark::Counter(static_cast<double>(added), benchmark::Counter::kIsRate);
  SetEngineHost(nullptr);
}
BENCHMARK(BM_AddAndSavePhrases)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
