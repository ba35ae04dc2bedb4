// Xi18nMethods.cpp: the server's method table (Xi18n_im_methods) and the
// senders of the messages the server starts itself: the header every
// message carries, forwarded key events, commits, event masks and trigger
// keys. Every message is coded by its frame template in the client's byte
// order.
#include <X11/X.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "xim/internal/FrameMgr.h"
#include "xim/internal/MessageBody.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nDispatch.h"
#include "xim/internal/Xi18nWireEvent.h"
#include "xim/internal/Xi18nX.h"
#include "xim/internal/XimFrames.h"

namespace {

constexpr char kHostByteOrder = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 'B' : 'l';

}  // namespace

// ---- setup, open, close, values ----

void* xi18n_setup(Display* dpy, const XIMArg* args) {
  Xi18nCore* core = new (std::nothrow) Xi18nCore{};
  if (!core) return nullptr;
  core->address.dpy = dpy;
  if (const char* bad = ParseArgs(&core->address, args, Xi18nArgMode::Open)) {
    std::fprintf(stderr, "xim: cannot open the server: value \"%s\" is bad or missing\n", bad);
    FreeArgCopies(&core->address);
    delete core;
    return nullptr;
  }
  core->address.im_byteOrder = kHostByteOrder;
  if (!_Xi18nInitAttrList(core)) {
    FreeArgCopies(&core->address);
    delete core;
    return nullptr;
  }
  _Xi18nInitExtension(core);
  return core;
}

int CheckIMName(Xi18nCore* core) {
  const char* address = core->address.im_addr;
  while (*address == ' ' || *address == '\t') ++address;
  for (const TransportSW* t = _TransR; t->transportname; ++t) {
    if (std::strncmp(address, t->transportname, static_cast<size_t>(t->namesize)) == 0 &&
        address[t->namesize] == '/') {
      return t->checkAddr(core, t, address + t->namesize + 1);
    }
  }
  std::fprintf(stderr, "xim: transport address \"%s\" names no transport we offer\n",
               core->address.im_addr);
  return 0;
}

void _Xi18nFreeCore(Xi18nCore* core) {
  if (!core) return;
  _Xi18nFreeAllClients(core);
  FreeArgCopies(&core->address);
  _Xi18nFreeAttrList(core);
  std::free(core->address.connect_addr);
  delete core;
}

int xi18n_openIM(XIMS ims) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!CheckIMName(core) || !SetXi18nSelectionOwner(core) || !core->methods.begin(ims)) {
    _Xi18nFreeCore(core);
    ims->protocol = nullptr;
    return 0;
  }
  Xi18nStartSelectionFilter(ims);
  XFlush(core->address.dpy);
  return 1;
}

int xi18n_closeIM(XIMS ims) {
  Xi18nCore* core = Xi18nOf(ims);
  DeleteXi18nAtom(core);
  if (core->methods.end) core->methods.end(ims);
  Xi18nStopSelectionFilter(ims);
  XFlush(core->address.dpy);
  _Xi18nFreeCore(core);
  ims->protocol = nullptr;
  return 1;
}

const char* xi18n_setIMValues(XIMS ims, const XIMArg* args) {
  return ParseArgs(&Xi18nOf(ims)->address, args, Xi18nArgMode::Set);
}

const char* xi18n_getIMValues(XIMS ims, const XIMArg* args) {
  return ParseArgs(&Xi18nOf(ims)->address, args, Xi18nArgMode::Get);
}

// ---- outgoing messages ----

int _Xi18nSendMessage(XIMS ims, uint16_t connect_id, uint8_t major, uint8_t minor,
                      const uint8_t* body, int length) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!_Xi18nFindClient(core, connect_id) || !core->methods.send) return 0;
  if (length < 0 || length % 4 != 0 || length > kXimMaxBody || (length > 0 && !body)) {
    std::fprintf(stderr, "xim: message %u of %d bytes cannot be framed\n", major, length);
    return 0;
  }
  uint8_t* msg = static_cast<uint8_t*>(std::malloc(4 + static_cast<size_t>(length)));
  if (!msg) {
    _Xi18nSendBareError(ims, connect_id);
    return 0;
  }
  FrameMgrRec fm;
  FrameMgrInitWithData(&fm, packet_header_fr, msg, _Xi18nNeedSwap(core, connect_id));
  FrameMgrSetTotalSize(&fm, 4);
  FrameMgrPutToken(&fm, major);
  FrameMgrPutToken(&fm, minor);
  FrameMgrPutToken(&fm, static_cast<uint16_t>(length / 4));
  if (length > 0) std::memcpy(msg + 4, body, static_cast<size_t>(length));
  const int rc = core->methods.send(ims, connect_id, msg, 4 + length);
  std::free(msg);
  return rc;
}

