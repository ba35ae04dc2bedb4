// The pixel arithmetic of dialogs, controls and the message box.
#include <gtest/gtest.h>

#include "controls/DlgLayout.h"

namespace {

TEST(DlgLayout, FontHeightTakesTheLargerAndAtLeast20) {
  struct Case {
    int size;
    double dpi;
    int appDefault;
    int want;
  } const cases[] = {
      {10, 96.0, 16, 20},                       // 13.3 below the default, 16 below 20
      {10, 72.0, 16, 20},  {20, 96.0, 16, 26},  // 26.7 truncated
      {10, 200.0, 16, 27},                      // 27.7
      {8, 96.0, 24, 24},                        // the default wins
      {0, 96.0, 16, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " pt at " << c.dpi);
    EXPECT_EQ(dlglayout::DlgFontHeight(c.size, c.dpi, c.appDefault), c.want);
  }
}

TEST(DlgLayout, DialogUnitsAndMinimumSizes) {
  struct Case {
    int h;
    CSize units;
    CSize want;
  } const cases[] = {
      {20, CSize(100, 50), CSize(200, 100)}, {27, CSize(100, 50), CSize(300, 150)},
      {20, CSize(0, 0), CSize(90, 100)},  // minimum sizes
      {20, CSize(1, 1), CSize(2, 100)},   // the rule applies to pixels: 2 x 2
      {8, CSize(1, 2), CSize(90, 100)},   // 1 x 2 pixels: both at their minimum
      {20, CSize(1, 2), CSize(2, 4)},     // 2 x 4 pixels is above both rules
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.h << ": " << c.units.cx << "x" << c.units.cy);
    const CSize px = dlglayout::MinSize(dlglayout::Units(c.units, c.h));
    EXPECT_EQ(px.cx, c.want.cx);
    EXPECT_EQ(px.cy, c.want.cy);
  }
  const CPoint p = dlglayout::Units(CPoint(7, 3), 27);
  EXPECT_EQ(p.x, 21);
  EXPECT_EQ(p.y, 9);
}

TEST(DlgLayout, SingleLineEditHeightAndCentring) {
  EXPECT_EQ(dlglayout::SingleLineEditHeight(20), 32);
  EXPECT_EQ(dlglayout::SingleLineEditHeight(27), 41);
  const CPoint wide = dlglayout::Centre(800, 600, 1001, 100);
  EXPECT_EQ(wide.x, -100);  // a dialog wider than the screen starts left of it
  EXPECT_EQ(wide.y, 250);
}

TEST(DlgLayout, CheckBoxRadioButtonGroupBoxAndProgress) {
  const dlglayout::ChkGeom c = dlglayout::CheckBox(20);
  EXPECT_EQ(c.s, 12);
  EXPECT_EQ(c.q, 3);
  EXPECT_EQ(c.t, 4);
  EXPECT_EQ(c.textX, 17);
  const dlglayout::RdoGeom r = dlglayout::RadioButton(20);
  EXPECT_EQ(r.d, 16);
  EXPECT_EQ(r.r, 8);
  EXPECT_EQ(r.cx, 14);
  EXPECT_EQ(r.cy, 10);
  EXPECT_EQ(r.textX, 32);
  const dlglayout::GrpGeom g = dlglayout::GroupBox(10, 40, 200, 100, 60, 20);
  EXPECT_EQ(g.frame, CRect(10, 50, 210, 140));
  EXPECT_EQ(g.title, CRect(20, 40, 83, 63));
  EXPECT_EQ(dlglayout::ProgressFill(200, 50), 100);
  EXPECT_EQ(dlglayout::ProgressFill(200, 0), 0);
  EXPECT_EQ(dlglayout::ProgressFill(199, 33), 65);
}

TEST(DlgLayout, MessageBoxSizeAndButtons) {
  struct Case {
    int type, tw, th, bw, bh;
    int w, h, tx, ty;
  } const cases[] = {
      {1, 10, 16, 100, 28, 200, 132, 28, 20},  // one button: twice its width
      {2, 10, 16, 100, 28, 300, 132, 28, 20},  // two: three times
      {3, 10, 16, 100, 28, 300, 132, 28, 20},
      {1, 400, 20, 100, 28, 456, 144, 28, 25},  // a long text: text + 2 button heights
      {2, 12, 16, 12, 12, 36, 84, 12, 20},      // template without buttons: 12 x 12
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " text " << c.tw);
    const dlglayout::MsgBoxGeom g = dlglayout::MsgBoxSize(c.type, c.tw, c.th, c.bw, c.bh);
    EXPECT_EQ(g.w, c.w);
    EXPECT_EQ(g.h, c.h);
    EXPECT_EQ(g.text.x, c.tx);
    EXPECT_EQ(g.text.y, c.ty);
  }
  const dlglayout::MsgBoxButtons one = dlglayout::MsgBoxButtonPos(1, 200, 132, 100, 28);
  EXPECT_EQ(one.x1, 50);
  EXPECT_EQ(one.y, 90);
  const dlglayout::MsgBoxButtons two = dlglayout::MsgBoxButtonPos(2, 300, 132, 100, 28);
  EXPECT_EQ(two.x1, 33);   // (300 - 233) / 2
  EXPECT_EQ(two.x2, 166);  // + 133
  EXPECT_EQ(two.y, 90);
}

}  // namespace
