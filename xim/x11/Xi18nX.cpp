// Xi18nX.cpp: the X transport.
//
// Wire forms (all standard X events and properties):
//   connect request   ClientMessage/32 "_XIM_XCONNECT" to the server window:
//                     l[0] client window, l[1] l[2] transport version asked
//   connect reply     ClientMessage/32 "_XIM_XCONNECT" to the client window:
//                     l[0] accept window, l[1] l[2] version 0.0, l[3] 20
//   short message     ClientMessage/8 "_XIM_PROTOCOL": the whole message
//                     (header and body) in the 20 data bytes, zero-padded
//   long message      a property on the receiver's window (ours:
//                     "_server<id>_<n>", STRING/8, appended), then
//                     ClientMessage/32 "_XIM_PROTOCOL": l[0] length in
//                     bytes, l[1] the property's atom. Senders append, so
//                     a property the receiver has not read yet may hold
//                     several messages, or one in several appends.
//
// ClientMessage words arrive as C longs that Xlib sign-extends from the 32
// bits on the wire, so every word is read as uint32_t.
//
// Nothing a client sends is trusted: a message is only handed on when its
// header's length fits the bytes that actually arrived, and a client must
// send XIM_CONNECT (which names its byte order) before anything else.
#include <X11/Xatom.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "xim/internal/FrameMgr.h"
#include "xim/internal/XFilters.h"
#include "xim/internal/Xi18nDispatch.h"
#include "xim/internal/Xi18nHandlers.h"
#include "xim/internal/Xi18nX.h"
#include "xim/internal/XimFrames.h"

