// The popup menu's model without a display: binding to the compiled cells,
// measuring, key navigation, pointer tracking and the result byte. With no
// font sets every text measures 0 wide, so widths here come from the
// margins alone; AMenu_xtest measures real texts.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/AMenu.h"
#include "controls/ChnUIReader.h"
#include "controls/CtrlConsts.h"
#include "framework/CWinApp.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "tests/controls/RcTestUtil.h"

namespace {

class TestApp : public CWinApp {};

// Menu 5: popup 0 "Edit" with an item, a separator, a disabled item (by
// script state later), two items and a trailing separator; popup 1 holds
// separators only.
const char* const kScript =
    "5 MENU DISCARDABLE\n"
    "BEGIN\n"
    "  POPUP \"Edit\"\n"
    "  BEGIN\n"
    "    MENUITEM \"Alpha\\tCtrl+A\", 101\n"
    "    MENUITEM SEPARATOR\n"
    "    MENUITEM \"Beta\", 102\n"
    "    MENUITEM \"Gamma\\tTab\\tG\", 103\n"
    "    MENUITEM \"Delta  \", 104\n"
    "    MENUITEM SEPARATOR\n"
    "  END\n"
    "  POPUP \"Empty\"\n"
    "  BEGIN\n"
    "    MENUITEM SEPARATOR\n"
    "    MENUITEM SEPARATOR\n"
    "  END\n"
    "END\n";

// Metrics at the application's default font height (16 without a screen,
// raised to 20 for menus).
constexpr int kFontH = 20, kRowH = 29, kSepH = 14, kTextX = 43;

class MenuModel : public testing::Test {
 protected:
  void SetUp() override {
    auto rc = std::make_unique<CRcCmplr>();
    rc->EchoReports(false);
    ASSERT_EQ(rctest::Compile(*rc, m_dir, kScript), 1);
    m_app.SetResourceCompiler(std::move(rc));
  }
  void TearDown() override { SetChnUIReader(nullptr); }

  // Submenu 0 with row 2 ("Beta") disabled.
  void BindEdit(AMenu& menu) {
    ASSERT_EQ(menu.GetResMenu(5, 0), 1);
    menu.EnableItemByIndex(2, 1);
  }

