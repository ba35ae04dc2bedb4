// The caret: placing the framework's caret, keeping it in sight, and the
// caret moves that the hosts and the commands start from.
#include <algorithm>
#include <cstdlib>

#include "editor/AEdtVu.h"
#include "editor/EdtVuWorld.h"

namespace {
// How many whole steps of size unit cover d (d >= 0).
int StepsCovering(int d, int unit) { return d / unit + (d % unit ? 1 : 0); }
}  // namespace

void AEdtVu::SetCaretPosWithOffset(POINT p) {
  if (m_hWnd && World().FocusWin() == m_hWnd) World().SetCaretPt(CPoint(p));
}

CPoint AEdtVu::GetCaretPosWithOffset() { return World().GetCaretPt(); }

void AEdtVu::PlaceCaret() {
  CPoint p = LnChar2PointInDoc(nullptr, m_nCaretRow, m_nCaretCol);
  const CPoint scroll = GetScrollThumPosPt();
  SetCaretPosWithOffset(CPoint(p.x - scroll.x, p.y - scroll.y));
}

int AEdtVu::ScrollVertForCaret(const CRect& visible, int caretY) {
  const int rh = RowHeight(), pos = GetScrollThumPos(1);
  CRect view;
  GetVuRect(&view);
  if (caretY < visible.top) {
    SetScrollThumPos(1, std::max(pos - StepsCovering(visible.top - caretY, rh) * rh, 0));
  } else if (visible.bottom < caretY + rh) {
    const int d = visible.bottom - (caretY + rh) - view.Height() / 2;
    int q = d / rh + (d % rh ? 1 : 0);
    // In a view lower than two rows the half-view margin no longer covers
    // the rounding above; the caret's row must still come into sight.
    const int shortBy = caretY + rh - (visible.bottom - q * rh);
    if (shortBy > 0) q -= StepsCovering(shortBy, rh);
    SetScrollThumPos(1, pos - q * rh);
  }
  return GetScrollThumPos(1) != pos;
}

int AEdtVu::ScrollHorzForCaret(const CRect& visible, int caretX) {
  const int cw = CharWidth(), pos = GetScrollThumPos(0);
  CRect view;
  GetVuRect(&view);
  const int xa = GetPixelXPosByPointXOrCharX(nullptr, m_ptSelAnchor.y, m_ptSelAnchor.x, 0, nullptr,
                                             nullptr, nullptr, nullptr);
  const int xe = GetPixelXPosByPointXOrCharX(nullptr, m_ptSelEnd.y, m_ptSelEnd.x, 0, nullptr,
                                             nullptr, nullptr, nullptr);
  const int left = std::min(xa, xe), width = std::abs(xa - xe);
  const bool selEmpty = m_ptSelAnchor == m_ptSelEnd;
  if (selEmpty || width > view.Width() || left >= visible.left) {
    if (caretX < visible.left + cw) {
      const int dist = visible.left - caretX;
      const int k = dist / cw + (dist % cw == 0 ? 3 : 5);
      SetScrollThumPos(0, std::max(pos - k * cw, 0));
    } else if (visible.right < caretX + 2 * cw) {
      const int m = visible.right - (cw + caretX);
      const int q = m / cw - (m % cw == 0 ? 3 : 5);
      SetScrollThumPos(0, pos - q * cw);
    }
  } else {
    // A selection that fits the view but begins left of it: bring its
    // start in, with a margin when there is room.
    int k = StepsCovering(visible.left - left, cw);
    if (width < view.Width()) k += 4;
    SetScrollThumPos(0, std::max(pos - k * cw, 0));
  }
  return GetScrollThumPos(0) != pos;
}

int AEdtVu::MyShowCaret() {
  const CPoint caret = LnChar2PointInDoc(nullptr, m_nCaretRow, m_nCaretCol);
  CRect visible;
  GetVuRect(&visible);
  visible.OffsetRect(GetScrollThumPosPt());
  const bool vert = ScrollVertForCaret(visible, caret.y);
  const bool horz = ScrollHorzForCaret(visible, caret.x);
  if (vert || horz) PlaceCaret();
  if (vert && horz) return kShowCaretBoth;
  if (horz) return kShowCaretHorz;
  if (vert) return kShowCaretVert;
  return kShowCaretNone;
}

void AEdtVu::MySetCaretPos(int row, int byteCol, int center) {
  m_nCaretRow = row;
  m_nCaretCol = byteCol;
  CRect view;
  GetVuRect(&view);
  const int rh = RowHeight();
  const int visibleRows = view.Height() / rh;
  if (center && visibleRows > 1) {
    const CPoint at = LnChar2PointInDoc(nullptr, row, byteCol);
    const int top = std::clamp((row - visibleRows / 2) * rh, 0, std::max(GetScrollHi(1), 0));
    const int left = std::clamp(at.x, 0, std::max(GetScrollHi(0), 0));
    const CPoint scroll = GetScrollThumPosPt();
    ScrollDoc(left - scroll.x, top - scroll.y);
  }
  PlaceCaret();
}

void AEdtVu::ResetCaretInfo() {
  m_nCaretRow = m_nCaretCol = m_nCaretDispCol = 0;
  m_ptSelAnchor = m_ptSelEnd = CPoint(0, 0);
  PlaceCaret();
}

void AEdtVu::MoveCaretToTopLeft() {
  ResetCaretInfo();
  m_nBlockSelX = 0;
  MyShowCaret();
}

void AEdtVu::MoveCaretToBottomRight(int, int noShow) {
  m_nCaretRow = std::max(RowCount() - 1, 0);
  m_nCaretCol = 0;
  m_ptSelAnchor = m_ptSelEnd = CPoint(0, m_nCaretRow);
  if (noShow) return;
  PlaceCaret();
  MyShowCaret();
}

void AEdtVu::GotoNHiliteLine(int n) {
  const bool hilite = n >= 0;
  const int rows = RowCount();
  if (rows < 1) return;
  const int row = std::clamp(hilite ? n : -n, 0, rows - 1);
  CString text;
  const int len = RowText(row, text);
  if (hilite) {
    MySetCaretPos(row, 0, 1);
    m_ptSelAnchor = CPoint(0, row);
    m_ptSelEnd = CPoint(len, row);
  } else {
    MySetCaretPos(row, len, 0);
    m_ptSelAnchor = m_ptSelEnd = CPoint(len, row);
  }
}

CPoint AEdtVu::GetSelectPosScrnCoord() {
  const int x = GetPixelXPosByPointXOrCharX(nullptr, m_ptSelAnchor.y, m_ptSelAnchor.x, 0, nullptr,
                                            nullptr, nullptr, nullptr);
  const CPoint scroll = GetScrollThumPosPt();
  return CPoint(x - scroll.x, m_nCaretRow * RowHeight() - scroll.y);
}
