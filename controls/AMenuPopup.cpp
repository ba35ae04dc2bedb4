// The popup menu on the screen: showing it (PopupMenu), painting it (Draw)
// and the menu window's procedure (MenuProc), which hands every event the
// menu loop reads to the served menu's handlers (AMenu.cpp).
#include "controls/AMenu.h"

#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

namespace {

// The one menu MenuProc serves: set by the creation message of its window,
// cleared when the window goes. Borrowed: PopupMenu runs while it is set.
AMenu* g_pServedMenu = nullptr;

// Colours (0xRRGGBB).
constexpr unsigned long kClrMenuFace = 0xC7C7C7;
constexpr unsigned long kClrListFace = 0xFFFFFF;
constexpr unsigned long kClrRowText = 0x0000FF;
constexpr unsigned long kClrHighlight = 0x0000FF;
constexpr unsigned long kClrCurText = 0xFFFFFF;
constexpr unsigned long kClrDisabled = 0x8A8A8A;
constexpr unsigned long kClrCheck = 0x383CFF;

constexpr int kHighlightInset = 6;  // the highlight spans x from 6 to width - 6
constexpr int kFirstRowY = 7;       // rows are painted from here down
constexpr int kFirstSepY = 6;       // the separators' walk starts here
constexpr int kListTextX = 6;       // a string list's texts start here
constexpr int kPointerInset = 3;    // the pointer lands this far inside

}  // namespace

// --- Drawing ---------------------------------------------------------------

void AMenu::DrawCheckMark(GC gc, int y, unsigned long rgb) {
  using afc::x11::DrawLine;
  const int m = m_nTextX, s = m_nSepH;
  const int x1 = m * 2 / 5, y1 = y + s * 4 / 5, h = s / 3, w = m / 8;
  const int X = static_cast<int>(x1 + 2.5 * w);
  SetFgClr(gc, rgb);
  DrawLine(m_hWnd, gc, x1, y1, x1 + w + 1, y1 + h);
  DrawLine(m_hWnd, gc, x1 + 1, y1, x1 + w + 2, y1 + h);
  DrawLine(m_hWnd, gc, x1 + w, y1 + h - 1, X, y1 - h - 1);
  DrawLine(m_hWnd, gc, x1 + w, y1 + h, X, y1 - h);
}

void AMenu::DrawRows(GC gc, int width) {
  const int n = RowCount();
  const int textX = m_bStrList ? kListTextX : m_nTextX;
  int y = kFirstRowY;
  for (int i = 0; i < n && i < m_arrTexts.GetSize() && i < m_arrRowBottoms.GetSize(); ++i) {
    if (IsSeparatorRow(i)) {
      y += m_nSepH;
      continue;
    }
    const typMnuCell* cell = m_bStrList ? nullptr : Cell(i);
    const bool current = i == m_nCurRow;
    const bool disabled = cell && cell->m_disabled;
    unsigned long fg = kClrRowText;
    if (current) {
      const int top = i == 0 ? kHighlightInset : m_arrRowBottoms[i - 1] - kHighlightInset;
      CRect band(kHighlightInset, top, width - kHighlightInset,
                 m_arrRowBottoms[i] - kHighlightInset);
      FillClrRect(m_hWnd, gc, &band, kClrHighlight);
      fg = kClrCurText;
    } else if (disabled) {
      fg = kClrDisabled;
    }
    if (cell && cell->m_checked)
      DrawCheckMark(gc, y, current ? kClrCurText : disabled ? kClrDisabled : kClrCheck);
    SetFgClr(gc, fg);
    ChBmpStrOut(m_hWnd, gc, textX, y, m_arrTexts[i], 0, 0, m_nFontH, m_nFontH, 0, nullptr, 0,
                kChStrAuto, 1);
    if (i < m_arrAccelTexts.GetSize() && !m_arrAccelTexts[i].IsEmpty())
      ChBmpStrOut(m_hWnd, gc, m_nAccelX, y, m_arrAccelTexts[i], 0, 0, m_nFontH, m_nFontH, 0,
                  nullptr, 0, kChStrAuto, 1);
    SetFgClr(gc, kClrRowText);
    y += m_nRowH;
  }
}

// A separator is an engraved line across the text columns: light, with a
// dark line one pixel above it.
void AMenu::DrawSeparators(GC gc, int width) {
  using afc::x11::DrawLine;
  const int n = RowCount();
  int y = kFirstSepY;
  for (int i = 0; i < n; ++i) {
    if (!IsSeparatorRow(i)) {
      y += m_nRowH;
      continue;
    }
    SetFgClrPxl(gc, gpxlBright);
    DrawLine(m_hWnd, gc, m_nTextX, y, width - m_nTextX, y);
    SetFgClrPxl(gc, gpxlDark);
    DrawLine(m_hWnd, gc, m_nTextX, y - 1, width - m_nTextX, y - 1);
    y += m_nSepH;
  }
}

