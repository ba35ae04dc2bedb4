// BarCells.h: the cells of kvr's main bar: where each lies on the long and
// the short bar, its tool tip, and which face of the bar's picture sheet
// (bitmap 161) shows it in the current modes. Pure geometry, no X: the
// window code (frontend/MainBar.cpp) copies the faces.
//
// The bar is 26 pixels high, 340 wide (long) or 155 wide (short); the cells
// lie in a row at y 2, 20 pixels high. A point lies in the first cell whose
// right edge is greater than its x; points at or beyond the last right edge,
// or outside the window, lie in no cell.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

// Cell bits.
enum : int {
  kCellMenu = 0x1,
  kCellMode = 0x2,
  kCellMethod = 0x4,
  kCellKeymap = 0x8,
  kCellFanTi = 0x10,
  kCellFullWidth = 0x20,
  kCellPunct = 0x40,
  kCellPrefs = 0x80,
  kCellFind = 0x100,
  kCellEditor = 0x200,
  kCellHelp = 0x400,
  kCellDrag = 0x800,
  kCellExit = 0x1000,
};
constexpr int kBarCells = 13;

constexpr int kBarHeight = 26;
constexpr int kLongBarWidth = 340;
constexpr int kShortBarWidth = 155;  // 155.4 truncated
constexpr int kCellTop = 2;
constexpr int kCellHeight = 20;
// The bar's 3D outline: 340 or 153 by 24 at (0, 0).
constexpr int kOutlineHeight = 24;
constexpr int kShortOutlineWidth = 153;

// The picture sheet: rows of 20-pixel faces.
constexpr int kSheetWidth = 344;
constexpr int kSheetHeight = 100;

// One cell of the bar. A short-bar edge of -1: the cell is not on the short
// bar. Right edges are exclusive.
struct typBarCell {
  int bit;
  int16_t longLeft, longRight;
  int16_t shortLeft, shortRight;
  const char* toolTip;
};
// The thirteen cells in bar order.
extern const typBarCell kBarCellTable[kBarCells];

// The cell (bit) at point pt of a bar of that form, 0 for none; cellLeft
// and cellRight (when not null) get its edges.
int BarCellAt(bool shortBar, CPoint pt, int* cellLeft, int* cellRight);
// The cell record of the first bit set in cells; null for none.
const typBarCell* BarCellOf(int cells);
// The cell's edges on a bar of that form; false when it is not on it.
bool BarCellEdges(bool shortBar, int bit, int* left, int* right);

// The modes that choose a cell's face.
struct BarFaceModes {
  bool shortBar;
  bool chinese;    // InputMode 0
  bool pinYin;     // InputMthd 1
  bool fanTi;      // traditional output
  bool fullWidth;  // FullSize
  bool chnPunct;   // UseChnPunctMark
  int icon1;       // gcfg ICON1
  int iconFrame;   // the menu icon's animation frame, 0 to 4
};

// One copy from the sheet to the bar.
struct BarFaceCopy {
  int srcX, srcY;
  int dstX, dstY;
  int width, height;
};
// How to paint one cell: up to two copies (the menu cell adds its icon
// frame) and whether green lines mark it as idle in English input.
struct BarCellFace {
  int nCopies = 0;
  BarFaceCopy copies[2];
  bool greenLines = false;
};
// The face of cell bit, pressed or not, in those modes; nCopies 0 when the
// cell is not on that bar.
BarCellFace BarCellFaceFor(int bit, bool pressed, const BarFaceModes& modes);
