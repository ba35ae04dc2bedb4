#include "engine/PaneGlobals.h"

// Written by the engine's candidate display and reset; the front end's
// SetChoicePane writes the widths. Read by the front end's panes.
CStringArray arrStrInputPane2[kPaneColumns];
int cxLimit4VerticalCadidatePane[kPaneColumnLimits] = {0, 0, 0, 0, 0};
CWordArray arr2ndUpColumnWidthInputPane2[kPaneColumns - 1];
int highlightClrLenCountOfItems = 0;
int pane1yJumped = 0;
int isPYProperAndMultiCandidatePanes = 0;
int extraMultiCandidatePanes = 0;
int currentPaneInMultiPanes = 0;
