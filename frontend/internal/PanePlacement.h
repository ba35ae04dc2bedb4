// PanePlacement.h: where the input panes go, as pure functions of what the
// front end reads from X and the settings. InputPanes.cpp gathers the
// inputs (window rectangles, the client's spot, the bar, the pane sizes)
// and applies the results; the tests drive these functions with tables.
//
// All points and rectangles are root coordinates; the work area is the
// whole screen.
#pragma once

#include "base/Geometry.h"

namespace panes {

// How a caret lookup ended (GetCaretPosFlag).
enum CaretFlag : int {
  kCaretReported = 0,     // the client's spot or kvr's own caret
  kCaretInSmallWin = 1,   // a point guessed inside a small focus window
  kCaretWinTooLarge = 2,  // a focus window too large to guess in
  kCaretNoWin = 3,        // a focus window under 3 pixels, or none
};

struct CaretInputs {
  bool floatPane = true;       // useFloatPromptPane
  bool spotInside = false;     // the client's last spot lay inside its focus window
  CPoint spot;                 // gptCaretPos
  bool ownCaret = false;       // kvr's own caret is in the window asked about
  CPoint ownCaretPt;           // that caret, root coordinates
  bool haveFocusRect = false;  // the focus window's rectangle could be read
  CRect focusRect;
  int fontH = 16;    // the application's default font height
  CRect barRect;     // the main bar
  int keysW = 0;     // the keys pane's width
  int lettersH = 0;  // the keys' text height; 0 before the keys pane was sized
  CRect work;
};

struct CaretResult {
  CPoint pt;
  int flag = kCaretReported;
};

// MyGetCaretPos: the client's spot when it lay inside its focus window,
// else kvr's own caret in that window, else a point inside a small focus
// window; otherwise a point above the main bar, kept on the screen and, with
// floating panes, brought into the band from 4 text heights above the focus
// window down to its bottom. Without a readable focus window that band is
// not applied.
CaretResult CaretPos(const CaretInputs& in);

// UsingFloatPane: the panes follow the caret.
inline bool UsingFloatPane(bool floatPane, int flag) {
  return floatPane && flag < kCaretWinTooLarge;
}

struct KeysPosInputs {
  CPoint caret;
  int keysW = 0, keysH = 0;  // the keys pane's size (content)
  int phraseExtra = 0;       // both phrase-building widths, while building
  bool usingFloat = true;
  bool multiRow = false;  // PYSingleCharShowMultiRow
  bool parallel = false;  // PromptParallelSel
  CRect work;
};

struct KeysPos {
  CPoint pt;
  bool jumped = false;  // put above the caret for lack of room below
};

// CalcPanePos: 12 left of and 24 below the caret, on the screen; above the
// caret when the panes would not fit below it.
KeysPos KeysPanePos(const KeysPosInputs& in);

struct ChoicePosInputs {
  CPoint caret;
  bool keysShown = false;   // the keys pane is shown
  CPoint keysPos;           // the keys pane's last position
  int keysH = 0;            // the keys pane's height
  bool keysJumped = false;  // pane1yJumped
  int choiceW = 0, choiceH = 0;
  bool usingFloat = true;
  bool parallel = false;
  CRect work;
};

// CalcPanePos2: under the keys pane (or 24 below the caret), on the screen;
// above when the keys pane jumped or there is no room below.
CPoint ChoicePanePos(const ChoicePosInputs& in);

// CalcPanePos4: 58 right of the caret at its height; left of the caret
// when it would pass the right edge, and up from the bottom edge.
CPoint ForecastPanePos(CPoint caret, int width, int height, const CRect& work);

}  // namespace panes