namespace {

// A header names at most 65535 units of 4 bytes.
constexpr uint32_t kMaxMessage = 4 + 4 * 0xffffu;
// Property names cycle through this many counter values.
constexpr int kPropertyNames = 21;
// Bytes a client may leave in our hands for messages not yet announced,
// and the units one property read asks for.
constexpr size_t kMaxUnread = 4 * static_cast<size_t>(kMaxMessage);
constexpr long kReadUnits = 16384;

struct XSpecData {
  XSpecRec rec;
  int sequence;  // the next property name's counter, shared by all clients
};

XSpecData* Spec(Xi18nCore* core) { return static_cast<XSpecData*>(core->address.connect_addr); }
XClient* XC(Xi18nClient* c) { return static_cast<XClient*>(c->trans_rec); }

Xi18nClient* FindByAcceptWin(Xi18nCore* core, Window w) {
  for (Xi18nClient* c = core->address.clients; c; c = c->next) {
    if (c->trans_rec && XC(c)->accept_win == w) return c;
  }
  return nullptr;
}

Bool WaitXIMProtocol(Display* dpy, Window win, XEvent* ev, XPointer client_data);

// A client that dies without XIM_DISCONNECT takes its window with it; the
// connection ends then as if it had said goodbye. Every connection made from
// that window ends: Xlib hands the event to one filter only.
Bool WaitXClientGone(Display*, Window, XEvent* ev, XPointer client_data) {
  if (ev->type != DestroyNotify) return False;
  XIMS ims = reinterpret_cast<XIMS>(client_data);
  std::vector<uint16_t> gone;
  for (Xi18nClient* c = Xi18nOf(ims)->address.clients; c; c = c->next) {
    if (c->trans_rec && XC(c)->client_win == ev->xdestroywindow.window) {
      gone.push_back(static_cast<uint16_t>(c->connect_id));
    }
  }
  // Each end unlinks its record and its filters, so the ids are taken first.
  for (uint16_t id : gone) _Xi18nClientGone(ims, id);
  return gone.empty() ? False : True;
}

// A whole message from `avail` raw bytes whose first four are the header
// in the client's byte order: the header is rewritten in host order and the
// message cut to the header's length. Null when the header claims more
// than arrived.
uint8_t* BuildMessage(Xi18nCore* core, Xi18nClient* client, const uint8_t* raw, uint32_t avail,
                      int* length) {
  if (avail < 4) {
    std::fprintf(stderr, "xim: connection %d: message of %u bytes has no header\n",
                 client->connect_id, avail);
    return nullptr;
  }
  uint8_t header[4];
  std::memcpy(header, raw, 4);
  FrameMgrRec fm;
  FrameMgrInitWithData(&fm, packet_header_fr, header,
                       client->byte_order != core->address.im_byteOrder);
  FrameMgrSetTotalSize(&fm, 4);
  uint8_t major = 0, minor = 0;
  uint16_t units = 0;
  FrameMgrGetToken(&fm, major);
  FrameMgrGetToken(&fm, minor);
  FrameMgrGetToken(&fm, units);
  const uint32_t need = 4 + 4 * static_cast<uint32_t>(units);
  if (need > avail) {
    std::fprintf(stderr, "xim: connection %d: message %u claims %u bytes but %u arrived\n",
                 client->connect_id, major, need, avail);
    return nullptr;
  }
  uint8_t* msg = static_cast<uint8_t*>(std::malloc(need));
  if (!msg) return nullptr;
  msg[0] = major;
  msg[1] = minor;
  std::memcpy(msg + 2, &units, 2);
  std::memcpy(msg + 4, raw + 4, need - 4);
  *length = static_cast<int>(need);
  return msg;
}

// Appends everything property `atom` of window w holds to *out, in its
// order, and deletes the property: the server deletes it with the read
// that reaches its end, so bytes the client appends meanwhile are either
// read by a later turn of the loop or stay for the next announcement,
// never lost and never read twice. Items come back from Xlib as C shorts
// (format 16) or C longs (format 32); each long keeps the 32 bits it
// carries. False when the property cannot be read or would take *out past
// `limit` bytes (the property is then deleted unread).
bool DrainProperty(Display* dpy, Window w, Atom atom, size_t limit, std::vector<uint8_t>* out) {
  long offset = 0;  // in 4-byte units, as the request counts
  for (;;) {
    Atom type = None;
    int format = 0;
    unsigned long nItems = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, atom, offset, kReadUnits, True, AnyPropertyType, &type, &format,
                           &nItems, &after, &data) != Success) {
      return false;
    }
    size_t nBytes = 0;
    if (data && type != None) {
      if (format == 8) {
        nBytes = nItems;
        out->insert(out->end(), data, data + nItems);
      } else if (format == 16) {
        nBytes = nItems * 2;
        out->insert(out->end(), data, data + nBytes);
      } else if (format == 32) {
        nBytes = nItems * 4;
        const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < nItems; ++i) {
          uint8_t v[4];
          const uint32_t item = static_cast<uint32_t>(items[i]);
          std::memcpy(v, &item, 4);
          out->insert(out->end(), v, v + 4);
        }
      }
    }
    if (data) XFree(data);
    if (out->size() > limit || (after > 0 && (nBytes == 0 || out->size() + after > limit))) {
      if (after > 0) XDeleteProperty(dpy, w, atom);
      return false;
    }
    if (after == 0) return true;
    // A read that stops short of the end returns whole units.
    offset += static_cast<long>(nBytes / 4);
  }
}

size_t UnreadBytes(const XClient& x) {
  size_t n = 0;
  for (const auto& entry : x.unread) n += entry.second.size();
  return n;
}

