#include <gtest/gtest.h>

#include <vector>

#include "frontend/CommandIds.h"
#include "frontend/MenuStates.h"

namespace {

// A submenu of items by id, with their check and disabled flags.
struct FakeMenu {
  struct Item {
    int id;
    int check = 0;
    int disabled = 0;
  };
  std::vector<Item> items;
  int GetItemCount() { return static_cast<int>(items.size()); }
  int GetItemID(int n) { return n >= 0 && n < GetItemCount() ? items[n].id : -1; }
  int SetItemCheckByIndex(int n, int check) {
    items.at(n).check = check;
    return 1;
  }
  int EnableItemByIndex(int n, int enable) {
    items.at(n).disabled = !enable;
    return 1;
  }
};

MenuStateInputs English() {
  MenuStateInputs in{};
  in.chnUI = 1;
  in.useChnPunctMark = 1;
  in.fullSize = 1;
  in.bothInstalled = true;
  return in;
}

TEST(MenuStates, ChecksAndEnablesFollowTheSettings) {
  struct Case {
    int id;
    int check, disabled;
  } const english[] = {
      {kCmdBmpFont, 0, 0},     // enabled under the simplified UI
      {kCmdKeymap, 0, 7},      // only checked
      {kCmdRepeatLast, 7, 1},  // Chinese input only; only enabled
      {kCmdClearInput, 7, 1},    {kCmdReSelect, 7, 1},        {kCmdChnNumber, 0, 1},
      {kCmdChnPunct, 1, 1},      {kCmdUiEnglish, 0, 7},       {kCmdToggleInputMethod, 7, 1},
      {kCmdFullWidth, 1, 1},     {kCmdAddSpace, 0, 7},        {kCmdUiSimplified, 1, 7},
      {kCmdUiTraditional, 0, 7}, {kCmdToggleInputMode, 7, 7},  // outside the range: untouched
      {kCmdAbout, 7, 7},         {kCmdFindSaying, 7, 7},      {0, 7, 7},  // a separator
  };
  FakeMenu menu;
  for (const Case& c : english) menu.items.push_back({c.id, 7, 7});
  SetMenuStates(menu, English());
  for (size_t i = 0; i < menu.items.size(); ++i) {
    SCOPED_TRACE(testing::Message() << std::hex << english[i].id);
    EXPECT_EQ(menu.items[i].check, english[i].check);
    EXPECT_EQ(menu.items[i].disabled, english[i].disabled);
  }
}

TEST(MenuStates, ChineseInput) {
  MenuStateInputs in = English();
  in.chinese = true;
  in.chnNumFanTi = true;
  in.chnUI = 2;
  in.useBmpFont = 1;
  in.keymapShown = true;
  struct Case {
    int id;
    bool check, enable;
  } const cases[] = {
      {kCmdBmpFont, true, false},  // enabled only under the simplified UI
      {kCmdKeymap, true, false},
      {kCmdChnNumberFanTi, true, true},
      {kCmdToggleInputMethod, false, true},
      {kCmdUiTraditional, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.id);
    const MenuItemState s = MenuItemStateFor(c.id, in);
    EXPECT_EQ(s.check, c.check);
    if (s.setsEnable) {
      EXPECT_EQ(s.enable, c.enable);
    }
  }
  in.bothInstalled = false;
  EXPECT_FALSE(MenuItemStateFor(kCmdToggleInputMethod, in).enable);
}

}  // namespace
