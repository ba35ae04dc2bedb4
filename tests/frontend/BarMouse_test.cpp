#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InputSettings.h"
#include "framework/CWinApp.h"
#include "frontend/BarCells.h"
#include "frontend/BarMouse.h"
#include "frontend/CMainFrame.h"
#include "frontend/CMdiApp.h"
#include "frontend/CommandIds.h"
#include "frontend/MainBar.h"
#include "tests/frontend/RecordingBarWorld.h"

namespace {

using Calls = std::vector<std::string>;

class BarMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gBar = typBarState{};
    SetBarWorld(&world);
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMode = kEnglishInput;
  }
  void TearDown() override { SetBarWorld(nullptr); }
  RecordingBarWorld world;
};

// Hovering: the tip shows at the second timer message and follows the
// pointer; after about 42 s it hides; the next cell's tip shows at the next
// message; leaving the cells stops the timer.
TEST_F(BarMouseTest, ToolTipOnTicks) {
  const CPoint onMode(30, 10), onKeymap(140, 10), screen(500, 600);
  OnBarHover(onMode);
  EXPECT_EQ(world.Take(), (Calls{"timer 50"}));
  OnToolTipTimer(onMode, screen);
  EXPECT_EQ(world.Take(), Calls{});  // 50 ms, still waiting
  OnToolTipTimer(onMode, screen);
  EXPECT_EQ(world.Take(), (Calls{"timer 50", "tip 2 at 500,600"}));
  EXPECT_EQ(gBar.ToolTipState, kTipShown);
  OnToolTipTimer(onMode, CPoint(510, 600));
  EXPECT_EQ(world.Take(), (Calls{"tip 2 at 510,600"}));
  // 140 messages of 50 ms: the 140th passes 6999 and hides the tip.
  for (int i = 0; i < 138; ++i) OnToolTipTimer(onMode, screen);
  world.Take();
  OnToolTipTimer(onMode, screen);
  EXPECT_EQ(world.Take(), (Calls{"tip hidden"}));
  EXPECT_EQ(gBar.ToolTipState, kTipDone);
  OnToolTipTimer(onMode, screen);
  EXPECT_EQ(world.Take(), Calls{});  // stays hidden on the same cell
  // The next cell: its tip at the next message.
  OnBarHover(onKeymap);
  EXPECT_EQ(world.Take(), Calls{});
  OnToolTipTimer(onKeymap, screen);
  EXPECT_EQ(world.Take(), (Calls{"tip 8 at 500,600"}));
  // Off the cells.
  OnBarHover(CPoint(336, 10));
  OnToolTipTimer(CPoint(336, 10), screen);
  EXPECT_EQ(world.Take(), (Calls{"timer off", "tip hidden"}));
  EXPECT_EQ(gBar.ToolTipState, kTipNoCell);
  EXPECT_EQ(gBar.gnCurCell4Tip, 0);
}

TEST_F(BarMouseTest, PressHidesTheTipAtItsNextMessage) {
  OnBarHover(CPoint(30, 10));
  OnToolTipTimer(CPoint(30, 10), CPoint());
  OnToolTipTimer(CPoint(30, 10), CPoint());
  OnBarPress(CPoint(30, 10));
  world.Take();
  OnToolTipTimer(CPoint(30, 10), CPoint());
  EXPECT_EQ(world.Take(), (Calls{"tip hidden"}));
}

TEST_F(BarMouseTest, ClickActsOnTheCell) {
  struct Case {
    int x;
    Calls act;
  } const cases[] = {
      {140, {"post " + std::to_string(kCmdKeymap)}},
      {110, {"post " + std::to_string(kCmdToggleInputMethod)}},
      {160, {"post " + std::to_string(kCmdFanTi)}},
      {180, {"post " + std::to_string(kCmdFullWidth)}},
      {200, {"post " + std::to_string(kCmdChnPunct)}},
      {10, {"menu 0"}},
      {220, {"menu 1"}},
      {280, {"menu 2"}},
      {240, {}},  // find: nothing
      {260, {}},  // editor: nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    gBar = typBarState{};
    const int cell = BarCellAt(false, CPoint(c.x, 10), nullptr, nullptr);
    OnBarPress(CPoint(c.x, 10));
    OnBarRelease(CPoint(c.x + 1, 11));
    Calls want = {"grab", "paint " + std::to_string(cell) + " pressed", "ungrab"};
    want.insert(want.end(), c.act.begin(), c.act.end());
    want.push_back("paint " + std::to_string(cell));
    EXPECT_EQ(world.Take(), want);
    EXPECT_EQ(gBar.gnLBtnDwn, 0);
  }
}

