#include "frontend/internal/PanePlacement.h"

#include <algorithm>

namespace panes {

namespace {

// The point above the main bar where the panes go when no caret is known.
constexpr int kBarDx = 4, kBarDy = 58;
// A focus window of at most this many font heights is small enough to put
// the panes inside it.
constexpr int kSmallWinRows = 4, kSmallWinCols = 30;
// The caret point under the keys pane's top-left corner.
constexpr int kCaretDx = 12, kCaretDy = 24;

}  // namespace

CaretResult CaretPos(const CaretInputs& in) {
  CaretResult r;
  if (in.floatPane) {
    if (in.spotInside) {
      r.pt = in.spot;
      return r;
    }
    if (in.ownCaret) {
      r.pt = in.ownCaretPt;
      return r;
    }
    const CRect win = in.haveFocusRect ? in.focusRect : CRect();
    const int w = win.Width(), h = win.Height();
    if (w < 3 || h < 3) {
      r.flag = kCaretNoWin;
      r.pt = in.spot;
    } else if (h <= kSmallWinRows * in.fontH && w <= kSmallWinCols * in.fontH) {
      r.flag = kCaretInSmallWin;
      r.pt = CPoint(win.left + 2 * w / 5, win.bottom - 16);
      return r;
    } else {
      r.flag = kCaretWinTooLarge;
      r.pt = in.spot;
    }
  }
  r.pt = CPoint(in.barRect.left + kBarDx, in.barRect.top - kBarDy);
  if (r.pt.x < 0)
    r.pt.x = 0;
  else if (r.pt.x + in.keysW > in.work.right)
    r.pt.x = in.work.right - in.keysW - 4;
  if (r.pt.y < 0) r.pt.y = 0;
  if (in.floatPane && in.haveFocusRect) {
    const int m = 4 * in.lettersH;
    if (r.pt.y < in.focusRect.top - m)
      r.pt.y = in.focusRect.top - m;
    else if (r.pt.y > in.focusRect.bottom)
      r.pt.y = in.focusRect.bottom;
  }
  return r;
}

KeysPos KeysPanePos(const KeysPosInputs& in) {
  KeysPos r;
  r.pt = CPoint(in.caret.x - kCaretDx, in.caret.y + kCaretDy);
  const int w = in.keysW + in.phraseExtra;
  if (r.pt.x < 0)
    r.pt.x = 0;
  else if (r.pt.x + w > in.work.right)
    r.pt.x = in.work.right - w - 4;
  if (!in.usingFloat) return r;
  if (r.pt.y < 0) {
    r.pt.y = 0;
    return r;
  }
  // Room for the keys pane and the candidate pane(s) under it.
  const int below = in.parallel ? 210 : in.multiRow ? 66 : 22;
  if (in.keysH + r.pt.y + below > in.work.bottom) {
    r.jumped = true;
    r.pt.y = in.caret.y - kCaretDy;
    if (r.pt.y > in.work.bottom) r.pt.y = in.work.bottom - 25;
  }
  return r;
}

CPoint ChoicePanePos(const ChoicePosInputs& in) {
  CPoint pt(in.caret.x - kCaretDx, in.keysShown ? in.keysPos.y + in.keysH : in.caret.y + kCaretDy);
  if (pt.x < 0)
    pt.x = 0;
  else if (pt.x + in.choiceW > in.work.right)
    pt.x = std::max(0, in.work.right - in.choiceW - 2);
  if (!in.usingFloat) return pt;
  if (pt.y < 0) {
    pt.y = 0;
    return pt;
  }
  const bool above =
      in.keysShown ? in.keysJumped : in.keysH + pt.y + in.choiceH - kCaretDy > in.work.bottom;
  if (!above) return pt;
  if (!in.parallel) {
    pt.y = in.caret.y - kCaretDy;
    if (pt.y > in.work.bottom) pt.y = in.work.bottom - 25;
  } else {
    pt.y = in.caret.y - in.choiceH;
    if (pt.y + in.choiceH > in.work.bottom) pt.y = in.work.bottom - in.choiceH - 25;
  }
  if (in.keysShown) pt.y = in.keysPos.y - in.choiceH;
  return pt;
}

CPoint ForecastPanePos(CPoint caret, int width, int height, const CRect& work) {
  CPoint pt(caret.x + 58, caret.y);
  if (pt.x < 0) {
    pt.x = 0;
  } else if (pt.x + width > work.right) {
    const int limit = std::min(static_cast<int>(work.right), caret.x - 128);
    if (pt.x + width > limit) pt.x = limit - width;
    // Near the left edge of a narrow screen that leaves the screen.
    if (pt.x < 0) pt.x = 0;
  }
  if (pt.y < 0)
    pt.y = 0;
  else if (pt.y + height > work.bottom)
    pt.y = work.bottom - height - 4;
  return pt;
}

}  // namespace panes
