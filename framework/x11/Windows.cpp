// Window creation and destruction, the window map's accessors, window
// messages and GCs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cassert>
#include <cstdint>
#include <memory>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/internal/TimerTable.h"
#include "framework/internal/WindowMap.h"
#include "framework/x11/KernelInternal.h"
#include "framework/x11/WinState.h"

namespace {

int g_bFirstWin = 1;  // gbFirstWin

// Only 32 bits of a posted word cross the X server; Xlib sign-extends them
// on the way back. A posted value must be a 32-bit number, signed or not.
[[maybe_unused]] bool FitsIn32(unsigned long v) {
  const long s = static_cast<long>(v);
  return v <= 0xffffffffUL || (s < 0 && s >= INT32_MIN);
}

XEvent MakeWinMsg(unsigned long window, int id, unsigned long a, unsigned long b, unsigned long c) {
  XEvent ev{};
  XClientMessageEvent& m = ev.xclient;
  m.type = ClientMessage;
  m.serial = 0;
  m.send_event = True;
  m.display = dsply;
  m.window = window;
  m.message_type = static_cast<Atom>(id);
  m.format = 32;
  m.data.l[0] = static_cast<long>(a);
  m.data.l[1] = static_cast<long>(b);
  m.data.l[2] = static_cast<long>(c);
  m.data.l[3] = 0;
  m.data.l[kWinMsgMagicWord] = static_cast<long>(kWinMsgMagic);
  return ev;
}

int Post(unsigned long window, int id, unsigned long a, unsigned long b, unsigned long c) {
  assert(FitsIn32(a) && FitsIn32(b) && FitsIn32(c) && "a posted word must fit in 32 bits");
  // Window 0 would mean "the window under the pointer", someone else's.
  if (!dsply || !window) return 0;
  XEvent ev = MakeWinMsg(window, id, a, b, c);
  return XSendEvent(dsply, window, False, NoEventMask, &ev);
}

}  // namespace

AWnd* AfcFindWnd(unsigned long window) { return afc::WindowMap::Find(window); }

unsigned long CreateWin(int style, unsigned long, CRect rect, unsigned long parent,
                        int (*proc)(XEvent*), AWnd* wnd, long id, void* param) {
  if (!dsply) return 0;
  if (!parent) parent = RootWindow(dsply, scrn);
  // X refuses windows of size 0; such a window is created 1 pixel wide.
  const int w = rect.Width() > 0 ? rect.Width() : 1;
  const int h = rect.Height() > 0 ? rect.Height() : 1;
  const Window win = XCreateSimpleWindow(dsply, parent, rect.left, rect.top,
                                         static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                                         WhitePixel(dsply, scrn), WhitePixel(dsply, scrn));
  if (!win) return 0;
  if (g_bFirstWin) {
    CreateGC(win);
    g_bFirstWin = 0;
  }
  AWnd* obj = wnd;
  if (proc) {
    obj = afc::WindowMap::Adopt(std::make_unique<AWnd>());
    obj->m_pWinProc = proc;
  }
  if (obj) {
    obj->m_nID = static_cast<int>(id);
    obj->m_hWnd = win;
    afc::WindowMap::Register(win, obj);
    afc::WinState state;
    state.x = rect.left;
    state.y = rect.top;
    state.width = w;
    state.height = h;
    state.parent = parent;
    state.root = RootWindow(dsply, scrn);
    afc::WinCreated(win, state);
  }
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  XChangeWindowAttributes(dsply, win, CWOverrideRedirect, &attrs);
  long mask = EnterWindowMask | LeaveWindowMask | PointerMotionMask | ExposureMask |
              VisibilityChangeMask | StructureNotifyMask | FocusChangeMask;
  if (!(style & 1)) mask |= KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask;
  XSelectInput(dsply, win, mask);
  if (!obj) return win;
  SendWinEvent(win, WM_AFC_CREATE, reinterpret_cast<unsigned long>(param), 0);
  PostWinEvent(win, WM_AFC_AFTERCREATE, 0, 0);
  return win;
}

