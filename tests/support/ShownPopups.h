// The mapped override-redirect children of the root window (kvr's bar, its
// panes and its menus), with their attributes, for the tests that look for
// what kvr shows.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "tests/support/WindowsMayVanish.h"

namespace kvrtest {

struct ShownPopup {
  Window window;
  XWindowAttributes attr;
};

inline std::vector<ShownPopup> ShownPopups(Display* dpy) {
  std::vector<ShownPopup> out;
  const WindowsMayVanish vanishing(dpy);
  Window root = 0, parent = 0;
  Window* kids = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &kids, &n)) return out;
  for (unsigned i = 0; i < n; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, kids[i], &a) && a.map_state != IsUnmapped && a.override_redirect)
      out.push_back({kids[i], a});
  }
  if (kids) XFree(kids);
  return out;
}

}  // namespace kvrtest