void _Xi18nSetEventMask(XIMS ims, uint16_t connect_id, uint16_t im_id, uint16_t ic_id,
                        uint32_t forward_mask, uint32_t sync_mask) {
  Body b(set_event_mask_fr, _Xi18nNeedSwap(Xi18nOf(ims), connect_id));
  if (!b.Allocate()) return;
  FrameMgrPutToken(b.Fm(), im_id);
  FrameMgrPutToken(b.Fm(), ic_id);
  FrameMgrPutToken(b.Fm(), forward_mask);
  FrameMgrPutToken(b.Fm(), sync_mask);
  _Xi18nSendMessage(ims, connect_id, XIM_SET_EVENT_MASK, 0, b.Data(), b.Size());
}

void _Xi18nSendTriggerKey(XIMS ims, uint16_t connect_id) {
  const Xi18nAddressRec& a = Xi18nOf(ims)->address;
  if (a.on_keys.count_keys == 0 && a.off_keys.count_keys == 0) return;
  Body b(register_triggerkeys_fr, _Xi18nNeedSwap(Xi18nOf(ims), connect_id));
  FrameMgrSetIterCount(b.Fm(), a.on_keys.count_keys);
  FrameMgrSetIterCount(b.Fm(), a.off_keys.count_keys);
  if (!b.Allocate()) return;
  FrameMgrPutToken(b.Fm(), uint16_t{0});  // input-method id: not yet open
  for (const XIMTriggerKeys* keys : {&a.on_keys, &a.off_keys}) {
    for (int i = 0; i < keys->count_keys; ++i) {
      FrameMgrPutToken(b.Fm(), keys->keylist[i].keysym);
      FrameMgrPutToken(b.Fm(), keys->keylist[i].modifier);
      FrameMgrPutToken(b.Fm(), keys->keylist[i].modifier_mask);
    }
  }
  _Xi18nSendMessage(ims, connect_id, XIM_REGISTER_TRIGGERKEYS, 0, b.Data(), b.Size());
}

int xi18n_forwardEvent(XIMS ims, IMForwardEventStruct* call_data) {
  Xi18nCore* core = Xi18nOf(ims);
  Xi18nClient* client = _Xi18nFindClient(core, call_data->connect_id);
  if (!client) return 0;
  const int swap = _Xi18nNeedSwap(core, call_data->connect_id);
  Body b(forward_event_fr, swap);
  if (!b.Allocate(kWireEventSize)) {
    _Xi18nSendBareError(ims, call_data->connect_id);
    return 0;
  }
  // The server always waits for the client's sync reply to a key it sends
  // back, so that the client's next keys cannot overtake it.
  call_data->sync_bit = XimSYNCHRONUS;
  uint16_t serialHigh = 0;
  EventToWireEvent(&call_data->event, b.Data() + b.Size() - kWireEventSize, &serialHigh, swap);
  call_data->serial_number = serialHigh;
  FrameMgrPutToken(b.Fm(), call_data->connect_id);
  FrameMgrPutToken(b.Fm(), call_data->icid);
  FrameMgrPutToken(b.Fm(), call_data->sync_bit);
  FrameMgrPutToken(b.Fm(), call_data->serial_number);
  if (!_Xi18nSendMessage(ims, call_data->connect_id, XIM_FORWARD_EVENT, 0, b.Data(), b.Size())) {
    return 0;
  }
  client->sync = 1;
  return 1;
}

