// Xi18nWireEvent.cpp: key events to and from the X protocol's wire form,
// coded by a frame template like every other field the server exchanges.
#include "xim/internal/Xi18nWireEvent.h"

#include <cstring>

#include "xim/internal/FrameMgr.h"

namespace {

// type, detail (keycode), sequence number, time, root, event window, child,
// root x, root y, event x, event y, state, same screen, unused
constexpr XimFrameRec key_wire_event_fr[] = {
    {BIT8, 0, nullptr},  {BIT8, 0, nullptr},  {BIT16, 0, nullptr}, {BIT32, 0, nullptr},
    {BIT32, 0, nullptr}, {BIT32, 0, nullptr}, {BIT32, 0, nullptr}, {BIT16, 0, nullptr},
    {BIT16, 0, nullptr}, {BIT16, 0, nullptr}, {BIT16, 0, nullptr}, {BIT16, 0, nullptr},
    {BIT8, 0, nullptr},  {BIT8, 0, nullptr},  {EOL, 0, nullptr}};

bool IsKeyEvent(int type) { return type == KeyPress || type == KeyRelease; }

}  // namespace

void EventToWireEvent(const XEvent* ev, uint8_t out[kWireEventSize], uint16_t* serial_high,
                      int byte_swap) {
  std::memset(out, 0, kWireEventSize);
  *serial_high = static_cast<uint16_t>((ev->xany.serial >> 16) & 0xffff);
  FrameMgrRec fm;
  FrameMgrInitWithData(&fm, key_wire_event_fr, out, byte_swap);
  FrameMgrSetTotalSize(&fm, kWireEventSize);
  const uint8_t type = static_cast<uint8_t>(ev->type);
  const uint16_t sequence = static_cast<uint16_t>(ev->xany.serial & 0xffff);
  if (!IsKeyEvent(ev->type)) {
    FrameMgrPutToken(&fm, type);
    FrameMgrPutToken(&fm, uint8_t{0});
    FrameMgrPutToken(&fm, sequence);
    return;
  }
  const XKeyEvent& k = ev->xkey;
  FrameMgrPutToken(&fm, type);
  FrameMgrPutToken(&fm, static_cast<uint8_t>(k.keycode));
  FrameMgrPutToken(&fm, sequence);
  FrameMgrPutToken(&fm, static_cast<uint32_t>(k.time));
  FrameMgrPutToken(&fm, static_cast<uint32_t>(k.root));
  FrameMgrPutToken(&fm, static_cast<uint32_t>(k.window));
  FrameMgrPutToken(&fm, static_cast<uint32_t>(k.subwindow));
  FrameMgrPutToken(&fm, static_cast<int16_t>(k.x_root));
  FrameMgrPutToken(&fm, static_cast<int16_t>(k.y_root));
  FrameMgrPutToken(&fm, static_cast<int16_t>(k.x));
  FrameMgrPutToken(&fm, static_cast<int16_t>(k.y));
  FrameMgrPutToken(&fm, static_cast<uint16_t>(k.state));
  FrameMgrPutToken(&fm, static_cast<uint8_t>(k.same_screen ? 1 : 0));
}

int WireEventToEvent(Display* dpy, const uint8_t in[kWireEventSize], uint16_t serial_high,
                     int byte_swap, XEvent* ev) {
  std::memset(ev, 0, sizeof *ev);
  uint8_t copy[kWireEventSize];
  std::memcpy(copy, in, kWireEventSize);
  FrameMgrRec fm;
  FrameMgrInitWithData(&fm, key_wire_event_fr, copy, byte_swap);
  FrameMgrSetTotalSize(&fm, kWireEventSize);
  uint8_t type = 0, keycode = 0, same = 0;
  uint16_t sequence = 0, state = 0;
  uint32_t time = 0, root = 0, window = 0, child = 0;
  int16_t rx = 0, ry = 0, x = 0, y = 0;
  FrameMgrGetToken(&fm, type);
  FrameMgrGetToken(&fm, keycode);
  FrameMgrGetToken(&fm, sequence);
  FrameMgrGetToken(&fm, time);
  FrameMgrGetToken(&fm, root);
  FrameMgrGetToken(&fm, window);
  FrameMgrGetToken(&fm, child);
  FrameMgrGetToken(&fm, rx);
  FrameMgrGetToken(&fm, ry);
  FrameMgrGetToken(&fm, x);
  FrameMgrGetToken(&fm, y);
  FrameMgrGetToken(&fm, state);
  FrameMgrGetToken(&fm, same);
  ev->type = type & 0x7f;
  ev->xany.serial = (static_cast<unsigned long>(serial_high) << 16) | sequence;
  if (!IsKeyEvent(ev->type)) return 0;
  XKeyEvent& k = ev->xkey;
  k.send_event = False;
  k.display = dpy;
  k.keycode = keycode;
  k.window = window;
  k.state = state;
  k.time = time;
  k.root = root;
  k.x = x;
  k.y = y;
  return 1;
}
