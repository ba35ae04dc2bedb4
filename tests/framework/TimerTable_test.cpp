// The 300 ms tick: tick counts, firing order, missed ticks, slot reuse and
// a full table, with the clock stepped by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/internal/TimerTable.h"

namespace {

struct Fired {
  int slot;
  uint32_t tick;
  unsigned long window;
};

std::vector<Fired> PumpAt(afc::TimerTable& t, uint32_t now, bool* ticked = nullptr,
                          bool* caretDue = nullptr) {
  std::vector<Fired> fired;
  bool ok = t.Pump(
      now,
      [&](int s, uint32_t tick, unsigned long w) {
        fired.push_back({s, tick, w});
      },
      caretDue);
  if (ticked) *ticked = ok;
  return fired;
}

}  // namespace

TEST(TimerTable, IntervalBecomesWholeTicksOfAtLeastOne) {
  struct Case {
    unsigned long ms;
    uint32_t ticks;
  } const cases[] = {{0, 1},   {200, 1}, {299, 1},  {300, 1},
                     {599, 1}, {600, 2}, {1000, 3}, {3000, 10}};
  for (const Case& c : cases) {
    afc::TimerTable t;
    const int slot = t.Create(c.ms, 7);
    SCOPED_TRACE(c.ms);
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(t.At(slot).ticks, c.ticks);
  }
}

TEST(TimerTable, FiresEveryNthTickLowerSlotFirst) {
  afc::TimerTable t;
  const int a = t.Create(300, 0xA);
  const int b = t.Create(600, 0xB);
  const int c = t.Create(3000, 0xC);
  std::vector<std::string> log;
  uint32_t now = 1000;
  for (int i = 0; i < 10; ++i) {
    now += 300;
    for (const Fired& f : PumpAt(t, now))
      log.push_back(std::to_string(f.tick) + ":" + std::to_string(f.slot));
  }
  const std::vector<std::string> want = {"1:1", "2:1", "2:2", "3:1", "4:1", "4:2",  "5:1",  "6:1",
                                         "6:2", "7:1", "8:1", "8:2", "9:1", "10:1", "10:2", "10:3"};
  EXPECT_EQ(log, want);
  (void)a;
  (void)b;
  (void)c;
}

TEST(TimerTable, AdvancesAtMostOncePer300msAndMakesNothingUp) {
  afc::TimerTable t;
  t.Create(300, 1);
  bool ticked = false;
  EXPECT_EQ(PumpAt(t, 299, &ticked).size(), 0u);
  EXPECT_FALSE(ticked);
  EXPECT_EQ(PumpAt(t, 300, &ticked).size(), 1u);
  EXPECT_TRUE(ticked);
  EXPECT_EQ(PumpAt(t, 599, &ticked).size(), 0u);
  EXPECT_FALSE(ticked);
  // A long handler: 10 s pass, yet only one tick follows.
  EXPECT_EQ(PumpAt(t, 10600, &ticked).size(), 1u);
  EXPECT_EQ(t.TickCount(), 2u);
}

TEST(TimerTable, ClockWrapKeepsTicking) {
  afc::TimerTable t;
  t.Create(300, 1);
  bool ticked = false;
  PumpAt(t, 0xFFFFFF00u, &ticked);
  EXPECT_TRUE(ticked);
  PumpAt(t, 0xFFFFFF00u + 100, &ticked);  // 100 ms later
  EXPECT_FALSE(ticked);
  PumpAt(t, 0x00000050u, &ticked);  // 336 ms later, across the wrap
  EXPECT_TRUE(ticked);
}

TEST(TimerTable, ReleasedSlotIsHandedOutAgainAndStopsFiring) {
  afc::TimerTable t;
  const int s = t.Create(300, 5);
  EXPECT_EQ(t.Release(s), 1);
  EXPECT_EQ(t.Release(s), 0);
  EXPECT_EQ(t.At(s).window, 5u);  // kept as a record
  EXPECT_TRUE(PumpAt(t, 300).empty());
  EXPECT_EQ(t.Create(600, 6), s);
  EXPECT_EQ(t.Release(-1), -1);
  EXPECT_EQ(t.Release(afc::TimerTable::kMaxTimers), -1);
}

TEST(TimerTable, FullTableAnswersNoSlot) {
  afc::TimerTable t;
  for (int i = 1; i < afc::TimerTable::kMaxTimers; ++i) ASSERT_EQ(t.Create(300, 1), i);
  EXPECT_EQ(t.Create(300, 1), afc::TimerTable::kNoTimerSlot);
  EXPECT_EQ(t.Release(afc::TimerTable::kNoTimerSlot), -1);
}

TEST(TimerTable, ReleaseWindowFreesItsSlotsAndTheCaret) {
  afc::TimerTable t;
  t.Create(300, 1);
  const int s2 = t.Create(300, 2);
  t.Create(900, 1);
  t.At(afc::TimerTable::kCaretSlot) = {2, 1};
  EXPECT_EQ(t.ReleaseWindow(1), 3);
  const std::vector<Fired> fired = PumpAt(t, 300);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].slot, s2);
}

TEST(TimerTable, CaretDueEverySecondTick) {
  afc::TimerTable t;
  t.At(afc::TimerTable::kCaretSlot) = {2, 9};
  std::vector<bool> due;
  for (uint32_t now = 300; now <= 1500; now += 300) {
    bool caret = false;
    PumpAt(t, now, nullptr, &caret);
    due.push_back(caret);
  }
  EXPECT_EQ(due, (std::vector<bool>{false, true, false, true, false}));
}
