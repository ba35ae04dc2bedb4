// Software timers and the text caret, both driven by the 300 ms tick.
#include <X11/Xlib.h>

#include <cstdio>
#include <memory>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/internal/Clock.h"
#include "framework/internal/TimerTable.h"
#include "framework/internal/WindowMap.h"
#include "framework/x11/KernelInternal.h"

namespace {

std::unique_ptr<afc::TimerTable> g_timers;  // dwTimers
CPoint g_caretPt(3, 3);                     // caretPt, client coordinates
int g_caretH = 16;                          // caretH
int g_showCaret = 0;                        // showCaret

constexpr uint32_t kCaretTicks = 2;

}  // namespace

namespace afc {
TimerTable* KernelTimers() { return g_timers.get(); }
void CreateKernelTimers() { g_timers = std::make_unique<TimerTable>(); }
void DestroyKernelTimers() { g_timers.reset(); }
}  // namespace afc

int CreateTimer(unsigned long ms, unsigned long window) {
  if (!g_timers) return kNoTimer;
  return g_timers->Create(ms, window);
}

int ReleaseTimer(int slot) {
  if (!g_timers) return -1;
  return g_timers->Release(slot);
}

void FireTimerEv(int slot, int count) {
  if (!g_timers || slot < 0 || slot >= gMaxTimers) return;
  PostWinEvent(g_timers->At(slot).window, WM_AFC_TIMER, static_cast<uint32_t>(slot),
               static_cast<uint32_t>(count));
}

int PumpTimer() {
  if (!g_timers) return 1;
  bool caretDue = false;
  const bool ticked = g_timers->Pump(
      afc::NowMs(),
      [](int slot, uint32_t tick, unsigned long window) {
        PostWinEvent(window, WM_AFC_TIMER, static_cast<uint32_t>(slot), tick);
      },
      &caretDue);
  if (!ticked) return 0;
  if (g_showCaret && caretDue) DrawCaret();
  return 1;
}

int InitCaret(unsigned long window, int height) {
  if (g_timers) {
    afc::TimerTable::Entry& e = g_timers->At(idCaretTimer);
    e.ticks = kCaretTicks;
    e.window = window;
  }
  if (height) g_caretH = height;
  std::fprintf(stderr, "IntCaret-win=%lu-c=%d-", window, g_caretH);
  return 1;
}

int MapCaret(int show) {
  const int old = g_showCaret;
  g_showCaret = show;
  return old;
}

CPoint SetCaretPt(CPoint pt) {
  const CPoint old = g_caretPt;
  g_caretPt = pt;
  return old;
}

unsigned long GetCaretWin() {
  if (!g_timers) return 0;
  const afc::TimerTable::Entry& e = g_timers->At(idCaretTimer);
  return e.ticks ? e.window : 0;
}

CPoint GetCaretPt(int screen) {
  if (!screen) return g_caretPt;
  int x = 0, y = 0, w = 0, h = 0;
  afc::RootRectOf(GetCaretWin(), &x, &y, &w, &h);
  CPoint pt(g_caretPt.x + x, g_caretPt.y + y + 5);
  if (pt.x > x + w) pt.x = x + w;
  if (pt.y > y + h) pt.y = y + h;
  return pt;
}

unsigned long ClearCaret() {
  unsigned long old = 0;
  if (g_timers) {
    afc::TimerTable::Entry& e = g_timers->At(idCaretTimer);
    old = e.window;
    e.ticks = 0;
    e.window = 0;
  }
  std::fprintf(stderr, "ClearCaret--");
  return old;
}

void DrawCaret() {
  const unsigned long window = GetCaretWin();
  if (!dsply || !window) return;
  GC gc = GetGC(window);
  XGCValues old{};
  XGetGCValues(dsply, gc, GCFunction, &old);
  // GXnor over a foreground of 0 inverts, so a second drawing restores.
  XSetFunction(dsply, gc, GXnor);
  CPoint pt = g_caretPt;
  if (AWnd* wnd = afc::WindowMap::Find(window)) {
    pt.x += wnd->m_ptClientOrg.x;
    pt.y += wnd->m_ptClientOrg.y;
  }
  XDrawLine(dsply, window, gc, pt.x, pt.y, pt.x, pt.y + g_caretH);
  XDrawLine(dsply, window, gc, pt.x + 1, pt.y, pt.x + 1, pt.y + g_caretH);
  XSetFunction(dsply, gc, old.function);
  ReleaseGC(gc);
}