// The long message a format-32 event announces: `announced` bytes at the
// front of what property `atom` has delivered. Xlib clients name their
// properties from a small cycle and append to them, so when we fall behind
// one property holds several messages; each announcement takes its own
// share from the front, rounded up to whole units (every message is), or
// all there is when less arrived. The message inside must fit its share;
// bytes past its header's length are padding and go with it. A refused
// message drops everything its property held: when a share does not hold
// its message, where the next one starts is unknown.
uint8_t* TakePropertyMessage(XIMS ims, Xi18nClient* client, uint32_t announced, Atom atom,
                             int* length) {
  Xi18nCore* core = Xi18nOf(ims);
  XClient* x = XC(client);
  Display* dpy = core->address.dpy;
  if (atom == None) {
    std::fprintf(stderr, "xim: connection %d: long message names no property, dropped\n",
                 client->connect_id);
    return nullptr;
  }
  const size_t others = UnreadBytes(*x) - (x->unread.count(atom) ? x->unread[atom].size() : 0);
  std::vector<uint8_t>& bytes = x->unread[atom];
  const size_t room = others < kMaxUnread ? kMaxUnread - others : 0;
  if (!DrainProperty(dpy, x->accept_win, atom, room, &bytes)) {
    std::fprintf(stderr,
                 "xim: connection %d: message property unreadable or over %zu unread bytes, "
                 "dropped with its contents\n",
                 client->connect_id, kMaxUnread);
    x->unread.erase(atom);
    return nullptr;
  }
  if (announced < 4 || announced > kMaxMessage) {
    std::fprintf(stderr, "xim: connection %d: long message of %u bytes dropped with its property\n",
                 client->connect_id, announced);
    x->unread.erase(atom);
    return nullptr;
  }
  if (bytes.empty()) {
    std::fprintf(stderr, "xim: connection %d: message property missing or empty\n",
                 client->connect_id);
    x->unread.erase(atom);
    return nullptr;
  }
  const size_t share = std::min<size_t>((announced + 3u) & ~3u, bytes.size());
  uint8_t* msg = BuildMessage(core, client, bytes.data(), static_cast<uint32_t>(share), length);
  if (!msg) {
    x->unread.erase(atom);
    return nullptr;
  }
  bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(share));
  if (bytes.empty()) x->unread.erase(atom);
  return msg;
}

uint8_t* ReadXIMMessage(XIMS ims, const XClientMessageEvent& ev, Xi18nClient* client, int* length) {
  Xi18nCore* core = Xi18nOf(ims);
  if (ev.format == 8) {
    const uint8_t* b = reinterpret_cast<const uint8_t*>(ev.data.b);
    if (client->byte_order == '?') {
      // The first message must be XIM_CONNECT; its first body byte names
      // the byte order of everything the client sends.
      if (b[0] != XIM_CONNECT || (b[4] != 'B' && b[4] != 'l')) {
        std::fprintf(stderr, "xim: connection %d: first message is not a valid XIM_CONNECT\n",
                     client->connect_id);
        return nullptr;
      }
      client->byte_order = static_cast<char>(b[4]);
    }
    return BuildMessage(core, client, b, kXimInlineMax, length);
  }
  if (ev.format == 32) {
    if (client->byte_order == '?') {
      std::fprintf(stderr, "xim: connection %d: long message before XIM_CONNECT dropped\n",
                   client->connect_id);
      // Its bytes must not wait for a later message of the same property.
      const Atom atom = static_cast<uint32_t>(ev.data.l[1]);
      if (atom != None) XDeleteProperty(ev.display, XC(client)->accept_win, atom);
      return nullptr;
    }
    return TakePropertyMessage(ims, client, static_cast<uint32_t>(ev.data.l[0]),
                               static_cast<uint32_t>(ev.data.l[1]), length);
  }
  std::fprintf(stderr, "xim: connection %d: message of format %d dropped\n", client->connect_id,
               ev.format);
  return nullptr;
}

Bool WaitXIMProtocol(Display* dpy, Window win, XEvent* ev, XPointer client_data) {
  XIMS ims = reinterpret_cast<XIMS>(client_data);
  Xi18nCore* core = Xi18nOf(ims);
  if (ev->type != ClientMessage || ev->xclient.message_type != Spec(core)->rec.xim_request) {
    return False;
  }
  Xi18nClient* client = FindByAcceptWin(core, ev->xclient.window);
  if (!client) {
    std::fprintf(stderr, "xim: message on unknown window 0x%lx dropped\n",
                 static_cast<unsigned long>(ev->xclient.window));
    return True;
  }
  const uint16_t connect_id = static_cast<uint16_t>(client->connect_id);
  int length = 0;
  uint8_t* msg = ReadXIMMessage(ims, ev->xclient, client, &length);
  if (!msg) return True;
  int keep = 1;
  _Xi18nMessageHandler(ims, connect_id, msg, length, &keep);
  if (keep) std::free(msg);
  return True;
}

