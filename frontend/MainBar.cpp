#include "frontend/MainBar.h"

#include <algorithm>

#include "base/IniFile.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/SysUtil.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "frontend/BarCells.h"
#include "frontend/BarMouse.h"
#include "frontend/CMainFrame.h"
#include "frontend/InputPanes.h"
#include "frontend/Settings.h"
#include "frontend/internal/MainBarWindows.h"

unsigned long ghMainePane = 0;
unsigned long ghStatusWnd = 0;
unsigned long ghToolTip = 0;
int gStatusWndShort = 0;
int gbDlgUp = 0;  // gbMnuUp is the popup menu's (controls/AMenu.h)
CString gstrStatusMsg;
CString gstrToolTip;
CSize sizStatusWnd, sizToolTipWnd;
CMainFrame* gpMainFrame = nullptr;
int gTimer = 0;
int gTimerSlow = 0;
XImage* hBmpPane = nullptr;

namespace {

constexpr unsigned long kBarFace = 0xC7C7C7;
// Bitmap-font cells of the status and tool-tip texts.
constexpr int kTextCell = 16;
constexpr int kTextPad = 6;
constexpr int kMinTextHeight = 22;
// The slow timer: 3 s; every tenth message the icon moves on and a stale
// tip leaves the status window.
constexpr unsigned long kSlowTimerMs = 3000;
constexpr int kSlowTicksPerAnimation = 10;
int g_slowCount = 0;

// The cells of the bar's current form, in bar order.
int AllCells() {
  int cells = 0;
  int left = 0, right = 0;
  for (const typBarCell& c : kBarCellTable) {
    if (BarCellEdges(gStatusWndShort != 0, c.bit, &left, &right)) cells |= c.bit;
  }
  return cells;
}

BarFaceModes CurrentModes() {
  const typInputSettings& c = cfgInputManager;
  BarFaceModes m;
  m.shortBar = gStatusWndShort != 0;
  m.chinese = c.InputMode == kChineseInput;
  m.pinYin = c.IsPinYinMethod();
  m.fanTi = c.FanTi != 0;
  m.fullWidth = c.FullSize != 0;
  m.chnPunct = c.UseChnPunctMark != 0;
  m.icon1 = gcfg.ICON1;
  m.iconFrame = gpMainFrame ? gpMainFrame->m_nIconFrame : 0;
  return m;
}

void PaintCellFace(unsigned long window, GC gc, int bit, bool pressed, const BarFaceModes& modes) {
  const BarCellFace face = BarCellFaceFor(bit, pressed, modes);
  for (int i = 0; i < face.nCopies; ++i) {
    const BarFaceCopy& f = face.copies[i];
    AfcPutImage(dsply, window, gc, hBmpPane, f.srcX, f.srcY, f.dstX, f.dstY, f.width, f.height,
                kGXcopy);
  }
  int left = 0, right = 0;
  if (face.greenLines && BarCellEdges(modes.shortBar, bit, &left, &right)) {
    DrawGreenLines(window, left, kCellTop, right - left, kCellHeight);
  }
}

// The one-line window's size for text: its bitmap-font extent plus margins.
CSize TextWindowSize(const char* text, int extraWidth) {
  const CSize ext = ChnBmpStrExtent(text, 0, kTextCell, kTextCell, 0);
  return CSize(ext.cx + kTextPad + extraWidth, std::max<int>(ext.cy, kMinTextHeight) + kTextPad);
}

}  // namespace

unsigned long CreateMainWindow() {
  gStatusWndShort = gcfg.ShortBar ? 1 : 0;
  gBar.shortBar = gStatusWndShort != 0;
  const int w = gStatusWndShort ? kShortBarWidth : kLongBarWidth;
  const CRect rect(gcfg.Left, gcfg.Top, gcfg.Left + w, gcfg.Top + kBarHeight);
  const unsigned long win = CreateWin(0, 0, rect, 0, MainWndProc, nullptr, 0, nullptr);
  if (win && uniqueAFCAppPointer && !uniqueAFCAppPointer->m_bStartingUp) {
    SetWinPos(win, 0, 0, 0, 0, kSwpKeepPos | kSwpKeepSize | kSwpShow, kSwpRaise, 0);
  }
  return win;
}

void OnBarCreate(unsigned long window) {
  if (!hBmpPane) hBmpPane = LoadBmpId(161);
  const int slot = CreateTimer(kSlowTimerMs, window);
  gTimerSlow = NoTimer(slot) ? 0 : slot;
}

void PlaceStatusWindow() {
  CRect bar;
  if (!ghStatusWnd || !ghMainePane || !GetWinRect(ghMainePane, &bar)) return;
  SetWinPos(ghStatusWnd, bar.left, bar.bottom, 0, 0, kSwpKeepSize, 0, 0);
  // Panes that do not follow a caret sit above the bar: they go with a
  // dragged bar instead of staying behind.
  if (!UsingFloatPane() && (bShowPane1 || bShowPane2)) ShowNMoveInputPanes(0);
}

