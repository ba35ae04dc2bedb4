// CMainFrame.h: the frame object of kvr's main bar. Start-up creates it,
// binds it to the bar's window (which stays registered to MainWndProc) and
// makes it the application's main window object, so message boxes have an
// owner. It carries most command handlers (frontend/BarCommands.h), owns the
// bar's popup menu, holds the keymap window and the bar icon's animation
// frame. The application object owns it.
#pragma once

#include <memory>

#include "framework/AWnd.h"

class AMenu;

class CMainFrame : public AWnd {
 public:
  // Binds the menu to resource menu 4 of the compiled script (unbound when
  // there is none).
  CMainFrame();
  ~CMainFrame() override;

  // ---- Command handlers (frontend/BarCommands.cpp).
  // Chinese <-> English input; in Chinese input with the i-mode on it only
  // posts the clear-input command and the mode stays.
  void OnInputmodeToggle();
  // XingMa <-> PinYin; with one method missing a box says so and nothing
  // changes. Learned phrases are filed and saved under the old method first;
  // when they cannot be saved the method stays and a box says why.
  void OnToggleInputmethod();
  // Traditional output on or off; the UI language follows (2 / 1).
  void OnFanTiJianTiToggle();
  void OnInputChnnum();
  void OnInputChnnumFanti();
  void OnInputmthdCizu();
  void OnAddspacetochn();
  void OnClearinputbuffer();
  void OnShowkeymap();
  void OnAppTips();
  void OnInputoptions();
  void OnFindASaying();
  void OnReadme2();
  void OnReadme3();
  void OnReadme4();
  void OnPrintkeymap() {}
  void OnRepeatlastchnchar() {}
  void OnSlideshow() {}
  void OnAppHelp() {}
  void MakeOwnerDrawMenu() {}
  void SetChnNumModeUsingRdOnlyPane() {}
  // Unused by the system: set the mode or the method directly.
  void OnInputmodeChn();
  void OnInputmodeEnglish();
  void OnInputmthdXingMa();
  void OnInputmthdPinyin();

  // ---- The bar's icon (frontend/MainBar.cpp): advances the frame.
  void AnimateIcon();
  // Releases the UI fonts (which do not need it); nothing calls it.
  void OnDestroy();

  // The bar's menu: submenus 0 main, 1 preferences, 2 help. Its cells
  // belong to the compiled menu table.
  std::unique_ptr<AMenu> m_pMenu;
  // The keymap window (frontend/ShowKeymap.h), made by the first keymap
  // command and kept for the run; null before, or when it could not be made.
  std::unique_ptr<AWnd> m_pKeymap;
  int m_nIconFrame = 0;  // 0 to 4
  int m_nIconCount = 0;  // 0 to 119, the animation's step
};
