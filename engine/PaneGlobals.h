// PaneGlobals.h: the candidate-pane data that the engine fills before it
// asks the front end to draw (IEngineHost::SetChoicePane and friends) and
// that the front end's panes read while they size and paint themselves.
// Defined with the engine so that the engine needs nothing of the front
// end; the front end uses these definitions and defines none of its own.
#pragma once

#include "engine/internal/FrameworkTypes.h"

// Columns of the candidate pane: 0 selection labels (or a segment display's
// row keys), 1 candidate texts (or a row's joined candidates), 2 and 3 the
// next two pages of the multi-row layout.
constexpr int kPaneColumns = 4;
extern CStringArray arrStrInputPane2[kPaneColumns];
// Widest item of each column (five slots, the first four used); the engine
// zeroes them before a display, SetChoicePane computes them.
constexpr int kPaneColumnLimits = 5;
extern int cxLimit4VerticalCadidatePane[kPaneColumnLimits];
// Text widths of columns 1 to 3; the engine empties them, the pane fills.
extern CWordArray arr2ndUpColumnWidthInputPane2[kPaneColumns - 1];
// Leading items the multi-row layout draws highlighted; 0 at each display.
extern int highlightClrLenCountOfItems;
// The keys pane was placed above the caret; cleared at each display.
extern int pane1yJumped;
// The keys are one proper pinyin syllable with the multi-row layout on.
extern int isPYProperAndMultiCandidatePanes;
// Columns of arrStrInputPane2 beyond the first two that are in use, 0 to
// 2: the following pages, which the multi-row layout shows as further
// lines and the parallel layout as further columns.
extern int extraMultiCandidatePanes;
// The highlighted one of those columns of pages, 0 to
// extraMultiCandidatePanes (the line or column the row switch moves).
extern int currentPaneInMultiPanes;