void OnBarTimer(int slot) {
  if (gbDlgUp || gbMnuUp) return;
  if (slot != gTimerSlow || !gTimerSlow) {
    POINT screen{0, 0};
    if (!GetPointerPos(&screen)) return;
    CPoint inBar(screen);
    ScreenToWin(ghMainePane, &inBar);
    OnToolTipTimer(inBar, CPoint(screen));
    return;
  }
  if (++g_slowCount >= kSlowTicksPerAnimation) {
    g_slowCount = 0;
    if (dictionary.m_nTipCountdown > 0) {
      ShowTipMsg("");
      dictionary.m_nTipCountdown = 0;
    }
    if (gpMainFrame) gpMainFrame->AnimateIcon();
    InvalidateRect(ghMainePane, nullptr, 0);
  }
  RaiseBarKeepingState();
}

void PaintMain(unsigned long window, XEvent*, int cells) {
  if (!window) return;
  GC gc = GetGC(window);
  if (!gc) return;
  const BarFaceModes modes = CurrentModes();
  const bool pressed = (cells & kPaintPressed) != 0;
  int mask = cells & ~kPaintPressed;
  const bool all = mask == 0;
  if (all) {
    CRect whole(0, 0, modes.shortBar ? kShortBarWidth : kLongBarWidth, kBarHeight);
    FillClrRect(window, gc, &whole, kBarFace);
    mask = AllCells();
  } else if ((mask & kCellMode) && !pressed) {
    // The faces of these cells depend on the mode.
    mask |= AllCells() & (kCellMethod | kCellKeymap | kCellFanTi | kCellFullWidth | kCellPunct);
  }
  mask &= AllCells();
  for (const typBarCell& c : kBarCellTable) {
    if (mask & c.bit) PaintCellFace(window, gc, c.bit, pressed, modes);
  }
  if (all) {
    Draw3DRect(window, gc, 0, 0, modes.shortBar ? kShortOutlineWidth : kLongBarWidth,
               kOutlineHeight, 0);
  }
  ReleaseGC(gc);
}

void CMainFrame::AnimateIcon() {
  const int c = m_nIconCount;
  int frame = 0;
  if (c < 20) {
    frame = 0;
  } else if (c < 30) {
    frame = 1;
  } else if (c < 40) {
    frame = (c & 1) ? 3 : 2;
  } else if (c < 50) {
    frame = 4;
  } else if (c < 70) {
    frame = 0;
  } else if (c < 90) {
    frame = 4;
  } else if (c < 100) {
    frame = (c & 1) ? 3 : 2;
  } else {
    frame = 1;
  }
  m_nIconFrame = frame;
  m_nIconCount = (c + 1) % 120;
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
  msg.LTrim(" ");
  gstrStatusMsg = msg;
  if (!ghStatusWnd) return;
  if (msg.IsEmpty()) {
    ShowWin(0, ghStatusWnd);
    return;
  }
  sizStatusWnd = TextWindowSize(msg, 0);
  SetWinPos(ghStatusWnd, 0, 0, sizStatusWnd.cx, sizStatusWnd.cy, kSwpKeepPos | kSwpShow, kSwpRaise,
            0);
  InvalidateRect(ghStatusWnd, nullptr, 0);
}

CString ToolTipText(int cells) {
  const typBarCell* cell = BarCellOf(cells);
  if (!cell) return CString();
  CString text(cell->toolTip);
  if (cfgInputManager.ChnUI != 0) {
    char buf[256] = "";
    if (GetIniFileString(gstrUIINI, "UI_STR", cell->toolTip, buf, sizeof buf, "") > 0 && buf[0]) {
      text = buf;
    }
  }
  return text;
}

void ShowToolTip(int cells, POINT* pointer) {
  if (!ghToolTip || !pointer || !BarCellOf(cells)) return;
  gstrToolTip = ToolTipText(cells);
  sizToolTipWnd = TextWindowSize(gstrToolTip, 4);
  CRect bar, work;
  if (!GetWinRect(ghMainePane, &bar)) return;
  GetWindowsWorkArea(&work);
  const int w = sizToolTipWnd.cx, h = sizToolTipWnd.cy;
  int x = pointer->x + 12, y = bar.bottom;
  if (bar.bottom + h >= work.bottom) {
    x = pointer->x;
    y = bar.top - h;
  }
  if (x + w > work.right) x = work.right - w;
  SetWinPos(ghToolTip, x, y, w, h, kSwpShow, kSwpRaise, 0);
  InvalidateRect(ghToolTip, nullptr, 0);
}

int ChangeMainPane() {
  if (!ghMainePane) return 0;
  gStatusWndShort = gcfg.ShortBar ? 1 : 0;
  gBar.shortBar = gStatusWndShort != 0;
  const int w = gStatusWndShort ? kShortBarWidth : kLongBarWidth;
  SetWinPos(ghMainePane, 0, 0, w, kBarHeight, kSwpKeepPos | kSwpShow, 0, 0);
  return 1;
}

int InstallStartUpShortcut() { return 0; }
int UnInstallShortcut() { return 0; }
int KVRRegisterClass() { return 1; }
void Activate1stInstance() {}
void ManageNotifyIcon(int) {}

void CMainFrame::OnDestroy() { DeleteUIFonts(0); }