void AMenu::Draw(XEvent*) {
  if (!m_hWnd) return;
  GC gc = GetGC(m_hWnd);
  if (!gc) return;
  const int oldMode = SetDrawMode(gc, kDrawCopy);
  const unsigned long oldBg = SetBkClr(gc, kClrMenuFace);
  const int width = m_size.cx, height = m_size.cy;
  CRect all(0, 0, width, height);
  FillClrRect(m_hWnd, gc, &all, m_bStrList ? kClrListFace : kClrMenuFace);
  Draw3DRect(m_hWnd, gc, 1, 1, width - 2, height - 2, m_bStrList ? 1 : 0);
  const unsigned long oldFg = SetFgClr(gc, kClrRowText);
  DrawRows(gc, width);
  if (!m_bStrList) DrawSeparators(gc, width);
  SetFgClrPxl(gc, oldFg);
  SetBkClrPxl(gc, oldBg);
  SetDrawMode(gc, oldMode);
  ReleaseGC(gc);
}

// --- Showing ---------------------------------------------------------------

int AMenu::PopupMenu(int x, int y, unsigned long owner, unsigned long) {
  // A resource menu without rows has nothing to show or choose.
  if (!m_bStrList && GetItemCount() == 0) return 0;
  const CSize size = GetMenuPixelSize();
  CRect screen;
  GetWindowsWorkArea(&screen);
  if (x + size.cx > screen.right) x = screen.right - size.cx;
  if (y + size.cy > screen.bottom) y = screen.bottom - size.cy;

  m_nResult = kMenuRunning;
  unsigned long oldFocus = 0;
  int oldRevert = afc::x11::kRevertToParent;
  afc::x11::GetInputFocus(&oldFocus, &oldRevert);

  m_rect = CRect(x, y, x + size.cx, y + size.cy);
  m_hWnd = CreateWin(0, 0, m_rect, 0, MenuProc, nullptr, kMenuWinId, this);
  if (!m_hWnd) return 0;
  gbMnuUp = 1;
  m_hOwner = owner;
  SetWinPos(m_hWnd, x, y, 0, 0, kSwpKeepSize | kSwpShow, kSwpRaise, 0);
  if (!m_bStrList) SetPointerPos(x + kPointerInset, y + kPointerInset);

  afc::x11::SetInputFocus(m_hWnd, afc::x11::kRevertToParent);
  DoMenuEventLoop(m_hWnd, this);

  const int result = m_nResult;
  m_nResult = kMenuRunning;
  DestroyWin(m_hWnd);
  m_hWnd = 0;
  if (g_pServedMenu == this) g_pServedMenu = nullptr;
  gbMnuUp = 0;
  if (!m_bStrList) {
    if (m_hOwner) {
      InvalidateRect(m_hOwner, nullptr, 0);
      RedrawWin(m_hOwner);
    }
    afc::x11::SetInputFocus(oldFocus, oldRevert);
  }
  return result;
}

// --- The window procedure --------------------------------------------------

int MenuProc(XEvent* event) {
  using afc::x11::EvKind;
  const EvKind kind = afc::x11::EventKind(event);
  if (kind == EvKind::kClientMessage) {
    if (WinMsgId(event) == WM_AFC_CREATE)
      g_pServedMenu = reinterpret_cast<AMenu*>(WinMsgLong(event, 0));
    return 1;
  }
  AMenu* menu = g_pServedMenu;
  if (!menu || !menu->m_hWnd) return 1;
  const bool onMenu = afc::x11::EventWindow(event) == menu->m_hWnd;
  switch (kind) {
    case EvKind::kExpose:
      if (onMenu) menu->Draw(event);
      break;
    case EvKind::kKeyPress: menu->OnMenuKey(afc::x11::EventKeySym(event), onMenu); break;
    case EvKind::kMotion: {
      const CPoint pt = afc::x11::EventPoint(event);
      menu->OnMenuMotion(onMenu, pt.x, pt.y);
      break;
    }
    case EvKind::kButtonPress: menu->OnMenuButtonPress(onMenu); break;
    case EvKind::kButtonRelease: {
      const CPoint pt = afc::x11::EventPoint(event);
      menu->OnMenuButtonRelease(onMenu, pt.x, pt.y);
      break;
    }
    default:
      if (onMenu && afc::x11::EventLosesFocus(event)) menu->m_nResult = kMenuCancelled;
      break;
  }
  return 1;
}
