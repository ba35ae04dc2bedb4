// CZiListButton: the character order editor's grid (frontend/CZiOrder.h).
// It paints the owner's characters ten to a row, frames the one under the
// pointer in red, and lets the user drag a character to another place: a
// box follows the pointer while the first button is held, leaving the grid
// ends the drag, and a release over a place moves the character there.
//
// The button's own handling repaints the whole grid on every motion while
// it is pressed; the drag box and the hover frame are then gone with the
// old picture, so the repaint forgets them before they are drawn again.
#include <cstdio>

#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"
#include "frontend/CZiOrder.h"

namespace {

constexpr unsigned long kGridWhite = 0xFFFFFF;
constexpr unsigned long kZiColour = 0x0000E9;
constexpr unsigned long kHoverRed = 0xE90000;
constexpr int kFrameWidth = 2;

bool Empty(const CRect& r) { return r.Width() <= 0 || r.Height() <= 0; }

}  // namespace

CZiListButton::CZiListButton(CZiOrder* owner) : m_pOwner(owner) { m_bOwnerDraw = 1; }

int CZiListButton::OnZi(CPoint pt, CRect* cell, int* index, int shifted) const {
  if (!m_pOwner) return 0;
  return m_layout.CellAt(pt, m_pOwner->m_arrZi.GetSize(), shifted != 0, cell, index) ? 1 : 0;
}

int CZiListButton::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick && id == IDOK) OnOK();
  if (code == kCtrlEvClick && id == IDCANCEL) OnCancel();
  if (event) {
    const CPoint pt = afc::x11::EventPoint(event);
    const unsigned long held = afc::x11::EventButton1Held(event) ? 1 : 0;
    switch (code) {
      case kCtrlEvMotion: AtPtrMv(held, pt); break;
      case kCtrlEvPress: AtLBtnDwn(held, pt); break;
      case kCtrlEvClick: AtLBtnUp(held, pt); break;
      default: break;
    }
  }
  return AWnd::CtrlEvProc(window, id, code, event);
}

void CZiListButton::AtLBtnDwn(unsigned long, CPoint pt) {
  int index = -1;
  if (!OnZi(pt, nullptr, &index, 0)) return;
  m_nDragged = index;
  SetPtrGrab(m_hWnd);
}

void CZiListButton::AtPtrMv(unsigned long flags, CPoint pt) {
  CtrlGC dc(m_hWnd);
  if (!dc || m_layout.Empty()) return;
  GC gc = dc.get();
  if (flags & 1) {
    if (m_nDragged < 0) return;
    if (!PtInRect(&m_layout.grid, pt)) {
      ResetDrag();
      return;
    }
    if (!Empty(m_rcDrag)) DrawInvertBox(m_hWnd, gc, m_rcDrag, kFrameWidth);
    const int w = m_layout.cellW, h = zigrid::kRowHeight;
    m_rcDrag = CRect(pt.x - w / 2, pt.y - h / 2, pt.x - w / 2 + w, pt.y - h / 2 + h);
    DrawInvertBox(m_hWnd, gc, m_rcDrag, kFrameWidth);
    return;
  }
  CRect cell;
  const bool onZi = OnZi(pt, &cell, nullptr, 0) != 0;
  if (onZi && cell == m_rcHover) return;
  if (!Empty(m_rcHover)) DrawHover(gc, m_rcHover, kGridWhite);
  m_rcHover = CRect(0, 0, 0, 0);
  if (!onZi) return;
  DrawHover(gc, cell, kHoverRed);
  m_rcHover = cell;
}

void CZiListButton::AtLBtnUp(unsigned long, CPoint pt) {
  if (m_nDragged < 0) return;
  int to = -1;
  const int from = m_nDragged;
  if (OnZi(pt, nullptr, &to, 1) && to != from && m_pOwner &&
      zigrid::MoveZi(m_pOwner->m_arrZi, from, to)) {
    m_pOwner->m_bOrderChanged = 1;
  }
  ResetDrag();
  Draw(nullptr);
}

void CZiListButton::ResetDrag() {
  if (m_hWnd && GetPtrGrab() == m_hWnd) UnsetPtrGrab();
  CtrlGC dc(m_hWnd);
  if (dc) {
    if (!Empty(m_rcDrag)) DrawInvertBox(m_hWnd, dc.get(), m_rcDrag, kFrameWidth);
    if (!Empty(m_rcHover)) DrawHover(dc.get(), m_rcHover, kGridWhite);
  }
  m_rcDrag = CRect(0, 0, 0, 0);
  m_rcHover = CRect(0, 0, 0, 0);
  m_nDragged = -1;
}

void CZiListButton::DrawHover(GC gc, const CRect& cell, unsigned long rgb) {
  DrawBox(m_hWnd, gc, rgb, cell, kFrameWidth);
}

void CZiListButton::DrawCtrl(GC gc, unsigned long flag) {
  if (flag != 0) return;
  if (m_layout.Empty()) m_layout = zigrid::Layout::ForControl(m_szWin);
  CRect grid = m_layout.grid;
  FillClrRect(m_hWnd, gc, &grid, kGridWhite);
  // The repaint covered the drag box and the hover frame.
  m_rcDrag = CRect(0, 0, 0, 0);
  m_rcHover = CRect(0, 0, 0, 0);
  const int n = m_pOwner ? m_pOwner->m_arrZi.GetSize() : 0;
  if (n == 0) return;
  const unsigned long oldFg = SetFgClr(gc, kZiColour);
  const unsigned long oldBk = SetBkClr(gc, kGridWhite);
  for (int i = 0; i < n; ++i) {
    const uint16_t v = m_pOwner->m_arrZi[i];
    const char text[3] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8), 0};
    const CRect cell = m_layout.CellOf(i);
    ChBmpStrOut(m_hWnd, gc, cell.left + m_layout.glyphX, cell.top + zigrid::kGlyphTop, text, 0, 0,
                zigrid::kGlyphWidth, zigrid::kGlyphWidth, 0, nullptr, 0, kChStrAuto, 1);
    const bool rowEnds = (i + 1) % zigrid::kCellsPerRow == 0 || i + 1 == n;
    if (rowEnds) {
      const int y = cell.top + zigrid::kLineBelow;
      afc::x11::DrawLine(m_hWnd, gc, grid.left, y, grid.right - 1, y);
    }
  }
  SetFgClrPxl(gc, oldFg);
  SetBkClrPxl(gc, oldBk);
}
