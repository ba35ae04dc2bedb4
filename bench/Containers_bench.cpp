// Containers: filling an AArray of candidate-sized records, the string map
// that deduplicates candidates (insert and look up by text), the window map
// every event consults, and one ini lookup (LoadStringChn reads the file at
// every call).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/AArray.h"
#include "base/FixedMaps.h"
#include "base/IniFile.h"

namespace {

struct Candidate {  // about the size of a candidate record
  int kind;
  int lens[4];
  char keys[33];
  uint16_t score;
};

void BM_AArrayAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Candidate c{};
  for (auto _ : state) {
    AArray<Candidate, const Candidate&> a;
    for (int i = 0; i < n; ++i) a.Add(c);
    benchmark::DoNotOptimize(&a[0]);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AArrayAdd)->Arg(64)->Arg(500)->Arg(2000);

void BM_StringMapDedup(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<std::string> keys;
  for (int i = 0; i < n; ++i) keys.push_back("0" + std::to_string(i * 7919) + "A");
  for (auto _ : state) {
    AMapStringToPtr m(16);
    for (const std::string& k : keys) {
      void* v;
      if (!m.Lookup(k.c_str(), v)) m.SetAt(k.c_str(), nullptr);
    }
    benchmark::DoNotOptimize(m.GetCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_StringMapDedup)->Arg(64)->Arg(1000);

void BM_WindowMapLookup(benchmark::State& state) {
  AMapDWordToPtr m(16);
  for (uint32_t w = 0; w < 200; ++w) m.SetAt(0x1e00000u + w * 3, &m);
  uint32_t w = 0;
  for (auto _ : state) {
    void* v = nullptr;
    benchmark::DoNotOptimize(m.Lookup(0x1e00000u + (w++ % 200) * 3, v));
  }
}
BENCHMARK(BM_WindowMapLookup);

void BM_IniLookup(benchmark::State& state) {
  char path[] = "/tmp/kvrbench.XXXXXX";
  int fd = mkstemp(path);
  std::string text = "[Config]\nUseBmpFont=0\n[UI_STR]\n";
  for (int i = 0; i < 400; ++i)
    text += "Caption number " + std::to_string(i) + "=\xB1\xEA\xCC\xE2\n";  // 标题
  if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    state.SkipWithError("write");
  close(fd);
  char out[256];
  for (auto _ : state)
    benchmark::DoNotOptimize(GetIniFileString(path, "UI_STR", "Caption number 399", out, 256, ""));
  unlink(path);
}
BENCHMARK(BM_IniLookup);

}  // namespace

BENCHMARK_MAIN();
