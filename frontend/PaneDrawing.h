// PaneDrawing.h: how the input panes (frontend/InputPanes.h) paint
// themselves: their window procedure, the two colour schemes and the
// drawing of each pane. Everything drawn is read from the pane globals, the
// engine and the resource bitmaps 131 (stroke symbols), 172 and 173 (page
// arrows) and 175 (forecast mark).
#pragma once

#include "framework/XDrawTypes.h"
#include "framework/XTypes.h"

// Pane colours (0xRRGGBB). SetCandidateBarStyle sets them; until then they
// hold the modern scheme.
extern unsigned long clrbkInputPane;          // pane background
extern unsigned long clrbkInputPaneHilite;    // the current line or column
extern unsigned long clrbkInputPaneForecast;  // forecast pane background
extern unsigned long clrInputPaneBorder;      // pane border
extern unsigned long clrChoicePane;           // the engine's candidate colour (SetChoicePane)
extern unsigned long clrChoicePane2;          // candidate text
extern unsigned long clrChoicePane2_border;   // more-pages mark
extern unsigned long clrSelNum;               // candidate numbers of the multi-row layout

constexpr int kBarStyleClassic = 1;
// style 1 the classic scheme, anything else the modern one.
void SetCandidateBarStyle(int style);
void SetStyleMordenClrs();
void SetStyleClassicClrs();

// The window procedure of every pane: on Expose it draws by the window's id
// (153 keys, 51 page arrows, 102 forecast, any other a candidate row) and
// returns 1; every other event returns 0.
int InputPaneProc(XEvent* event);

void DrawInputPane1(GC gc);
void DrawInputPane2(unsigned long window, GC gc, int row);
void DrawInputPane3(GC gc);
void DrawInputPane4(GC gc);
