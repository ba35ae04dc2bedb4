// XimXTest.h: what the X tests of the XIM server share: a server opened on
// its own display connection, a pump that runs the server's event filters,
// and a small XIM client of our own written with raw Xlib that speaks the
// X transport (connect, inline and property messages) so that each test
// can send exactly the bytes it means, valid or not.
//
// Include after <gtest/gtest.h>.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "xim/XimServer.h"

namespace ximtest {

// X errors a hostile client provokes (a window that is gone) are expected
// here; the program's own handler (framework) treats them the same way.
inline int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// Runs every pending event of the server's display through Xlib's filters,
// as the program's main loop does.
inline void PumpServer(Display* dpy) {
  XSync(dpy, False);
  while (XPending(dpy)) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    XFilterEvent(&ev, None);
  }
}

// Pumps until `done()` or about five seconds have passed; returns done().
template <class Done>
bool PumpUntil(Display* serverDpy, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    PumpServer(serverDpy);
    usleep(1000);
  }
  return true;
}

// A server on a display connection of its own.
class TestServer {
 public:
  ~TestServer() { Close(); }
  bool Open(const std::string& name, const char* locales = "zh_CN.GBK,en_US.UTF-8") {
    m_dpy = XOpenDisplay(nullptr);
    if (!m_dpy) return false;
    m_win = XCreateSimpleWindow(m_dpy, DefaultRootWindow(m_dpy), 0, 0, 10, 10, 0, 0, 0);
    m_ims = IMOpenIM(m_dpy, IMModifiers, "Xi18n", IMServerWindow, m_win, IMServerName, name.c_str(),
                     IMLocale, locales, IMServerTransport, "X/", nullptr);
    return m_ims != nullptr;
  }
  void Close() {
    if (m_ims) IMCloseIM(m_ims);
    m_ims = nullptr;
    if (m_dpy) XCloseDisplay(m_dpy);
    m_dpy = nullptr;
  }
  Display* Dpy() const { return m_dpy; }
  Window Win() const { return m_win; }
  XIMS Ims() const { return m_ims; }

 private:
  Display* m_dpy = nullptr;
  Window m_win = None;
  XIMS m_ims = nullptr;
};

// One message as the test client received it.
struct Received {
  int format = 0;
  std::vector<uint8_t> bytes;  // inline: the 20 data bytes; long: the property
  std::string property;        // the property's name for a long message
};

class TestClient {
 public:
  explicit TestClient(Display* serverDpy) : m_serverDpy(serverDpy) {
    m_dpy = XOpenDisplay(nullptr);
    m_win = XCreateSimpleWindow(m_dpy, DefaultRootWindow(m_dpy), 0, 0, 1, 1, 0, 0, 0);
    m_protocol = XInternAtom(m_dpy, "_XIM_PROTOCOL", False);
    m_connect = XInternAtom(m_dpy, "_XIM_XCONNECT", False);
    XSync(m_dpy, False);
  }
  ~TestClient() { XCloseDisplay(m_dpy); }
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  Display* Dpy() const { return m_dpy; }
  Window Win() const { return m_win; }
  Window Accept() const { return m_accept; }
  const long* ReplyWords() const { return m_reply; }

  // Asks the owner of "@server=<name>" for a connection.
  bool Connect(const std::string& name, long major = 0, long minor = 0) {
    const Atom sel = XInternAtom(m_dpy, ("@server=" + name).c_str(), False);
    const Window server = XGetSelectionOwner(m_dpy, sel);
    if (server == None) return false;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = server;
    ev.xclient.message_type = m_connect;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(m_win);
    ev.xclient.data.l[1] = major;
    ev.xclient.data.l[2] = minor;
    XSendEvent(m_dpy, server, False, NoEventMask, &ev);
    XFlush(m_dpy);
    XEvent reply;
    if (!Wait(m_connect, &reply)) return false;
    for (int i = 0; i < 5; ++i) m_reply[i] = reply.xclient.data.l[i];
    m_accept = static_cast<Window>(static_cast<uint32_t>(reply.xclient.data.l[0]));
    return true;
  }

