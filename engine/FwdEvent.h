// FwdEvent.h: the engine's own view of a forwarded XIM key request.
//
// The XIM server defines the request record (IMForwardEventStruct, with an
// XEvent inside). The engine keeps the last one so that it can send the key
// back or commit to the same client, and it changes the key's keycode and
// modifier state before it sends a BackSpace. Holding the XIM record itself
// would tie the engine to Xlib and the XIM library, so it holds this view:
// the ids the commit and the returned key go to, and the fields of the key
// event. The front end copies every forwarded request into
// dictionary.m_fwdEvent and builds the XIM record from it again when the
// engine asks it to forward or commit (IEngineHost).
#pragma once

#include <cstdint>

struct typKeyEventView {
  int32_t type;     // X event type (KeyPress 2, KeyRelease 3)
  uint32_t serial;  // X request serial, low 32 bits
  int32_t send_event;
  uint32_t window;  // X window ids travel as 32-bit values
  uint32_t root;
  uint32_t subwindow;
  uint32_t time;  // X server time, ms
  int32_t x, y;
  int32_t x_root, y_root;
  uint32_t state;  // modifier and button mask
  uint32_t keycode;
  int32_t same_screen;
};

struct typFwdEventView {
  uint16_t connect_id;  // XIM connection of the client
  uint16_t icid;        // its input context
  uint16_t sync_bit;    // the request asked for a synchronous reply
  uint16_t serial_number;
  typKeyEventView event;
};

// The BackSpace keycode of a common PC keyboard: what a host that cannot
// ask the client's display answers (IEngineHost::BackSpaceKeycode).
constexpr uint32_t kBackSpaceKeycode = 22;
// X event type of a key press.
constexpr int32_t kKeyPressEvent = 2;
// Shift (bit 0), Control (bit 2) and Mod1 (bit 3) of the X state.
constexpr uint32_t kShiftCtrlAltMask = 0x0D;
