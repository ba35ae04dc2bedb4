// ZiGrid.h: the geometry of the character order editor's grid
// (CZiListButton) and the move a drop makes, free of X so that tests reach
// them directly.
//
// The grid shows a syllable's characters ten to a row, rows 30 pixels
// high, inside the control less a margin of a 45th of its width (left and
// right) and of its height (top and bottom). Cell c of row r holds
// character r * 10 + c.
#pragma once

#include "base/CWordArray.h"
#include "base/Geometry.h"

namespace zigrid {

constexpr int kCellsPerRow = 10;
constexpr int kRowHeight = 30;
constexpr int kGlyphTop = 4;     // glyph offset from a row's top
constexpr int kGlyphWidth = 16;  // the cell of one drawn character
constexpr int kLineBelow = 24;   // the rule under a row, from its top
constexpr int kMarginDivisor = 45;

struct Layout {
  CRect grid;  // empty until computed
  int cellW = 0;
  int glyphX = 0;  // glyph offset from a cell's left

  // The layout of a control of that size (its drawing area from (0, 0)).
  static Layout ForControl(const CSize& size);
  bool Empty() const { return grid.Width() <= 0 || grid.Height() <= 0; }

  // The cell under pt among nChars characters: true with the cell's
  // rectangle and the character index. shifted: every cell starts half a
  // cell width further left, so the left half of a character's cell
  // names that character and the right half the next place. False when
  // pt is in no cell, or there are no characters.
  bool CellAt(const CPoint& pt, int nChars, bool shifted, CRect* cell, int* index) const;
  // The unshifted cell of character index.
  CRect CellOf(int index) const;
};

// The drop of the character at from onto place to (an index as CellAt
// gives it): the character is taken out and put in again at index to as
// counted before it was taken out, so a move to the left lands in the gap
// before the character under the pointer and a move to the right one place
// further on. False, with chars unchanged, when to equals from or either
// lies outside the characters.
bool MoveZi(CWordArray& chars, int from, int to);

}  // namespace zigrid
