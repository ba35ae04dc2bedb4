#include "frontend/ZiGrid.h"

namespace zigrid {

Layout Layout::ForControl(const CSize& size) {
  Layout l;
  const int mx = size.cx / kMarginDivisor;
  const int my = size.cy / kMarginDivisor;
  l.grid = CRect(mx, my, size.cx - mx, size.cy - my);
  l.cellW = l.grid.Width() / kCellsPerRow;
  l.glyphX = (l.cellW - kGlyphWidth) / 2;
  return l;
}

bool Layout::CellAt(const CPoint& pt, int nChars, bool shifted, CRect* cell, int* index) const {
  if (nChars <= 0 || cellW <= 0) return false;
  const int rows = (nChars + kCellsPerRow - 1) / kCellsPerRow;
  const int dy = pt.y - grid.top;
  if (dy < 0) return false;
  const int r = dy / kRowHeight;
  if (r >= rows) return false;
  const int inRow = r == rows - 1 && nChars % kCellsPerRow ? nChars % kCellsPerRow : kCellsPerRow;
  const int left = grid.left - (shifted ? cellW / 2 : 0);
  const int dx = pt.x - left;
  if (dx < 0) return false;
  const int c = dx / cellW;
  if (c >= inRow) return false;
  if (cell) {
    const int x = left + c * cellW;
    const int y = grid.top + r * kRowHeight;
    *cell = CRect(x, y, x + cellW, y + kRowHeight);
  }
  if (index) *index = r * kCellsPerRow + c;
  return true;
}

CRect Layout::CellOf(int index) const {
  const int x = grid.left + (index % kCellsPerRow) * cellW;
  const int y = grid.top + (index / kCellsPerRow) * kRowHeight;
  return CRect(x, y, x + cellW, y + kRowHeight);
}

bool MoveZi(CWordArray& chars, int from, int to) {
  const int n = chars.GetSize();
  if (from == to || from < 0 || from >= n || to < 0 || to >= n) return false;
  const uint16_t moved = chars[from];
  chars.RemoveAt(from, 1);
  chars.InsertTo(to, moved);
  return true;
}

}  // namespace zigrid
