// ClipboardPeer.h: another X client on a second connection of the tests'
// Xvfb, for the CLIPBOARD tests: it owns the selection and answers the
// program's requests from a thread of its own, or asks the program for its
// text while the program's main loop runs (RunUntil). A binary that uses
// it calls XInitThreads before opening any display.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "tests/framework/FrameworkTestApp.h"

class ClipboardPeer {
 public:
  struct Offer {
    std::string type;  // "INCR" answers incrementally
    std::string bytes;
  };

  ClipboardPeer() {
    m_dpy = XOpenDisplay(nullptr);
    m_win = XCreateSimpleWindow(m_dpy, DefaultRootWindow(m_dpy), 0, 0, 1, 1, 0, 0, 0);
    m_clip = Atom("CLIPBOARD");
    XSync(m_dpy, False);
  }
  ~ClipboardPeer() {
    Stop();
    XDestroyWindow(m_dpy, m_win);
    XCloseDisplay(m_dpy);
  }
  ::Atom Atom(const char* name) { return XInternAtom(m_dpy, name, False); }

  // Takes CLIPBOARD and answers requests for the offered targets (by atom
  // name) until destroyed; other targets are refused.
  void Own(std::map<std::string, Offer> offers) {
    for (auto& [name, offer] : offers) m_offers[Atom(name.c_str())] = offer;
    m_incr = Atom("INCR");
    XSetSelectionOwner(m_dpy, m_clip, m_win, CurrentTime);
    XSync(m_dpy, False);
    m_thread = std::thread([this] { Serve(); });
  }

  // Asks the owner for target while the program's main loop runs; true with
  // the bytes when the answer names a property.
  // With noProperty the request names none, as old clients do; the answer
  // then comes in the property named after the target.
  bool Request(const char* target, std::string* bytes, std::string* type = nullptr,
               bool noProperty = false) {
    const ::Atom prop = noProperty ? Atom(target) : Atom("PEER_DATA");
    XConvertSelection(m_dpy, m_clip, Atom(target), noProperty ? None : prop, m_win, CurrentTime);
    XFlush(m_dpy);
    XEvent ev;
    bool came =
        RunUntil([&] { return XCheckTypedWindowEvent(m_dpy, m_win, SelectionNotify, &ev); });
    if (!came || ev.xselection.property == None) return false;
    ::Atom actual = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(m_dpy, m_win, prop, 0, 0x1FFFFFFF, True, AnyPropertyType, &actual, &format,
                       &n, &after, &data);
    bytes->assign(reinterpret_cast<char*>(data), n);
    if (type) {
      char* name = XGetAtomName(m_dpy, actual);
      *type = name;
      XFree(name);
    }
    XFree(data);
    return true;
  }

 private:
  void Serve() {
    while (!m_stop) {
      while (XPending(m_dpy)) {
        XEvent ev;
        XNextEvent(m_dpy, &ev);
        if (ev.type == SelectionRequest) Answer(ev.xselectionrequest);
      }
      pollfd p{ConnectionNumber(m_dpy), POLLIN, 0};
      poll(&p, 1, 5);
    }
  }
  void Answer(const XSelectionRequestEvent& r) {
    XEvent ev{};
    XSelectionEvent& n = ev.xselection;
    n.type = SelectionNotify;
    n.requestor = r.requestor;
    n.selection = r.selection;
    n.target = r.target;
    n.time = r.time;
    n.property = None;
    auto it = m_offers.find(r.target);
    if (it != m_offers.end()) {
      if (it->second.type == "INCR") {
        long size = 100000;
        XChangeProperty(m_dpy, r.requestor, r.property, m_incr, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&size), 1);
      } else {
        XChangeProperty(m_dpy, r.requestor, r.property, Atom(it->second.type.c_str()), 8,
                        PropModeReplace,
                        reinterpret_cast<const unsigned char*>(it->second.bytes.data()),
                        static_cast<int>(it->second.bytes.size()));
      }
      n.property = r.property;
    }
    XSendEvent(m_dpy, r.requestor, False, NoEventMask, &ev);
    XFlush(m_dpy);
  }
  void Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
  }

  Display* m_dpy = nullptr;
  Window m_win = 0;
  ::Atom m_clip = 0, m_incr = 0;
  std::map<::Atom, Offer> m_offers;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};
