// AfcKernel.h: the event kernel, the framework's layer over the X display.
// It opens the one display connection, installs the process's signal
// handling, keeps the map from X windows to their window objects, creates
// and destroys windows, runs the modal loops of dialogs and menus (the main
// loop is CWinApp::Run), drives the software timers and the text caret from
// a 300 ms tick, and carries window messages (framework/WinMsg.h).
//
// Everything runs on the program's one thread. The loops never block for
// more than 300 microseconds, so timers, idle work and the XIM transport
// (whose events Xlib's filters take) are served while dialogs and menus are
// open. Signals never run program code inside the handler: a terminating
// signal is recorded and the loops call the program's exit callback.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "framework/WinMsg.h"
#include "framework/XTypes.h"

class AWnd;
class IDialogHost;
class IMenuHost;

// --- Kernel globals (written by AfcKnrlInit, read everywhere) --------------

extern Display* dsply;  // the display connection
extern int scrn;        // its default screen
extern GC gGC;          // shared GC, created on the first window; foreground black
extern unsigned long gpxlWhite, gpxlBlack;  // the screen's white and black pixels
extern unsigned long gpxlBright, gpxlDark;  // light and dark edge colours of 3D frames
extern double gScrnHorzRes, gScrnVertRes;   // screen resolution, dots per inch
extern int gSysType;                        // distribution code (GetSysType)

constexpr int gMaxTimers = 1024;     // timer slots
constexpr int nReservedTimers = 1;   // slots below it are not handed out
constexpr int idCaretTimer = 0;      // the caret's slot
constexpr int gusecGrainSize = 300;  // idle wait in microseconds, tick in milliseconds

// --- Start and end ---------------------------------------------------------

// Opens the display (exits with status 1 and a message when it cannot),
// installs the signal handling, the connection watch, the timer table, the
// clipboard atoms, the edge colours and the screen resolution. Returns the
// distribution code.
int AfcKnrlInit();
// Frees the timer table (once).
void AfcKnrlExit();
// The process's signal handler (see AfcKnrlInit).
void KnlExceptionHandler(int sig);
// Xlib's connection-watch callback: tracks Xlib's internal connections,
// which the idle wait listens on.
void ConnectionWatch(Display* display, char* data, int fd, int opening, char** watchData);

// Calls the program's exit callback for a terminating signal that arrived
// since the last call, then exits with status 0. The loops call it on every
// turn; a program that runs a loop of its own should too.
void AfcRunPendingSignal();

// --- Loops -----------------------------------------------------------------

// The modal loop of a popup menu: every event the filters leave goes to the
// object registered for menuWindow, whatever window it is for. Returns the
// menu's result byte (1 cancelled, 2 chosen) once it is nonzero; 0 for a
// null menu.
int DoMenuEventLoop(unsigned long menuWindow, IMenuHost* menu);
// The modal loop of a dialog; returns the dialog's result once it ended.
int DoDlgEventLoop(unsigned long dialogWindow, IDialogHost* dialog);

// --- Timers and caret ------------------------------------------------------

// A timer slot (1 to 1023) for window, due every max(ms / 300, 1) ticks of
// 300 ms: message WM_AFC_TIMER {slot, tick counter} is posted to window.
// Returns kNoTimer when every slot is taken; test with NoTimer().
int CreateTimer(unsigned long ms, unsigned long window);
constexpr int kNoTimer = gMaxTimers;
inline bool NoTimer(int slot) { return slot < nReservedTimers || slot >= gMaxTimers; }
// -1 for a slot outside 0..1023; 1 when it was in use, 0 when not.
int ReleaseTimer(int slot);
// Advances the tick; 0 when called less than 300 ms after the last tick.
int PumpTimer();
// Posts WM_AFC_TIMER {slot, count} to the slot's window.
void FireTimerEv(int slot, int count);

// Gives window the caret (blinking every 2 ticks); a nonzero height sets the
// caret height. Returns 1.
int InitCaret(unsigned long window, int height);
// Sets the blinking flag; returns the previous one.
int MapCaret(int show);
// Sets the caret position (client coordinates); returns the previous one.
CPoint SetCaretPt(CPoint pt);
// The caret's window, 0 when none.
unsigned long GetCaretWin();
// screen 0: the caret position; 1: in root coordinates, 5 pixels lower,
// limited to the caret window's rectangle.
CPoint GetCaretPt(int screen);
// Takes the caret from its window; returns that window.
unsigned long ClearCaret();
// Draws the caret once (drawing twice restores the background).
void DrawCaret();

// --- Windows and messages --------------------------------------------------

// The object registered for window, or null.
AWnd* AfcFindWnd(unsigned long window);

// Creates an override-redirect window at rect in parent (0: the root). With
// proc a bare AWnd (owned by the kernel) dispatches to proc; otherwise wnd
// (borrowed: it must outlive the window) is registered. Key and button
// events are selected unless bit 0 of style is set. Sends WM_AFC_CREATE
// {param} and posts WM_AFC_AFTERCREATE. Returns the window or 0.
unsigned long CreateWin(int style, unsigned long reserved, CRect rect, unsigned long parent,
                        int (*proc)(XEvent*), AWnd* wnd, long id, void* param);
// Sends WM_AFC_DESTROY to the object (0 refuses: returns 0, nothing
// changes), unregisters it, releases its timers and the caret, destroys the
// X window. Returns 1.
int DestroyWin(unsigned long window);
// Sets the object's disabled flag to !enable; the previous flag, -1 when
// the window is not registered.
int EnableWin(unsigned long window, int enable);
void SetWinText(unsigned long window, const char* text);
long SetWinID(unsigned long window, long id);
long GetWinID(unsigned long window);
// Dispatches at once an Expose of window that waits in the queue.
int RedrawWin(unsigned long window);
// Posts a synthetic Expose for rect (null: the whole window).
int InvalidateRect(unsigned long window, CRect* rect, int erase);
// A direct call of the object's ProcessEv with {id, a, b, c}; 0 when the
// window is not registered. Words may hold pointers.
int SendWinEvent(unsigned long window, int id, unsigned long a, unsigned long b,
                 unsigned long c = 0);
// Posts {id, a, b, 0} through the X server. Only 32 bits of each word
// arrive: never post a pointer. Returns XSendEvent's status.
int PostWinEvent(unsigned long window, int id, unsigned long a, unsigned long b);
int PostWinEvent3Parms(unsigned long window, int id, unsigned long a, unsigned long b,
                       unsigned long c);

// --- GCs and the pointer grab ----------------------------------------------

// A new GC for window (copy, foreground 0); release it with ReleaseGC.
GC GetGC(unsigned long window);
int ReleaseGC(GC gc);
// Creates the shared gGC on window, foreground black.
void CreateGC(unsigned long window);
// Grabs the pointer for window; returns the previous grab window.
unsigned long SetPtrGrab(unsigned long window);
unsigned long GetPtrGrab();
// Releases the grab; returns the previous grab window.
unsigned long UnsetPtrGrab();
