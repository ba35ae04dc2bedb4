// MainBarWindows.h: the pieces of the main bar that its window procedures
// (frontend/x11/MainBarX.cpp) and its drawing (frontend/MainBar.cpp) share.
// Not for other subsystems.
#pragma once

#include "base/CString.h"
#include "base/Geometry.h"
#include "framework/XDrawTypes.h"
#include "framework/XTypes.h"

// The X raster function that copies.
constexpr int kGXcopy = 3;

extern CString gstrToolTip;  // the tool tip's text
extern CSize sizStatusWnd, sizToolTipWnd;
extern int gTimerSlow;    // the slow timer's slot; 0 none
extern XImage* hBmpPane;  // bitmap 161 decoded; null when missing

// Message 1200 of the bar: the picture sheet and the slow timer.
void OnBarCreate(unsigned long window);
// Message 1203: the status window moves to the bar's bottom-left corner,
// keeping its size; moving it also hides it. Shown panes that do not
// follow a caret (they sit above the bar) are placed again.
void PlaceStatusWindow();
// Message 1000 of the bar with the timer's slot.
void OnBarTimer(int slot);
// Raises the bar above its siblings without moving, mapping or unmapping it.
void RaiseBarKeepingState();
// The tool tip's text for the first cell bit of cells, translated through
// [UI_STR] under a Chinese UI.
CString ToolTipText(int cells);

int StatusWndProc(XEvent* event);
int ToolTipWndProc(XEvent* event);
