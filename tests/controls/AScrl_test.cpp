// The scroll bar's arithmetic without a display: thumb offsets, the five
// press zones with their clamps, and dragging the thumb with its snap.
// AScrl_xtest checks the messages a real bar posts.
#include <gtest/gtest.h>

#include "controls/AScrl.h"
#include "controls/CtrlConsts.h"

namespace {

// A bar 16 pixels thick and 116 long: arrow 16, track 116, travel 68.
void Shape(AScrl& bar, int range, int pos, int page = 10, int step = 1) {
  bar.SetOrientation(1);
  bar.m_nArrow = 16;
  bar.m_nTrack = 116;
  bar.m_nMax = range;
  bar.m_nPage = page;
  bar.m_nStep = step;
  bar.SetThumPos(pos);
}

TEST(AScrl, StartsVerticalWithTheDefaultSteps) {
  AScrl bar;
  EXPECT_EQ(bar.m_nType, kWndScrollBar);
  EXPECT_EQ(bar.m_nMsg, WM_SCRL_VERT);
  EXPECT_EQ(bar.m_nMax, 100);
  EXPECT_EQ(bar.m_nPage, 10);
  EXPECT_EQ(bar.m_nStep, 1);
  EXPECT_EQ(bar.m_nLastThumb, -1);
  bar.SetOrientation(1);
  EXPECT_EQ(bar.m_nMsg, WM_SCRL_HORZ);
  bar.SetOrientation(0);
  EXPECT_EQ(bar.m_nMsg, WM_SCRL_VERT);
}

TEST(AScrl, ThumbOffsets) {
  struct Case {
    int track, range, pos, thumb;
  } cases[] = {
      {116, 100, 50, 34},  // (116 - 48) * 50 / 100: the box spans 50 to 66
      {116, 100, 100, 68},
      {116, 100, 0, 0},
      {116, 0, 0, 0},       // range 0 counts as 1, the position stays 0
      {116, 0, 5, 0},       // and no position but 0 exists
      {116, -40, 3, 0},     // a negative range (a short text in a tall view) is 0
      {116, 100, 250, 68},  // a position past the range is held at the end
      {40, 100, 50, 0},     // a bar too short for its thumb keeps it at the start
      // A range in pixels: 100,000 rows of 24 pixels times a track of
      // 1,000 pixels passes 2^31.
      {1000, 2400000, 2400000, 952},
      {1000, 2400000, 1200000, 476},
  };
  for (const Case& c : cases) {
    AScrl bar;
    Shape(bar, c.range, 0);
    bar.m_nTrack = c.track;
    SCOPED_TRACE(testing::Message()
                 << "track " << c.track << " range " << c.range << " pos " << c.pos);
    EXPECT_EQ(bar.ThumbOffset(c.pos), c.thumb);
  }
  AScrl bar;
  Shape(bar, 100, 50);
  EXPECT_EQ(bar.m_nThumb, 34);
  EXPECT_EQ(bar.m_nLastThumb, 34);
  EXPECT_EQ(bar.SetThumPos(-7), 50);
  EXPECT_EQ(bar.m_nPos, 0);
  bar.m_nMax = -5;
  bar.SetThumPos(3);
  EXPECT_EQ(bar.m_nPos, 0);
}

TEST(AScrl, PressZonesMoveAndClamp) {
  struct Case {
    int range, pos, page, c, want, state;
  } cases[] = {
      // Position 50: thumb 34, so the thumb box spans 50 to 66.
      {100, 50, 10, 0, 49, AScrl::kFirstArrow},
      {100, 50, 10, 16, 49, AScrl::kFirstArrow},
      {100, 50, 10, 17, 40, AScrl::kPageBack},
      {100, 50, 10, 50, 40, AScrl::kPageBack},
      {100, 50, 10, 51, 50, AScrl::kDragging},
      {100, 50, 10, 66, 50, AScrl::kDragging},
      {100, 50, 10, 67, 60, AScrl::kPageForward},
      {100, 50, 10, 100, 60, AScrl::kPageForward},
      {100, 50, 10, 101, 51, AScrl::kSecondArrow},
      {100, 50, 10, 115, 51, AScrl::kSecondArrow},
      // Clamps: position 5 less a page of 10 is 0; the second arrow at the
      // range stays at the range; the first arrow at 0 stays at 0.
      {100, 5, 10, 18, 0, AScrl::kPageBack},
      {100, 100, 10, 110, 100, AScrl::kSecondArrow},
      {100, 95, 10, 100, 100, AScrl::kPageForward},  // thumb box 80 to 96
      {100, 0, 10, 5, 0, AScrl::kFirstArrow},
      // Nothing to scroll: every zone keeps 0.
      {0, 0, 10, 110, 0, AScrl::kSecondArrow},
      {0, 0, 10, 80, 0, AScrl::kPageForward},
      {-20, 0, 10, 110, 0, AScrl::kSecondArrow},
  };
  for (const Case& c : cases) {
    AScrl bar;
    Shape(bar, c.range, c.pos, c.page);
    SCOPED_TRACE(testing::Message() << "range " << c.range << " pos " << c.pos << " at " << c.c);
    EXPECT_EQ(bar.PressAt(c.c), c.want);
    EXPECT_EQ(bar.m_nPos, c.want);
    EXPECT_EQ(bar.m_nState, c.state);
    EXPECT_EQ(bar.m_nLastThumb, bar.ThumbOffset(c.want));
  }
}

TEST(AScrl, DraggingFollowsTheThumbInsideTheTrackOnly) {
  AScrl bar;
  Shape(bar, 100, 50);
  ASSERT_EQ(bar.PressAt(60), 50);
  ASSERT_EQ(bar.m_nState, AScrl::kDragging);
  // Thumb at 51 - 16 = 35 pixels: 35 * 100 / 68.
  AScrl::DragStep s = bar.DragTo(51, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(s.warpAlong, -1);
  EXPECT_EQ(bar.m_nPos, 51);
  // The far end of the travel is the range.
  s = bar.DragTo(116 - 32, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(bar.m_nPos, 100);
  // Past the end of the track, before its start or off the bar across it:
  // ignored, the position stays.
  for (auto [c, d] : {std::pair{116 - 31, 8}, {115, 8}, {15, 8}, {40, -1}, {40, 17}}) {
    SCOPED_TRACE(testing::Message() << "at " << c << ", " << d);
    EXPECT_FALSE(bar.DragTo(c, d).post);
    EXPECT_EQ(bar.m_nPos, 100);
  }
  // Back to the thumb's place at the press: nothing to do.
  EXPECT_FALSE(bar.DragTo(16 + 34, 8).post);
}

TEST(AScrl, DraggingALongRangeStaysExact) {
  AScrl bar;
  Shape(bar, 2400000, 0);
  bar.m_nTrack = 1000;  // travel 952
  bar.PressAt(20);
  ASSERT_EQ(bar.m_nState, AScrl::kDragging);
  EXPECT_TRUE(bar.DragTo(16 + 952, 8).post);
  EXPECT_EQ(bar.m_nPos, 2400000);
  EXPECT_TRUE(bar.DragTo(16 + 476, 8).post);
  EXPECT_EQ(bar.m_nPos, 1200000);
}

// With range 3 a position spans 68 / 3 = 22 pixels, more than the thumb's
// 16: the thumb snaps to the next position once it has gone more than its
// size into the span, and the pointer is put back on it.
TEST(AScrl, FewPositionsSnapForwardAndBack) {
  AScrl bar;
  Shape(bar, 3, 0);
  bar.PressAt(20);  // on the thumb at offset 0
  ASSERT_EQ(bar.m_nState, AScrl::kDragging);
  // 10 pixels on: still position 0, 10 < 16 into the span, no snap.
  AScrl::DragStep s = bar.DragTo(16 + 10, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(bar.m_nPos, 0);
  EXPECT_EQ(s.warpAlong, -1);
  // 20 pixels on: 20 > 16 into the span, snaps to position 1 (thumb
  // 1 * 68 / 3 = 22); the pointer goes to 16 + 22.
  s = bar.DragTo(16 + 20, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(bar.m_nPos, 1);
  EXPECT_EQ(bar.m_nLastThumb, 22);
  EXPECT_EQ(s.warpAlong, 16 + 22);
  // One pixel back from there: position 0 (21 * 3 / 68), one below, and
  // (68 - 21) mod 22 > 0: snaps back to 0; the pointer goes to 24 + 0.
  s = bar.DragTo(16 + 21, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(bar.m_nPos, 0);
  EXPECT_EQ(bar.m_nLastThumb, 0);
  EXPECT_EQ(s.warpAlong, 24);
}

TEST(AScrl, SnapWithNothingToScrollStaysAtZero) {
  AScrl bar;
  Shape(bar, 0, 0);
  bar.PressAt(20);
  ASSERT_EQ(bar.m_nState, AScrl::kDragging);
  const AScrl::DragStep s = bar.DragTo(16 + 40, 8);
  EXPECT_TRUE(s.post);
  EXPECT_EQ(bar.m_nPos, 0);
  EXPECT_EQ(bar.m_nLastThumb, 0);
}

}  // namespace