  kvrtest::ScratchDir m_dir;
  TestApp m_app;
};

TEST_F(MenuModel, BindsTheCompiledCells) {
  AMenu menu;
  EXPECT_EQ(menu.GetResMenu(5, -1), 1);
  EXPECT_EQ(menu.GetItemCount(), 2);
  EXPECT_EQ(menu.GetResMenu(5, 2), 0);  // no third popup: unchanged
  EXPECT_EQ(menu.GetItemCount(), 2);
  EXPECT_EQ(menu.GetResMenu(77, -1), 0);
  EXPECT_EQ(menu.GetResMenu(CString("5"), 0), 1);
  EXPECT_EQ(menu.GetItemCount(), 6);
  EXPECT_EQ(menu.GetItemID(0), 101);
  EXPECT_EQ(menu.GetItemID(6), -1);
  EXPECT_EQ(menu.GetItemID(-1), -1);

  AMenu bar;
  ASSERT_EQ(bar.GetResMenu(5, -1), 1);
  std::unique_ptr<AMenu> sub(bar.GetNthSubMenu(0));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(bar.GetNthSubMenu(2), nullptr);
  EXPECT_EQ(bar.GetNthSubMenu(-1), nullptr);
  // Checks and enables set through one menu are seen through the other.
  EXPECT_EQ(sub->SetItemCheckByID(103, 1), 1);
  EXPECT_EQ(sub->EnableItemByID(102, 0), 1);
  EXPECT_EQ(sub->SetItemCheckByID(999, 1), 0);
  EXPECT_EQ(sub->EnableItemByIndex(6, 0), 0);
  EXPECT_TRUE(menu.CanChooseRow(0));
  EXPECT_FALSE(menu.CanChooseRow(1));  // separator
  EXPECT_FALSE(menu.CanChooseRow(2));  // disabled
  EXPECT_EQ(menu.m_pRoot->m_children[3]->m_checked, 1);
}

TEST_F(MenuModel, WithoutACompilerNothingBinds) {
  m_app.SetResourceCompiler(nullptr);
  AMenu menu;
  EXPECT_EQ(menu.GetResMenu(5, -1), 0);
  EXPECT_EQ(menu.m_pRoot, nullptr);
  EXPECT_EQ(menu.GetItemCount(), 0);
  EXPECT_EQ(menu.GetNthSubMenu(0), nullptr);
  EXPECT_EQ(menu.SetItemCheckByIndex(0, 1), 0);
}

TEST_F(MenuModel, MeasuresRowsFromTheCellsThenFromItsLists) {
  AMenu menu;
  BindEdit(menu);
  const CSize first = menu.GetMenuPixelSize();
  EXPECT_EQ(menu.m_nFontH, kFontH);
  EXPECT_EQ(menu.m_nRowH, kRowH);
  EXPECT_EQ(menu.m_nSepH, kSepH);
  EXPECT_EQ(menu.m_nTextX, kTextX);
  // 9, then each row or separator.
  const std::vector<int> bottoms = {9 + kRowH,
                                    9 + kRowH + kSepH,
                                    9 + 2 * kRowH + kSepH,
                                    9 + 3 * kRowH + kSepH,
                                    9 + 4 * kRowH + kSepH,
                                    9 + 4 * kRowH + 2 * kSepH};
  ASSERT_EQ(menu.m_arrRowBottoms.GetSize(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(menu.m_arrRowBottoms[i], bottoms[i]) << i;
  EXPECT_EQ(first.cy, bottoms.back());
  // No font: only the TAB kept inside "Gamma\tTab" has a width (16).
  EXPECT_EQ(first.cx, 16 + 3 + kTextX + kFontH + 6);
  EXPECT_EQ(menu.m_nAccelX, 16 + 3 + kTextX);

  // Texts split at the last TAB, trailing blanks trimmed; separators empty.
  struct Row {
    const char* text;
    const char* accel;
  } const rows[] = {{"Alpha", "Ctrl+A"}, {"", ""},      {"Beta", ""},
                    {"Gamma\tTab", "G"}, {"Delta", ""}, {"", ""}};
  ASSERT_EQ(menu.m_arrTexts.GetSize(), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(menu.m_arrTexts[i], rows[i].text);
    EXPECT_STREQ(menu.m_arrAccelTexts[i], rows[i].accel);
  }

  // A second showing takes the lists: the same rows, another margin.
  const CSize second = menu.GetMenuPixelSize();
  EXPECT_EQ(second.cy, first.cy);
  EXPECT_EQ(second.cx, 16 + 3 + kTextX + 22);
  EXPECT_EQ(menu.m_arrRowBottoms.GetSize(), 6);
}

TEST_F(MenuModel, TranslatesRowTextsUnderAChineseUi) {
  rctest::WriteFile(m_dir.File("ui.ini"), "[UI_STR]\nAlpha=\xBC\xD7\n");  // 甲
  const CString oldIni = gstrUIINI;
  gstrUIINI = m_dir.File("ui.ini").c_str();
  m_app.m_nUILang = kUILangGbk;
  AMenu english, chinese;
  BindEdit(english);
  english.GetMenuPixelSize();
  EXPECT_STREQ(english.m_arrTexts[0], "Alpha");
  SetChnUIReader([] { return 1; });
  BindEdit(chinese);
  chinese.GetMenuPixelSize();
  EXPECT_STREQ(chinese.m_arrTexts[0], "\xBC\xD7");
  EXPECT_STREQ(chinese.m_arrAccelTexts[0], "Ctrl+A");
  EXPECT_STREQ(chinese.m_arrTexts[2], "Beta");  // no translation
  gstrUIINI = oldIni;
  m_app.m_nUILang = kUILangEnglish;
}

// Rows of submenu 0: 0 Alpha, 1 separator, 2 Beta (disabled), 3 Gamma,
// 4 Delta, 5 separator.
TEST_F(MenuModel, KeysStepOverSeparatorsAndDisabledRows) {
  struct Case {
    int from;
    unsigned long key;
    int want;
  } const cases[] = {{0, keysym::kDown, 3},   {3, keysym::kDown, 4},
                     {4, keysym::kDown, 0},  // wraps
                     {0, keysym::kUp, 4},     {3, keysym::kUp, 0},
                     {4, keysym::kUp, 3},     {3, keysym::kHome, 0},
                     {3, keysym::kPrior, 0},  {0, keysym::kEnd, 4},
                     {0, keysym::kNext, 4},   {3, 'a', 3},
                     {3, keysym::kLeft, 3},   {-1, keysym::kDown, -1},
                     {-1, keysym::kHome, -1}, {-1, keysym::kEnd, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " key " << std::hex << c.key);
    AMenu menu;
    BindEdit(menu);
    menu.EnableItemByIndex(2, 0);
    menu.GetMenuPixelSize();
    menu.m_nCurRow = c.from;
    menu.OnMenuKey(c.key, true);
    EXPECT_EQ(menu.m_nCurRow, c.want);
    EXPECT_EQ(menu.GetMenuResult(), kMenuRunning);
  }
}

TEST_F(MenuModel, KeySearchEndsWhenNoRowCanBeChosen) {
  // Popup 1 holds separators only; the bar may also disable every row of
  // a menu whose current row is left over from its last showing.
  AMenu seps;
  ASSERT_EQ(seps.GetResMenu(5, 1), 1);
  AMenu disabled;
  BindEdit(disabled);
  for (int i = 0; i < disabled.GetItemCount(); ++i) disabled.EnableItemByIndex(i, 0);
  for (AMenu* menu : {&seps, &disabled}) {
    for (unsigned long key :
         {keysym::kDown, keysym::kUp, keysym::kHome, keysym::kEnd, keysym::kPrior, keysym::kNext}) {
      SCOPED_TRACE(key);
      menu->m_nCurRow = 0;
      menu->OnMenuKey(key, true);  // returns: no endless search
      EXPECT_EQ(menu->m_nCurRow, -1);
      menu->OnMenuKey(keysym::kReturn, true);
      EXPECT_EQ(menu->GetMenuResult(), kMenuRunning);
    }
  }
  // A menu with no rows at all.
  AMenu empty;
  empty.m_nCurRow = 0;
  empty.OnMenuKey(keysym::kDown, true);
  EXPECT_EQ(empty.m_nCurRow, 0);  // not a row of this menu: keys do nothing
  EXPECT_FALSE(empty.CanChooseRow(0));
}

TEST_F(MenuModel, EscapeCancelsAndReturnChoosesOnlyOnTheMenu) {
  AMenu menu;
  BindEdit(menu);
  menu.GetMenuPixelSize();
  menu.OnMenuKey(keysym::kEscape, false);  // also with no current row
  EXPECT_EQ(menu.GetMenuResult(), kMenuCancelled);

  menu.m_nResult = kMenuRunning;
  menu.m_nCurRow = 3;
  menu.OnMenuKey(keysym::kReturn, false);  // on another window
  EXPECT_EQ(menu.GetMenuResult(), kMenuRunning);
  menu.OnMenuKey(keysym::kSpace, true);
  EXPECT_EQ(menu.GetMenuResult(), kMenuChosen);
}

TEST_F(MenuModel, FireCmdChoosesOnlyARowThatCanBeChosen) {
  AMenu menu;
  BindEdit(menu);
  menu.EnableItemByIndex(2, 0);
  struct Case {
    int row;
    uint8_t want;
  } const cases[] = {{-1, kMenuRunning}, {1, kMenuRunning}, {2, kMenuRunning},
                     {6, kMenuRunning},  {0, kMenuChosen},  {4, kMenuChosen}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    menu.m_nResult = kMenuRunning;
    menu.m_nCurRow = c.row;
    EXPECT_EQ(menu.FireCmd(), c.want);
    EXPECT_EQ(menu.GetMenuResult(), c.want);
  }
}

TEST_F(MenuModel, PointerTracksTheRowBands) {
  AMenu menu;
  BindEdit(menu);
  menu.EnableItemByIndex(2, 0);
  const CSize size = menu.GetMenuPixelSize();
  const int b0 = 9 + kRowH, b1 = b0 + kSepH, b2 = b1 + kRowH, b3 = b2 + kRowH;
  struct Case {
    bool onMenu;
    int x, y, want;
  } const cases[] = {
      {true, 10, 0, 0},       {true, 10, b0, 0},      {true, 10, b0 + 1, -1},  // separator
      {true, 10, b1 + 1, -1}, {true, 10, b2, -1},                              // disabled
      {true, 10, b2 + 1, 3},  {true, 10, b3, 3},      {true, 10, b3 + 1, 4},
      {true, 0, 10, 0},       {true, size.cx, 10, 0}, {true, size.cx + 1, 10, -1},
      {true, -1, 10, -1},     {true, 10, -1, -1},     {true, 10, size.cy + 1, -1},
      {false, 10, 10, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.onMenu << " " << c.x << "," << c.y);
    menu.m_nCurRow = 3;
    menu.OnMenuMotion(c.onMenu, c.x, c.y);
    EXPECT_EQ(menu.m_nCurRow, c.want);
  }
}

TEST_F(MenuModel, ButtonsChooseOrCancel) {
  AMenu menu;
  BindEdit(menu);
  const CSize size = menu.GetMenuPixelSize();
  menu.m_nCurRow = 3;
  menu.OnMenuButtonPress(true);
  EXPECT_EQ(menu.GetMenuResult(), kMenuRunning);
  menu.OnMenuButtonRelease(true, size.cx + 1, 10);  // released beyond the menu
  menu.OnMenuButtonRelease(true, 10, size.cy + 1);
  menu.OnMenuButtonRelease(false, 10, 10);
  EXPECT_EQ(menu.GetMenuResult(), kMenuRunning);
  menu.m_nCurRow = -1;
  menu.OnMenuButtonRelease(true, 10, 10);
  EXPECT_EQ(menu.GetMenuResult(), kMenuRunning);
  menu.m_nCurRow = 3;
  menu.OnMenuButtonRelease(true, 10, 10);
  EXPECT_EQ(menu.GetMenuResult(), kMenuChosen);

  menu.m_nResult = kMenuRunning;
  menu.OnMenuButtonPress(false);  // a press on another window
  EXPECT_EQ(menu.GetMenuResult(), kMenuCancelled);
}

TEST_F(MenuModel, StringListRows) {
  AMenu list;
  list.m_bStrList = 1;
  list.AddItem("one");
  list.AddItem("three");
  list.InsertItemByIndex(1, "two");
  list.InsertItemByIndex(99, "four");  // clamped to the end
  list.AddItem("");                    // an empty entry is an ordinary row
  list.DelItemByIndex(7);              // out of range: ignored
  ASSERT_EQ(list.GetItemCount(), 5);
  const char* const want[] = {"one", "two", "three", "four", ""};
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(list.m_arrTexts[i], want[i]);
    EXPECT_STREQ(list.m_arrAccelTexts[i], "");
  }
  list.m_nMinWidth = 200;
  CSize size = list.GetMenuPixelSize();
  EXPECT_EQ(size.cx, 200);
  EXPECT_EQ(size.cy, 9 + 5 * kRowH);
  EXPECT_EQ(list.m_arrRowBottoms[4], 9 + 5 * kRowH);

  // Every row can be chosen; choosing only ends the menu.
  list.m_nCurRow = 4;
  list.OnMenuKey(keysym::kDown, true);
  EXPECT_EQ(list.m_nCurRow, 0);
  list.OnMenuKey(keysym::kUp, true);
  EXPECT_EQ(list.m_nCurRow, 4);
  EXPECT_EQ(list.GetItemID(0), -1);
  EXPECT_EQ(list.FireCmd(), kMenuChosen);

  list.DelItemByIndex(0);
  EXPECT_STREQ(list.m_arrTexts[0], "two");
  AMenu empty;
  empty.m_bStrList = 1;
  EXPECT_EQ(empty.GetMenuPixelSize().cy, kRowH);  // at least one row high
  EXPECT_EQ(empty.GetMenuPixelSize().cx, 3 + kTextX + 22);
}

TEST_F(MenuModel, CreateAndDestroyAnOwnRoot) {
  AMenu menu;
  EXPECT_EQ(menu.CreateMenu(), 1);
  ASSERT_NE(menu.m_pRoot, nullptr);
  menu.m_pRoot->m_children.Add(new typMnuCell);  // owned by the root
  EXPECT_EQ(menu.GetItemCount(), 1);
  EXPECT_EQ(menu.DestroyMenu(), 1);
  EXPECT_EQ(menu.m_pRoot, nullptr);
  EXPECT_EQ(menu.DestroyMenu(), 1);
}

}  // namespace
