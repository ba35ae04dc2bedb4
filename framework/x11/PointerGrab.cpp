// The pointer grab of a pressed control, and the events the server still
// sends under it after the program has let it go.
//
// A control grabs the pointer when it is pressed and ungrabs when it reads
// the release. The server keeps the grab until the ungrab request arrives,
// so a user who releases and clicks elsewhere at once has that click sent
// to the old grab window: read as a press far outside the control, and
// lost for the button actually under the pointer. Such events are known by
// their serial (made before the server read the ungrab) and are handed to
// the window under the pointer, as the server would have without the grab.
#include <X11/Xlib.h>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/x11/KernelInternal.h"

namespace {

unsigned long g_winPtrGrab = 0;  // gwinPtrGrab

// The window whose grab was last given up, and the serial of the request
// that gave it up: events sent to it before that request are stale.
unsigned long g_endedGrab = 0;
unsigned long g_endedAtSerial = 0;

void GrabEnds(unsigned long window) {
  if (!window || !dsply) return;
  g_endedGrab = window;
  g_endedAtSerial = NextRequest(dsply);
}

bool IsPointerEvent(const XEvent* ev) {
  return ev->type == ButtonPress || ev->type == ButtonRelease || ev->type == MotionNotify;
}

long EventMaskFor(int type) {
  switch (type) {
    case ButtonPress: return ButtonPressMask;
    case ButtonRelease: return ButtonReleaseMask;
    default: return PointerMotionMask | ButtonMotionMask | Button1MotionMask;
  }
}

bool Inside(unsigned long window, int rootX, int rootY) {
  int x = 0, y = 0, w = 0, h = 0;
  return afc::RootRectOf(window, &x, &y, &w, &h) && rootX >= x && rootY >= y && rootX < x + w &&
         rootY < y + h;
}

// The window of this program the server would have given a pointer event
// at (rootX, rootY) of the given type without a grab: the deepest window
// there, or its nearest ancestor that selects the event. 0 when that is no
// window of this program.
unsigned long OwnWindowAt(int rootX, int rootY, int type) {
  const Window root = DefaultRootWindow(dsply);
  Window chain[64];
  int depth = 0;
  Window at = root;
  for (;;) {
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(dsply, root, at, rootX, rootY, &x, &y, &child)) return 0;
    if (child == None || depth == 64) break;
    chain[depth++] = child;
    at = child;
  }
  const long wanted = EventMaskFor(type);
  for (int i = depth - 1; i >= 0; --i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dsply, chain[i], &a)) return 0;
    if (a.your_event_mask & wanted) return AfcFindWnd(chain[i]) ? chain[i] : 0;
    if (a.do_not_propagate_mask & wanted) return 0;
  }
  return 0;
}

}  // namespace

unsigned long SetPtrGrab(unsigned long window) {
  const unsigned long old = g_winPtrGrab;
  if (old && old != window) GrabEnds(old);
  XGrabPointer(dsply, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  g_winPtrGrab = window;
  return old;
}

unsigned long GetPtrGrab() { return g_winPtrGrab; }

unsigned long UnsetPtrGrab() {
  const unsigned long old = g_winPtrGrab;
  GrabEnds(old);
  XUngrabPointer(dsply, CurrentTime);
  g_winPtrGrab = 0;
  return old;
}

namespace afc {

void ForgetPointerGrab(unsigned long window) {
  if (g_winPtrGrab == window) g_winPtrGrab = 0;
  if (g_endedGrab == window) g_endedGrab = 0;
}

bool RouteAroundEndedGrab(XEvent* ev) {
  if (!g_endedGrab || !IsPointerEvent(ev)) return true;
  // Serials grow with every event; once one was made after the ungrab,
  // no later one can be stale.
  if (static_cast<long>(ev->xany.serial - g_endedAtSerial) >= 0) {
    g_endedGrab = 0;
    return true;
  }
  if (ev->xany.window != g_endedGrab || g_winPtrGrab == g_endedGrab) return true;
  // Button and motion events keep the pointer's root position in the
  // same place.
  XButtonEvent& b = ev->xbutton;
  if (Inside(b.window, b.x_root, b.y_root)) return true;
  const unsigned long target = OwnWindowAt(b.x_root, b.y_root, ev->type);
  if (!target) return false;  // another client's window, or none: not ours
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(dsply, DefaultRootWindow(dsply), target, b.x_root, b.y_root, &x, &y,
                        &child);
  b.window = target;
  b.subwindow = None;
  b.x = x;
  b.y = y;
  return true;
}

}  // namespace afc
