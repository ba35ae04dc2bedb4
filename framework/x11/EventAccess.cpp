#include "framework/x11/EventAccess.h"

#include <X11/Xlib.h>

#include "framework/WinMsg.h"

static_assert(sizeof(XEvent) == afc::kXEventBytes, "XEvent size differs from XTypes.h");

namespace afc {
namespace x11 {

WinprocEvent ClassifyForWinproc(const XEvent* event) {
  switch (event->type) {
    case ClientMessage:
      return WinMsgId(event) == WM_AFC_DBLCLICK ? WinprocEvent::DoubleClickMsg
                                                : WinprocEvent::Other;
    case ButtonPress:
      return event->xbutton.button == Button1 ? WinprocEvent::LeftPress : WinprocEvent::OtherPress;
    case MotionNotify: return WinprocEvent::Motion;
    default: return WinprocEvent::Other;
  }
}

CPoint EventPoint(const XEvent* event) {
  if (event->type == MotionNotify) return CPoint(event->xmotion.x, event->xmotion.y);
  return CPoint(event->xbutton.x, event->xbutton.y);
}

CRect ExposeRect(const XEvent* event) {
  const XExposeEvent& e = event->xexpose;
  return CRect(e.x, e.y, e.x + e.width, e.y + e.height);
}

unsigned long EventWindow(const XEvent* event) { return event->xany.window; }

}  // namespace x11
}  // namespace afc

// --- Window messages --------------------------------------------------------

bool IsWinMsg(const XEvent* event) {
  return event && event->type == ClientMessage && event->xclient.format == 32 &&
         static_cast<uint32_t>(event->xclient.data.l[kWinMsgMagicWord]) == kWinMsgMagic;
}

int WinMsgId(const XEvent* event) {
  return IsWinMsg(event) ? static_cast<int>(event->xclient.message_type) : 0;
}

uint32_t WinMsgWord(const XEvent* event, int i) {
  if (!IsWinMsg(event) || i < 0 || i > 2) return 0;
  return static_cast<uint32_t>(event->xclient.data.l[i]);
}

int32_t WinMsgInt(const XEvent* event, int i) { return static_cast<int32_t>(WinMsgWord(event, i)); }

unsigned long WinMsgLong(const XEvent* event, int i) {
  if (!IsWinMsg(event) || i < 0 || i > 2) return 0;
  return static_cast<unsigned long>(event->xclient.data.l[i]);
}
