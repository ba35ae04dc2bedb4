#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "frontend/BarKeys.h"
#include "frontend/CMdiApp.h"

namespace {

int g_resets = 0;
int ProcessNone(int, unsigned long, unsigned long) { return 0; }
void CountReset(int a, int b, int c) {
  if (a == 0 && b == 0 && c == 1) ++g_resets;
}
int Translate(unsigned long, unsigned long, int) { return 0; }
void Repeat(unsigned long) {}
int PyDlg(unsigned long, CPoint*) { return 1; }
void English(unsigned long) {}
void LoseActive() {}

TEST(IdleWork, WildcardInputLeftAloneIsReset) {
  SetBarEngineOps({ProcessNone, CountReset, Translate, Repeat, PyDlg, English, LoseActive});
  // Times in seconds, the clock of the engine's back copy.
  struct Case {
    const char* keys;
    const char* back;
    uint32_t stamp, now;
    int resets;
  } const cases[] = {
      {"??", "??", 1000, 1002, 1},      // 2 s untouched
      {"??", "??", 1000, 1001, 0},      // 1 s
      {"??", "??", 1000, 1000, 0},      // just typed
      {"?a", "?a", 1000, 9000, 0},      // a letter among them
      {"?3", "?3", 1000, 9000, 1},      // tone keys count
      {"??", "?", 1000, 9000, 0},       // the back copy is not the input
      {"", "", 1000, 1002, 1},          // empty counts as made of such keys
      {"", "", 1000, 1001, 0},          // but only after 2 s too
      {"??", "??", 0, 9000, 0},         // no time stamp
      {"??", "??", 0xFFFFFFFFu, 1, 1},  // across the clock's wrap
  };
  for (const auto& c : cases) {
    g_resets = 0;
    dictionary.m_strKeySeq = c.keys;
    dictionary.m_strKeySeqBak = c.back;
    dictionary.m_tmKeySeqBak = c.stamp;
    dictionary.m_tmCiKuChanged = 0;
    DoIdleWork(c.now);
    EXPECT_EQ(g_resets, c.resets) << c.keys << " " << c.back << " " << c.now;
  }
  SetBarEngineOps(EngineBarOps());
}

}  // namespace
