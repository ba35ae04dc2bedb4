#include <gtest/gtest.h>

#include "frontend/BarCells.h"

namespace {

TEST(BarCells, CheckButtonPosTable) {
  struct Case {
    bool shortBar;
    int x, y;
    int cell, left, right;
  } const cases[] = {
      {false, 0, 10, kCellMenu, 0, 27},
      {false, 26, 10, kCellMenu, 0, 27},
      {false, 27, 10, kCellMode, 27, 103},
      {false, 30, 10, kCellMode, 27, 103},
      {false, 102, 0, kCellMode, 27, 103},
      {false, 103, 25, kCellMethod, 103, 134},
      {false, 240, 10, kCellFind, 234, 254},
      {false, 260, 10, kCellEditor, 254, 274},
      {false, 300, 10, kCellDrag, 294, 314},
      {false, 333, 10, kCellExit, 314, 334},
      {false, 334, 10, 0, 0, 0},  // past the last cell
      {false, 339, 10, 0, 0, 0},
      {false, 340, 10, 0, 0, 0},  // outside the window
      {false, 30, 26, 0, 0, 0},
      {false, -1, 10, 0, 0, 0},
      {false, 30, -1, 0, 0, 0},
      {true, 0, 10, kCellMenu, 0, 21},
      {true, 21, 10, kCellMode, 21, 41},
      {true, 41, 10, kCellKeymap, 41, 61},  // the short bar has no method cell
      {true, 61, 10, kCellFullWidth, 61, 81},
      {true, 81, 10, kCellPunct, 81, 101},
      {true, 101, 10, kCellPrefs, 101, 121},
      {true, 121, 10, kCellHelp, 121, 141},
      {true, 154, 10, kCellDrag, 141, 161},
      {true, 155, 10, 0, 0, 0},  // the short window is 155 wide
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.shortBar ? "short " : "long ") << c.x << "," << c.y);
    int left = 0, right = 0;
    EXPECT_EQ(BarCellAt(c.shortBar, CPoint(c.x, c.y), &left, &right), c.cell);
    if (c.cell) {
      EXPECT_EQ(left, c.left);
      EXPECT_EQ(right, c.right);
    }
  }
}

BarFaceModes Modes(bool shortBar, bool chinese) {
  BarFaceModes m{};
  m.shortBar = shortBar;
  m.chinese = chinese;
  m.pinYin = true;
  m.fullWidth = true;
  m.chnPunct = true;
  m.icon1 = 1;
  return m;
}

TEST(BarCells, FacesFollowTheModes) {
  struct Case {
    int bit;
    bool pressed, shortBar, chinese;
    void (*tweak)(BarFaceModes&);
    int srcX, srcY, dstX, width;
    bool green;
  } const cases[] = {
      {kCellMode, false, false, true, nullptr, 266, 60, 28, 76, false},
      {kCellMode, false, false, true, [](BarFaceModes& m) { m.icon1 = 2; }, 266, 80, 28, 76, false},
      {kCellMode, false, false, true, [](BarFaceModes& m) { m.icon1 = 0; }, 28, 0, 28, 76, false},
      {kCellMode, true, false, true, nullptr, 28, 0, 28, 76, false},
      {kCellMode, false, false, false, nullptr, 0, 40, 28, 75, false},  // a pixel narrower
      {kCellMode, true, false, false, nullptr, 75, 40, 28, 75, false},
      {kCellMode, false, true, true, nullptr, 102, 60, 22, 20, false},
      {kCellMode, true, true, false, nullptr, 223, 80, 22, 19, false},
      {kCellMethod, true, false, true, nullptr, 103, 20, 103, 31, false},
      {kCellMethod, false, false, true, [](BarFaceModes& m) { m.pinYin = false; }, 152, 40, 103, 31,
       false},
      // In English input these cells never look pressed and carry green lines.
      {kCellMethod, true, false, false, nullptr, 103, 0, 103, 31, true},
      {kCellKeymap, true, true, false, nullptr, 121, 60, 41, 20, true},
      {kCellFanTi, true, false, true, nullptr, 315, 40, 154, 20, false},
      {kCellFanTi, true, false, false, nullptr, 315, 40, 154, 20, false},
      {kCellFanTi, true, false, false, [](BarFaceModes& m) { m.fanTi = true; }, 154, 0, 154, 20,
       false},
      {kCellFullWidth, false, true, true, nullptr, 141, 59, 61, 20, false},
      {kCellFullWidth, false, false, true, [](BarFaceModes& m) { m.fullWidth = false; }, 215, 40,
       174, 20, false},
      {kCellPunct, true, false, true, [](BarFaceModes& m) { m.chnPunct = false; }, 275, 40, 194, 20,
       false},
      {kCellDrag, true, true, true, nullptr, 242, 60, 141, 20, false},  // no pressed face
      {kCellExit, true, false, true, nullptr, 314, 20, 314, 20, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.bit << (c.pressed ? " pressed" : ""));
    BarFaceModes m = Modes(c.shortBar, c.chinese);
    if (c.tweak) c.tweak(m);
    const BarCellFace f = BarCellFaceFor(c.bit, c.pressed, m);
    ASSERT_EQ(f.nCopies, 1);
    EXPECT_EQ(f.copies[0].srcX, c.srcX);
    EXPECT_EQ(f.copies[0].srcY, c.srcY);
    EXPECT_EQ(f.copies[0].dstX, c.dstX);
    EXPECT_EQ(f.copies[0].dstY, kCellTop);
    EXPECT_EQ(f.copies[0].width, c.width);
    EXPECT_EQ(f.copies[0].height, kCellHeight);
    EXPECT_EQ(f.greenLines, c.green);
    // Every face lies on the sheet.
    EXPECT_LE(f.copies[0].srcX + f.copies[0].width, kSheetWidth);
    EXPECT_LE(f.copies[0].srcY + f.copies[0].height, kSheetHeight);
  }
}

TEST(BarCells, MenuCellCarriesTheIconFrame) {
  BarFaceModes m = Modes(false, true);
  m.iconFrame = 3;
  const BarCellFace f = BarCellFaceFor(kCellMenu, true, m);
  ASSERT_EQ(f.nCopies, 2);
  EXPECT_EQ(f.copies[0].srcY, 20);
  EXPECT_EQ(f.copies[0].width, 22);
  EXPECT_EQ(f.copies[1].srcX, 60);
  EXPECT_EQ(f.copies[1].srcY, 80);
  EXPECT_EQ(f.copies[1].dstX, 2);
  // A cell the short bar does not have has no face there.
  EXPECT_EQ(BarCellFaceFor(kCellExit, false, Modes(true, true)).nCopies, 0);
}

}  // namespace
