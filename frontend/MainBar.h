// MainBar.h: kvr's main bar window, its status window and its tool-tip
// window, and the bar's window procedure. The bar is created hidden at
// start-up; every key reaches the input method as a message to it
// (frontend/BarKeys.h), also while it is hidden.
#pragma once

#include "base/CString.h"
#include "base/Geometry.h"
#include "framework/XTypes.h"

class CMainFrame;
class IBarWorld;

// PaintMain: paint the cells pressed.
constexpr int kPaintPressed = 0x8000;

extern unsigned long ghMainePane;  // the bar's X window; 0 before start-up
extern unsigned long ghStatusWnd;  // the status window under the bar
extern unsigned long ghToolTip;    // the tool-tip window
extern int gStatusWndShort;        // the bar has the short form
extern int gbDlgUp, gbMnuUp;       // a dialog or popup menu of the bar is up
extern CString gstrStatusMsg;      // the status window's message
extern CMainFrame* gpMainFrame;    // the frame bound to the bar (borrowed)
extern int gTimer;                 // the tool-tip timer's slot; 0 none

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

// Paints the cells in the mask (0: every cell, then the bar's outline);
// kPaintPressed paints them pressed. The event is not used.
void PaintMain(unsigned long window, XEvent* event, int cells);
// Shows the tool tip of the first cell bit of cells near pointer (screen
// coordinates).
void ShowToolTip(int cells, POINT* pointer);
// Pops up submenu n (0 main, 1 preferences, 2 help) of the frame's menu at
// the pointer; 0 when that submenu does not exist.
int RaiseMenu(int n);
// Sets the frame menu's checks and enables from the settings, then saves
// the profile; returns what the save returns.
int ChangeMenuState();
// The same checks and enables without the save, for a change that saves
// nothing (the keymap window hidden by a double click).
void RefreshMenuStates();

// Resizes the bar to the form ShortBar asks for and shows it (nothing in
// kvr calls it). 0 before the bar exists.
int ChangeMainPane();
// Platform hooks that have nothing to do under X: the shortcut installers
// return 0, the class registration 1; the others do nothing.
int InstallStartUpShortcut();
int UnInstallShortcut();
int KVRRegisterClass();
void Activate1stInstance();
void ManageNotifyIcon(int);

// kvr's world of the bar (frontend/BarWorld.h), bound at start-up.
IBarWorld& TheKvrBarWorld();

// Messages 9102 and 9103 (the key prologue on the X key event, then
// RouteBarKey). Returns the key's result.
int BarKeyMessage(XEvent* message);
