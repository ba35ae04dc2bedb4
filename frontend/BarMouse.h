// BarMouse.h: the main bar's pointer handling and tool tips, as state
// machines over the bar's state and the bound IBarWorld
// (frontend/BarWorld.h), so they run in tests on fake ticks and points.
//
// Tool tips: the tool-tip timer asks for gTick (50) ms; the framework fires
// it once per 300 ms tick, so tmPassed grows by 50 per tick. Entering the
// bar starts the timer in state 0; the second message shows the tip (state
// 1), which follows the pointer until tmPassed passes 6999 (about 42 s),
// then hides (state 2). Moving from cell to cell while a tip is up shows
// the new cell's tip at the next message. Leaving the cells stops the
// timer and hides the tip.
//
// Mouse: a press on a cell paints it pressed and grabs the pointer; a
// release on a cell acts on it (frontend/BarCells.h lists the actions).
// Leaving the pressed cell with the button down, or pressing on the drag
// handle, drags the bar instead: the first drag step arms the move, later
// ones move the bar so that the grab offset stays under the pointer. A
// press that became a drag never acts on a cell.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

// The interval the tool-tip timer asks for, in milliseconds.
constexpr int gTick = 50;
// Tool-tip states.
enum : int { kTipNoCell = -1, kTipWaiting = 0, kTipShown = 1, kTipDone = 2 };
// Capture state bits.
enum : int { kCaptured = 1, kMoveArmed = 2 };
// Menu cells do nothing this soon after a popup menu was dismissed.
constexpr uint32_t kMenuReopenMs = 600;

// The bar's pointer and tool-tip state.
struct typBarState {
  int tmPassed = 0;
  int ToolTipState = kTipNoCell;
  int gnCurCell4Tip = 0;            // the cell the tip is about
  int gnCurCell = 0;                // the cell pressed
  int gnLBtnDwn = 0;                // a button is down on the bar
  int gnMoving = 0;                 // 0 none, 1 dragging off the pressed cell, 2 by the drag handle
  int capture = 0;                  // kCaptured | kMoveArmed
  CPoint grabOffset;                // the pointer's place in the bar while dragging
  int cellLeft = 0, cellRight = 0;  // the pressed cell's edges
  uint32_t tckLastPopupMenuDismissTime = 0;
  bool menuDismissed = false;  // a popup menu has been dismissed at all
  bool shortBar = false;
};
// The bar's one state (written by the bar's window procedure).
extern typBarState gBar;

// The tool-tip timer's message; pointer is the pointer's place in the bar
// and on the screen.
void OnToolTipTimer(CPoint inBar, CPoint onScreen);
// Pointer motion without a button down.
void OnBarHover(CPoint inBar);

void OnBarPress(CPoint inBar);
void OnBarMotion(CPoint inBar);
void OnBarRelease(CPoint inBar);
// Records the time a popup menu of the bar was dismissed.
void NoteMenuDismissed(uint32_t nowMs);
