// The bar's popup menus: the frame's menu (resource menu 4), popping its
// submenus up and keeping their checks and enables in step with the
// settings.
#include <memory>

#include "controls/AMenu.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/WinGeometry.h"
#include "frontend/BarMouse.h"
#include "frontend/CMainFrame.h"
#include "frontend/MainBar.h"
#include "frontend/MenuStates.h"
#include "frontend/Settings.h"

namespace {

// The bar's menu in the resource script and its three submenus.
constexpr unsigned long kBarMenuId = 4;
constexpr int kBarSubmenus = 3;
// A submenu opens this far below the pointer.
constexpr int kMenuDrop = 13;

}  // namespace

CMainFrame::CMainFrame() : m_pMenu(std::make_unique<AMenu>()) {
  // Without the compiled script (tests) the menu stays unbound: no submenu
  // pops up and there is nothing to check.
  m_pMenu->GetResMenu(kBarMenuId, -1);
}

CMainFrame::~CMainFrame() = default;

MenuStateInputs CurrentMenuStateInputs() {
  const typInputSettings& c = cfgInputManager;
  MenuStateInputs in;
  in.chinese = c.InputMode == kChineseInput;
  in.bothInstalled = dictionary.m_nEngineMissing == kBothInstalled;
  const bool startingUp = uniqueAFCAppPointer && uniqueAFCAppPointer->m_bStartingUp;
  in.keymapShown = !startingUp && gpMainFrame && gpMainFrame->m_pKeymap &&
                   IsWinShown(gpMainFrame->m_pKeymap->m_hWnd);
  in.chnNum = dictionary.m_bChnNum != 0;
  in.chnNumFanTi = dictionary.m_bChnNumFanTi != 0;
  in.chnUI = c.ChnUI;
  in.useBmpFont = gcfg.UseBmpFont;
  in.useChnPunctMark = c.UseChnPunctMark;
  in.fullSize = c.FullSize;
  in.addSpace = c.AddSpaceInOutput;
  return in;
}

int RaiseMenu(int n) {
  if (!gpMainFrame || !gpMainFrame->m_pMenu) return 0;
  const std::unique_ptr<AMenu> sub(gpMainFrame->m_pMenu->GetNthSubMenu(n));
  if (!sub) return 0;
  POINT at{0, 0};
  GetPointerPos(&at);
  sub->PopupMenu(at.x, at.y + kMenuDrop, ghMainePane, 0);
  NoteMenuDismissed(GetMiliSecCount());
  if (ghStatusWnd) ShowWin(0, ghStatusWnd);
  return 1;
}

void RefreshMenuStates() {
  if (!gpMainFrame || !gpMainFrame->m_pMenu) return;
  const MenuStateInputs in = CurrentMenuStateInputs();
  for (int n = 0; n < kBarSubmenus; ++n) {
    const std::unique_ptr<AMenu> sub(gpMainFrame->m_pMenu->GetNthSubMenu(n));
    if (sub) SetMenuStates(*sub, in);
  }
}

int ChangeMenuState() {
  RefreshMenuStates();
  return SavePreferences();
}