int xi18n_commit(XIMS ims, IMCommitStruct* call_data) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!_Xi18nFindClient(core, call_data->connect_id)) return 0;
  const char* text = call_data->commit_string ? call_data->commit_string : "";
  const size_t n = std::strlen(text);
  if (n > 0xffff) {
    std::fprintf(stderr, "xim: commit of %zu bytes is longer than a message can carry\n", n);
    return 0;
  }
  const uint16_t length = static_cast<uint16_t>(n);
  const bool charsOnly = (call_data->flag & XimLookupBoth) == XimLookupChars;
  call_data->flag |= XimSYNCHRONUS;
  Body b(charsOnly ? commit_chars_fr : commit_both_fr, _Xi18nNeedSwap(core, call_data->connect_id));
  FrameMgrSetSize(b.Fm(), length);
  if (!b.Allocate()) {
    _Xi18nSendBareError(ims, call_data->connect_id);
    return 0;
  }
  FrameMgrPutToken(b.Fm(), call_data->connect_id);
  FrameMgrPutToken(b.Fm(), call_data->icid);
  FrameMgrPutToken(b.Fm(), call_data->flag);
  if (!charsOnly) FrameMgrPutToken(b.Fm(), call_data->keysym);
  if (charsOnly || length > 0) {
    FrameMgrPutToken(b.Fm(), length);
    FrameMgrPutToken(b.Fm(), text);
  }
  return _Xi18nSendMessage(ims, call_data->connect_id, XIM_COMMIT, 0, b.Data(), b.Size());
}

int xi18n_callCallback(XIMS ims, IMProtocol* call_data) {
  switch (call_data->major_code) {
    case XIM_GEOMETRY:
    case XIM_STR_CONVERSION:
    case XIM_PREEDIT_START:
    case XIM_PREEDIT_DRAW:
    case XIM_PREEDIT_CARET:
    case XIM_PREEDIT_DONE:
    case XIM_STATUS_START:
    case XIM_STATUS_DRAW:
    case XIM_STATUS_DONE: {
      Xi18nCallbackProc proc = _Xi18nGetCallbackProc(static_cast<uint8_t>(call_data->major_code));
      return proc ? proc(ims, call_data) : 0;
    }
    default: return 0;
  }
}

namespace {

bool HasTriggerKeys(const Xi18nAddressRec& a) {
  return a.on_keys.count_keys > 0 || a.off_keys.count_keys > 0;
}

}  // namespace

int xi18n_preeditStart(XIMS ims, IMProtocol* call_data) {
  const Xi18nAddressRec& a = Xi18nOf(ims)->address;
  if (!HasTriggerKeys(a)) return 0;
  const uint32_t mask = (a.imvalue_mask & I18N_FILTERMASK) ? a.filterevent_mask : KeyPressMask;
  const IMPreeditStateStruct& p = call_data->preedit_state;
  _Xi18nSetEventMask(ims, p.connect_id, p.connect_id, p.icid, mask, ~mask);
  return 1;
}

int xi18n_preeditEnd(XIMS ims, IMProtocol* call_data) {
  if (!HasTriggerKeys(Xi18nOf(ims)->address)) return 0;
  const IMPreeditStateStruct& p = call_data->preedit_state;
  _Xi18nSetEventMask(ims, p.connect_id, p.connect_id, p.icid, 0, 0);
  return 1;
}

int xi18n_syncXlib(XIMS ims, IMProtocol* call_data) {
  const IMSyncXlibStruct& s = call_data->sync_xlib;
  Body b(sync_fr, _Xi18nNeedSwap(Xi18nOf(ims), s.connect_id));
  if (!b.Allocate()) return 0;
  FrameMgrPutToken(b.Fm(), s.connect_id);
  FrameMgrPutToken(b.Fm(), s.icid);
  ims->sync = 1;
  return _Xi18nSendMessage(ims, s.connect_id, XIM_SYNC, 0, b.Data(), b.Size());
}

const IMMethodsRec Xi18n_im_methods = {
    xi18n_setup,        xi18n_openIM,       xi18n_closeIM,  xi18n_setIMValues,
    xi18n_getIMValues,  xi18n_forwardEvent, xi18n_commit,   xi18n_callCallback,
    xi18n_preeditStart, xi18n_preeditEnd,   xi18n_syncXlib,
};