TEST_F(BarMouseTest, MenuCellsWaitAfterAMenuClosed) {
  world.now = 50000;
  NoteMenuDismissed(49500);
  OnBarPress(CPoint(10, 10));
  OnBarRelease(CPoint(10, 10));
  EXPECT_EQ(world.Take(), (Calls{"grab", "paint 1 pressed", "ungrab", "paint 1"}));
  world.now = 50100;  // 600 ms after
  OnBarPress(CPoint(10, 10));
  OnBarRelease(CPoint(10, 10));
  EXPECT_EQ(world.Take(), (Calls{"grab", "paint 1 pressed", "ungrab", "menu 0", "paint 1"}));
}

// Pressing on the keymap cell and moving off it drags the bar: the first
// step arms the move, the later ones move the bar so that the grab offset
// stays under the pointer; the release never shows the keymap, also when
// the dragged bar has the pressed cell under the pointer again.
TEST_F(BarMouseTest, DragIsNotAClick) {
  OnBarPress(CPoint(140, 10));
  OnBarMotion(CPoint(141, 11));  // still on the cell
  EXPECT_EQ(world.Take(), (Calls{"grab", "paint 8 pressed"}));
  OnBarMotion(CPoint(170, 12));  // off: grab offset clamped to 136..152, move armed
  EXPECT_EQ(world.Take(), (Calls{"paint 8"}));
  EXPECT_EQ(gBar.grabOffset.x, 152);
  EXPECT_EQ(gBar.gnMoving, 1);
  OnBarMotion(CPoint(180, 12));
  EXPECT_EQ(world.Take(), (Calls{"move 128,500", "aftermove"}));
  // The bar followed: the pointer is on the pressed cell again.
  OnBarMotion(CPoint(151, 12));
  EXPECT_EQ(world.Take(), (Calls{"move 127,500", "aftermove"}));
  OnBarRelease(CPoint(151, 12));
  EXPECT_EQ(world.Take(), (Calls{"ungrab", "move 126,500", "aftermove", "paint 8"}));
  EXPECT_EQ(gBar.gnMoving, 0);
  EXPECT_EQ(gBar.capture, 0);
}

TEST_F(BarMouseTest, DragHandleMovesTheBarWithTheNewestMotion) {
  world.clampX = 120;  // the bar cannot go further right than 120
  OnBarPress(CPoint(300, 10));
  EXPECT_EQ(gBar.gnMoving, 2);
  OnBarMotion(CPoint(305, 10));  // arms
  world.queuedMotions = {CPoint(310, 14), CPoint(330, 15)};
  OnBarMotion(CPoint(306, 10));  // takes (330, 15) in place of its own point
  // Wanted 130,505; the bar stopped at 120: the offset moves by 10.
  EXPECT_EQ(gBar.grabOffset.x, 310);
  EXPECT_EQ(gBar.grabOffset.y, 10);
  world.Take();
  OnBarRelease(CPoint(310, 10));
  EXPECT_EQ(world.Take(), (Calls{"ungrab", "move 120,505", "aftermove", "paint 2048"}));
}

TEST_F(BarMouseTest, ReleaseWithoutPressDoesNothing) {
  OnBarRelease(CPoint(30, 10));
  EXPECT_EQ(world.Take(), (Calls{"ungrab"}));
}

// A press beside the cells paints nothing (a mask of 0 would paint every
// cell pressed) and its release acts on nothing.
TEST_F(BarMouseTest, PressBesideTheCells) {
  OnBarPress(CPoint(336, 10));
  OnBarMotion(CPoint(337, 12));
  OnBarRelease(CPoint(337, 12));
  EXPECT_EQ(world.Take(), (Calls{"grab", "ungrab"}));
}

TEST(BarIcon, AnimationFrames) {
  CMainFrame frame;
  std::string frames;
  for (int i = 0; i < 121; ++i) {
    frame.AnimateIcon();
    frames += static_cast<char>('0' + frame.m_nIconFrame);
  }
  EXPECT_EQ(frames, std::string(20, '0') + std::string(10, '1') + "2323232323" +
                        std::string(10, '4') + std::string(20, '0') + std::string(20, '4') +
                        "2323232323" + std::string(20, '1') + "0");
}

}  // namespace
