// Xi18nWireEvent.h: the 32-byte X protocol form of a key event that travels
// inside XIM_FORWARD_EVENT. Both directions code the event's fields in the
// client's byte order, like the rest of the message, so a client of either
// byte order reads the event it was sent.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

constexpr int kWireEventSize = 32;

// Writes `ev` into `out`: the low 16 bits of its serial become the wire
// sequence number, the high 16 bits go to *serial_high (the message's serial
// field). KeyPress and KeyRelease carry their fields; any other type leaves
// the wire event zero apart from type and sequence number.
void EventToWireEvent(const XEvent* ev, uint8_t out[kWireEventSize], uint16_t* serial_high,
                      int byte_swap);

// Reads a wire key event into `ev` (cleared first): serial from
// serial_high and the sequence number, send_event 0, `dpy`, type without
// the sent bit; keycode, window, state, time, root, x and y. x_root,
// y_root, subwindow and same_screen stay 0. Returns 0, leaving only type
// and serial, when the event is not a KeyPress or KeyRelease.
int WireEventToEvent(Display* dpy, const uint8_t in[kWireEventSize], uint16_t serial_high,
                     int byte_swap, XEvent* ev);
