// The bar's popup menus: popping them up and keeping their checks and
// enables in step with the settings.
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/CWinApp.h"
#include "framework/WinGeometry.h"
#include "frontend/CMainFrame.h"
#include "frontend/MainBar.h"
#include "frontend/MenuStates.h"
#include "frontend/Settings.h"

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

int RaiseMenu(int) { return 0; }

int ChangeMenuState() { return SavePreferences(); }
