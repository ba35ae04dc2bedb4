// CtrlEvents.h: what the dialogs and controls need of X beyond the drawing
// helpers, without Xlib: the kind of an event, the keysym and modifiers of
// a key event, the keyboard focus, the pointer grab with owner events, the
// newest queued pointer motion, and one-pixel lines and outlines in the
// GC's current foreground.
#pragma once

#include "base/Geometry.h"
#include "framework/XDrawTypes.h"

namespace afc {
namespace x11 {

enum class EvKind {
  kKeyPress,
  kKeyRelease,
  kButtonPress,
  kButtonRelease,
  kMotion,
  kExpose,
  kClientMessage,
  kOther
};
EvKind EventKind(const XEvent* event);

// The keysym of a key event as XLookupString gives it (0 for other events).
unsigned long EventKeySym(XEvent* event);
// A key event's text as XLookupString gives it: at most size - 1 bytes,
// always NUL-terminated (size at least 1), with its keysym and modifier
// state. Returns the text's length; -1, the text empty, for an event that is
// not a key event.
int LookupKeyEvent(XEvent* event, char* text, int size, unsigned long* keysym,
                   unsigned long* state);
// Shift held in the event's modifier state.
bool EventShift(const XEvent* event);
// Button 1 held in a motion or button event's state.
bool EventButton1Held(const XEvent* event);
// A FocusOut by which the event's window loses the keyboard focus. While
// the focus follows the pointer (PointerRoot), the window under the pointer
// also gets focus events (detail NotifyPointer) that say nothing about its
// own focus; those, and a move of the focus into a child, do not count.
bool EventLosesFocus(const XEvent* event);

// Focus revert modes (X's RevertToParent).
constexpr int kRevertToParent = 2;
// The window with the keyboard focus and its revert mode.
void GetInputFocus(unsigned long* window, int* revert);
// Gives window the keyboard focus (current time); window 0 does nothing.
void SetInputFocus(unsigned long window, int revert);

// Grabs the pointer for window with owner events on (press, release,
// motion; asynchronous; current time). The framework's SetPtrGrab grabs
// with owner events off.
void GrabPointerOwner(unsigned long window);
void UngrabPointer();

// Replaces *event with the newest pointer motion of window already queued,
// taking every queued motion of that window; false when none is queued.
bool TakeNewestMotion(unsigned long window, XEvent* event);

// A line from (x1, y1) to (x2, y2) in the GC's foreground.
void DrawLine(unsigned long window, GC gc, int x1, int y1, int x2, int y2);
// The outline of (x, y) to (x + w, y + h), both ends drawn, in the GC's
// foreground.
void DrawOutline(unsigned long window, GC gc, int x, int y, int w, int h);

// Width and height of an image; (0, 0) for null.
CSize ImageSize(const XImage* image);
// Frees an image the caller owns (XDestroyImage); null does nothing.
void DestroyImage(XImage* image);

}  // namespace x11
}  // namespace afc
