// Xi18nSession.cpp: the requests of a client's session outside its key
// events and attribute values: connect and disconnect, open and close,
// encoding negotiation, extension and IM-value queries, trigger notify,
// destroy, focus and reset of an input context, the preedit replies and the
// protocol extensions. Each procedure reads its body with its template, calls
// the application's handler where the protocol gives it a say, and answers.
#include "xim/internal/Xi18nHandlers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "xim/internal/MessageBody.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/XimFrames.h"

namespace {

int Swap(XIMS ims, const IMProtocol* call_data) {
  return _Xi18nNeedSwap(Xi18nOf(ims), call_data->any.connect_id);
}

void Malformed(const IMProtocol* call_data, const char* what) {
  std::fprintf(stderr, "xim: connection %u: malformed %s dropped\n", call_data->any.connect_id,
               what);
}

// Sends a finished body, or XIM_ERROR when it could not be built.
void Reply(XIMS ims, const IMProtocol* call_data, uint8_t major, Body& b, bool built) {
  const uint16_t id = call_data->any.connect_id;
  if (!built) {
    _Xi18nSendBareError(ims, id);
    return;
  }
  _Xi18nSendMessage(ims, id, major, 0, b.Data(), b.Size());
}

// A reply of the two ids only (close, destroy, trigger notify and the like).
void ReplyIds(XIMS ims, const IMProtocol* call_data, XimFrame frame, uint8_t major, uint16_t im,
              uint16_t ic) {
  Body b(frame, Swap(ims, call_data));
  const bool built = b.Allocate();
  if (built) {
    b.Put(im);
    b.Put(ic);
  }
  Reply(ims, call_data, major, b, built);
}

// Reads the input-method and input-context ids that open most bodies.
bool ReadIds(BodyReader& r, uint16_t* im, uint16_t* ic) { return r.Get(*im) && r.Get(*ic); }

// ---- connection ----

void ConnectMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(connect_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMConnectStruct& c = call_data->imconnect;
  uint8_t order = 0;
  if (!r.Get(order) || !r.Get(c.major_version) || !r.Get(c.minor_version)) {
    Malformed(call_data, "XIM_CONNECT");
    return;
  }
  c.byte_order = static_cast<char>(order);
  Body b(connect_reply_fr, Swap(ims, call_data));
  const bool built = b.Allocate();
  if (built) {
    b.Put(c.major_version);
    b.Put(c.minor_version);
  }
  Reply(ims, call_data, XIM_CONNECT_REPLY, b, built);
}

void DisConnectMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage&, int*) {
  const uint16_t id = call_data->any.connect_id;
  _Xi18nSendMessage(ims, id, XIM_DISCONNECT_REPLY, 0, nullptr, 0);
  _Xi18nClientGone(ims, id);
}

void OpenMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(open_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint8_t n = 0;
  const uint8_t* name = nullptr;
  if (!r.Get(n) || !r.Bytes(n, &name)) {
    Malformed(call_data, "XIM_OPEN");
    return;
  }
  std::string lang(
      reinterpret_cast<const char*>(name ? name : reinterpret_cast<const uint8_t*>("")), n);
  IMOpenStruct& o = call_data->imopen;
  o.lang.length = n;
  o.lang.name = &lang[0];
  if (!_Xi18nCallHandler(ims, call_data)) return;

  const uint16_t id = call_data->any.connect_id;
  const Xi18nAddressRec& a = Xi18nOf(ims)->address;
  _Xi18nSendTriggerKey(ims, id);
  Body b(open_reply_fr, Swap(ims, call_data));
  FrameMgrSetIterCount(b.Fm(), a.im_attr_num);
  FrameMgrSetIterCount(b.Fm(), a.ic_attr_num);
  for (int i = 0; i < a.im_attr_num; ++i) FrameMgrSetSize(b.Fm(), a.xim_attr[i].length);
  for (int i = 0; i < a.ic_attr_num; ++i) FrameMgrSetSize(b.Fm(), a.xic_attr[i].length);
  const bool built = b.Allocate();
  if (built) {
    b.Put(id);
    for (const auto& table :
         {std::make_pair(a.xim_attr, a.im_attr_num), std::make_pair(a.xic_attr, a.ic_attr_num)}) {
      for (int i = 0; i < table.second; ++i) {
        const XIMAttr& attr = table.first[i];
        b.Put(attr.attribute_id);
        b.Put(attr.type);
        b.Put(attr.length);
        b.Put(attr.name);
      }
    }
  }
  Reply(ims, call_data, XIM_OPEN_REPLY, b, built);
}

void CloseMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(close_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint16_t im = 0;
  if (!r.Get(im)) {
    Malformed(call_data, "XIM_CLOSE");
    return;
  }
  if (!_Xi18nCallHandler(ims, call_data)) return;
  Body b(close_reply_fr, Swap(ims, call_data));
  const bool built = b.Allocate();
  if (built) b.Put(im);
  Reply(ims, call_data, XIM_CLOSE_REPLY, b, built);
}

// ---- trigger keys ----

void TriggerNotifyMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(trigger_notify_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMTriggerNotifyStruct& t = call_data->triggernotify;
  uint16_t im = 0;
  if (!r.Get(im) || !r.Get(t.icid) || !r.Get(t.flag) || !r.Get(t.key_index) ||
      !r.Get(t.event_mask)) {
    Malformed(call_data, "XIM_TRIGGER_NOTIFY");
    return;
  }
  // The index counts three 32-bit words a key; it must name a key of the
  // list the flag picks, or the handler would index past its table.
  const Xi18nAddressRec& a = Xi18nOf(ims)->address;
  const XIMTriggerKeys* keys = t.flag == 0 ? &a.on_keys : t.flag == 1 ? &a.off_keys : nullptr;
  if (!keys || t.key_index / 3 >= keys->count_keys) {
    std::fprintf(stderr, "xim: connection %u: trigger notify flag %u key %u names no key\n",
                 t.connect_id, t.flag, t.key_index);
    _Xi18nSendBareError(ims, t.connect_id);
    return;
  }
  Body b(trigger_notify_reply_fr, Swap(ims, call_data));
  if (!b.Allocate()) {
    _Xi18nSendBareError(ims, t.connect_id);
    return;
  }
  b.Put(im);
  b.Put(t.icid);
  IMProtocol state{};
  state.preedit_state.connect_id = t.connect_id;
  state.preedit_state.icid = t.icid;
  if (t.flag == 0) {
    // Forwarding starts before the reply: the client reads the new event
    // mask while it waits for the reply, so the keys already queued behind
    // the trigger (its own release when typed quickly) are forwarded too.
    // Sent after the reply, they would reach the application past the
    // input method. The application sees the key after the reply.
    IMPreeditStart(ims, &state);
    _Xi18nSendMessage(ims, t.connect_id, XIM_TRIGGER_NOTIFY_REPLY, 0, b.Data(), b.Size());
    _Xi18nCallHandler(ims, call_data);
  } else {
    if (!_Xi18nCallHandler(ims, call_data)) return;
    IMPreeditEnd(ims, &state);
    _Xi18nSendMessage(ims, t.connect_id, XIM_TRIGGER_NOTIFY_REPLY, 0, b.Data(), b.Size());
  }
}

// ---- encodings, extensions, IM values ----

// Reads a list of strings (8- or 16-bit length, bytes) into at most `max`
// NUL-terminated copies; the rest of the list is read and ignored.
template <class Len>
bool ReadNames(BodyReader& r, int max, std::vector<std::string>* out) {
  while (r.More()) {
    Len n = 0;
    const uint8_t* p = nullptr;
    if (!r.Get(n) || !r.Bytes(n, &p)) return false;
    if (static_cast<int>(out->size()) < max) {
      out->emplace_back(p ? reinterpret_cast<const char*>(p) : "", n);
    }
  }
  return !r.Failed();
}

std::vector<XIMStr> StrList(std::vector<std::string>& names) {
  std::vector<XIMStr> list;
  for (std::string& s : names) list.push_back(XIMStr{static_cast<int>(s.size()), &s[0]});
  return list;
}

// The index of the client name that matched the last server encoding found
// among them; -1, the protocol's "none", when no name matches.
int16_t ChooseEncoding(const Xi18nAddressRec& a, const std::vector<std::string>& names) {
  int16_t index = -1;
  for (int i = 0; i < a.encoding_list.count_encodings; ++i) {
    const char* ours = a.encoding_list.supported_encodings[i];
    if (!ours) continue;
    for (size_t j = 0; j < names.size(); ++j) {
      if (names[j] == ours) {
        index = static_cast<int16_t>(j);
        break;
      }
    }
  }
  return index;
}

void EncodingNegotiatonMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(encoding_negotiation_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint16_t im = 0, nBytes = 0;
  std::vector<std::string> names, infos;
  if (!r.Get(im) || !r.Get(nBytes) || !ReadNames<uint8_t>(r, kMaxEncodingNames, &names) ||
      !r.Get(nBytes) || !ReadNames<uint16_t>(r, kMaxEncodingInfos, &infos)) {
    Malformed(call_data, "XIM_ENCODING_NEGOTIATION");
    return;
  }
  std::vector<XIMStr> nameList = StrList(names), infoList = StrList(infos);
  IMEncodingNegotiationStruct& e = call_data->encodingnego;
  e.encoding_number = static_cast<uint16_t>(nameList.size());
  e.encoding = nameList.empty() ? nullptr : nameList.data();
  e.encoding_info_number = static_cast<uint16_t>(infoList.size());
  e.encodinginfo = infoList.empty() ? nullptr : infoList.data();
  e.category = 0;
  e.enc_index = ChooseEncoding(Xi18nOf(ims)->address, names);

  Body b(encoding_negotiation_reply_fr, Swap(ims, call_data));
  const bool built = b.Allocate();
  if (built) {
    b.Put(im);
    b.Put(e.category);
    b.Put(e.enc_index);
  }
  Reply(ims, call_data, XIM_ENCODING_NEGOTIATION_REPLY, b, built);
}

// All of our extensions when none is named, else ours that are, in our order.
std::vector<const XIMExt*> MakeExtensionList(const Xi18nAddressRec& a,
                                             const std::vector<std::string>& asked) {
  std::vector<const XIMExt*> exts;
  for (int i = 0; i < a.ext_num; ++i) {
    bool wanted = asked.empty();
    for (const std::string& n : asked) wanted = wanted || n == a.extension[i].name;
    if (wanted) exts.push_back(&a.extension[i]);
  }
  return exts;
}

void QueryExtensionMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(query_extension_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint16_t im = 0, nBytes = 0;
  std::vector<std::string> asked;
  if (!r.Get(im) || !r.Get(nBytes) || !ReadNames<uint8_t>(r, kMaxExtensionNames, &asked)) {
    Malformed(call_data, "XIM_QUERY_EXTENSION");
    return;
  }
  std::vector<XIMStr> askedList = StrList(asked);
  call_data->queryext.number = static_cast<uint16_t>(askedList.size());
  call_data->queryext.extension = askedList.empty() ? nullptr : askedList.data();

  const std::vector<const XIMExt*> exts = MakeExtensionList(Xi18nOf(ims)->address, asked);
  Body b(query_extension_reply_fr, Swap(ims, call_data));
  FrameMgrSetIterCount(b.Fm(), static_cast<int>(exts.size()));
  for (const XIMExt* x : exts) FrameMgrSetSize(b.Fm(), x->length);
  const bool built = b.Allocate();
  if (built) {
    b.Put(im);
    for (const XIMExt* x : exts) {
      b.Put(static_cast<uint8_t>(x->major_opcode));
      b.Put(static_cast<uint8_t>(x->minor_opcode));
      b.Put(x->length);
      b.Put(x->name);
    }
  }
  Reply(ims, call_data, XIM_QUERY_EXTENSION_REPLY, b, built);
}

// The value of queryInputStyle: count, padding, the styles as 32 bits.
std::vector<uint8_t> InputStylesValue(const Xi18nAddressRec& a, int swap) {
  const XIMStyles& s = a.input_styles;
  Body v(input_styles_fr, swap);
  FrameMgrSetIterCount(v.Fm(), s.count_styles);
  if (!v.Allocate()) return {};
  v.Put(static_cast<uint16_t>(s.count_styles));
  for (int i = 0; i < s.count_styles; ++i) v.Put(static_cast<uint32_t>(s.supported_styles[i]));
  return std::vector<uint8_t>(v.Data(), v.Data() + v.Size());
}

struct IMValue {
  uint16_t id;
  std::vector<uint8_t> bytes;
};

// The value of the IM attribute named by `id`; false when we have no such
// attribute (only queryInputStyle exists).
bool GetIMValueFromName(const Xi18nAddressRec& a, uint16_t id, int swap, IMValue* out) {
  for (int i = 0; i < a.im_attr_num; ++i) {
    if (a.xim_attr[i].attribute_id == id &&
        std::strcmp(a.xim_attr[i].name, "queryInputStyle") == 0) {
      *out = IMValue{id, InputStylesValue(a, swap)};
      return true;
    }
  }
  return false;
}

// The values of the asked ids we have, in asked order.
std::vector<IMValue> MakeIMAttributeList(const Xi18nAddressRec& a, const std::vector<uint16_t>& ids,
                                         int swap) {
  std::vector<IMValue> values;
  IMValue v;
  for (uint16_t id : ids) {
    if (GetIMValueFromName(a, id, swap, &v)) values.push_back(v);
  }
  return values;
}

void GetIMValuesMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  const int swap = Swap(ims, call_data);
  BodyReader r(get_im_values_fr, msg.Body(), msg.BodyLength(), swap);
  uint16_t im = 0, nBytes = 0;
  std::vector<uint16_t> ids;
  bool ok = r.Get(im) && r.Get(nBytes);
  while (ok && r.More()) {
    uint16_t id = 0;
    ok = r.Get(id);
    if (ok && static_cast<int>(ids.size()) < kMaxIMAttrIds) ids.push_back(id);
  }
  if (!ok || r.Failed()) {
    Malformed(call_data, "XIM_GET_IM_VALUES");
    return;
  }
  call_data->getim.number = static_cast<uint16_t>(ids.size());
  call_data->getim.im_attr_list = ids.empty() ? nullptr : ids.data();

  const std::vector<IMValue> values = MakeIMAttributeList(Xi18nOf(ims)->address, ids, swap);
  Body b(get_im_values_reply_fr, swap);
  FrameMgrSetIterCount(b.Fm(), static_cast<int>(values.size()));
  for (const IMValue& v : values) FrameMgrSetSize(b.Fm(), static_cast<int>(v.bytes.size()));
  const bool built = b.Allocate();
  if (built) {
    b.Put(im);
    for (const IMValue& v : values) {
      b.Put(v.id);
      b.Put(static_cast<uint16_t>(v.bytes.size()));
      b.Put(v.bytes.data());
    }
  }
  Reply(ims, call_data, XIM_GET_IM_VALUES_REPLY, b, built);
}

// ---- input contexts ----

void CreateICMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  _Xi18nChangeIC(ims, call_data, msg.Body(), msg.BodyLength(), 1);
}

void SetICValuesMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  _Xi18nChangeIC(ims, call_data, msg.Body(), msg.BodyLength(), 0);
}

void GetICValuesMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  _Xi18nGetIC(ims, call_data, msg.Body(), msg.BodyLength());
}

void DestroyICMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(destroy_ic_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint16_t im = 0;
  if (!ReadIds(r, &im, &call_data->destroyic.icid)) {
    Malformed(call_data, "XIM_DESTROY_IC");
    return;
  }
  if (!_Xi18nCallHandler(ims, call_data)) return;
  ReplyIds(ims, call_data, destroy_ic_reply_fr, XIM_DESTROY_IC_REPLY, im,
           call_data->destroyic.icid);
}

// Set and unset focus: the handler only, no reply.
void FocusMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(set_ic_focus_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  uint16_t im = 0;
  if (!ReadIds(r, &im, &call_data->changefocus.icid)) {
    Malformed(call_data, "focus change");
    return;
  }
  _Xi18nCallHandler(ims, call_data);
}

void ResetICMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(reset_ic_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMResetICStruct& reset = call_data->resetic;
  uint16_t im = 0;
  if (!ReadIds(r, &im, &reset.icid)) {
    Malformed(call_data, "XIM_RESET_IC");
    return;
  }
  if (!_Xi18nCallHandler(ims, call_data)) return;
  const char* text = reset.commit_string ? reset.commit_string : "";
  const uint16_t n = reset.commit_string ? reset.length : 0;
  Body b(reset_ic_reply_fr, Swap(ims, call_data));
  FrameMgrSetSize(b.Fm(), n);
  const bool built = b.Allocate();
  if (built) {
    b.Put(im);
    b.Put(reset.icid);
    b.Put(n);
    b.Put(text);
  }
  Reply(ims, call_data, XIM_RESET_IC_REPLY, b, built);
}

void PreeditStartReplyMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(preedit_start_reply_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMPreeditCBStruct& p = call_data->preedit_callback;
  uint16_t im = 0;
  if (!ReadIds(r, &im, &p.icid) || !r.Get(p.todo.return_value)) {
    Malformed(call_data, "XIM_PREEDIT_START_REPLY");
    return;
  }
  _Xi18nCallHandler(ims, call_data);
}

void PreeditCaretReplyMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  BodyReader r(preedit_caret_reply_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMPreeditCBStruct& p = call_data->preedit_callback;
  uint16_t im = 0;
  if (!ReadIds(r, &im, &p.icid) || !r.Get(p.todo.caret.position)) {
    Malformed(call_data, "XIM_PREEDIT_CARET_REPLY");
    return;
  }
  _Xi18nCallHandler(ims, call_data);
}

// ---- protocol extensions ----

void ExtForwardKeyEventMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg) {
  BodyReader r(ext_forward_keyevent_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMForwardEventStruct& f = call_data->forwardevent;
  uint16_t im = 0, sequence = 0, state = 0;
  uint8_t type = 0, keycode = 0;
  uint32_t time = 0, window = 0;
  if (!ReadIds(r, &im, &f.icid) || !r.Get(f.sync_bit) || !r.Get(sequence) || !r.Get(type) ||
      !r.Get(keycode) || !r.Get(state) || !r.Get(time) || !r.Get(window)) {
    Malformed(call_data, "XIM_EXT_FORWARD_KEYEVENT");
    return;
  }
  if (type != KeyPress) {
    _Xi18nSendBareError(ims, f.connect_id);
    return;
  }
  Display* dpy = Xi18nOf(ims)->address.dpy;
  XKeyEvent& k = f.event.xkey;
  k.type = KeyPress;
  k.serial = sequence;
  k.send_event = True;
  k.display = dpy;
  k.keycode = keycode;
  k.state = state;
  k.time = time;
  k.window = window;
  k.root = dpy ? DefaultRootWindow(dpy) : None;
  _Xi18nCallHandler(ims, call_data);
}

void ExtMoveMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg) {
  BodyReader r(ext_move_fr, msg.Body(), msg.BodyLength(), Swap(ims, call_data));
  IMMoveStruct& m = call_data->extmove;
  uint16_t im = 0;
  if (!ReadIds(r, &im, &m.icid) || !r.Get(m.x) || !r.Get(m.y)) {
    Malformed(call_data, "XIM_EXT_MOVE");
    return;
  }
  _Xi18nCallHandler(ims, call_data);
}

void ExtensionMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int*) {
  switch (call_data->any.minor_code) {
    case XIM_EXT_FORWARD_KEYEVENT: ExtForwardKeyEventMessageProc(ims, call_data, msg); break;
    case XIM_EXT_MOVE: ExtMoveMessageProc(ims, call_data, msg); break;
    default: break;  // other extensions are not answered
  }
}

}  // namespace

int _Xi18nCallHandler(XIMS ims, IMProtocol* call_data) {
  IMProtoHandler handler = Xi18nOf(ims)->address.improto;
  return handler ? handler(ims, call_data) : 1;
}

void _Xi18nClientGone(XIMS ims, uint16_t connect_id) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!_Xi18nFindClient(core, connect_id)) return;
  IMProtocol gone{};
  gone.imdisconnect.major_code = XIM_DISCONNECT;
  gone.imdisconnect.connect_id = connect_id;
  _Xi18nCallHandler(ims, &gone);
  if (core->methods.disconnect) {
    core->methods.disconnect(ims, connect_id);
  } else {
    _Xi18nDeleteClient(core, connect_id);
  }
}

void _Xi18nInstallProcs(Xi18nMessageProc procs[256], Xi18nCallbackProc callbacks[256]) {
  procs[XIM_CONNECT] = ConnectMessageProc;
  procs[XIM_DISCONNECT] = DisConnectMessageProc;
  procs[XIM_OPEN] = OpenMessageProc;
  procs[XIM_CLOSE] = CloseMessageProc;
  procs[XIM_TRIGGER_NOTIFY] = TriggerNotifyMessageProc;
  procs[XIM_ENCODING_NEGOTIATION] = EncodingNegotiatonMessageProc;
  procs[XIM_QUERY_EXTENSION] = QueryExtensionMessageProc;
  procs[XIM_GET_IM_VALUES] = GetIMValuesMessageProc;
  procs[XIM_CREATE_IC] = CreateICMessageProc;
  procs[XIM_DESTROY_IC] = DestroyICMessageProc;
  procs[XIM_SET_IC_VALUES] = SetICValuesMessageProc;
  procs[XIM_GET_IC_VALUES] = GetICValuesMessageProc;
  procs[XIM_SET_IC_FOCUS] = FocusMessageProc;
  procs[XIM_UNSET_IC_FOCUS] = FocusMessageProc;
  procs[XIM_RESET_IC] = ResetICMessageProc;
  procs[XIM_PREEDIT_START_REPLY] = PreeditStartReplyMessageProc;
  procs[XIM_PREEDIT_CARET_REPLY] = PreeditCaretReplyMessageProc;
  procs[XIM_EXTENSION] = ExtensionMessageProc;
  procs[XIM_FORWARD_EVENT] = ForwardEventMessageProc;
  procs[XIM_SYNC_REPLY] = SyncReplyMessageProc;
  _Xi18nInstallCallbackProcs(callbacks);
}
