// Where the input panes go: the caret lookup (the client's spot, kvr's own
// caret, a small focus window, the bar), the keys, candidate and forecast
// panes at the caret, and their keeping to the screen.
#include <gtest/gtest.h>

#include "frontend/internal/PanePlacement.h"

using namespace panes;

namespace {

const CRect kWork(0, 0, 1024, 768);
const CRect kBar(600, 700, 940, 726);

}  // namespace

TEST(PanePlacement, CaretLookup) {
  struct Case {
    const char* what;
    bool floatPane, spotInside;
    CPoint spot;
    bool ownCaret;
    bool haveFocus;
    CRect focus;
    CRect bar;
    int keysW, lettersH;
    CPoint want;
    int flag;
  } const cases[] = {
      {"spot inside",
       true,
       true,
       {300, 200},
       true,
       true,
       {0, 0, 800, 600},
       kBar,
       60,
       16,
       {300, 200},
       kCaretReported},
      {"own caret",
       true,
       false,
       {0, 600},
       true,
       true,
       {0, 0, 800, 600},
       kBar,
       60,
       16,
       {50, 60},
       kCaretReported},
      // 200 by 40 with fontH 16: two fifths across, 16 above the bottom.
      {"small focus window",
       true,
       false,
       {100, 340},
       false,
       true,
       {100, 300, 300, 340},
       kBar,
       60,
       16,
       {180, 324},
       kCaretInSmallWin},
      // Above the bar, then down to the focus window's bottom.
      {"large focus window",
       true,
       false,
       {0, 600},
       false,
       true,
       {0, 0, 800, 600},
       kBar,
       60,
       16,
       {604, 600},
       kCaretWinTooLarge},
      // Brought into the band from 4 text heights above the window to its
      // bottom.
      {"window 2 pixels high",
       true,
       false,
       {100, 502},
       false,
       true,
       {100, 500, 400, 502},
       kBar,
       60,
       16,
       {604, 502},
       kCaretNoWin},
      {"no focus window",
       true,
       false,
       {0, 0},
       false,
       false,
       {},
       kBar,
       60,
       16,
       {604, 642},
       kCaretNoWin},
      {"floating panes off",
       false,
       true,
       {300, 200},
       true,
       true,
       {0, 0, 800, 600},
       kBar,
       60,
       16,
       {604, 642},
       kCaretReported},
      {"bar at the right edge",
       false,
       false,
       {},
       false,
       false,
       {},
       {1000, 700, 1340, 726},
       60,
       16,
       {960, 642},
       kCaretReported},
      {"bar at the left edge",
       false,
       false,
       {},
       false,
       false,
       {},
       {-50, 700, 290, 726},
       60,
       16,
       {0, 642},
       kCaretReported},
      // Above the screen: 0, then into the band above the window.
      {"bar at the top",
       true,
       false,
       {0, 700},
       false,
       true,
       {0, 100, 1024, 700},
       {10, 20, 350, 46},
       60,
       16,
       {14, 36},
       kCaretWinTooLarge},
      // Before the keys pane has a height the band starts at the top.
      {"keys pane not sized yet",
       true,
       false,
       {0, 700},
       false,
       true,
       {0, 100, 1024, 700},
       {10, 20, 350, 46},
       0,
       0,
       {14, 100},
       kCaretWinTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CaretInputs in;
    in.floatPane = c.floatPane;
    in.spotInside = c.spotInside;
    in.spot = c.spot;
    in.ownCaret = c.ownCaret;
    in.ownCaretPt = CPoint(50, 60);
    in.haveFocusRect = c.haveFocus;
    in.focusRect = c.focus;
    in.fontH = 16;
    in.barRect = c.bar;
    in.keysW = c.keysW;
    in.lettersH = c.lettersH;
    in.work = kWork;
    const CaretResult r = CaretPos(in);
    EXPECT_EQ(r.pt.x, c.want.x);
    EXPECT_EQ(r.pt.y, c.want.y);
    EXPECT_EQ(r.flag, c.flag);
  }
}

TEST(PanePlacement, UsingFloatPaneOnlyForAKnownCaret) {
  EXPECT_TRUE(UsingFloatPane(true, kCaretReported));
  EXPECT_TRUE(UsingFloatPane(true, kCaretInSmallWin));
  EXPECT_FALSE(UsingFloatPane(true, kCaretWinTooLarge));
  EXPECT_FALSE(UsingFloatPane(true, kCaretNoWin));
  EXPECT_FALSE(UsingFloatPane(false, kCaretReported));
}

TEST(PanePlacement, KeysPane) {
  struct Case {
    const char* what;
    CPoint caret;
    int phraseExtra;
    bool usingFloat, multiRow, parallel;
    CPoint want;
    bool jumped;
  } const cases[] = {
      {"below the caret", {300, 200}, 0, true, false, false, {288, 224}, false},
      // The small focus window's point: (left + 68, bottom + 8).
      {"in a small window", {180, 324}, 0, true, false, false, {168, 348}, false},
      {"negative spot", {5, -30}, 0, true, false, false, {0, 0}, false},
      {"right edge", {1000, 200}, 0, true, false, false, {960, 200 + 24}, false},
      {"right edge while building a phrase",
       {950, 100},
       100,
       true,
       false,
       false,
       {860, 124},
       false},
      {"20 above the bottom", {300, 748}, 0, true, false, false, {288, 724}, true},
      {"room for one line", {300, 690}, 0, true, false, false, {288, 714}, false},
      {"no room for the rows", {300, 690}, 0, true, true, false, {288, 666}, true},
      {"no room for the parallel rows", {300, 520}, 0, true, false, true, {288, 496}, true},
      {"caret below the screen", {300, 900}, 0, true, false, false, {288, 743}, true},
      {"panes not floating", {300, 748}, 0, false, false, false, {288, 772}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeysPosInputs in;
    in.caret = c.caret;
    in.keysW = 60;
    in.keysH = 27;
    in.phraseExtra = c.phraseExtra;
    in.usingFloat = c.usingFloat;
    in.multiRow = c.multiRow;
    in.parallel = c.parallel;
    in.work = kWork;
    const KeysPos r = KeysPanePos(in);
    EXPECT_EQ(r.pt.x, c.want.x);
    EXPECT_EQ(r.pt.y, c.want.y);
    EXPECT_EQ(r.jumped, c.jumped);
  }
}

TEST(PanePlacement, CandidatePane) {
  struct Case {
    const char* what;
    CPoint caret;
    bool keysShown;
    CPoint keysPos;
    bool jumped;
    int w, h;
    bool usingFloat, parallel;
    CPoint want;
  } const cases[] = {
      {"under the keys pane",
       {300, 200},
       true,
       {288, 224},
       false,
       200,
       22,
       true,
       false,
       {288, 251}},
      {"without a keys pane", {300, 200}, false, {}, false, 200, 22, true, false, {288, 224}},
      // Ends 2 pixels before the right edge.
      {"right edge", {1000, 200}, true, {960, 224}, false, 200, 22, true, false, {822, 251}},
      {"wider than the screen", {300, 200}, false, {}, false, 1100, 22, true, false, {0, 224}},
      {"directly above a jumped keys pane",
       {300, 748},
       true,
       {288, 724},
       true,
       200,
       22,
       true,
       false,
       {288, 702}},
      {"no room below", {300, 760}, false, {}, false, 200, 22, true, false, {288, 736}},
      {"parallel rows with no room below",
       {300, 760},
       false,
       {},
       false,
       200,
       135,
       true,
       true,
       {288, 625}},
      {"parallel rows past the bottom",
       {300, 900},
       false,
       {},
       false,
       200,
       135,
       true,
       true,
       {288, 608}},
      {"panes not floating", {300, 760}, false, {}, false, 200, 22, false, false, {288, 784}},
      {"negative spot", {5, -40}, false, {}, false, 200, 22, true, false, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChoicePosInputs in;
    in.caret = c.caret;
    in.keysShown = c.keysShown;
    in.keysPos = c.keysPos;
    in.keysH = 27;
    in.keysJumped = c.jumped;
    in.choiceW = c.w;
    in.choiceH = c.h;
    in.usingFloat = c.usingFloat;
    in.parallel = c.parallel;
    in.work = kWork;
    const CPoint p = ChoicePanePos(in);
    EXPECT_EQ(p.x, c.want.x);
    EXPECT_EQ(p.y, c.want.y);
  }
}

TEST(PanePlacement, ForecastPane) {
  struct Case {
    const char* what;
    CRect work;
    CPoint caret;
    CPoint want;
  } const cases[] = {
      {"right of the caret", kWork, {300, 200}, {358, 200}},
      {"left of the caret at the right edge", kWork, {900, 200}, {622, 200}},
      {"left edge", kWork, {-100, 200}, {0, 200}},
      {"bottom edge", kWork, {300, 760}, {358, 738}},
      {"top edge", kWork, {300, -5}, {358, 0}},
      // Left of the caret would leave the screen: it stays at its left edge.
      {"narrow screen", {0, 0, 300, 768}, {200, 200}, {0, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CPoint p = ForecastPanePos(c.caret, 150, 26, c.work);
    EXPECT_EQ(p.x, c.want.x);
    EXPECT_EQ(p.y, c.want.y);
  }
}
