// KernelInternal.h: pieces the kernel's files share, and the entry points
// the tests drive the loops through. Not for use outside the framework.
#pragma once

#include "framework/XTypes.h"

namespace afc {

class TimerTable;

// The timer table, null before AfcKnrlInit and after AfcKnrlExit.
TimerTable* KernelTimers();
void CreateKernelTimers();
void DestroyKernelTimers();

// What every loop does at the start of a turn: runs the exit callback of a
// terminating signal, deletes bare window objects of destroyed windows.
void LoopHousekeeping();

// Idle step of every loop: the application's idle work, a wait of at most
// 300 microseconds on Xlib's internal connections, the timer pump when the
// wait timed out.
void IdleWait();

// The loops' treatment of selection events. A SelectionRequest for
// CLIPBOARD is answered while the main window owns CLIPBOARD and the
// program holds text (the event then goes on); a SelectionClear for
// CLIPBOARD empties the program's text and is consumed (returns true).
// Selection events for other selections (the XIM server's own) go on
// untouched to the filters.
bool HandleSelectionEvent(XEvent* event);

// True when Xlib's filters took the event. Window messages never go to the
// filters (their ids could equal the XIM transport's atoms).
bool FilteredAway(XEvent* event);

// A pointer event the server sent to a window under a grab the program
// had already given up (the release read, the ungrab not yet arrived) is
// handed to the program's window under the pointer, as the server would
// have sent it without the grab. Returns false when no window of the
// program is there: the event then belongs to nobody and is dropped.
bool RouteAroundEndedGrab(XEvent* event);

// The grab state forgets a destroyed window.
void ForgetPointerGrab(unsigned long window);

// One turn of CWinApp::Run with a pending event or, without one, one idle
// step. Returns 1 when an event was dispatched.
int MainLoopTurn();

// The CLIPBOARD atom, interned by AfcKnrlInit.
unsigned long ClipboardAtom();

// The window's rectangle in root coordinates (its position and size, each
// ancestor's position added up to the root; borders not counted). False when
// the attributes of the window or an ancestor cannot be read.
bool RootRectOf(unsigned long window, int* x, int* y, int* w, int* h);

}  // namespace afc
