// The three event loops: the main loop (CWinApp::Run) and the modal loops of
// dialogs and popup menus. Every event first passes Xlib's filters (the XIM
// transport is served only this way), so XIM clients are served while a
// dialog or a menu is up. Window messages skip the filters.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/ModalHosts.h"
#include "framework/x11/KernelInternal.h"

namespace afc {

int MainLoopTurn() {
  LoopHousekeeping();
  if (!XPending(dsply)) {
    IdleWait();
    return 0;
  }
  CWinApp* app = uniqueAFCAppPointer;
  XEvent* ev = app->GetCurrentEvent();
  XNextEvent(dsply, ev);
  if (!RouteAroundEndedGrab(ev)) return 0;
  if (HandleSelectionEvent(ev)) return 0;
  if (FilteredAway(ev)) return 0;
  PumpTimer();
  AWnd* wnd = AfcFindWnd(ev->xany.window);
  const int r = wnd ? wnd->ProcessEv(ev) : 0;
  app->HandleEvent(r);
  return 1;
}

}  // namespace afc

int CWinApp::Run() {
  for (;;) afc::MainLoopTurn();
}

namespace {

// The skeleton of the modal loops: turns until ended() holds; each pending
// event goes to handle, which returns true when the loop must stop at once.
template <class Ended, class Handle>
void RunModal(Ended ended, Handle handle) {
  while (!ended()) {
    afc::LoopHousekeeping();
    if (!XPending(dsply)) {
      afc::IdleWait();
      continue;
    }
    XEvent ev;
    XNextEvent(dsply, &ev);
    if (!afc::RouteAroundEndedGrab(&ev)) continue;
    if (handle(&ev)) break;
  }
}

}  // namespace

int DoMenuEventLoop(unsigned long menuWindow, IMenuHost* menu) {
  if (!menu) return 0;
  RunModal([menu] { return menu->GetMenuResult() != 0; },
           [menuWindow](XEvent* ev) {
             if (afc::FilteredAway(ev)) return false;
             PumpTimer();
             if (AWnd* wnd = AfcFindWnd(menuWindow)) wnd->ProcessEv(ev);
             return false;
           });
  return menu->GetMenuResult();
}

namespace {

bool IsEscapePress(XEvent* ev) {
  if (ev->type != KeyPress) return false;
  char text[100];
  KeySym sym = NoSymbol;
  XLookupString(&ev->xkey, text, sizeof text, &sym, nullptr);
  return sym == XK_Escape;
}

// One event of a modal dialog. Returns true when the dialog has ended.
bool DialogEvent(unsigned long dialogWindow, IDialogHost* dialog, XEvent* ev) {
  if (afc::HandleSelectionEvent(ev)) return false;
  if (afc::FilteredAway(ev)) return false;
  if (IsEscapePress(ev)) {
    dialog->SetDlgEnded();
    return true;
  }
  if (const unsigned long capture = dialog->GetCaptureWin()) {
    if (ev->type == MotionNotify || ev->type == ButtonRelease) ev->xany.window = capture;
  }
  if (AWnd* ctrl = dialog->GetDlgCtr(ev->xany.window)) {
    ctrl->Winproc(ev);
    return dialog->IsDlgEnded() != 0;
  }
  if (ev->xany.window != dialogWindow && ev->type != Expose) return false;
  PumpTimer();
  if (AWnd* wnd = AfcFindWnd(ev->xany.window)) wnd->ProcessEv(ev);
  return dialog->IsDlgEnded() != 0;
}

}  // namespace

int DoDlgEventLoop(unsigned long dialogWindow, IDialogHost* dialog) {
  if (!dialog) return 0;
  RunModal([dialog] { return dialog->IsDlgEnded() != 0; },
           [dialogWindow, dialog](XEvent* ev) { return DialogEvent(dialogWindow, dialog, ev); });
  return dialog->GetDlgResult();
}