void ReadXConnectMessage(XIMS ims, const XClientMessageEvent& ev) {
  Xi18nCore* core = Xi18nOf(ims);
  Display* dpy = core->address.dpy;
  const Window client_win = static_cast<uint32_t>(ev.data.l[0]);
  if (ev.format != 32 || client_win == None) {
    std::fprintf(stderr, "xim: malformed connect request dropped\n");
    return;
  }
  // The client's window tells us when the client is gone. Once we listen to
  // it, a window that still exists will report its end; one that is gone
  // already never would, and its connection would stay forever.
  XSelectInput(dpy, client_win, StructureNotifyMask);
  XWindowAttributes attrs;
  if (!XGetWindowAttributes(dpy, client_win, &attrs)) {
    std::fprintf(stderr, "xim: connect request from window 0x%lx, which is gone, dropped\n",
                 static_cast<unsigned long>(client_win));
    return;
  }
  Xi18nClient* client = _Xi18nNewClient(core);
  if (!client) return;
  XClient* x = new (std::nothrow) XClient{client_win, None, {}};
  if (!x) {
    _Xi18nDeleteClient(core, static_cast<uint16_t>(client->connect_id));
    return;
  }
  x->accept_win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 1, 0, 0);
  client->trans_rec = x;
  _XRegisterFilterByType(dpy, x->accept_win, ClientMessage, ClientMessage, WaitXIMProtocol,
                         reinterpret_cast<XPointer>(ims));
  _XRegisterFilterByType(dpy, client_win, DestroyNotify, DestroyNotify, WaitXClientGone,
                         reinterpret_cast<XPointer>(ims));

  XEvent reply{};
  reply.xclient.type = ClientMessage;
  reply.xclient.display = dpy;
  reply.xclient.window = client_win;
  reply.xclient.message_type = Spec(core)->rec.connect_request;
  reply.xclient.format = 32;
  reply.xclient.data.l[0] = static_cast<long>(x->accept_win);
  reply.xclient.data.l[1] = 0;  // we speak transport version 0.0 only
  reply.xclient.data.l[2] = 0;
  reply.xclient.data.l[3] = kXimInlineMax;
  XSendEvent(dpy, client_win, False, NoEventMask, &reply);
  XFlush(dpy);
}

Bool WaitXConnectMessage(Display* dpy, Window win, XEvent* ev, XPointer client_data) {
  XIMS ims = reinterpret_cast<XIMS>(client_data);
  if (ev->type != ClientMessage ||
      ev->xclient.message_type != Spec(Xi18nOf(ims))->rec.connect_request) {
    return False;
  }
  ReadXConnectMessage(ims, ev->xclient);
  return True;
}

void DropTransport(XIMS ims, Xi18nClient* client) {
  XClient* x = XC(client);
  if (!x) return;
  Display* dpy = Xi18nOf(ims)->address.dpy;
  _XUnregisterFilter(dpy, x->accept_win, WaitXIMProtocol, reinterpret_cast<XPointer>(ims));
  _XUnregisterFilter(dpy, x->client_win, WaitXClientGone, reinterpret_cast<XPointer>(ims));
  XDestroyWindow(dpy, x->accept_win);
  delete x;
  client->trans_rec = nullptr;
}

int Xi18nXBegin(XIMS ims) {
  Xi18nCore* core = Xi18nOf(ims);
  Display* dpy = core->address.dpy;
  Spec(core)->rec.xim_request = XInternAtom(dpy, "_XIM_PROTOCOL", False);
  Spec(core)->rec.connect_request = XInternAtom(dpy, "_XIM_XCONNECT", False);
  _XRegisterFilterByType(dpy, core->address.im_window, ClientMessage, ClientMessage,
                         WaitXConnectMessage, reinterpret_cast<XPointer>(ims));
  return 1;
}

int Xi18nXEnd(XIMS ims) {
  Xi18nCore* core = Xi18nOf(ims);
  _XUnregisterFilter(core->address.dpy, core->address.im_window, WaitXConnectMessage,
                     reinterpret_cast<XPointer>(ims));
  for (Xi18nClient* c = core->address.clients; c; c = c->next) DropTransport(ims, c);
  return 1;
}

