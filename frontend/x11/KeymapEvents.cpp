#include "frontend/x11/KeymapEvents.h"

#include <X11/Xlib.h>

bool KeymapEventRootPoint(const XEvent* event, CPoint* root) {
  if (!event) return false;
  switch (event->type) {
    case ButtonPress:
    case ButtonRelease: *root = CPoint(event->xbutton.x_root, event->xbutton.y_root); return true;
    case MotionNotify: *root = CPoint(event->xmotion.x_root, event->xmotion.y_root); return true;
    default: return false;
  }
}
