#include "framework/x11/CtrlEvents.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "framework/AfcKernel.h"

namespace afc {
namespace x11 {

EvKind EventKind(const XEvent* event) {
  if (!event) return EvKind::kOther;
  switch (event->type) {
    case KeyPress: return EvKind::kKeyPress;
    case KeyRelease: return EvKind::kKeyRelease;
    case ButtonPress: return EvKind::kButtonPress;
    case ButtonRelease: return EvKind::kButtonRelease;
    case MotionNotify: return EvKind::kMotion;
    case Expose: return EvKind::kExpose;
    case ClientMessage: return EvKind::kClientMessage;
    default: return EvKind::kOther;
  }
}

unsigned long EventKeySym(XEvent* event) {
  if (!event || (event->type != KeyPress && event->type != KeyRelease)) return 0;
  char text[32];
  KeySym sym = NoSymbol;
  XLookupString(&event->xkey, text, sizeof text, &sym, nullptr);
  return sym;
}

int LookupKeyEvent(XEvent* event, char* text, int size, unsigned long* keysym,
                   unsigned long* state) {
  if (keysym) *keysym = 0;
  if (state) *state = 0;
  if (!text || size < 1) return -1;
  text[0] = 0;
  if (!event || (event->type != KeyPress && event->type != KeyRelease)) return -1;
  KeySym sym = NoSymbol;
  // A rebound keysym can give a text of any length: room for the NUL is
  // kept back.
  int n = XLookupString(&event->xkey, text, size - 1, &sym, nullptr);
  n = n < 0 ? 0 : (n > size - 1 ? size - 1 : n);
  text[n] = 0;
  if (keysym) *keysym = sym;
  if (state) *state = event->xkey.state;
  return n;
}

bool EventShift(const XEvent* event) {
  if (!event) return false;
  if (event->type == KeyPress || event->type == KeyRelease) return event->xkey.state & ShiftMask;
  return false;
}

bool EventButton1Held(const XEvent* event) {
  if (!event) return false;
  if (event->type == MotionNotify) return event->xmotion.state & Button1Mask;
  if (event->type == ButtonPress || event->type == ButtonRelease)
    return event->xbutton.state & Button1Mask;
  return false;
}

bool EventLosesFocus(const XEvent* event) {
  if (!event || event->type != FocusOut) return false;
  const int detail = event->xfocus.detail;
  return detail != NotifyPointer && detail != NotifyInferior;
}

void GetInputFocus(unsigned long* window, int* revert) {
  Window w = None;
  int r = RevertToParent;
  if (dsply) XGetInputFocus(dsply, &w, &r);
  if (window) *window = w;
  if (revert) *revert = r;
}

void SetInputFocus(unsigned long window, int revert) {
  if (!dsply || !window) return;
  XSetInputFocus(dsply, window, revert, CurrentTime);
}

void GrabPointerOwner(unsigned long window) {
  if (!dsply || !window) return;
  XGrabPointer(dsply, window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
}

void UngrabPointer() {
  if (dsply) XUngrabPointer(dsply, CurrentTime);
}

bool TakeNewestMotion(unsigned long window, XEvent* event) {
  if (!dsply || !event) return false;
  bool any = false;
  while (XCheckTypedWindowEvent(dsply, window, MotionNotify, event)) any = true;
  return any;
}

void DrawLine(unsigned long window, GC gc, int x1, int y1, int x2, int y2) {
  if (dsply && gc) XDrawLine(dsply, window, gc, x1, y1, x2, y2);
}

void DrawOutline(unsigned long window, GC gc, int x, int y, int w, int h) {
  if (dsply && gc && w >= 0 && h >= 0) XDrawRectangle(dsply, window, gc, x, y, w, h);
}

CSize ImageSize(const XImage* image) {
  return image ? CSize(image->width, image->height) : CSize(0, 0);
}

void DestroyImage(XImage* image) {
  if (image) XDestroyImage(image);
}

}  // namespace x11
}  // namespace afc
