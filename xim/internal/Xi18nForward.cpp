// Xi18nForward.cpp: key events a client forwards, and the queue that holds
// them while the server waits for the client's XIM_SYNC_REPLY. Every key the
// application sends back asks for a sync reply (xi18n_forwardEvent), so the
// client's next keys cannot overtake it: they wait here, in arrival order,
// and are decoded one by one after the reply until another key goes back.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "xim/internal/MessageBody.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nHandlers.h"
#include "xim/internal/Xi18nWireEvent.h"
#include "xim/internal/XimFrames.h"

namespace {

// The four 16-bit fields in front of the wire event.
constexpr int kForwardFields = 8;

void ProcessForwardEvent(XIMS ims, IMProtocol* call_data, const uint8_t* body, int length) {
  Xi18nCore* core = Xi18nOf(ims);
  const int swap = _Xi18nNeedSwap(core, call_data->any.connect_id);
  BodyReader r(forward_event_fr, body, length, swap);
  IMForwardEventStruct& f = call_data->forwardevent;
  uint16_t im = 0;
  if (!r.Get(im) || !r.Get(f.icid) || !r.Get(f.sync_bit) || !r.Get(f.serial_number) ||
      length < kForwardFields + kWireEventSize) {
    std::fprintf(stderr, "xim: connection %u: forward event of %d bytes dropped\n", f.connect_id,
                 length);
    return;
  }
  // Only key presses and releases are converted; anything else is dropped.
  if (!WireEventToEvent(core->address.dpy, body + kForwardFields, f.serial_number, swap,
                        &f.event)) {
    return;
  }
  _Xi18nCallHandler(ims, call_data);
}

bool Enqueue(Xi18nClient* client, const Xi18nMessage& msg) {
  int n = 0;
  XIMPending** tail = &client->pending;
  for (; *tail; tail = &(*tail)->next) ++n;
  if (n >= kMaxPendingEvents) return false;
  XIMPending* node = new (std::nothrow) XIMPending{msg.data, msg.length, nullptr};
  if (!node) return false;
  *tail = node;
  return true;
}

}  // namespace

void ForwardEventMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int* keep) {
  Xi18nClient* client = _Xi18nFindClient(Xi18nOf(ims), call_data->any.connect_id);
  if (!client) return;
  if (client->sync) {
    if (Enqueue(client, msg)) {
      *keep = 0;  // the queue owns the message now
    } else {
      std::fprintf(stderr, "xim: connection %d: more than %d keys wait for a sync reply; dropped\n",
                   client->connect_id, kMaxPendingEvents);
    }
    return;
  }
  ProcessForwardEvent(ims, call_data, msg.Body(), msg.BodyLength());
}

void SyncReplyMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  const uint16_t id = call_data->any.connect_id;
  BodyReader r(sync_reply_fr, msg.Body(), msg.BodyLength(), _Xi18nNeedSwap(Xi18nOf(ims), id));
  uint16_t im = 0;
  if (!r.Get(im) || !r.Get(call_data->sync_xlib.icid)) {
    std::fprintf(stderr, "xim: connection %u: malformed XIM_SYNC_REPLY dropped\n", id);
    return;
  }
  Xi18nClient* client = _Xi18nFindClient(Xi18nOf(ims), id);
  if (!client) return;
  client->sync = 0;
  if (ims->sync == 1) {
    ims->sync = 0;
    _Xi18nCallHandler(ims, call_data);
  }
  ProcessQueue(ims, id);
}

void ProcessQueue(XIMS ims, uint16_t connect_id) {
  Xi18nCore* core = Xi18nOf(ims);
  for (;;) {
    // The handler may send a key back (sync again) or end the connection,
    // so the client is looked up afresh for every message.
    Xi18nClient* client = _Xi18nFindClient(core, connect_id);
    if (!client || client->sync || !client->pending) return;
    XIMPending* node = client->pending;
    client->pending = node->next;
    if (node->length >= 4 && node->p[0] == XIM_FORWARD_EVENT) {
      IMProtocol call_data{};
      call_data.any.major_code = node->p[0];
      call_data.any.minor_code = node->p[1];
      call_data.any.connect_id = connect_id;
      ProcessForwardEvent(ims, &call_data, node->p + 4, node->length - 4);
    }
    std::free(node->p);
    delete node;
  }
}
