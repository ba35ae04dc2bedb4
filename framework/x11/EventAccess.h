// EventAccess.h: the few readings of an XEvent that code above the x11 layer
// needs, so that it can stay free of Xlib.
#pragma once

#include "base/Geometry.h"
#include "framework/XTypes.h"

namespace afc {
namespace x11 {

// How the base window procedure sees an event.
enum class WinprocEvent { DoubleClickMsg, LeftPress, OtherPress, Motion, Other };
WinprocEvent ClassifyForWinproc(const XEvent* event);

// The x and y of a button or motion event.
CPoint EventPoint(const XEvent* event);

// (x, y, x + width, y + height) of an Expose event.
CRect ExposeRect(const XEvent* event);

// The window an event is for.
unsigned long EventWindow(const XEvent* event);

}  // namespace x11
}  // namespace afc
