// The view's metrics, scroll ranges, position-to-pixel mapping and keeping
// the caret in sight, without X (EdtVuFixture.h: 8 pixels a byte).
#include <climits>

#include "tests/editor/EdtVuFixture.h"

namespace edtvutest {
namespace {

TEST_F(EdtVuTest, MetricsFollowTheFontAndNeverDivideByZero) {
  struct Case {
    int w, h;
    int charW, rowGap, rowH, fontH;
  } const cases[] = {
      {0, 0, 8, 8, 24, 16},    // no font: the defaults
      {8, 16, 8, 8, 24, 16},   // the default UI font
      {0, 20, 8, 10, 30, 20},  // a font that reports width 0 gets 8
      {9, 17, 9, 8, 25, 17},   // the gap is half the height, truncated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    view.m_font.m_nWidth = c.w;
    view.m_font.m_nHeight = c.h;
    view.OnCreate();
    EXPECT_EQ(view.m_nCharWidth, c.charW);
    EXPECT_EQ(view.m_nRowGap, c.rowGap);
    EXPECT_EQ(view.m_nRowHeight, c.rowH);
    EXPECT_EQ(view.m_nFontHeight, c.fontH);
  }
  // With width 0 the scroll steps stay usable.
  view.m_font.m_nWidth = 0;
  view.m_font.m_nHeight = 16;
  view.OnCreate();
  SetText(Rows(3));
  view.m_szLastPage = CSize();  // force the bars to take the new numbers
  view.MySetScrollParams();
  EXPECT_EQ(view.m_szLastLine, CSize(8, 24));
  EXPECT_GT(view.m_szLastPage.cx, 0);
}

TEST_F(EdtVuTest, PositionToPixelAndBack) {
  // Columns: "ab" 0..16, the pair 16..32, "c" 32..40.
  struct Case {
    const char* text;
    int pos, byPixel;
    int wantX, wantCol;
    long wantDisp;
    int atEnd;
  } const cases[] = {
      {"ab\xd6\xd0"
       "c",
       2, 0, 16, -1, 2, 0},
      {"ab\xd6\xd0"
       "c",
       4, 0, 32, -1, 4, 0},
      {"ab\xd6\xd0"
       "c",
       5, 0, 40, -1, 5, 1},
      {"ab\xd6\xd0"
       "c",
       9, 0, 72, -1, 9, 1},  // past the row: 8 a column
      {"ab\xd6\xd0"
       "c",
       23, 1, 16, 2, 2, 0},  // 1 px left of the pair's middle (24)
      {"ab\xd6\xd0"
       "c",
       25, 1, 32, 4, 4, 0},  // 1 px right of it
      {"ab\xd6\xd0"
       "c",
       500, 1, 40, 5, 5, 1},  // right of the text: its end
      {"ab\xd6\xd0"
       "c",
       -5, 1, 0, 0, 0, 0},               // left of it: the start
      {"12345\tx", 6, 0, 64, -1, 8, 0},  // a TAB at column 5 is 3 columns (24 px)
      {"12345\tx", 51, 1, 40, 5, 5, 0},  // inside the TAB: before it...
      {"12345\tx", 64, 1, 64, 6, 8, 0},  // ...its end exactly takes it
      {"ab\xd6", 3, 0, 16, -1, 2, 0},    // a lead byte at the row's end stops the walk
      {"ab\xd6", 100, 1, 16, 2, 2, 0},
      {"a\rb", 3, 0, 16, -1, 2, 1},  // a lone CR has no width
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " pos " << c.pos << " byPixel " << c.byPixel);
    SetText(c.text);
    long disp = -1;
    int col = -1, atEnd = -1;
    const int x = view.GetPixelXPosByPointXOrCharX(nullptr, 0, c.pos, c.byPixel, nullptr, &disp,
                                                   &col, &atEnd);
    EXPECT_EQ(x, c.wantX);
    EXPECT_EQ(col, c.wantCol);
    EXPECT_EQ(disp, c.wantDisp);
    EXPECT_EQ(atEnd, c.atEnd);
  }
}

TEST_F(EdtVuTest, RowsOutsideTheTableMapAsEmpty) {
  SetText("abc");
  int col = -1;
  EXPECT_EQ(view.GetPixelXPosByPointXOrCharX(nullptr, 5, 40, 1, nullptr, nullptr, &col, nullptr),
            0);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(view.GetPixelXPosByPointXOrCharX(nullptr, -1, 2, 0, nullptr, nullptr, nullptr, nullptr),
            16);  // past an empty row: 8 a column
}

TEST_F(EdtVuTest, TabWidthZeroCountsAsOne) {
  SetText("a\tb");
  doc.m_nTabWidth = 0;  // no division by zero: a TAB takes one column
  long disp = 0;
  EXPECT_EQ(view.GetPixelXPosByPointXOrCharX(nullptr, 0, 3, 0, nullptr, &disp, nullptr, nullptr),
            24);
  EXPECT_EQ(disp, 3);
}

TEST_F(EdtVuTest, EveryHostContextIsReleased) {
  SetText(Rows(30, 40));
  view.m_nCaretRow = 20;
  view.m_nCaretCol = 35;
  view.MyShowCaret();
  view.AtLBtnDwn(0, CPoint(30, 30));
  view.AtPtrMv(0, CPoint(300, 200));
  view.AtTimer(world.nextSlot);
  view.AtLBtnUp(0, CPoint(300, 200));
  EXPECT_GT(view.gcsGiven, 0);
  EXPECT_EQ(world.gcsReleased, view.gcsGiven);
  // A context the caller passes stays the caller's.
  const int given = view.gcsGiven;
  int mine = 0;
  view.GetPixelXPosByPointXOrCharX(reinterpret_cast<GC>(&mine), 0, 3, 0, nullptr, nullptr, nullptr,
                                   nullptr);
  EXPECT_EQ(view.gcsGiven, given);
  EXPECT_EQ(world.gcsReleased, given);
}

TEST_F(EdtVuTest, WithoutAHostContextMappingAnswersMinus1000) {
  SetText("abc");
  view.giveGC = false;
  EXPECT_EQ(view.GetPixelXPosByPointXOrCharX(nullptr, 0, 2, 0, nullptr, nullptr, nullptr, nullptr),
            kNoPixelX);
  EXPECT_EQ(world.gcsReleased, 0);
}

TEST_F(EdtVuTest, ScrollRanges) {
  // 3 rows in a 400 px tall view: document height 96 less half the view
  // would be -104; the range stays 0.
  view.vu = CRect(0, 0, 200, 400);
  SetText(Rows(3));
  EXPECT_EQ(view.GetScrollHi(1), 0);
  EXPECT_EQ(view.GetScrollHi(0), 500 * 8 * 2);
  EXPECT_EQ(view.m_szLastPage, CSize(200 - 48, (400 / 24 - 1) * 24));
  EXPECT_EQ(view.m_szLastLine, CSize(8, 24));

  // 100 rows in a 96 px view: 101 rows of 24 less 48.
  view.vu = CRect(0, 0, 200, 96);
  SetText(Rows(100));
  EXPECT_EQ(view.GetDocSize(), CSize(8000, 24 * 101));
  EXPECT_EQ(view.GetScrollHi(1), 24 * 101 - 48);
  EXPECT_EQ(view.m_szLastPage, CSize(152, 72));

  // A very wide row saturates instead of wrapping negative.
  doc.m_nWidest = INT_MAX / 4;
  EXPECT_EQ(view.GetDocSize().cx, INT_MAX);
}

TEST_F(EdtVuTest, ScrollDocStopsAtBothEnds) {
  SetText(Rows(100));
  const int hi = view.GetScrollHi(1);
  view.ScrollDoc(0, -24);
  EXPECT_EQ(view.GetScrollThumPos(1), 0);
  view.ScrollDoc(16, 48);
  EXPECT_EQ(view.GetScrollThumPosPt(), CPoint(16, 48));
  view.SetScrollThumPos(1, hi);
  view.ScrollDoc(0, 24);
  EXPECT_EQ(view.GetScrollThumPos(1), hi);
}

TEST_F(EdtVuTest, SingleLineDocumentNeverScrolls) {
  doc.m_bSingleLine = 1;
  SetText(std::string(200, 'x'));
  EXPECT_EQ(view.SetScrollThumPos(0, 80), 0);
  EXPECT_EQ(view.GetScrollThumPosPt(), CPoint(0, 0));
  view.m_nCaretCol = 150;
  view.m_ptSelAnchor = view.m_ptSelEnd = CPoint(150, 0);
  EXPECT_EQ(view.MyShowCaret(), kShowCaretNone);
  EXPECT_EQ(view.GetScrollThumPosPt(), CPoint(0, 0));
}

TEST_F(EdtVuTest, KeepingTheCaretInSight) {
  // 40 rows of 60 bytes; the view shows 25 columns and 4 rows.
  struct Case {
    int hpos, vpos, row, col;
    CPoint anchor;  // (-1, -1): no selection
    int want;
    CPoint pos;
  } const cases[] = {
      {0, 0, 0, 0, {-1, -1}, kShowCaretNone, {0, 0}},
      // Below: 96 - 264 - 48 = -216, 9 whole rows.
      {0, 0, 10, 0, {-1, -1}, kShowCaretVert, {0, 216}},
      // Right: 200 - (8 + 320) = -128, 16 columns, less 3.
      {0, 0, 0, 40, {-1, -1}, kShowCaretHorz, {152, 0}},
      {0, 0, 10, 40, {-1, -1}, kShowCaretBoth, {152, 216}},
      // Above: 192 px back, 8 rows.
      {0, 240, 2, 0, {-1, -1}, kShowCaretVert, {0, 48}},
      // Left: 120 px back, 15 columns and 3 more.
      {160, 0, 0, 5, {-1, -1}, kShowCaretHorz, {16, 0}},
      // A selection that starts left of the view: its start and 4 columns.
      {40, 0, 0, 10, {2, 0}, kShowCaretHorz, {0, 0}},
      {160, 0, 0, 30, {12, 0}, kShowCaretHorz, {64, 0}},
      // A selection that starts inside the view: the caret alone counts.
      {160, 0, 0, 30, {22, 0}, kShowCaretNone, {160, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "caret " << c.row << "," << c.col << " at " << c.hpos << "," << c.vpos);
    SetText(Rows(40, 60));
    view.SetScrollThumPos(0, c.hpos);
    view.SetScrollThumPos(1, c.vpos);
    view.m_nCaretRow = c.row;
    view.m_nCaretCol = c.col;
    view.m_ptSelEnd = CPoint(c.col, c.row);
    view.m_ptSelAnchor = c.anchor.x < 0 ? view.m_ptSelEnd : c.anchor;
    EXPECT_EQ(view.MyShowCaret(), c.want);
    EXPECT_EQ(view.GetScrollThumPosPt(), c.pos);
    if (c.want != kShowCaretNone) {  // placed again, in view pixels
      EXPECT_EQ(world.caret, CPoint(c.col * 8 - c.pos.x, c.row * 24 - c.pos.y));
    }
  }
}

TEST_F(EdtVuTest, CaretComesIntoSightInAViewLowerThanTwoRows) {
  view.vu = CRect(0, 0, 200, 30);
  SetText(Rows(10));
  view.m_nCaretRow = 1;
  view.m_ptSelAnchor = view.m_ptSelEnd = CPoint(0, 1);
  EXPECT_EQ(view.MyShowCaret(), kShowCaretVert);
  const int top = view.GetScrollThumPos(1);
  EXPECT_LE(top, 24);
  EXPECT_GE(top + 30, 48);  // the whole caret row is inside
}

TEST_F(EdtVuTest, CaretMovesOnlyInTheFocusedWindow) {
  SetText(Rows(3));
  world.focus = kHostWindow + 1;
  view.MySetCaretPos(2, 3, 0);
  EXPECT_EQ(world.caret, CPoint(-1, -1));
  world.focus = kHostWindow;
  view.MySetCaretPos(2, 3, 0);
  EXPECT_EQ(world.caret, CPoint(24, 48));
  EXPECT_EQ(view.m_nCaretDispCol, 3);
}

TEST_F(EdtVuTest, GotoNHiliteLineCentresAndSelectsTheRow) {
  SetText(Rows(40, 10));
  view.GotoNHiliteLine(20);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(0, 20));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(10, 20));
  EXPECT_EQ(view.GetScrollThumPos(1), (20 - 2) * 24);  // half of 4 visible rows above
  view.GotoNHiliteLine(-3);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(10, 3));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(10, 3));
  view.GotoNHiliteLine(500);  // clamped to the last row
  EXPECT_EQ(view.m_ptSelAnchor.y, 39);
}

}  // namespace
}  // namespace edtvutest
