// Xi18nX.h: the X transport of the XIM server and the server's registration
// on the X display. Both are Xlib code and run inside Xlib's event filters:
// the program passes every event to XFilterEvent, and the filters
// registered here take the transport's ClientMessage events and the
// selection requests for the server's name.
//
// Transport (version 0.0): a client connects with a ClientMessage
// "_XIM_XCONNECT" to the server window; the server creates an accept window
// for it and answers. Messages of up to 20 bytes travel inline in a
// ClientMessage "_XIM_PROTOCOL" of format 8; longer ones in a window
// property named by a format-32 ClientMessage.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>
#include <vector>

#include "xim/internal/Xi18nCore.h"

// One transport the server address may name ("X/" is the only one).
struct TransportSW {
  const char* transportname;
  int namesize;
  int (*checkAddr)(Xi18nCore* core, const TransportSW* transport, const char* address);
};
extern const TransportSW _TransR[];

// Allocates the X transport's data and installs its methods into the core.
// The address text after "X/" is not examined. 0 when out of memory.
int _Xi18nCheckXAddress(Xi18nCore* core, const TransportSW* transport, const char* address);

// Finds the transport the server address names (leading blanks and tabs
// skipped; "<name>/" required) and runs its check. 0 when none matches.
int CheckIMName(Xi18nCore* core);

// Registers the server: owns "@server=<name>" and lists it in the root
// window's XIM_SERVERS. 0 when the name is served by another live window or
// XIM_SERVERS is not a list of atoms.
int SetXi18nSelectionOwner(Xi18nCore* core);
// Removes the server from XIM_SERVERS (close).
void DeleteXi18nAtom(Xi18nCore* core);
// Starts and stops answering the LOCALES and TRANSPORT selection requests.
void Xi18nStartSelectionFilter(XIMS ims);
void Xi18nStopSelectionFilter(XIMS ims);

// What the transport keeps per server and per client.
struct XSpecRec {
  Atom xim_request;      // "_XIM_PROTOCOL"
  Atom connect_request;  // "_XIM_XCONNECT"
};

struct XClient {
  Window client_win;  // the client's communication window
  Window accept_win;  // ours, one per client, never mapped
  // Bytes taken from a property of the accept window that belong to
  // messages not yet announced: a client appends each long message to a
  // property it names and may append the next one before we have read the
  // first, so a property is read whole (and deleted) and what follows the
  // announced message waits here for its own announcement. Only properties
  // with such a remainder have an entry.
  std::map<Atom, std::vector<uint8_t>> unread;
};

// The largest message sent inline in a ClientMessage.
constexpr int kXimInlineMax = 20;