int Xi18nXSend(XIMS ims, uint16_t connect_id, const uint8_t* msg, int length) {
  Xi18nCore* core = Xi18nOf(ims);
  Xi18nClient* client = _Xi18nFindClient(core, connect_id);
  if (!client || !client->trans_rec || length < 0) return 0;
  Display* dpy = core->address.dpy;
  const Window client_win = XC(client)->client_win;

  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.display = dpy;
  ev.xclient.window = client_win;
  ev.xclient.message_type = Spec(core)->rec.xim_request;
  if (length <= kXimInlineMax) {
    ev.xclient.format = 8;
    std::memcpy(ev.xclient.data.b, msg, static_cast<size_t>(length));
  } else {
    XSpecData* xdata = Spec(core);
    const int n = xdata->sequence;
    xdata->sequence = (xdata->sequence + 1) % kPropertyNames;
    char name[24];
    std::snprintf(name, sizeof name, "_server%d_%d", connect_id, n);
    // Xlib keeps the atoms it has interned, so only the first use of a
    // name asks the server. The client's window is not asked whether it
    // still exists (a round trip for every long message): its end reaches
    // WaitXClientGone, and a write that comes first only earns an error.
    const Atom atom = XInternAtom(dpy, name, False);
    XChangeProperty(dpy, client_win, atom, XA_STRING, 8, PropModeAppend, msg, length);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = length;
    ev.xclient.data.l[1] = static_cast<long>(atom);
  }
  XSendEvent(dpy, client_win, False, NoEventMask, &ev);
  XFlush(dpy);
  return 1;
}

struct WaitMatch {
  Atom type;
  Window accept_win;
};

Bool IsMessageFor(Display*, XEvent* ev, XPointer arg) {
  const WaitMatch* m = reinterpret_cast<const WaitMatch*>(arg);
  return ev->type == ClientMessage && ev->xclient.message_type == m->type &&
         ev->xclient.window == m->accept_win;
}

int Xi18nXWait(XIMS ims, uint16_t connect_id, uint8_t major, uint8_t minor) {
  Xi18nCore* core = Xi18nOf(ims);
  for (;;) {
    Xi18nClient* client = _Xi18nFindClient(core, connect_id);
    if (!client || !client->trans_rec) return 0;
    WaitMatch match{Spec(core)->rec.xim_request, XC(client)->accept_win};
    XEvent ev;
    XIfEvent(core->address.dpy, &ev, IsMessageFor, reinterpret_cast<XPointer>(&match));
    int length = 0;
    uint8_t* msg = ReadXIMMessage(ims, ev.xclient, client, &length);
    if (!msg) return 0;
    const uint8_t gotMajor = msg[0], gotMinor = msg[1];
    std::free(msg);
    if (gotMajor == XIM_ERROR) return 0;
    if (gotMajor == major && gotMinor == minor) return 1;
  }
}

int Xi18nXDisconnect(XIMS ims, uint16_t connect_id) {
  Xi18nCore* core = Xi18nOf(ims);
  Xi18nClient* client = _Xi18nFindClient(core, connect_id);
  if (!client) return 0;
  DropTransport(ims, client);
  _Xi18nDeleteClient(core, connect_id);
  return 1;
}

}  // namespace

const TransportSW _TransR[] = {
    {"X", 1, _Xi18nCheckXAddress},
    {nullptr, 0, nullptr},
};

int _Xi18nCheckXAddress(Xi18nCore* core, const TransportSW*, const char*) {
  void* xdata = std::calloc(1, sizeof(XSpecData));
  if (!xdata) return 0;
  std::free(core->address.connect_addr);
  core->address.connect_addr = xdata;
  core->methods.begin = Xi18nXBegin;
  core->methods.end = Xi18nXEnd;
  core->methods.send = Xi18nXSend;
  core->methods.wait = Xi18nXWait;
  core->methods.disconnect = Xi18nXDisconnect;
  return 1;
}
