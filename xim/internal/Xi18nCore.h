// Xi18nCore.h: the server core shared by the transport, the protocol
// handlers and the attribute code: the server's registration data, its
// clients (one record per connection, with the client's byte order and
// synchronous state), the transport's method table, and the senders that
// build a message header and hand whole messages to the transport.
//
// Ownership: the core belongs to its XIMS handle. Client records live on the
// core's client list from connect to disconnect and are then kept on the
// free list for reuse; both lists are freed with the core. A message handed
// to the protocol handlers is a malloc'd block the transport frees unless a
// handler keeps it (then the handler frees it with free()).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "xim/XimProto.h"
#include "xim/XimServer.h"

// Bits of imvalue_mask: which IM values have been set.
enum : uint32_t {
  I18N_IMSERVER_WIN = 0x1,
  I18N_IM_NAME = 0x2,
  I18N_IM_LOCALE = 0x4,
  I18N_IM_ADDRESS = 0x8,
  I18N_INPUT_STYLES = 0x10,
  I18N_ON_KEYS = 0x20,
  I18N_OFF_KEYS = 0x40,
  I18N_IM_HANDLER = 0x80,
  I18N_ENCODINGS = 0x100,
  I18N_FILTERMASK = 0x200,
};

// One IM or IC attribute the server describes to its clients.
struct XIMAttr {
  uint16_t attribute_id;
  uint16_t type;
  uint16_t length;  // of the name, without NUL
  const char* name;
};
typedef XIMAttr XICAttr;

// Value types of the protocol's attributes.
enum : uint16_t {
  kTypeSeparator = 0,
  kTypeCard8 = 1,
  kTypeCard16 = 2,
  kTypeCard32 = 3,
  kTypeWindow = 5,
  kTypeStyles = 10,
  kTypeRectangle = 11,
  kTypePoint = 12,
  kTypeFontSet = 13,
  kTypeNested = 0x7fff,
};

struct XIMExt {
  uint16_t major_opcode;
  uint16_t minor_opcode;
  uint16_t length;
  const char* name;
};

constexpr int kXi18nExtensions = 3;

// One queued incoming message (a malloc'd block of `length` bytes).
struct XIMPending {
  uint8_t* p;
  int length;
  XIMPending* next;
};

struct Xi18nClient {
  int connect_id;
  char byte_order;  // '?' until the client's XIM_CONNECT, then 'B' or 'l'
  int sync;         // 1 while the server waits for the client's sync reply
  XIMPending* pending;
  void* trans_rec;  // the transport's record of this client
  Xi18nClient* next;
};

struct Xi18nAddressRec {
  Display* dpy;
  char im_byteOrder;  // the server's own byte order
  uint32_t imvalue_mask;
  Window im_window;
  char* im_name;
  char* im_locale;
  char* im_addr;
  XIMStyles input_styles;
  XIMTriggerKeys on_keys;
  XIMTriggerKeys off_keys;
  XIMEncodings encoding_list;
  IMProtoHandler improto;
  uint32_t filterevent_mask;
  Atom selection;
  Atom Localename;
  Atom Transportname;
  Atom XIM_SERVERS;
  int im_attr_num;
  XIMAttr* xim_attr;
  int ic_attr_num;
  XICAttr* xic_attr;
  uint16_t preeditAttr_id;
  uint16_t statusAttr_id;
  uint16_t separatorAttr_id;
  int ext_num;
  XIMExt extension[kXi18nExtensions];
  void* connect_addr;  // the transport's data
  Xi18nClient* clients;
  Xi18nClient* free_clients;
  int last_connect_id;  // the highest connection id handed out so far
};

// The transport's methods.
struct Xi18nMethodsRec {
  int (*begin)(XIMS ims);
  int (*end)(XIMS ims);
  int (*send)(XIMS ims, uint16_t connect_id, const uint8_t* msg, int length);
  int (*wait)(XIMS ims, uint16_t connect_id, uint8_t major, uint8_t minor);
  int (*disconnect)(XIMS ims, uint16_t connect_id);
};

struct Xi18nCore {
  Xi18nAddressRec address;
  Xi18nMethodsRec methods;
};

inline Xi18nCore* Xi18nOf(XIMS ims) { return ims->protocol; }

// ---- clients ----

// A new client record: the head of the free list with its old id, or a new
// record with the next id. Byte order '?', sync 0. Null when out of memory.
Xi18nClient* _Xi18nNewClient(Xi18nCore* core);
// The client with that connection id, or null.
Xi18nClient* _Xi18nFindClient(Xi18nCore* core, uint16_t connect_id);
// Moves the client to the free list and frees its queued messages. Unknown
// ids do nothing.
void _Xi18nDeleteClient(Xi18nCore* core, uint16_t connect_id);
// 1 when the client's byte order is known and differs from the server's.
int _Xi18nNeedSwap(Xi18nCore* core, uint16_t connect_id);
// Frees every client record and its queue (server close).
void _Xi18nFreeAllClients(Xi18nCore* core);

// ---- outgoing messages ----

// Sends one message: a header (major, minor, body length / 4, in the
// client's byte order) and the body, whose length must be a multiple of 4
// and at most 4 * 65535. 1 when the transport took it; 0 when the
// connection is unknown, the body is malformed, or the transport failed.
// When the header cannot be built an XIM_ERROR without body goes instead.
int _Xi18nSendMessage(XIMS ims, uint16_t connect_id, uint8_t major, uint8_t minor,
                      const uint8_t* body, int length);
// XIM_REGISTER_TRIGGERKEYS with the on- and off-keys, when there are any.
void _Xi18nSendTriggerKey(XIMS ims, uint16_t connect_id);
// XIM_SET_EVENT_MASK for one input context.
void _Xi18nSetEventMask(XIMS ims, uint16_t connect_id, uint16_t im_id, uint16_t ic_id,
                        uint32_t forward_mask, uint32_t sync_mask);

// ---- the server's method implementations (Xi18n_im_methods) ----

void* xi18n_setup(Display* dpy, const XIMArg* args);
int xi18n_openIM(XIMS ims);
int xi18n_closeIM(XIMS ims);
const char* xi18n_setIMValues(XIMS ims, const XIMArg* args);
const char* xi18n_getIMValues(XIMS ims, const XIMArg* args);
int xi18n_forwardEvent(XIMS ims, IMForwardEventStruct* call_data);
int xi18n_commit(XIMS ims, IMCommitStruct* call_data);
int xi18n_callCallback(XIMS ims, IMProtocol* call_data);
int xi18n_preeditStart(XIMS ims, IMProtocol* call_data);
int xi18n_preeditEnd(XIMS ims, IMProtocol* call_data);
int xi18n_syncXlib(XIMS ims, IMProtocol* call_data);

// Frees the core and everything it owns without touching the display (the
// transport must have ended). Null is allowed.
void _Xi18nFreeCore(Xi18nCore* core);

// ---- argument lists ----

enum class Xi18nArgMode { Open, Set, Get };
// Stores (open, set) or reads (get) the values in `args`. Null on success,
// else the name of the first value that failed.
const char* ParseArgs(Xi18nAddressRec* address, const XIMArg* args, Xi18nArgMode mode);
// Frees the copies ParseArgs made.
void FreeArgCopies(Xi18nAddressRec* address);

// ---- attributes, built at setup ----

// The IM and IC attribute tables (ids are the quarks of the names) and the
// nested-list ids; 0 when out of memory.
int _Xi18nInitAttrList(Xi18nCore* core);
void _Xi18nInitExtension(Xi18nCore* core);
void _Xi18nFreeAttrList(Xi18nCore* core);
