// Engine key messages per second on the shipped dictionaries (build/dist):
// key presses handed to the engine as the main bar hands them over
// (tests/engine/KeyFeed.h), through lookups, the candidate list and the
// commit, with the tests' recording host in place of the panes and the XIM
// server (so drawing is not counted). Each iteration types one sequence
// from idle input back to idle input; the items are the key messages. Run
// from build/bench/; KVR_DIST names another distribution directory.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bench/ShippedData.h"
#include "engine/CChnChars.h"
#include "framework/KeySyms.h"
#include "tests/engine/EngineStart.h"
#include "tests/engine/KeyFeed.h"

namespace {

RecordingHost& Host() {
  static RecordingHost host;
  return host;
}

void StartEngine(int inputMode) {
  RecordingHost& host = Host();
  host.dataDir = bench::ShippedDataCopy() + "/";
  host.focus = 77;
  dictionary.CloseDictionary();
  typInputSettings s = enginetest::PinYinSettings();
  s.candidateOrderChoice = 1;  // the shipped order: nothing is written
  enginetest::StartEngine(host, s);
  cfgInputManager.InputMode = inputMode;
  dictionary.ResetChnInput(1, 0, 1);
  memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
  dictionary.m_fwdEvent.connect_id = 1;
  dictionary.m_fwdEvent.icid = 2;
  host.calls.clear();
}

// Types keys per iteration: letters, digits and ' ' as themselves, '<' as
// BackSpace, '!' as Escape. Every iteration must leave the input idle (no
// keys typed) for the next. The label tells what the last iteration did:
// its commits and the keys the engine did not take (the front end hands
// them back to the client).
void RunTyping(benchmark::State& state, int inputMode, const char* keys) {
  StartEngine(inputMode);
  RecordingHost& host = Host();
  int64_t messages = 0;
  int handedBack = 0;
  for (auto _ : state) {
    host.calls.clear();
    handedBack = 0;
    for (const char* p = keys; *p; ++p) {
      const unsigned char c = static_cast<unsigned char>(*p);
      int taken;
      if (c == '<') {
        taken = keyfeed::Press(keysym::kBackSpace, keyfeed::kNone, "");
      } else if (c == '!') {
        taken = keyfeed::Press(keysym::kEscape, keyfeed::kNone, "");
      } else {
        taken = keyfeed::Press(isalpha(c) ? toupper(c) : c);
      }
      handedBack += taken ? 0 : 1;
      ++messages;
    }
    if (!dictionary.m_strKeySeq.IsEmpty()) {
      state.SkipWithError("the keys did not leave the input idle");
      break;
    }
  }
  state.SetItemsProcessed(messages);
  state.SetLabel(std::string("\"") + keys + "\": " + std::to_string(host.Calls("commit ").size()) +
                 " commit(s), " + std::to_string(handedBack) + " key(s) handed back");
  dictionary.ResetChnInput(1, 0, 1);
}

}  // namespace

// A word and Space: eight lookups, then the commit.
static void BM_WordAndSpace(benchmark::State& s) { RunTyping(s, kChineseInput, "zhongguo "); }
// A long phrase and Space: the lookups grow with the keys.
static void BM_PhraseAndSpace(benchmark::State& s) {
  RunTyping(s, kChineseInput, "zhonghuarenmingongheguo ");
}
// A sentence's keys, then Escape: segment lookups on a long key sequence.
static void BM_SentenceAndEscape(benchmark::State& s) {
  RunTyping(s, kChineseInput, "womenshizhongguoren!");
}
// Typing and erasing: each BackSpace looks the shorter keys up again.
static void BM_TypeAndErase(benchmark::State& s) {
  RunTyping(s, kChineseInput, "zhongguo<<<<<<<<");
}
// A syllable and a digit picking the second candidate.
static void BM_WordAndPick(benchmark::State& s) { RunTyping(s, kChineseInput, "shi2"); }
// English input: every key is handed back.
static void BM_EnglishKeys(benchmark::State& s) { RunTyping(s, kEnglishInput, "hello world"); }
BENCHMARK(BM_WordAndSpace);
BENCHMARK(BM_PhraseAndSpace);
BENCHMARK(BM_SentenceAndEscape);
BENCHMARK(BM_TypeAndErase);
BENCHMARK(BM_WordAndPick);
BENCHMARK(BM_EnglishKeys);

BENCHMARK_MAIN();
