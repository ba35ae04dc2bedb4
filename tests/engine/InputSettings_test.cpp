#include <gtest/gtest.h>

#include <cstring>

#include "engine/InputSettings.h"

TEST(InputSettings, SlotsKeepTheirOrderAndProfileKeys) {
  struct Case {
    int slot;
    int32_t typInputSettings::*member;
    const char* name;
  } const cases[] = {
      {0, &typInputSettings::InputMode, "InputMode"},
      {1, &typInputSettings::InputMthd, "InputMthd"},
      {5, &typInputSettings::candidateOrderChoice, "candidateOrderChoice"},
      {6, &typInputSettings::NumberOfCandidatesShown, "NumberOfCandidatesShown"},
      {9, &typInputSettings::reserved9, ""},
      {13, &typInputSettings::useZiCiForecast, "useZiCiForecast"},
      {22, &typInputSettings::TipNum, "TipNum"},
      {26, &typInputSettings::fuzziPY, "fuzziPY"},
      {30, &typInputSettings::lr_fuzzy, "lr_fuzzy"},
      {33, &typInputSettings::PromptParallelSel, "PromptParallelSel"},
  };
  typInputSettings cfg{};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    cfg.*c.member = 1000 + c.slot;
    EXPECT_EQ(cfg.Slot(c.slot), 1000 + c.slot);
    EXPECT_STREQ(typInputSettings::SlotName(c.slot), c.name);
    // The slot is the 32-bit word at slot * 4: other subsystems index it so.
    int32_t word;
    memcpy(&word, reinterpret_cast<const char*>(&cfg) + c.slot * 4, 4);
    EXPECT_EQ(word, 1000 + c.slot);
  }
}

TEST(InputSettings, EverySlotHasADistinctName) {
  for (int a = 0; a < typInputSettings::kSlotCount; ++a)
    for (int b = a + 1; b < typInputSettings::kSlotCount; ++b) {
      if (a == 9 || b == 9) continue;
      EXPECT_STRNE(typInputSettings::SlotName(a), typInputSettings::SlotName(b)) << a << "," << b;
    }
  EXPECT_STREQ(typInputSettings::SlotName(-1), "");
  EXPECT_STREQ(typInputSettings::SlotName(34), "");
}

TEST(InputSettings, PageSizeIsClampedToTheDialogRange) {
  struct Case {
    int32_t stored, used;
  } const cases[] = {{0, 2}, {-7, 2}, {1, 2}, {2, 2}, {7, 7}, {10, 10}, {11, 10}, {1 << 30, 10}};
  for (const Case& c : cases) {
    typInputSettings cfg{};
    cfg.NumberOfCandidatesShown = c.stored;
    EXPECT_EQ(ClampedCandidatesShown(cfg), c.used) << c.stored;
  }
}
