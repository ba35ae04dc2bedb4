#include "frontend/BarMouse.h"

#include "frontend/BarCells.h"
#include "frontend/BarCommands.h"
#include "frontend/BarWorld.h"
#include "frontend/CommandIds.h"

typBarState gBar;

namespace {

// The tip hides at its next message once tmPassed passes this.
constexpr int kTipShownMs = 6999;
// The tip shows once tmPassed passes this (the second message).
constexpr int kTipDelay = 60;

int CellAt(CPoint pt, int* left = nullptr, int* right = nullptr) {
  return BarCellAt(gBar.shortBar, pt, left, right);
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// Moves the bar so that the grab offset lies under pt (bar coordinates);
// the offset then follows where the bar really went.
void MoveBarUnder(IBarWorld& w, CPoint pt) {
  const CPoint origin = w.BarOrigin();
  const CPoint want(origin.x + pt.x - gBar.grabOffset.x, origin.y + pt.y - gBar.grabOffset.y);
  const CPoint actual = w.MoveBar(want.x, want.y);
  gBar.grabOffset.x += want.x - actual.x;
  gBar.grabOffset.y += want.y - actual.y;
}

void DragStep(IBarWorld& w, CPoint pt) {
  if (gBar.capture & kMoveArmed) {
    CPoint newest;
    if (w.TakeNewestMotion(&newest)) pt = newest;
    MoveBarUnder(w, pt);
    w.PostAfterMove();
  } else if (gBar.capture & kCaptured) {
    gBar.capture |= kMoveArmed;
  }
}

// The action of a release on cell; menuJustClosed holds the menu cells.
void ActOnCell(IBarWorld& w, int cell, bool menuJustClosed) {
  switch (cell) {
    case kCellExit: MakeSleepPlatform(); break;
    case kCellMode: OnBarCommand(kCmdToggleInputMode); break;
    case kCellMethod: w.PostCommand(kCmdToggleInputMethod); break;
    case kCellFanTi: w.PostCommand(kCmdFanTi); break;
    case kCellFullWidth: w.PostCommand(kCmdFullWidth); break;
    case kCellPunct: w.PostCommand(kCmdChnPunct); break;
    case kCellKeymap: w.PostCommand(kCmdKeymap); break;
    case kCellMenu:
      if (!menuJustClosed) w.RaiseMenu(0);
      break;
    case kCellPrefs:
      if (!menuJustClosed) w.RaiseMenu(1);
      break;
    case kCellHelp:
      if (!menuJustClosed) w.RaiseMenu(2);
      break;
    default: break;  // find, editor, drag handle: nothing
  }
}

}  // namespace

void OnToolTipTimer(CPoint inBar, CPoint onScreen) {
  IBarWorld* w = BarWorld();
  if (!w) return;
  gBar.tmPassed += gTick;
  const int cell = CellAt(inBar);
  if (!cell) {
    w->StopTipTimer();
    gBar.tmPassed = 0;
    gBar.ToolTipState = kTipNoCell;
    gBar.gnCurCell4Tip = 0;
    w->HideToolTip();
    return;
  }
  if (gBar.ToolTipState == kTipWaiting && gBar.tmPassed > kTipDelay) {
    w->StartTipTimer(gTick);
    gBar.ToolTipState = kTipShown;
    gBar.tmPassed = 0;
    w->ShowToolTip(cell, onScreen);
  } else if (gBar.ToolTipState == kTipShown) {
    if (gBar.tmPassed > kTipShownMs) {
      gBar.tmPassed = 0;
      gBar.ToolTipState = kTipDone;
      w->HideToolTip();
    } else {
      w->ShowToolTip(cell, onScreen);
    }
  }
}

void OnBarHover(CPoint inBar) {
  IBarWorld* w = BarWorld();
  if (!w) return;
  const int cell = CellAt(inBar);
  if (cell == gBar.gnCurCell4Tip) return;
  if (gBar.gnCurCell4Tip == 0) {
    w->StartTipTimer(gTick);
    gBar.tmPassed = 0;
    gBar.ToolTipState = kTipWaiting;
  } else if (gBar.ToolTipState == kTipShown || gBar.ToolTipState == kTipDone) {
    gBar.ToolTipState = kTipShown;
    gBar.tmPassed = kTipDelay;
  }
  gBar.gnCurCell4Tip = cell;
}

void OnBarPress(CPoint inBar) {
  IBarWorld* w = BarWorld();
  if (!w) return;
  // The tip hides at its next message.
  gBar.tmPassed = kTipShownMs + 1;
  gBar.ToolTipState = kTipShown;
  w->GrabPointer(true);
  gBar.grabOffset = inBar;
  gBar.capture = kCaptured;
  gBar.gnCurCell = CellAt(inBar, &gBar.cellLeft, &gBar.cellRight);
  if (gBar.gnCurCell == kCellDrag) gBar.gnMoving = 2;
  if (gBar.gnCurCell) w->PaintCell(gBar.gnCurCell, true);
  gBar.gnLBtnDwn = 1;
}

void OnBarMotion(CPoint inBar) {
  IBarWorld* w = BarWorld();
  if (!w) return;
  if (gBar.gnMoving == 2) {
    DragStep(*w, inBar);
    return;
  }
  if (!gBar.gnLBtnDwn) {
    OnBarHover(inBar);
    return;
  }
  if (CellAt(inBar) == gBar.gnCurCell) {
    // Back on the pressed cell: a drag goes on (the bar follows the pointer,
    // so a dragged bar always has the pressed cell under it).
    if (gBar.gnMoving == 1) DragStep(*w, inBar);
    return;
  }
  if (gBar.gnMoving == 0) {
    if (gBar.gnCurCell) w->PaintCell(gBar.gnCurCell, false);
    gBar.grabOffset.x = Clamp(inBar.x, gBar.cellLeft + 2, gBar.cellRight - 2);
    gBar.grabOffset.y = Clamp(inBar.y, 2, kBarHeight - 2);
    gBar.capture = kCaptured;
  }
  gBar.gnMoving = 1;
  DragStep(*w, inBar);
}

void OnBarRelease(CPoint inBar) {
  IBarWorld* w = BarWorld();
  if (!w) return;
  w->GrabPointer(false);
  const uint32_t now = w->NowMs();
  const uint32_t since = now - gBar.tckLastPopupMenuDismissTime;
  const uint32_t until = gBar.tckLastPopupMenuDismissTime - now;
  const bool menuJustClosed =
      gBar.menuDismissed && (since < kMenuReopenMs || until < kMenuReopenMs);
  if (!gBar.gnLBtnDwn) return;
  gBar.gnLBtnDwn = 0;
  const int pressed = gBar.gnCurCell;
  if (gBar.gnMoving) {
    if (gBar.capture & kMoveArmed) {
      MoveBarUnder(*w, inBar);
      w->PostAfterMove();
    }
  } else {
    ActOnCell(*w, CellAt(inBar), menuJustClosed);
  }
  if (pressed) w->PaintCell(pressed, false);
  gBar.capture = 0;
  gBar.gnMoving = 0;
}

void NoteMenuDismissed(uint32_t nowMs) {
  gBar.tckLastPopupMenuDismissTime = nowMs;
  gBar.menuDismissed = true;
}
