// Presses, double, triple and quadruple clicks, selections and dragging,
// with the fake world's millisecond clock (EdtVuFixture.h: 8 pixels a
// byte, rows of 24, a view of 25 columns and 4 rows).
#include "tests/editor/EdtVuFixture.h"

namespace edtvutest {
namespace {

// The point in the left (or right) half of byte column col of row.
CPoint LeftHalf(int col, int row = 0) { return CPoint(col * 8 + 2, row * 24 + 5); }
CPoint RightHalf(int col, int row = 0) { return CPoint(col * 8 + 6, row * 24 + 5); }

class EdtVuMouseTest : public EdtVuTest {
 protected:
  void Press(CPoint p, uint32_t at) {
    world.now = at;
    view.AtLBtnDwn(0, p);
  }
  // Two presses at p, gap milliseconds apart.
  void DoubleClick(CPoint p, uint32_t at, uint32_t gap = 100) {
    Press(p, at);
    Press(p, at + gap);
  }
  CPoint Caret() const { return CPoint(view.m_nCaretCol, view.m_nCaretRow); }
};

TEST_F(EdtVuMouseTest, PressPlacesTheCaretAtTheNearestEdge) {
  struct Case {
    CPoint p;
    int vpos;
    CPoint caret;
  } const cases[] = {
      {LeftHalf(3, 1), 0, {3, 1}}, {RightHalf(3, 1), 0, {4, 1}},
      {{10, 500}, 0, {10, 2}},  // below the text: the end of the last row
      {{-30, 5}, 0, {0, 0}},    // left of the view
      {{2, 5}, 24, {0, 1}},     // scrolled one row down
      {{400, 29}, 0, {10, 1}},  // right of the row's end
  };
  uint32_t t = 1000000;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    SetText(Rows(3, 10));
    view.SetScrollThumPos(1, c.vpos);
    view.m_ptSelAnchor = CPoint(0, 0);  // a selection the press collapses
    view.m_ptSelEnd = CPoint(5, 2);
    t += 1000;
    Press(c.p, t);
    EXPECT_EQ(Caret(), c.caret);
    EXPECT_EQ(view.m_ptSelAnchor, c.caret);
    EXPECT_EQ(view.m_ptSelEnd, c.caret);
    EXPECT_EQ(world.caret, CPoint(c.caret.x * 8, c.caret.y * 24 - c.vpos));
  }
}

TEST_F(EdtVuMouseTest, ShiftPressDoesNotExtend) {
  SetText("foo bar");
  Press(LeftHalf(1), 1000000);
  world.now += 1000;
  view.AtLBtnDwn(1 /* Shift */, LeftHalf(5));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(5, 0));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(5, 0));
}

TEST_F(EdtVuMouseTest, DoubleClickIsWithin340Milliseconds) {
  struct Case {
    uint32_t gap;
    const char* want;
  } const cases[] = {{1, "baz"}, {340, "baz"}, {341, ""}, {5000, ""}};
  uint32_t t = 2000000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gap);
    SetText("foo_bar baz");
    t += 10000;
    DoubleClick(LeftHalf(9), t, c.gap);
    EXPECT_EQ(Selected(), c.want);
  }
}

TEST_F(EdtVuMouseTest, DoubleClickSelects) {
  // ab, then the GBK characters zhong and wen, then cd.
  const std::string chn =
      "ab\xd6\xd0\xce\xc4"
      "cd";
  struct Case {
    std::string text;
    CPoint p;
    std::string want;
    int resets;
  } const cases[] = {
      {"foo_bar baz", LeftHalf(9), "baz", 0},      // the a of baz
      {"foo_bar baz", LeftHalf(5), "foo_bar", 0},  // the a of bar
      // Right of a caret that follows a letter, or on the left half of
      // the blank after it, the letter before the caret alone.
      {"foo_bar baz", RightHalf(10), "z", 0},
      {"foo_bar baz", LeftHalf(7), "r", 0},
      {"a + b", LeftHalf(2), "+", 0},       // a sign alone
      {chn, LeftHalf(4), "\xce\xc4", 0},    // left half of wen: its two bytes
      {chn, CPoint(44, 5), "\xce\xc4", 0},  // right half of wen
      {chn, LeftHalf(2), "\xd6\xd0", 0},
      {"", LeftHalf(0), "", 1},     // an empty row: nothing, engine reset
      {"foo", LeftHalf(8), "", 1},  // right of the row's end
  };
  uint32_t t = 3000000;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " at " << c.p.x);
    SetText(c.text);
    engine.resets = 0;
    view.m_byHeldLead = 0xb0;
    t += 10000;
    DoubleClick(c.p, t);
    EXPECT_EQ(Selected(), c.want);
    EXPECT_EQ(engine.resets, c.resets);
    if (c.resets) {
      EXPECT_EQ(view.m_byHeldLead, 0);
    }
    // The caret sits at the selection's end.
    EXPECT_EQ(Caret(), view.m_ptSelEnd);
  }
}