int DestroyWin(unsigned long window) {
  if (AfcFindWnd(window)) {
    if (SendWinEvent(window, WM_AFC_DESTROY, 0, 0) == 0) return 0;
    afc::WindowMap::Unregister(window);
  }
  // A destroyed window keeps no timer and no caret: their ticks would post
  // to a window that no longer exists.
  if (afc::TimerTable* timers = afc::KernelTimers()) {
    if (GetCaretWin() == window) ClearCaret();
    timers->ReleaseWindow(window);
  }
  afc::ForgetPointerGrab(window);
  afc::WinDestroyed(window);
  if (dsply && window) XDestroyWindow(dsply, window);
  return 1;
}

int EnableWin(unsigned long window, int enable) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd) return -1;
  const int old = wnd->m_bDisabled;
  wnd->m_bDisabled = enable ? 0 : 1;
  return old;
}

void SetWinText(unsigned long window, const char* text) {
  if (AWnd* wnd = AfcFindWnd(window)) wnd->m_strText = text ? text : "";
}

long SetWinID(unsigned long window, long id) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd) return 0;
  wnd->m_nID = static_cast<int>(id);
  return id;
}

long GetWinID(unsigned long window) {
  AWnd* wnd = AfcFindWnd(window);
  return wnd ? wnd->m_nID : 0;
}

int RedrawWin(unsigned long window) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd || !dsply) return 1;
  XEvent ev;
  if (!XCheckTypedWindowEvent(dsply, window, Expose, &ev)) return 1;
  return wnd->ProcessEv(&ev);
}

int InvalidateRect(unsigned long window, CRect* rect, int) {
  if (!dsply || !window) return 0;
  XEvent ev{};
  XExposeEvent& e = ev.xexpose;
  e.type = Expose;
  e.send_event = True;
  e.display = dsply;
  e.window = window;
  e.count = 1;
  if (rect) {
    e.x = rect->left;
    e.y = rect->top;
    e.width = rect->Width();
    e.height = rect->Height();
  } else {
    afc::WinState known;
    if (afc::KnownWinState(window, &known)) {
      e.width = known.width;
      e.height = known.height;
    }
  }
  return XSendEvent(dsply, window, False, ExposureMask, &ev);
}

int SendWinEvent(unsigned long window, int id, unsigned long a, unsigned long b, unsigned long c) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd) return 0;
  XEvent ev = MakeWinMsg(window, id, a, b, c);
  return wnd->ProcessEv(&ev);
}

int PostWinEvent(unsigned long window, int id, unsigned long a, unsigned long b) {
  return Post(window, id, a, b, 0);
}

int PostWinEvent3Parms(unsigned long window, int id, unsigned long a, unsigned long b,
                       unsigned long c) {
  return Post(window, id, a, b, c);
}

GC GetGC(unsigned long window) {
  XGCValues v{};
  v.function = GXcopy;
  v.foreground = 0;
  return XCreateGC(dsply, window, GCFunction | GCForeground, &v);
}

int ReleaseGC(GC gc) {
  if (gc) XFreeGC(dsply, gc);
  return 1;
}

void CreateGC(unsigned long window) {
  gGC = XCreateGC(dsply, window, 0, nullptr);
  XSetForeground(dsply, gGC, BlackPixel(dsply, scrn));
}

namespace afc {

namespace {

// The window's position in its parent and its size, without asking the
// server again.
bool PlaceOf(unsigned long window, int* x, int* y, int* w, int* h) {
  WinState known;
  if (!KnownWinState(window, &known)) return false;
  *x = known.x;
  *y = known.y;
  *w = known.width;
  *h = known.height;
  return true;
}

// The window's root and parent, the same way.
bool ParentOf(unsigned long window, Window* root, Window* parent) {
  WinState known;
  if (!KnownWinState(window, &known)) return false;
  *root = known.root;
  *parent = known.parent;
  return true;
}

}  // namespace

bool RootRectOf(unsigned long window, int* x, int* y, int* w, int* h) {
  if (!dsply || !window) return false;
  int rx = 0, ry = 0;
  if (!PlaceOf(window, &rx, &ry, w, h)) return false;
  Window current = window;
  for (;;) {
    Window root = 0, parent = 0;
    if (!ParentOf(current, &root, &parent)) return false;
    if (!parent || parent == root) break;
    int px = 0, py = 0, pw = 0, ph = 0;
    if (!PlaceOf(parent, &px, &py, &pw, &ph)) return false;
    rx += px;
    ry += py;
    current = parent;
  }
  *x = rx;
  *y = ry;
  return true;
}

}  // namespace afc
