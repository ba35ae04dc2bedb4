#include "frontend/MainBar.h"

#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "frontend/BarKeys.h"
#include "frontend/Settings.h"

unsigned long ghMainePane = 0;
unsigned long ghStatusWnd = 0;
unsigned long ghToolTip = 0;
int gStatusWndShort = 0;
int gbDlgUp = 0;  // gbMnuUp is the popup menu's (controls/AMenu.h)
CString gstrStatusMsg;
CMainFrame* gpMainFrame = nullptr;

namespace {

constexpr int kBarHeight = 26;
constexpr int kLongBarWidth = 340;
constexpr int kShortBarWidth = 155;  // 155.4 truncated

int StatusWndProc(XEvent*) { return 1; }
int ToolTipWndProc(XEvent*) { return 1; }

// The status window sits at the bar's bottom-left corner; moving it without
// the show flag also hides it.
void PlaceStatusWindow() {
  CRect bar;
  if (!ghStatusWnd || !GetWinRect(ghMainePane, &bar)) return;
  SetWinPos(ghStatusWnd, bar.left, bar.bottom, 0, 0, 2, 0, 0);
}

}  // namespace

unsigned long CreateMainWindow() {
  gStatusWndShort = gcfg.ShortBar ? 1 : 0;
  const int w = gStatusWndShort ? kShortBarWidth : kLongBarWidth;
  const CRect rect(gcfg.Left, gcfg.Top, gcfg.Left + w, gcfg.Top + kBarHeight);
  const unsigned long win = CreateWin(0, 0, rect, 0, MainWndProc, nullptr, 0, nullptr);
  if (win && uniqueAFCAppPointer && !uniqueAFCAppPointer->m_bStartingUp) {
    SetWinPos(win, 0, 0, 0, 0, 1 | 2 | 8, 1, 0);
  }
  return win;
}

int MainWndProc(XEvent* event) {
  if (!IsWinMsg(event)) return 1;
  switch (WinMsgId(event)) {
    case WM_KVR_KEY:
    case WM_KVR_TRIGGER: return BarKeyMessage(event);
    case WM_KVR_ENGLISHKEY: OnEnglishKey(WinMsgWord(event, 0)); return 1;
    case WM_AFC_AFTERCREATE: PlaceStatusWindow(); return 1;
    default: return 1;
  }
}

int CreateStatusWindows() {
  ghStatusWnd = CreateWin(1, 0, CRect(0, 0, 1, 1), 0, StatusWndProc, nullptr, 0, nullptr);
  return ghStatusWnd ? 1 : 0;
}

int DestroyStatusWindows() {
  if (ghStatusWnd) DestroyWin(ghStatusWnd);
  ghStatusWnd = 0;
  return 1;
}

int CreateToolTipWindow() {
  ghToolTip = CreateWin(1, 0, CRect(0, 0, 1, 1), 0, ToolTipWndProc, nullptr, 0, nullptr);
  return ghToolTip ? 1 : 0;
}

int DestroyToolTipWindow() {
  if (ghToolTip) DestroyWin(ghToolTip);
  ghToolTip = 0;
  return 1;
}

void ShowTipMsg(const char* text) {
  CString msg(text);
  msg.LTrim(0);
  gstrStatusMsg = msg;
  if (msg.IsEmpty() && ghStatusWnd) ShowWin(0, ghStatusWnd);
}