TEST_F(EdtVuMouseTest, TripleClickSelectsTheChineseRunOrTheRow) {
  // ab, zhong wen zi, a full-width comma (a symbol), cd.
  const std::string chn =
      "ab\xd6\xd0\xce\xc4\xd7\xd6\xa3\xac"
      "cd";
  struct Case {
    std::string text;
    CPoint p;
    std::string want;
  } const cases[] = {
      {chn, LeftHalf(4), "\xd6\xd0\xce\xc4\xd7\xd6"},
      {chn, LeftHalf(10), chn},  // on c: the row
      {"foo bar", LeftHalf(5), "foo bar"},
  };
  uint32_t t = 4000000;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " at " << c.p.x);
    SetText(c.text);
    engine.resets = 0;
    t += 10000;
    DoubleClick(c.p, t);
    Press(c.p, t + 200);
    EXPECT_EQ(Selected(), c.want);
    EXPECT_EQ(engine.resets, 1);
  }
}

TEST_F(EdtVuMouseTest, ThirdPressElsewhereOrLateIsAPlainPress) {
  SetText("foo bar");
  DoubleClick(LeftHalf(1), 5000000);
  Press(LeftHalf(5), 5000200);  // another point
  EXPECT_EQ(Selected(), "");
  EXPECT_EQ(Caret(), CPoint(5, 0));

  DoubleClick(LeftHalf(1), 5100000);
  Press(LeftHalf(1), 5100100 + 340);  // 340 after the double click: too late
  EXPECT_EQ(Selected(), "");
}

TEST_F(EdtVuMouseTest, QuadrupleClickSelectsTheParagraph) {
  SetText("intro\r\n\r\n  first line\r\nsecond\r\nthird\r\n\r\nnext");
  const CPoint p = LeftHalf(2, 3);  // on "second"
  engine.resets = 0;
  DoubleClick(p, 6000000);
  Press(p, 6000200);
  EXPECT_EQ(Selected(), "second");
  Press(p, 6000300);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(0, 2));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(5, 4));
  EXPECT_EQ(Caret(), CPoint(5, 4));
  EXPECT_EQ(engine.resets, 2);  // the triple and the quadruple click
}

TEST_F(EdtVuMouseTest, QuadrupleClickParagraphBounds) {
  // Rows: 0 "aa", 1 "bb", 2 "  cc" (indented: opens a paragraph), 3 "dd",
  // 4 "", 5 "ee", 6 the ideographic space and ff (opens one too).
  const std::string text =
      "aa\r\nbb\r\n  cc\r\ndd\r\n\r\nee\r\n\xa1\xa1"
      "ff";
  struct Case {
    int row;
    CPoint anchor, end;
  } const cases[] = {
      {1, {0, 0}, {2, 1}},  // stops before the indented row
      {3, {0, 2}, {2, 3}},  // from the indented row down to the empty one
      {4, {0, 5}, {2, 5}},  // an empty row: the paragraph below it
      {5, {0, 5}, {2, 5}},  // the next row opens a paragraph
  };
  uint32_t t = 7000000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    SetText(text);
    const CPoint p = LeftHalf(0, c.row);
    t += 10000;
    DoubleClick(p, t);
    Press(p, t + 200);
    Press(p, t + 300);
    EXPECT_EQ(view.m_ptSelAnchor, c.anchor);
    EXPECT_EQ(view.m_ptSelEnd, c.end);
  }
}

TEST_F(EdtVuMouseTest, PressesNearTheClocksStartDoNotRecurse) {
  // The click times start at 0: a press within 340 ms of the clock's start
  // (or of its wrap) is taken as the double click of a press at time 0.
  // The double click asks the click counter again; that must not run a
  // second double click from inside the first (and so on without end).
  SetText("foo bar");
  Press(LeftHalf(1), 100);
  EXPECT_FALSE(Selected().empty());
  Press(LeftHalf(1), 200);
  EXPECT_EQ(view.m_ptSelEnd.y, 0);
  EXPECT_EQ(Caret(), view.m_ptSelEnd);
}

