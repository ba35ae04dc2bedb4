// MainBar.h: kvr's main bar window, its status window and its tool-tip
// window, and the bar's window procedure. The bar is created hidden at
// start-up; every key reaches the input method as a message to it
// (frontend/BarKeys.h), also while it is hidden.
#pragma once

#include "framework/CString.h"
#include "framework/XTypes.h"

class CMainFrame;

extern unsigned long ghMainePane;   // the bar's X window; 0 before start-up
extern unsigned long ghStatusWnd;   // the status window under the bar
extern unsigned long ghToolTip;     // the tool-tip window
extern int gStatusWndShort;         // the bar has the short form
extern int gbDlgUp, gbMnuUp;        // a dialog or popup menu of the bar is up
extern CString gstrStatusMsg;       // the status window's message
extern CMainFrame* gpMainFrame;     // the frame bound to the bar (borrowed)

// Creates the bar at (gcfg Left, gcfg Top), 26 high, 340 or (short) 155
// wide; it is shown and raised only when the application is not starting
// up. Returns the X window, 0 on failure.
unsigned long CreateMainWindow();
// The bar's window procedure.
int MainWndProc(XEvent* event);

// The status and tool-tip windows: 1 by 1 at (0, 0), hidden.
int CreateStatusWindows();
int DestroyStatusWindows();
int CreateToolTipWindow();
int DestroyToolTipWindow();

// The status window's message; an empty or all-blank text hides it.
void ShowTipMsg(const char* text);

// Messages 9102 and 9103 (the key prologue on the X key event, then
// RouteBarKey). Returns the key's result.
int BarKeyMessage(XEvent* message);
