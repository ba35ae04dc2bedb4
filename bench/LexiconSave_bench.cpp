// Time to add 1000 new phrases to the shipped lexicon and save it after
// each one, as the engine does for every phrase the user builds (store,
// pinyin index, initials index and association maps, each through a
// temporary file, fsynced and renamed). Runs on a scratch copy of the
// distribution data (build/dist, or KVR_DIST), fresh for each iteration.
//
// Beside it, the floor: the same atomic rewrites with nothing else (the
// files each add replaced, by name and size, written again through
// temporary files, fsynced and renamed in another scratch folder), timed
// right after the adds so that both see the same load. raw_seconds_per_phrase
// is that floor; ratio is the add's time over it.
// Run from build/bench/.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "tests/engine/EngineStart.h"
#include "tests/support/TestPaths.h"

namespace {

// The system's file operations, noting the name and size of every file a
// save puts in place.
struct CountingOps : IFileOps {
  struct Rewrite {
    std::string name;
    size_t nBytes;
  };
  std::vector<Rewrite> rewrites;
  std::map<int, size_t> written;         // by descriptor
  std::map<std::string, size_t> staged;  // temporary path -> bytes
  IFileOps& sys = SystemFileOps();
  int Create(const char* path) override {
    const int fd = sys.Create(path);
    if (fd >= 0) {
      written[fd] = 0;
      paths[fd] = path;
    }
    return fd;
  }
  ssize_t Write(int fd, const void* data, size_t n) override {
    const ssize_t r = sys.Write(fd, data, n);
    if (r > 0) written[fd] += static_cast<size_t>(r);
    return r;
  }
  int Fchmod(int fd, mode_t mode) override { return sys.Fchmod(fd, mode); }
  int Fsync(int fd) override { return sys.Fsync(fd); }
  int Close(int fd) override {
    staged[paths[fd]] = written[fd];
    return sys.Close(fd);
  }
  int Rename(const char* from, const char* to) override {
    const std::string t(to);
    rewrites.push_back({t.substr(t.rfind('/') + 1), staged[from]});
    return sys.Rename(from, to);
  }
  int SyncDir(const char* dir) override { return sys.SyncDir(dir); }
  int Remove(const char* path) override { return sys.Remove(path); }

 private:
  std::map<int, std::string> paths;
};

// Seconds to replace, in a fresh folder, files of the names and sizes
// given, in order, each through AtomicFile as the lexicon save does.
double RawRewriteSeconds(const std::vector<CountingOps::Rewrite>& rewrites) {
  kvrtest::ScratchDir dir;
  size_t most = 0;
  for (const auto& r : rewrites) most = r.nBytes > most ? r.nBytes : most;
  const std::string content(most, 'x');
  for (const auto& r : rewrites)  // the targets exist, as the lexicon's do
    if (!WriteFileAtomic(dir.Path() + "/" + r.name, std::string_view(content.data(), r.nBytes)))
      return -1;
  const auto start = std::chrono::steady_clock::now();
  for (const auto& r : rewrites)
    if (!WriteFileAtomic(dir.Path() + "/" + r.name, std::string_view(content.data(), r.nBytes)))
      return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

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
  CountingOps ops;
  host.fileOps = &ops;
  int64_t added = 0;
  double raw = 0, adding = 0;
  size_t files = 0, cacheBytes = 0;
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
    ops.rewrites.clear();
    state.ResumeTiming();
    int n = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < phrases.size() && n < kPhrases; ++i) {
      std::string p = phrases[i];
      if (dictionary.AddToCiKu(p.data(), kPinYin, 0, -1) == 1) ++n;
    }
    adding += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    added += n;
    state.PauseTiming();
    const std::vector<CountingOps::Rewrite> rewrites = ops.rewrites;  // the adds' alone
    cacheBytes = dictionary.m_storeCache.MemoryBytes();
    dictionary.m_arrNewCiQueue.RemoveAll();  // filing it is not measured
    dictionary.CloseDictionary();
    const double seconds = RawRewriteSeconds(rewrites);
    if (seconds < 0) {
      state.SkipWithError("cannot write the raw rewrites");
      break;
    }
    raw += seconds;
    files += rewrites.size();
    state.ResumeTiming();
  }
  state.counters["phrases"] = benchmark::Counter(static_cast<double>(added));
  state.counters["seconds_per_phrase"] = benchmark::Counter(
      static_cast<double>(added), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["raw_seconds_per_phrase"] = benchmark::Counter(added > 0 ? raw / added : 0);
  state.counters["ratio"] = benchmark::Counter(raw > 0 ? adding / raw : 0);
  state.counters["store_cache_bytes"] = benchmark::Counter(static_cast<double>(cacheBytes));
  state.counters["files_per_phrase"] =
      benchmark::Counter(added > 0 ? static_cast<double>(files) / added : 0);
  SetEngineHost(nullptr);
}
BENCHMARK(BM_AddAndSavePhrases)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
