#include "frontend/BarCells.h"

const typBarCell kBarCellTable[kBarCells] = {
    {kCellMenu, 0, 27, 0, 21, "Menu"},
    {kCellMode, 27, 103, 21, 41, "Change Input Mode"},
    {kCellMethod, 103, 134, -1, -1, "Change Input Method"},
    {kCellKeymap, 134, 154, 41, 61, "Show KeyMap"},
    {kCellFanTi, 154, 174, -1, -1, "Toggle Simplified or Traditional Chinese Output"},
    {kCellFullWidth, 174, 194, 61, 81, "Full or Half Width FuHao"},
    {kCellPunct, 194, 214, 81, 101, "Full or Half Width BiaoDian"},
    {kCellPrefs, 214, 234, 101, 121, "System Preferences"},
    {kCellFind, 234, 254, -1, -1, "Find/Replace in Files"},
    {kCellEditor, 254, 274, -1, -1, "Launch Belquin Editor"},
    {kCellHelp, 274, 294, 121, 141, "Help/Guide"},
    {kCellDrag, 294, 314, 141, 161, "Move Panel Position"},
    {kCellExit, 314, 334, -1, -1, "Exit"},
};

namespace {

int BarWidth(bool shortBar) { return shortBar ? kShortBarWidth : kLongBarWidth; }

void Edges(const typBarCell& c, bool shortBar, int* left, int* right) {
  *left = shortBar ? c.shortLeft : c.longLeft;
  *right = shortBar ? c.shortRight : c.longRight;
}

// A face of normal and pressed source points.
struct Face {
  int nx, ny, px, py;
};

BarFaceCopy Copy(const Face& f, bool pressed, int dstX, int width) {
  return BarFaceCopy{
      pressed ? f.px : f.nx, pressed ? f.py : f.ny, dstX, kCellTop, width, kCellHeight};
}

Face ModeFace(const BarFaceModes& m) {
  if (m.chinese) {
    if (m.shortBar) return {102, 60, 102, 80};
    if (m.icon1 == 1) return {266, 60, 28, 0};
    if (m.icon1 == 2) return {266, 80, 28, 0};
    return {28, 0, 28, 0};
  }
  return m.shortBar ? Face{223, 60, 223, 80} : Face{0, 40, 75, 40};
}

// The face of every cell but the menu and the mode cells.
Face PlainFace(int bit, const BarFaceModes& m) {
  const bool s = m.shortBar;
  switch (bit) {
    case kCellMethod: return m.pinYin ? Face{103, 0, 103, 20} : Face{152, 40, 183, 40};
    case kCellKeymap: return s ? Face{121, 60, 121, 80} : Face{134, 0, 134, 20};
    case kCellFanTi: return m.fanTi ? Face{154, 0, 154, 20} : Face{295, 40, 315, 40};
    case kCellFullWidth:
      if (!m.fullWidth) return {215, 40, 235, 40};
      return s ? Face{141, 59, 141, 79} : Face{174, 0, 174, 20};
    case kCellPunct:
      if (!m.chnPunct) return {255, 40, 275, 40};
      return s ? Face{161, 59, 161, 79} : Face{194, 0, 194, 20};
    case kCellPrefs: return s ? Face{181, 60, 181, 80} : Face{214, 0, 214, 20};
    case kCellFind: return {234, 0, 234, 20};
    case kCellEditor: return {254, 0, 254, 20};
    case kCellHelp: return s ? Face{202, 60, 202, 80} : Face{274, 0, 274, 20};
    case kCellDrag: return s ? Face{242, 60, 242, 60} : Face{294, 0, 294, 20};
    default: return {314, 0, 314, 20};  // kCellExit
  }
}

// Cells whose pressed face shows only in Chinese input, and which carry
// green lines in English input.
bool IdleInEnglish(int bit) {
  return bit == kCellMethod || bit == kCellKeymap || bit == kCellFullWidth || bit == kCellPunct;
}

}  // namespace

int BarCellAt(bool shortBar, CPoint pt, int* cellLeft, int* cellRight) {
  if (pt.x < 0 || pt.y < 0 || pt.x >= BarWidth(shortBar) || pt.y >= kBarHeight) return 0;
  for (const typBarCell& c : kBarCellTable) {
    int left, right;
    Edges(c, shortBar, &left, &right);
    if (left < 0 || right <= pt.x) continue;
    if (cellLeft) *cellLeft = left;
    if (cellRight) *cellRight = right;
    return c.bit;
  }
  return 0;
}

const typBarCell* BarCellOf(int cells) {
  for (const typBarCell& c : kBarCellTable) {
    if (cells & c.bit) return &c;
  }
  return nullptr;
}

bool BarCellEdges(bool shortBar, int bit, int* left, int* right) {
  for (const typBarCell& c : kBarCellTable) {
    if (c.bit != bit) continue;
    Edges(c, shortBar, left, right);
    return *left >= 0;
  }
  return false;
}

BarCellFace BarCellFaceFor(int bit, bool pressed, const BarFaceModes& m) {
  BarCellFace face;
  int left = 0, right = 0;
  if (!BarCellEdges(m.shortBar, bit, &left, &right)) return face;
  const int width = right - left;
  if (bit == kCellMenu) {
    face.copies[0] = Copy({0, 0, 0, 20}, pressed, 2, 22);
    const int fx = m.iconFrame * 20;
    face.copies[1] = Copy({fx, 60, fx, 80}, pressed, 2, 20);
    face.nCopies = 2;
    return face;
  }
  if (bit == kCellMode) {
    face.copies[0] = Copy(ModeFace(m), pressed, left + 1, m.chinese ? width : width - 1);
    face.nCopies = 1;
    return face;
  }
  const bool pressable = m.chinese || !(IdleInEnglish(bit) || (bit == kCellFanTi && m.fanTi));
  face.copies[0] = Copy(PlainFace(bit, m), pressed && pressable, left, width);
  face.nCopies = 1;
  face.greenLines = !m.chinese && IdleInEnglish(bit);
  return face;
}
