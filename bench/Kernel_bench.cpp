// The kernel's per-tick and per-line costs: a timer pump over the whole
// table (every loop turn may run one) and matching a ps line.
#include <benchmark/benchmark.h>

#include "framework/internal/PsListing.h"
#include "framework/internal/TimerTable.h"

static void BM_TimerPump(benchmark::State& state) {
  afc::TimerTable table;
  for (int i = 0; i < state.range(0); ++i) table.Create(300u * static_cast<unsigned>(1 + i % 7), 1);
  uint32_t now = 0;
  long fired = 0;
  for (auto _ : state) {
    now += 300;
    table.Pump(
        now, [&](int, uint32_t, unsigned long) { ++fired; }, nullptr);
  }
  benchmark::DoNotOptimize(fired);
}
BENCHMARK(BM_TimerPump)->Arg(0)->Arg(16)->Arg(1023);

static void BM_PsLineMatch(benchmark::State& state) {
  const char* line = " 4242 pts/3    S      0:00 /usr/bin/Kivra/kvr --some --arguments here\n";
  for (auto _ : state) {
    benchmark::DoNotOptimize(afc::PsLineNamesApp(line, "fcitx"));
    benchmark::DoNotOptimize(afc::PsLineIsOlderCopy(line, "kvr", "/usr/bin/Kivra/", 5000));
  }
}
BENCHMARK(BM_PsLineMatch);

BENCHMARK_MAIN();
