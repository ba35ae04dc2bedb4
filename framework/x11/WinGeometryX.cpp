// The window helpers that ask the X server.
#include <X11/Xlib.h>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "framework/x11/KernelInternal.h"
#include "framework/x11/WinState.h"

namespace {

bool RootOrigin(unsigned long window, CPoint* origin) {
  int x = 0, y = 0, w = 0, h = 0;
  if (!afc::RootRectOf(window, &x, &y, &w, &h)) return false;
  *origin = CPoint(x, y);
  return true;
}

// The object follows a move of its window to (x, y): the client origin by
// the same distance, the window rectangle to (x, y) keeping its size.
void FollowMove(AWnd* wnd, long x, long y) {
  const int dx = static_cast<int>(x) - wnd->m_rcWin.left;
  const int dy = static_cast<int>(y) - wnd->m_rcWin.top;
  wnd->m_ptClientOrg = CPoint(wnd->m_ptClientOrg.x + dx, wnd->m_ptClientOrg.y + dy);
  wnd->m_rcWin.OffsetRect(dx, dy);
}

}  // namespace

void GetWindowsWorkArea(CRect* rect) {
  if (!rect) return;
  if (!dsply) {
    *rect = CRect();
    return;
  }
  *rect = CRect(0, 0, DisplayWidth(dsply, 0), DisplayHeight(dsply, 0));
}

CSize GetWinSize(unsigned long window) {
  afc::WinState known;
  if (!afc::KnownWinState(window, &known)) return CSize(0, 0);
  return CSize(known.width, known.height);
}

int IsWinShown(unsigned long window) {
  afc::WinState known;
  return afc::KnownWinState(window, &known) && known.mapped ? 1 : 0;
}

int GetWinRect(unsigned long window, CRect* rect) {
  int x = 0, y = 0, w = 0, h = 0;
  if (!rect || !afc::RootRectOf(window, &x, &y, &w, &h)) return 0;
  *rect = CRect(x, y, x + w, y + h);
  return 1;
}

int GetDrawRect(unsigned long window, CRect* rect) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd || !rect) return 0;
  *rect = CRect(wnd->m_ptClientOrg, wnd->m_szClient);
  return 1;
}

int GetWinLang(unsigned long window) {
  AWnd* wnd = AfcFindWnd(window);
  return wnd ? wnd->m_nLang : -1;
}

int SetWinLang(unsigned long window, int lang) {
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd) return -1;
  const int old = wnd->m_nLang;
  wnd->m_nLang = lang;
  return old;
}

unsigned long GetWinParent(unsigned long window) {
  afc::WinState known;
  return afc::KnownWinState(window, &known) ? known.parent : 0;
}

int ShowWin(int show, unsigned long window) {
  if (!dsply || !window) return 0;
  afc::WinMapped(window, show != 0);
  if (show)
    XMapWindow(dsply, window);
  else
    XUnmapWindow(dsply, window);
  AWnd* wnd = AfcFindWnd(window);
  if (!wnd) return 0;
  wnd->m_bHidden = show ? 0 : 1;
  return PostWinEvent(window, WM_AFC_SHOW, show ? 1 : 0, 0);
}

int ScreenToWin(unsigned long window, CPoint* point) {
  CPoint o;
  if (point && RootOrigin(window, &o)) *point = CPoint(point->x - o.x, point->y - o.y);
  return 1;
}

int ScreenToWinRc(unsigned long window, CRect* rect) {
  CPoint o;
  if (rect && RootOrigin(window, &o)) rect->OffsetRect(-o.x, -o.y);
  return 1;
}

int WinToScreen(unsigned long window, CPoint* point) {
  CPoint o;
  if (point && RootOrigin(window, &o)) *point = CPoint(point->x + o.x, point->y + o.y);
  return 1;
}

int WinToScreenRc(unsigned long window, CRect* rect) {
  CPoint o;
  if (rect && RootOrigin(window, &o)) rect->OffsetRect(o.x, o.y);
  return 1;
}

int SetWinPos(unsigned long window, long x, long y, long w, long h, unsigned long flags,
              unsigned long raise, int) {
  if (!dsply || !window) return 1;
  const bool move = flags == 0 || !(flags & kSwpKeepPos);
  const bool size = flags == 0 || !(flags & kSwpKeepSize);
  XWindowChanges ch{};
  unsigned mask = 0;
  if (move) {
    ch.x = static_cast<int>(x);
    ch.y = static_cast<int>(y);
    mask |= CWX | CWY;
  }
  // X refuses a size of 0; such a window keeps at least one pixel.
  if (size) {
    ch.width = w > 0 ? static_cast<int>(w) : 1;
    ch.height = h > 0 ? static_cast<int>(h) : 1;
    mask |= CWWidth | CWHeight;
  }
  if (raise) {
    ch.stack_mode = Above;
    mask |= CWStackMode;
  }
  if (move) afc::WinMoved(window, ch.x, ch.y);
  if (size) afc::WinResized(window, ch.width, ch.height);
  if (mask) XConfigureWindow(dsply, window, mask, &ch);
  afc::WinMapped(window, (flags & kSwpShow) != 0);
  if (flags & kSwpShow)
    XMapWindow(dsply, window);
  else
    XUnmapWindow(dsply, window);
  if (AWnd* wnd = AfcFindWnd(window)) {
    if (move) FollowMove(wnd, x, y);
    if (size) {
      wnd->m_rcWin.right = wnd->m_rcWin.left + static_cast<int>(w);
      wnd->m_rcWin.bottom = wnd->m_rcWin.top + static_cast<int>(h);
      wnd->m_szWin = CSize(w, h);
    }
  }
  return 1;
}

int WinMove(unsigned long window, long x, long y, long w, long h) {
  return SetWinPos(window, x, y, w, h, kSwpShow, 0, 0);
}

int WinMoveNoSize(unsigned long window, long x, long y) {
  if (!dsply || !window) return 0;
  if (AWnd* wnd = AfcFindWnd(window)) FollowMove(wnd, x, y);
  afc::WinMoved(window, static_cast<int>(x), static_cast<int>(y));
  XMoveWindow(dsply, window, static_cast<int>(x), static_cast<int>(y));
  return 1;
}

int IsAfcWin(unsigned long window) { return AfcFindWnd(window) ? 1 : 0; }

unsigned long GetFocusWin() {
  if (!dsply) return 0;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(dsply, &focus, &revert);
  return focus;
}

int GetPointerPos(POINT* point) {
  if (!dsply || !point) return 0;
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(dsply, RootWindow(dsply, scrn), &root, &child, &rx, &ry, &wx, &wy, &mask))
    return 0;
  point->x = rx;
  point->y = ry;
  return 1;
}

int SetPointerPos(long x, long y) {
  if (!dsply) return 1;
  XWarpPointer(dsply, None, RootWindow(dsply, scrn), 0, 0, 0, 0, static_cast<int>(x),
               static_cast<int>(y));
  return 1;
}
