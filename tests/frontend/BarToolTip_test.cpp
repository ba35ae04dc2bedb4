#include <gtest/gtest.h>

#include "engine/InputSettings.h"
#include "framework/UIStrings.h"
#include "frontend/BarCells.h"
#include "frontend/internal/MainBarWindows.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

// The tool tips are English texts; under a Chinese UI a translation in
// [UI_STR] of the UI-text file takes their place, when it has one.
TEST(BarToolTip, TranslatedUnderAChineseUi) {
  kvrtest::ScratchDir dir;
  const std::string ini = dir.File("morvelui.ini");
  // 菜单 (GBK)
  kvrtest::WriteFileText(ini, "[UI_STR]\nMenu=\xB2\xCB\xB5\xA5\nExit=\n");
  gstrUIINI = ini.c_str();
  struct Case {
    int chnUI;
    int cell;
    const char* want;
  } const cases[] = {
      {0, kCellMenu, "Menu"},
      {1, kCellMenu, "\xB2\xCB\xB5\xA5"},
      {2, kCellMenu, "\xB2\xCB\xB5\xA5"},
      {1, kCellExit, "Exit"},                             // an empty translation is none
      {1, kCellKeymap, "Show KeyMap"},                    // no translation
      {1, kCellMode | kCellKeymap, "Change Input Mode"},  // the first bit
      {1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.chnUI << " " << c.cell);
    cfgInputManager.ChnUI = c.chnUI;
    EXPECT_STREQ(ToolTipText(c.cell), c.want);
  }
  gstrUIINI = "";
}

}  // namespace
