// The kernel's start and end, its globals, the idle wait and the parts of
// event handling that every loop shares.
#include "framework/AfcKernel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/internal/KernelHooks.h"
#include "framework/internal/Signals.h"
#include "framework/internal/TimerTable.h"
#include "framework/internal/WindowMap.h"
#include "framework/x11/KernelInternal.h"

Display* dsply = nullptr;
int scrn = 0;
GC gGC = nullptr;
unsigned long gpxlWhite = 0, gpxlBlack = 0;
unsigned long gpxlBright = 0, gpxlDark = 0;
double gScrnHorzRes = 96.0, gScrnVertRes = 96.0;
int gSysType = kSysUnknown;

namespace {

// Xlib's internal connections (the display's own is not among them). A
// vector and poll rather than an fd_set, so a descriptor above 1023 is safe.
std::vector<int> g_X_fds;
Atom g_atomClipboard = 0;

unsigned long AllocEdgeColour(unsigned short r, unsigned short g, unsigned short b,
                              unsigned long fallback) {
  XColor c{};
  c.red = r;
  c.green = g;
  c.blue = b;
  c.flags = DoRed | DoGreen | DoBlue;
  return XAllocColor(dsply, DefaultColormap(dsply, scrn), &c) ? c.pixel : fallback;
}

double DotsPerInch(int pixels, int millimetres) {
  if (millimetres <= 0) return 96.0;
  return pixels / (millimetres / 25.4);
}

}  // namespace

int AfcKnrlInit() {
  dsply = XOpenDisplay(nullptr);
  if (!dsply) {
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "cannot open the X display \"%s\"; is DISPLAY right and the X server running?\n",
                 name ? name : "");
    std::exit(1);
  }
  scrn = DefaultScreen(dsply);
  afc::InstallSignalHandlers();
  g_X_fds.clear();
  XAddConnectionWatch(dsply, reinterpret_cast<XConnectionWatchProc>(&ConnectionWatch),
                      reinterpret_cast<XPointer>(dsply));
  afc::CreateKernelTimers();
  g_atomClipboard = XInternAtom(dsply, "CLIPBOARD", False);
  if (afc::GetKernelHooks().init) afc::GetKernelHooks().init();

  gpxlWhite = WhitePixel(dsply, scrn);
  gpxlBlack = BlackPixel(dsply, scrn);
  gpxlBright = AllocEdgeColour(0xEDED, 0xEDED, 0xEDED, gpxlWhite);
  gpxlDark = AllocEdgeColour(0x9323, 0x9323, 0xA323, gpxlBlack);

  gScrnHorzRes = DotsPerInch(DisplayWidth(dsply, 0), DisplayWidthMM(dsply, scrn));
  gScrnVertRes = DotsPerInch(DisplayHeight(dsply, 0), DisplayHeightMM(dsply, scrn));
  gSysType = GetSysType();
  return gSysType;
}

void AfcKnrlExit() { afc::DestroyKernelTimers(); }

void ConnectionWatch(Display*, char*, int fd, int opening, char**) {
  auto it = std::find(g_X_fds.begin(), g_X_fds.end(), fd);
  if (opening) {
    if (it == g_X_fds.end()) g_X_fds.push_back(fd);
  } else if (it != g_X_fds.end()) {
    g_X_fds.erase(it);
  }
}

void AfcRunPendingSignal() {
  const int sig = afc::TakePendingSignal();
  if (!sig) return;
  if (funcUserExceptionHandler) funcUserExceptionHandler(sig);
  std::exit(0);
}

namespace afc {

unsigned long ClipboardAtom() { return g_atomClipboard; }

void LoopHousekeeping() {
  AfcRunPendingSignal();
  WindowMap::Bury();
}

void IdleWait() {
  if (uniqueAFCAppPointer) uniqueAFCAppPointer->DoThingsWhenIdle(1);
  std::vector<pollfd> fds;
  fds.reserve(g_X_fds.size());
  for (int fd : g_X_fds) fds.push_back(pollfd{fd, POLLIN, 0});
  const timespec wait{0, static_cast<long>(gusecGrainSize) * 1000L};
  const int ready = ppoll(fds.data(), fds.size(), &wait, nullptr);
  if (ready == 0) PumpTimer();
  if (ready > 0 && dsply) {
    for (const pollfd& p : fds) {
      if (p.revents & (POLLIN | POLLHUP | POLLERR)) XProcessInternalConnection(dsply, p.fd);
    }
  }
}

bool HandleSelectionEvent(XEvent* event) {
  const KernelHooks& hooks = GetKernelHooks();
  if (event->type == SelectionRequest) {
    const XSelectionRequestEvent& req = event->xselectionrequest;
    if (req.selection != g_atomClipboard || !hooks.serveRequest || !hooks.hasText) return false;
    const unsigned long mainWin = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_hMainWnd : 0;
    if (mainWin && XGetSelectionOwner(dsply, g_atomClipboard) == mainWin && hooks.hasText())
      hooks.serveRequest(event);
    return false;
  }
  if (event->type == SelectionClear) {
    if (event->xselectionclear.selection != g_atomClipboard) return false;
    if (hooks.clear) hooks.clear();
    return true;
  }
  return false;
}

bool FilteredAway(XEvent* event) {
  if (IsWinMsg(event)) return false;
  return XFilterEvent(event, None) == True;
}

}  // namespace afc