  // A message of up to 20 bytes in one ClientMessage of format 8.
  void SendInline(const std::vector<uint8_t>& msg) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = m_accept;
    ev.xclient.message_type = m_protocol;
    ev.xclient.format = 8;
    std::memcpy(ev.xclient.data.b, msg.data(), msg.size() < 20 ? msg.size() : 20);
    XSendEvent(m_dpy, m_accept, False, NoEventMask, &ev);
    XFlush(m_dpy);
  }

  // A long message: `bytes` stored in a property of the accept window in
  // the given format (items of 1, 2 or 4 bytes in host order), announced
  // as `announced` bytes.
  void SendProperty(const std::vector<uint8_t>& bytes, int format, uint32_t announced,
                    bool storeProperty = true) {
    const Atom prop = XInternAtom(m_dpy, ("_client_" + std::to_string(m_props++)).c_str(), False);
    if (storeProperty) {
      if (format == 8) {
        XChangeProperty(m_dpy, m_accept, prop, XA_STRING, 8, PropModeReplace, bytes.data(),
                        static_cast<int>(bytes.size()));
      } else if (format == 16) {
        std::vector<short> items(bytes.size() / 2);
        std::memcpy(items.data(), bytes.data(), items.size() * 2);
        XChangeProperty(m_dpy, m_accept, prop, XA_STRING, 16, PropModeReplace,
                        reinterpret_cast<unsigned char*>(items.data()),
                        static_cast<int>(items.size()));
      } else {
        // Format-32 items are handed to Xlib as C longs.
        std::vector<long> items(bytes.size() / 4);
        for (size_t i = 0; i < items.size(); ++i) {
          uint32_t v;
          std::memcpy(&v, bytes.data() + 4 * i, 4);
          items[i] = static_cast<long>(v);
        }
        XChangeProperty(m_dpy, m_accept, prop, XA_STRING, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(items.data()),
                        static_cast<int>(items.size()));
      }
    }
    AnnounceAtom(prop, announced);
  }

  // Appends bytes to the accept window's property `name` (STRING/8), as
  // Xlib's client side writes a long message, without announcing them.
  void AppendProperty(const std::string& name, const std::vector<uint8_t>& bytes) {
    const Atom prop = XInternAtom(m_dpy, name.c_str(), False);
    XChangeProperty(m_dpy, m_accept, prop, XA_STRING, 8, PropModeAppend, bytes.data(),
                    static_cast<int>(bytes.size()));
    XFlush(m_dpy);
  }
  // Announces a long message of `announced` bytes in property `name`.
  void Announce(const std::string& name, uint32_t announced) {
    AnnounceAtom(XInternAtom(m_dpy, name.c_str(), False), announced);
  }

  // The next message from the server.
  bool Receive(Received* out) {
    XEvent ev;
    if (!Wait(m_protocol, &ev)) return false;
    out->format = ev.xclient.format;
    out->property.clear();
    if (ev.xclient.format == 8) {
      out->bytes.assign(ev.xclient.data.b, ev.xclient.data.b + 20);
      return true;
    }
    const uint32_t length = static_cast<uint32_t>(ev.xclient.data.l[0]);
    const Atom prop = static_cast<uint32_t>(ev.xclient.data.l[1]);
    char* name = XGetAtomName(m_dpy, prop);
    out->property = name ? name : "";
    if (name) XFree(name);
    // The server appends to its properties too: read each one whole and
    // take the announced bytes from the front of what it has delivered.
    std::vector<uint8_t>& unread = m_unread[prop];
    for (long offset = 0;;) {
      Atom type;
      int format;
      unsigned long n, after;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(m_dpy, m_win, prop, offset, 4096, True, AnyPropertyType, &type,
                             &format, &n, &after, &data) != Success) {
        return false;
      }
      if (data) unread.insert(unread.end(), data, data + n);
      if (data) XFree(data);
      if (after == 0) break;
      offset += static_cast<long>(n / 4);
    }
    if (unread.empty()) return false;
    const size_t take = length < unread.size() ? length : unread.size();
    out->bytes.assign(unread.begin(), unread.begin() + static_cast<std::ptrdiff_t>(take));
    unread.erase(unread.begin(), unread.begin() + static_cast<std::ptrdiff_t>(take));
    return true;
  }

  // Whether a message arrives within a short while (for refusals).
  bool Pending() {
    PumpServer(m_serverDpy);
    XSync(m_dpy, False);
    XEvent ev;
    return XCheckTypedWindowEvent(m_dpy, m_win, ClientMessage, &ev);
  }

 private:
  void AnnounceAtom(Atom prop, uint32_t announced) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = m_accept;
    ev.xclient.message_type = m_protocol;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = announced;
    ev.xclient.data.l[1] = static_cast<long>(prop);
    XSendEvent(m_dpy, m_accept, False, NoEventMask, &ev);
    XFlush(m_dpy);
  }

  bool Wait(Atom type, XEvent* out) {
    bool got = false;
    PumpUntil(m_serverDpy, [&] {
      XSync(m_dpy, False);
      while (!got && XCheckTypedWindowEvent(m_dpy, m_win, ClientMessage, out)) {
        got = out->xclient.message_type == type;
      }
      return got;
    });
    return got;
  }

  Display* m_serverDpy;
  Display* m_dpy;
  Window m_win;
  Window m_accept = None;
  Atom m_protocol, m_connect;
  long m_reply[5] = {};
  int m_props = 0;
  std::map<Atom, std::vector<uint8_t>> m_unread;  // long messages' bytes not yet announced
};

}  // namespace ximtest