TEST_F(EdtVuMouseTest, DraggingBelowScrollsOneRowPerTick) {
  SetText(Rows(40, 10));
  Press(LeftHalf(2, 1), 8000000);
  view.AtPtrMv(0, CPoint(18, 200));
  EXPECT_EQ(world.timers, std::vector<std::string>{"create 40"});
  EXPECT_EQ(view.m_dwDragDir, kDragDown);
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 4));  // the row under the view's bottom
  int lastTop = view.GetScrollThumPos(1);
  for (int tick = 1; tick <= 6; ++tick) {
    SCOPED_TRACE(tick);
    view.AtTimer(world.nextSlot);
    EXPECT_EQ(view.m_ptSelAnchor, CPoint(2, 1));
    EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 4 + tick));
    const int top = view.GetScrollThumPos(1);
    EXPECT_GE(top, lastTop);
    EXPECT_LE(top, (4 + tick) * 24);  // the caret row is in sight
    EXPECT_GE(top + 96, (4 + tick + 1) * 24);
    lastTop = top;
  }
  EXPECT_GT(lastTop, 0);
  view.AtTimer(world.nextSlot + 1);  // another timer: nothing
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 10));

  view.AtPtrMv(0, CPoint(18, 30));  // back inside: the timer stops
  EXPECT_EQ(world.timers, (std::vector<std::string>{"create 40", "release 7"}));
  EXPECT_EQ(view.m_dwDragDir, 0u);
  EXPECT_EQ(view.m_nDragTimer, 0);
  view.AtLBtnUp(0, CPoint(18, 30));
  EXPECT_EQ(world.timers.size(), 2u);
}

TEST_F(EdtVuMouseTest, DragDirections) {
  struct Case {
    int hpos, vpos;
    CPoint p;
    uint32_t dir;
  } const cases[] = {
      {0, 0, {-5, 30}, 0},  // left, but nothing to scroll to
      {16, 0, {-5, 30}, kDragLeft},
      {0, 0, {250, 30}, kDragRight},
      {0, 0, {10, -5}, 0},  // above, at the top already
      {0, 48, {10, -5}, kDragUp},
      {0, 48, {-5, -5}, 0 | kDragUp},
      {16, 48, {250, 300}, kDragRight | kDragDown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    SetText(Rows(40, 60));
    view.SetScrollThumPos(0, c.hpos);
    view.SetScrollThumPos(1, c.vpos);
    world.timers.clear();
    Press(CPoint(10, 30), world.now + 1000);
    view.AtPtrMv(0, c.p);
    EXPECT_EQ(view.m_dwDragDir, c.dir);
    EXPECT_EQ(view.m_nDragTimer, c.dir ? world.nextSlot : 0);
    view.AtLBtnUp(0, c.p);
    EXPECT_EQ(view.m_nDragTimer, 0);
    EXPECT_EQ(view.m_dwDragDir, 0u);
  }
}

TEST_F(EdtVuMouseTest, WithoutATimerSlotDraggingStillSelects) {
  SetText(Rows(40, 10));
  world.slotsFree = false;
  Press(LeftHalf(2, 1), 9000000);
  view.AtPtrMv(0, CPoint(18, 200));
  EXPECT_EQ(view.m_nDragTimer, 0);  // the view's "no timer", not the framework's
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 4));
  view.AtTimer(kNoTimer);
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 4));
  view.AtLBtnUp(0, CPoint(18, 200));
  EXPECT_EQ(world.timers, std::vector<std::string>{"create 40"});  // nothing released
}

TEST_F(EdtVuMouseTest, DragTicksLeftAndRightStayInTheRow) {
  SetText(
      "ab\xd6\xd0"
      "c\r\nxyz");
  Press(LeftHalf(0), 9100000);
  view.m_nCaretCol = 4;
  view.m_ptSelEnd = CPoint(4, 0);
  view.m_dwDragDir = kDragLeft;
  view.m_nDragTimer = world.nextSlot;
  view.AtTimer(world.nextSlot);
  EXPECT_EQ(Caret(), CPoint(2, 0));  // back over the pair
  view.m_dwDragDir = kDragRight;
  for (int i = 0; i < 4; ++i) view.AtTimer(world.nextSlot);
  EXPECT_EQ(Caret(), CPoint(5, 0));  // stops at the row's end
}

}  // namespace
}  // namespace edtvutest
