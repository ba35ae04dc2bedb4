// ScreenDialogs.h: kvr's windows as the end-to-end tests meet them on the
// screen: the shown override-redirect windows, waiting for one to come or
// go, and a dialog whose controls are clicked at the points of its template
// (dialog units), with real pointer events through XTEST.
//
// Include after <gtest/gtest.h> in tests (Xlib macros).
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/ShownPopups.h"

namespace kvrtest {

inline void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct ScreenWin {
  Window w = None;
  int x = 0, y = 0, width = 0, height = 0;
};

inline std::vector<ScreenWin> ShownWins(Display* dpy) {
  std::vector<ScreenWin> out;
  for (const ShownPopup& p : ShownPopups(dpy))
    out.push_back({p.window, p.attr.x, p.attr.y, p.attr.width, p.attr.height});
  return out;
}

// Waits up to 10 s for a shown window of at least minW by minH (at most
// maxW wide) that is none of skip; None when none comes.
inline ScreenWin WaitForWin(Display* dpy, int minW, int minH, const std::vector<Window>& skip = {},
                            int maxW = 100000) {
  for (int i = 0; i < 200; ++i) {
    for (const ScreenWin& w : ShownWins(dpy)) {
      bool skipped = false;
      for (Window s : skip) skipped |= s == w.w;
      if (!skipped && w.width >= minW && w.height >= minH && w.width <= maxW) return w;
    }
    SleepMs(50);
  }
  return {};
}

// Waits up to 10 s until w is no longer shown.
inline bool WaitWinGone(Display* dpy, Window w) {
  for (int i = 0; i < 200; ++i) {
    bool shown = false;
    for (const ScreenWin& s : ShownWins(dpy)) shown |= s.w == w;
    if (!shown) return true;
    SleepMs(50);
  }
  return false;
}

// A press and a release of the first button at (x, y) of the root.
inline void ClickRootAt(Display* dpy, int x, int y) {
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, 0);
  XTestFakeButtonEvent(dpy, 1, True, 0);
  XTestFakeButtonEvent(dpy, 1, False, 0);
  XSync(dpy, False);
}

// A key press sent to w (kvr's menus read the keys of their own window).
inline void SendKeyTo(Display* dpy, Window w, KeySym sym) {
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.display = dpy;
  ev.xkey.window = w;
  ev.xkey.root = DefaultRootWindow(dpy);
  ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
  ev.xkey.same_screen = True;
  XSendEvent(dpy, w, False, KeyPressMask, &ev);
  XSync(dpy, False);
}

// A dialog on the screen, with its template's size in dialog units: the
// root point of a template point (dialog units from the client area's
// corner).
struct ScreenDialog {
  ScreenWin win;
  double unit = 2;
  int caption = 25;
  ScreenDialog(const ScreenWin& w, int unitsW, int unitsH) : win(w) {
    unit = (w.width - 6) / static_cast<double>(unitsW);
    caption = w.height - 6 - static_cast<int>(unitsH * unit);
  }
  int RootX(double ux) const { return win.x + static_cast<int>(ux * unit); }
  int RootY(double uy) const { return win.y + caption + static_cast<int>(uy * unit); }
  void Click(Display* dpy, double ux, double uy) const {
    ClickRootAt(dpy, RootX(ux), RootY(uy));
    SleepMs(150);
  }
};

// The shown children of parent, with their places in it.
inline std::vector<ScreenWin> ViewableChildren(Display* dpy, Window parent) {
  std::vector<ScreenWin> out;
  const WindowsMayVanish vanishing(dpy);
  Window root = 0, up = 0, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, parent, &root, &up, &children, &n)) return out;
  for (unsigned i = 0; i < n; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable)
      out.push_back({children[i], a.x, a.y, a.width, a.height});
  }
  if (children) XFree(children);
  return out;
}

// Whether a viewable child of the dialog covers its template point.
inline bool ChildShownAt(Display* dpy, const ScreenDialog& d, double ux, double uy) {
  const int x = static_cast<int>(ux * d.unit), y = d.caption + static_cast<int>(uy * d.unit);
  for (const ScreenWin& c : ViewableChildren(dpy, d.win.w))
    if (x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height) return true;
  return false;
}

// Waits up to 5 s for the child at the template point to be shown (or
// hidden); the state it has then. A control kvr shows in answer to an
// event is mapped when kvr next flushes its requests, which may be after
// the event's other effects can be seen.
inline bool WaitChildShownAt(Display* dpy, const ScreenDialog& d, double ux, double uy,
                             bool shown) {
  for (int i = 0; i < 100 && ChildShownAt(dpy, d, ux, uy) != shown; ++i) SleepMs(50);
  return ChildShownAt(dpy, d, ux, uy);
}

// Waits up to 5 s for the keyboard focus to be on the dialog's child at
// the template point (a click on a field moves the focus when kvr reads
// the click; keys typed before then go elsewhere); whether it is.
inline bool WaitFocusAt(Display* dpy, const ScreenDialog& d, double ux, double uy) {
  const int x = static_cast<int>(ux * d.unit), y = d.caption + static_cast<int>(uy * d.unit);
  for (int i = 0; i < 100; ++i) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    for (const ScreenWin& c : ViewableChildren(dpy, d.win.w))
      if (c.w == focus && x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height)
        return true;
    SleepMs(50);
  }
  return false;
}

}  // namespace kvrtest
