// InputPanes.h: the floating panes kvr shows at the client's text cursor
// while the user types: the keys pane (typed keys with tone mark, stroke
// symbols and insert mark), the candidate pane (one window, or one window a
// row, up to ten, in the parallel layout) with its page-arrow pane, and the
// forecast pane.
//
// The engine fills its members and the pane globals (engine/PaneGlobals.h)
// and calls SetKeyPane, SetChoicePane and ShowZiCiForecastPane (through
// FrontendHost); these work out each pane's content and size, place it at
// the caret (MyGetCaretPos, CalcPanePos*) and show or hide it. The panes
// draw themselves on Expose (frontend/PaneDrawing.h). The placement and
// sizing rules are pure functions in frontend/internal/PanePlacement.h and
// PaneLayout.h.
//
// The panes are override-redirect children of the root, created once at
// start-up (CreateInputPane) and destroyed by ExitInputPane. Every entry
// point skips panes that do not exist. One thread; the engine calls in while
// it handles a key, a focus change or a command.
#pragma once

#include "base/CString.h"
#include "base/Geometry.h"
#include "framework/XDrawTypes.h"

// ---- Windows (0 while not created)
constexpr int kCandidatePanes = 10;
extern unsigned long hwndInputPane1;                   // keys pane, id 153
extern unsigned long hwndInputPane2[kCandidatePanes];  // candidate panes, ids 0 to 9
extern unsigned long hwndInputPane3;                   // page arrows, id 51
extern unsigned long hwndInputPane4;                   // forecast pane, id 102
constexpr long kKeysPaneId = 153;
constexpr long kArrowPaneId = 51;
constexpr long kForecastPaneId = 102;

// ---- Placement state
extern int bShowPane1, bShowPane2;  // the keys / candidate pane are meant to be shown
extern CPoint posInputPane1, posInputPane2, posInputPane4;  // last root positions given
extern int GetCaretPosFlag;  // how the last caret lookup ended (panes::CaretFlag)
// The tone marks 2, 3, 4 and the insert mark, in pixels of a 16 by 16
// cell; built by CreateInputPane, destroyed by ExitInputPane.
extern Region hrgnShengDiao2, hrgnShengDiao3, hrgnShengDiao4, hrgnInsertPt;

// ---- Content (what the drawing reads)
extern CString strInputPane1;  // the keys pane's text
extern int byteShengDiao;      // tone digit 1 to 5 after the letters; 0 none
extern int xKeySeqInsertPt;    // x of the insert mark in the keys pane
extern int xZuCiPrefixExtra;   // width of the chosen characters (phrase building)
extern int xZuCiPostfixExtra;  // width of the unused keys (phrase building)
extern CString strInputPane2;  // the one-line candidate text
extern int highlightClrLen;    // leading bytes of it drawn highlighted
extern int cxLimit4HorzCadidatePane[kCandidatePanes];      // widest item of each row
extern CSize sizInputPane1, sizInputPane2, sizInputPane4;  // content sizes
extern CSize sizInputPane1Letters;                         // extent of the typed letters

// ---- Windows, caret and placement
// Sets the colours for gcfg's CandidateBarStyle, creates the panes (parent
// 0: the root), clears bShowPane1/2 and builds the regions. 1, or 0 as soon
// as one window cannot be created (those made so far stay).
int CreateInputPane(unsigned long parent);
// Destroys the regions and every pane that exists; clears the handles.
void ExitInputPane();
// gwinFocus: the client window that has the focus; 0 none.
unsigned long MyGetFocus();
// useFloatPromptPane is on and the last caret lookup found a caret.
bool UsingFloatPane();
// Where the panes belong for window (the focus window): pt gets a root
// point and GetCaretPosFlag how it was found. Returns 1.
int MyGetCaretPos(unsigned long window, CPoint* pt);
// The keys, candidate and forecast pane's position for the caret point
// (in place). CalcPanePos also sets pane1yJumped; CalcPanePos2 does
// nothing while the keys pane does not exist.
void CalcPanePos(CPoint* pt);
void CalcPanePos2(CPoint* pt);
void CalcPanePos4(CPoint* pt);
// Shows or hides each pane by the engine's state and re-places it at the
// current caret; hideAll 1 hides every pane. Nothing while the engine is
// busy, holds the panes or runs a modal box.
void ShowNMoveInputPanes(int hideAll);
// Repaints candidate pane 0, or all ten in the parallel layout.
void InvalidateRect_hwndInputPane2();
// 1 when candidate pane 0 (all ten in the parallel layout) is a registered
// window.
int IsWindow_hwndInputPane2();
// Shows or hides the candidate pane(s) and the page-arrow pane.
void ShowWindow_hwndInputPane2(int show);
// Root rectangle of candidate pane 0, extended by the shown parallel rows.
void GetWindowRect_hwndInputPane2(CRect* rect);

// ---- Contents and sizes
// Rebuilds, sizes, places and shows the keys pane from the engine's typed
// keys, or hides it.
void SetKeyPane();
// The candidate text (GBK; null counts as empty), its highlighted leading
// bytes and the engine's colour for it (0xRRGGBB); sizes, places and shows
// the candidate pane(s), or hides them. Nothing while the panes are missing.
void SetChoicePane(const char* text, int highlightLength, unsigned long colour);
// 1 sizes, places and shows the forecast pane (SetChoicePane4); 0 hides
// it. Returns 1.
int ShowZiCiForecastPane(int show);
void SetChoicePane4();
// Moves and sizes the candidate pane(s) and the page-arrow pane; flags of
// SetWinPos (kSwpKeepPos, kSwpKeepSize, kSwpShow: framework/WinGeometry.h). 0 when the parallel
// layout has no rows or too few widths, else 1.
int SetWindowPos_hwndInputPane2(int x, int y, int width, int height, unsigned long flags);
