// MenuStates.h: the checks and enables of the bar's popup menu, which follow
// the settings. ChangeMenuState (frontend/MainBar.h) applies them to
// submenus 0, 1 and 2 and saves the profile.
#pragma once

#include "frontend/CommandIds.h"

// What the states depend on.
struct MenuStateInputs {
  bool chinese;        // InputMode 0
  bool bothInstalled;  // both input methods installed
  bool keymapShown;    // the keymap window exists and is shown, start-up over
  bool chnNum;         // the engine's number mode
  bool chnNumFanTi;    // its traditional-number mode
  int chnUI;
  int useBmpFont;  // gcfg UseBmpFont
  int useChnPunctMark;
  int fullSize;
  int addSpace;  // AddSpaceInOutput
};

// The state of one item: whether its check and its enable are set, and to
// what. Items outside the table keep their state.
struct MenuItemState {
  bool setsCheck = false;
  bool check = false;
  bool setsEnable = false;
  bool enable = false;
};
MenuItemState MenuItemStateFor(int id, const MenuStateInputs& in);

// Applies the states to the items of one submenu (AMenu, or anything with
// its GetItemCount, GetItemID, SetItemCheckByIndex and EnableItemByIndex).
template <class Menu>
void SetMenuStates(Menu& menu, const MenuStateInputs& in) {
  const int n = menu.GetItemCount();
  for (int i = 0; i < n; ++i) {
    const int id = menu.GetItemID(i);
    if (id <= 0 || id < kMenuStateFirstId || id > kMenuStateLastId) continue;
    const MenuItemState s = MenuItemStateFor(id, in);
    if (s.setsCheck) menu.SetItemCheckByIndex(i, s.check ? 1 : 0);
    if (s.setsEnable) menu.EnableItemByIndex(i, s.enable ? 1 : 0);
  }
}

// The inputs from the running program's settings, engine and windows.
MenuStateInputs CurrentMenuStateInputs();
