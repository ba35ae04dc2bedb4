// CString: appends one byte and one word at a time, copies (a count bump),
// a write after a copy, and Format.
#include <benchmark/benchmark.h>

#include "base/CString.h"

static void BM_AppendChar(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CString s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    benchmark::DoNotOptimize(s.GetString());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendChar)->Arg(16)->Arg(256)->Arg(4096);

static void BM_AppendWord(benchmark::State& state) {
  for (auto _ : state) {
    CString s;
    for (int i = 0; i < 64; ++i) s += "pinyin ";
    benchmark::DoNotOptimize(s.GetString());
  }
}
BENCHMARK(BM_AppendWord);

static void BM_CopyShared(benchmark::State& state) {
  const CString src("a candidate text of some length");
  for (auto _ : state) {
    CString copy(src);
    benchmark::DoNotOptimize(copy.GetString());
  }
}
BENCHMARK(BM_CopyShared);

static void BM_CopyThenWrite(benchmark::State& state) {
  const CString src("a candidate text of some length");
  for (auto _ : state) {
    CString copy(src);
    copy.SetAt(0, 'A');
    benchmark::DoNotOptimize(copy.GetString());
  }
}
BENCHMARK(BM_CopyThenWrite);

static void BM_Format(benchmark::State& state) {
  CString s;
  const CString name("gbkflat.dic");
  for (auto _ : state) {
    s.Format("%s%s.ini: %d entries, %5.2f%% (%!)", "/opt/kvr/", "Jux", 1234, 56.78, &name);
    benchmark::DoNotOptimize(s.GetString());
  }
}
BENCHMARK(BM_Format);

BENCHMARK_MAIN();
