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
// Widest text of each column of the multi-row layout; the engine zeroes
// them before a display, SetChoicePane computes them.
extern int cxLimit4VerticalCadidatePane[kPaneColumns];
// Text widths of columns 1 to 3; the engine empties them, the pane fills.
extern CWordArray arr2ndUpColumnWidthInputPane2[kPaneColumns - 1];
// Leading items the multi-row layout draws highlighted; 0 at each display.
extern int highlightClrLenCountOfItems;
// The keys pane was placed above the caret; cleared at each display.
extern int pane1yJumped;
// The keys are one proper pinyin syllable with the multi-row layout on.
extern int isPYProperAndMultiCandidatePanes;
// Extra rows (following pages) of the multi-row layout, 0 to 2.
extern int extraMultiCandidatePanes;
// Current row of the multi-row layout, 0 to extraMultiCandidatePanes.
extern int currentPaneInMultiPanes;
