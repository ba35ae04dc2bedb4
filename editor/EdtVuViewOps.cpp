// The view's remaining operations: taking the focus, the font-change
// bookkeeping, the right button, list mode's spot parser and the selected
// band.
#include <algorithm>
#include <cctype>

#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "framework/WinGeometry.h"

namespace {
constexpr int kDefaultCharWidth = 8;
}  // namespace

void AEdtVu::OnSetFocus(AWnd*) {
  PlaceCaret();
  CRect block;
  const bool hide = InBlockSelectMode() && GetBlockSelArea(block) && block.left != block.right;
  m_bCaretHidden = hide;
  World().MapCaret(hide ? 0 : 1);
  EditorEngine().ShowNMoveInputPanes(0);
}

void AEdtVu::OnChooseFont() {
  m_ptSavedViewPos = CPoint(GetXCharPosFromX(0), GetScrollThumPos(1) / RowHeight());
}

void AEdtVu::UpdateParams() {
  m_nFontHeight = static_cast<int16_t>(m_nFontHeight / 2 * 2);
  m_nSpaceWidth = 0;
  m_nRowGap = static_cast<int16_t>(m_nFontHeight * m_dRowGapFactor);
  m_nRowHeight = static_cast<int16_t>(m_nRowGap + m_nFontHeight);
  m_nCharWidth = static_cast<int16_t>(m_nFontHeight / 2 ? m_nFontHeight / 2 : kDefaultCharWidth);
  MySetScrollParams();
  m_nCaretRow = m_nCaretCol = m_nCaretDispCol = 0;
  m_ptSelAnchor = m_ptSelEnd = CPoint(0, 0);
  m_dwDragDir = 0;
  m_nBlockSelX = 0;
  m_byHeldLead = 0;
}

int AEdtVu::OnRButtonDown(unsigned long, CPoint p) {
  const int64_t y = static_cast<int64_t>(GetScrollThumPos(1)) + p.y;
  return static_cast<int>(std::clamp<int64_t>(y / RowHeight(), 0, std::max(RowCount() - 1, 0)));
}

void AEdtVu::OnPopMenuCmd() {
  POINT at{0, 0};
  GetPointerPos(&at);
  OnRButtonDown(0, CPoint(at));
}

// A spot is written "(" digits, then after anything but digits a second
// run of digits, as compilers name a file's line and column.
int AEdtVu::ParseCurLineAndGoSpot() {
  CString text;
  const int n = RowText(m_nCaretRow, text);
  const auto digit = [&](int i) {
    return i < n && std::isdigit(static_cast<unsigned char>(text[i]));
  };
  for (int i = 0; i < n; ++i) {
    if (text[i] != '(' || !digit(i + 1)) continue;
    int j = i + 1;
    while (digit(j)) ++j;
    while (j < n && !digit(j)) ++j;
    return digit(j) ? 1 : 0;
  }
  return 0;
}

void AEdtVu::GetSelArea(CRect& rc) {
  const int top = std::min(m_ptSelAnchor.y, m_ptSelEnd.y);
  const int bottom = std::max(m_ptSelAnchor.y, m_ptSelEnd.y);
  rc = CRect(0, top * RowHeight(), GetDocSize().cx, (bottom + 1) * RowHeight());
}
