// XFilters.h: Xlib's per-window event filters. libX11 exports these two
// calls but no public header declares them; XFilterEvent runs the filters
// registered with them. A filter returns True when it consumed the event.
#pragma once

#include <X11/Xlib.h>

extern "C" {
typedef Bool (*XimEventFilter)(Display* dpy, Window window, XEvent* event, XPointer client_data);

void _XRegisterFilterByType(Display* dpy, Window window, int start_type, int end_type,
                            XimEventFilter filter, XPointer client_data);
void _XUnregisterFilter(Display* dpy, Window window, XimEventFilter filter, XPointer client_data);
}
