// The character order grid: which cell a point names, unshifted and
// shifted by half a cell, and the move a drop makes.
#include "frontend/ZiGrid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void Fill(CWordArray& a, const std::string& letters) {
  a.RemoveAll();
  for (char c : letters) a.Add(static_cast<uint16_t>(c));
}

std::string Letters(const CWordArray& a) {
  std::string s;
  for (int i = 0; i < a.GetSize(); ++i) s += static_cast<char>(a[i]);
  return s;
}

// A control of 450 by 225: margins 10 and 5, grid (10, 5)-(440, 220),
// cells 43 wide, glyphs 13 from a cell's left.
TEST(ZiGrid, LayoutFollowsTheControl) {
  const zigrid::Layout l = zigrid::Layout::ForControl(CSize(450, 225));
  EXPECT_EQ(l.grid, CRect(10, 5, 440, 220));
  EXPECT_EQ(l.cellW, 43);
  EXPECT_EQ(l.glyphX, 13);
  EXPECT_TRUE(zigrid::Layout().Empty());
}

TEST(ZiGrid, CellUnderAPoint) {
  const zigrid::Layout l = zigrid::Layout::ForControl(CSize(450, 225));
  struct Case {
    CPoint pt;
    int nChars;
    bool shifted;
    int want;  // -1: no cell
  } const cases[] = {
      {{10, 5}, 12, false, 0},   // the first cell's corner
      {{52, 34}, 12, false, 0},  // its last pixel
      {{53, 5}, 12, false, 1},   // the next cell
      {{10 + 43 * 9 + 5, 10}, 12, false, 9},
      {{10 + 43 * 1 + 5, 35}, 12, false, 11},  // second row
      {{10 + 43 * 2 + 5, 35}, 12, false, -1},  // past the last row's cells
      {{15, 65}, 12, false, -1},               // below the rows
      {{9, 10}, 12, false, -1},                // left of the grid
      {{15, 10}, 0, false, -1},                // no characters
      {{10 + 20, 10}, 12, true, 0},            // left half of the first character
      {{10 + 22, 10}, 12, true, 1},            // its right half: the next place
      {{10 - 21, 10}, 12, true, 0},            // the half cell before the grid
      {{10 + 43 + 22, 35}, 12, true, -1},      // right half of the last character
  };
  for (const Case& c : cases) {
    int index = -1;
    CRect cell;
    const bool hit = l.CellAt(c.pt, c.nChars, c.shifted, &cell, &index);
    EXPECT_EQ(hit ? index : -1, c.want) << c.pt.x << "," << c.pt.y << " shifted " << c.shifted;
    if (hit && !c.shifted) {
      EXPECT_EQ(cell, l.CellOf(index));
    }
  }
}

TEST(ZiGrid, DropMovesTheCharacter) {
  struct Case {
    int from, to;
    const char* want;
    bool moved;
  } const cases[] = {
      {3, 1, "adbce", true},   // to the left: into the gap before b
      {0, 3, "bcdae", true},   // to the right: one place past the gap
      {1, 2, "acbde", true},   // the right half of its own cell
      {4, 0, "eabcd", true},   // the last to the front
      {0, 4, "bcdea", true},   // the first to the end
      {2, 2, "abcde", false},  // its own place
      {5, 0, "abcde", false},  // outside the characters
      {0, -1, "abcde", false},
  };
  for (const Case& c : cases) {
    CWordArray a;
    Fill(a, "abcde");
    EXPECT_EQ(zigrid::MoveZi(a, c.from, c.to), c.moved) << c.from << "->" << c.to;
    EXPECT_EQ(Letters(a), c.want) << c.from << "->" << c.to;
  }
}

}  // namespace
