#include "framework/x11/WinState.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <iterator>
#include <unordered_map>

#include "framework/AfcKernel.h"

// Xlib's hook that sees every event as Xlib reads it, whoever asks for it
// next. Declared in Xlibint.h, whose min and max macros break the C++
// library.
extern "C" Bool (*XESetWireToEvent(Display* display, int event,
                                   Bool (*proc)(Display*, XEvent*, xEvent*)))(Display*, XEvent*,
                                                                              xEvent*);

namespace {

// A kept state and, per part, the serial of the request that set it: an
// event with a lower serial was made before and must not undo it.
struct Kept {
  afc::WinState state;
  unsigned long geometrySerial = 0;
  unsigned long mapSerial = 0;
  unsigned long parentSerial = 0;
  bool own = false;  // one of the framework's windows
};

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

struct Cache {
  Display* display = nullptr;  // the connection the hooks are set on
  std::unordered_map<unsigned long, Kept> windows;
  int others = 0;  // kept windows that are not the framework's
  WireToEvent previous[LASTEvent] = {};

  void Erase(unsigned long window) {
    auto it = windows.find(window);
    if (it == windows.end()) return;
    if (!it->second.own) --others;
    windows.erase(it);
  }
  void ForgetOthers() {
    for (auto it = windows.begin(); it != windows.end();) {
      it = it->second.own ? std::next(it) : windows.erase(it);
    }
    others = 0;
  }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

constexpr int kFollowed[] = {ConfigureNotify, MapNotify, UnmapNotify, ReparentNotify,
                             DestroyNotify};

// Lets Xlib make the event, then follows it in the kept state.
Bool FollowEvent(Display* display, XEvent* re, xEvent* wire) {
  Cache& c = TheCache();
  const int type = wire->u.u.type & 0x7F;
  const Bool made = c.previous[type] ? c.previous[type](display, re, wire) : False;
  // Events sent by clients (a window manager's synthetic ConfigureNotify
  // uses root coordinates) say nothing reliable about the window.
  if (!made || display != c.display || re->xany.send_event) return made;
  const unsigned long serial = re->xany.serial;
  switch (re->type) {
    case ConfigureNotify: {
      auto it = c.windows.find(re->xconfigure.window);
      if (it == c.windows.end() || serial < it->second.geometrySerial) break;
      afc::WinState& s = it->second.state;
      s.x = re->xconfigure.x;
      s.y = re->xconfigure.y;
      s.width = re->xconfigure.width;
      s.height = re->xconfigure.height;
      break;
    }
    case MapNotify:
    case UnmapNotify: {
      const Window w = re->type == MapNotify ? re->xmap.window : re->xunmap.window;
      auto it = c.windows.find(w);
      if (it == c.windows.end() || serial < it->second.mapSerial) break;
      it->second.state.mapped = re->type == MapNotify;
      break;
    }
    case ReparentNotify: {
      auto it = c.windows.find(re->xreparent.window);
      if (it == c.windows.end()) break;
      if (serial >= it->second.parentSerial) it->second.state.parent = re->xreparent.parent;
      if (serial >= it->second.geometrySerial) {
        it->second.state.x = re->xreparent.x;
        it->second.state.y = re->xreparent.y;
      }
      break;
    }
    case DestroyNotify: c.Erase(re->xdestroywindow.window); break;
    default: break;
  }
  return made;
}

// The cache of the open connection: a new connection starts empty and gets
// the hooks; null without one.
Cache* Attached() {
  Cache& c = TheCache();
  if (!dsply) return nullptr;
  if (c.display != dsply) {
    c.windows.clear();
    c.others = 0;
    c.display = dsply;
    for (int type : kFollowed) c.previous[type] = XESetWireToEvent(dsply, type, FollowEvent);
  }
  return &c;
}

// The kept state of one of the framework's windows, for its own request;
// another window is forgotten: the request may not be applied as made.
Kept* FindOwn(unsigned long window) {
  Cache* c = Attached();
  if (!c) return nullptr;
  auto it = c->windows.find(window);
  if (it == c->windows.end()) return nullptr;
  if (!it->second.own) {
    c->Erase(window);
    return nullptr;
  }
  return &it->second;
}

}  // namespace

namespace afc {

bool KnownWinState(unsigned long window, WinState* state) {
  if (!window) return false;
  Cache* c = Attached();
  if (!c) return false;
  auto it = c->windows.find(window);
  if (it == c->windows.end()) {
    const bool own = AfcFindWnd(window) != nullptr;
    XWindowAttributes a;
    if (!own) {
      // Structure events first, so that nothing after the reading below
      // goes unseen; what happens in between is in the reading.
      if (!XGetWindowAttributes(dsply, window, &a)) return false;
      if (!(a.your_event_mask & StructureNotifyMask))
        XSelectInput(dsply, window, a.your_event_mask | StructureNotifyMask);
    }
    const unsigned long serial = XNextRequest(dsply);
    if (!XGetWindowAttributes(dsply, window, &a)) return false;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dsply, window, &root, &parent, &children, &n)) return false;
    if (children) XFree(children);
    Kept k;
    k.state.x = a.x;
    k.state.y = a.y;
    k.state.width = a.width;
    k.state.height = a.height;
    k.state.root = root;
    k.state.parent = parent;
    k.state.mapped = a.map_state != IsUnmapped;
    k.geometrySerial = k.mapSerial = k.parentSerial = serial;
    k.own = own;
    if (!own && ++c->others > kMaxOtherWindows) {
      c->ForgetOthers();
      c->others = 1;
    }
    it = c->windows.emplace(window, k).first;
  }
  *state = it->second.state;
  return true;
}

void WinCreated(unsigned long window, const WinState& state) {
  Cache* c = Attached();
  if (!c || !window) return;
  c->Erase(window);
  Kept k;
  k.state = state;
  k.geometrySerial = k.mapSerial = k.parentSerial = XNextRequest(dsply);
  k.own = true;
  c->windows[window] = k;
}

void WinMoved(unsigned long window, int x, int y) {
  if (Kept* k = FindOwn(window)) {
    k->state.x = x;
    k->state.y = y;
    k->geometrySerial = XNextRequest(dsply);
  }
}

void WinResized(unsigned long window, int width, int height) {
  if (Kept* k = FindOwn(window)) {
    k->state.width = width;
    k->state.height = height;
    k->geometrySerial = XNextRequest(dsply);
  }
}

void WinMapped(unsigned long window, bool mapped) {
  if (Kept* k = FindOwn(window)) {
    k->state.mapped = mapped;
    k->mapSerial = XNextRequest(dsply);
  }
}

void WinDestroyed(unsigned long window) {
  if (Cache* c = Attached()) c->Erase(window);
}

}  // namespace afc
