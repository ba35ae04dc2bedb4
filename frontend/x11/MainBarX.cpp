// The window procedures of the main bar, its status window and its tool-tip
// window: the X events they take and the lines they draw.
#include <X11/Xlib.h>

#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "frontend/BarCommands.h"
#include "frontend/BarKeys.h"
#include "frontend/BarMouse.h"
#include "frontend/MainBar.h"
#include "frontend/internal/MainBarWindows.h"

namespace {

constexpr unsigned long kToolTipInk = 0x9A009B;
constexpr unsigned long kStatusInk = 0x0000FF;
constexpr int kTextX = 3, kTextY = 2;
constexpr int kTextCell = 16;

int WinMsgProc(XEvent* event) {
  switch (WinMsgId(event)) {
    case WM_KVR_KEY:
    case WM_KVR_TRIGGER: return BarKeyMessage(event);
    case WM_AFC_COMMAND: return OnBarCommand(WinMsgWord(event, 0));
    case WM_KVR_ENGLISHKEY: OnEnglishKey(WinMsgWord(event, 0)); return 1;
    case WM_AFC_CREATE: OnBarCreate(event->xclient.window); return 1;
    case WM_AFC_AFTERCREATE: PlaceStatusWindow(); return 1;
    case WM_AFC_TIMER: OnBarTimer(static_cast<int>(WinMsgWord(event, 0))); return 1;
    default: return 1;
  }
}

// Draws a one-line text window: the text at (3, 2) in ink, then a 1-pixel
// outline in the foreground the GC had before.
void DrawTextWindow(Window window, const CString& text, unsigned long ink, int mode) {
  GC gc = GetGC(window);
  if (!gc) return;
  XClearWindow(dsply, window);
  const unsigned long before = SetFgClr(gc, ink);
  ChBmpStrOut(window, gc, kTextX, kTextY, text, 0, 0, kTextCell, kTextCell, 0, nullptr, 0, mode, 1);
  SetFgClrPxl(gc, before);
  const CSize size = GetWinSize(window);
  if (size.cx > 0 && size.cy > 0) {
    XDrawRectangle(dsply, window, gc, 0, 0, static_cast<unsigned>(size.cx - 1),
                   static_cast<unsigned>(size.cy - 1));
  }
  ReleaseGC(gc);
}

}  // namespace

int MainWndProc(XEvent* event) {
  if (!event) return 0;
  if (event->type == ClientMessage) return WinMsgProc(event);
  switch (event->type) {
    case Expose:
      if (event->xexpose.count == 0) PaintMain(event->xexpose.window, event, 0);
      return 1;
    case ButtonPress: OnBarPress(CPoint(event->xbutton.x, event->xbutton.y)); return 1;
    case ButtonRelease: OnBarRelease(CPoint(event->xbutton.x, event->xbutton.y)); return 1;
    case MotionNotify: OnBarMotion(CPoint(event->xmotion.x, event->xmotion.y)); return 1;
    default: return 1;
  }
}

int StatusWndProc(XEvent* event) {
  if (!event || event->type != Expose || event->xexpose.count != 0) return 1;
  const int chnUI = cfgInputManager.ChnUI;
  const Window w = event->xexpose.window;
  SetWinLang(w, chnUI == 2 ? kUILangBig5 : kUILangGbk);
  DrawTextWindow(w, gstrStatusMsg, kStatusInk, chnUI == 0 ? kChStrGbk : kChStrAuto);
  return 1;
}

int ToolTipWndProc(XEvent* event) {
  if (!event || event->type != Expose || event->xexpose.count != 0) return 1;
  const int mode = cfgInputManager.ChnUI < 2 ? kChStrGbk : kChStrBig5;
  DrawTextWindow(event->xexpose.window, gstrToolTip, kToolTipInk, mode);
  return 1;
}

void RaiseBarKeepingState() {
  if (dsply && ghMainePane) XRaiseWindow(dsply, ghMainePane);
}
