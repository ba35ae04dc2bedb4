// Xi18nSelection.cpp: registering the server on the X display and answering
// the clients' questions about it.
//
// A client finds servers through the root window's XIM_SERVERS property, a
// list of atoms "@server=<name>", one per server; the owner of that
// selection is the server's window. A client then converts the selection to
// the targets LOCALES ("@locale=<list>") and TRANSPORT
// ("@transport=<address>").
#include <X11/Xatom.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "xim/internal/XFilters.h"
#include "xim/internal/Xi18nX.h"

namespace {

constexpr long kMaxServerAtoms = 1000000;

// The atoms of XIM_SERVERS. An absent property (a fresh X server) is an
// empty list; a property of another type or format is refused.
bool ReadServerList(Display* dpy, Window root, Atom prop, std::vector<Atom>* list) {
  Atom realType = None;
  int format = 0;
  unsigned long nItems = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, root, prop, 0, kMaxServerAtoms, False, XA_ATOM, &realType, &format,
                         &nItems, &after, &data) != Success) {
    std::fprintf(stderr, "xim: cannot read XIM_SERVERS\n");
    return false;
  }
  bool ok = true;
  if (realType == None) {
    list->clear();
  } else if (realType != XA_ATOM || format != 32) {
    std::fprintf(stderr, "xim: XIM_SERVERS has type %lu format %d, expected ATOM/32\n",
                 static_cast<unsigned long>(realType), format);
    ok = false;
  } else {
    // Format-32 items come back as one C long each, whatever its width.
    const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
    list->assign(items, items + nItems);
  }
  if (data) XFree(data);
  return ok;
}

Window Root(Display* dpy) { return RootWindow(dpy, DefaultScreen(dpy)); }

Bool WaitXSelectionRequest(Display* dpy, Window win, XEvent* ev, XPointer client_data) {
  XIMS ims = reinterpret_cast<XIMS>(client_data);
  Xi18nAddressRec& a = Xi18nOf(ims)->address;
  const XSelectionRequestEvent& req = ev->xselectionrequest;
  if (req.selection != a.selection) return False;

  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = req.requestor;
  reply.xselection.selection = req.selection;
  reply.xselection.target = req.target;
  reply.xselection.time = req.time;
  // A requestor that names no property wants the target's name used.
  reply.xselection.property = req.property != None ? req.property : req.target;
  std::string text;
  if (req.target == a.Localename) {
    text = std::string("@locale=") + a.im_locale;
  } else if (req.target == a.Transportname) {
    text = std::string("@transport=") + a.im_addr;
  } else {
    reply.xselection.property = None;  // a target we do not convert
  }
  if (reply.xselection.property != None) {
    XChangeProperty(dpy, req.requestor, reply.xselection.property, req.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
  }
  XSendEvent(dpy, req.requestor, False, NoEventMask, &reply);
  XFlush(dpy);
  return True;
}

}  // namespace

int SetXi18nSelectionOwner(Xi18nCore* core) {
  Xi18nAddressRec& a = core->address;
  Display* dpy = a.dpy;
  const std::string selName = std::string("@server=") + a.im_name;
  a.selection = XInternAtom(dpy, selName.c_str(), False);
  a.XIM_SERVERS = XInternAtom(dpy, "XIM_SERVERS", False);
  if (a.selection == None || a.XIM_SERVERS == None) return 0;

  std::vector<Atom> servers;
  if (!ReadServerList(dpy, Root(dpy), a.XIM_SERVERS, &servers)) return 0;
  const bool listed = std::find(servers.begin(), servers.end(), a.selection) != servers.end();

  // Whether listed or not, a name that another live window owns is served
  // already: taking it would cut that server off from its clients.
  const Window owner = XGetSelectionOwner(dpy, a.selection);
  if (owner != None && owner != a.im_window) {
    std::fprintf(stderr, "xim: %s is served by window 0x%lx\n", selName.c_str(),
                 static_cast<unsigned long>(owner));
    return 0;
  }
  if (owner != a.im_window) XSetSelectionOwner(dpy, a.selection, a.im_window, CurrentTime);
  if (listed) {
    // An empty prepend still tells the clients watching XIM_SERVERS that
    // the list changed.
    XChangeProperty(dpy, Root(dpy), a.XIM_SERVERS, XA_ATOM, 32, PropModePrepend, nullptr, 0);
  } else {
    Atom entry[1] = {a.selection};
    XChangeProperty(dpy, Root(dpy), a.XIM_SERVERS, XA_ATOM, 32, PropModePrepend,
                    reinterpret_cast<unsigned char*>(entry), 1);
  }
  a.Localename = XInternAtom(dpy, "LOCALES", False);
  a.Transportname = XInternAtom(dpy, "TRANSPORT", False);
  return XGetSelectionOwner(dpy, a.selection) == a.im_window ? 1 : 0;
}

void DeleteXi18nAtom(Xi18nCore* core) {
  Xi18nAddressRec& a = core->address;
  Display* dpy = a.dpy;
  std::vector<Atom> servers;
  if (!ReadServerList(dpy, Root(dpy), a.XIM_SERVERS, &servers)) return;
  auto it = std::remove(servers.begin(), servers.end(), a.selection);
  if (it == servers.end()) {
    XChangeProperty(dpy, Root(dpy), a.XIM_SERVERS, XA_ATOM, 32, PropModePrepend, nullptr, 0);
  } else {
    servers.erase(it, servers.end());
    XChangeProperty(dpy, Root(dpy), a.XIM_SERVERS, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(servers.data()),
                    static_cast<int>(servers.size()));
  }
  if (XGetSelectionOwner(dpy, a.selection) == a.im_window) {
    XSetSelectionOwner(dpy, a.selection, None, CurrentTime);
  }
}

void Xi18nStartSelectionFilter(XIMS ims) {
  Xi18nAddressRec& a = Xi18nOf(ims)->address;
  _XRegisterFilterByType(a.dpy, a.im_window, SelectionRequest, SelectionRequest,
                         WaitXSelectionRequest, reinterpret_cast<XPointer>(ims));
}

void Xi18nStopSelectionFilter(XIMS ims) {
  Xi18nAddressRec& a = Xi18nOf(ims)->address;
  _XUnregisterFilter(a.dpy, a.im_window, WaitXSelectionRequest, reinterpret_cast<XPointer>(ims));
}
