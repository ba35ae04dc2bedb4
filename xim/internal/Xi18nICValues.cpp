// Xi18nICValues.cpp: attribute values of input contexts, both ways.
//
// Create and set requests carry a list of attributes (16-bit id, 16-bit
// value length, value, padding to 4), where "preeditAttributes" and
// "statusAttributes" are nested lists whose value is again such a list. They
// are decoded into three lists of XICAttribute for the application (IC,
// preedit, status), each value a new block in host order:
//
//   type                     wire value             decoded value
//   CARD8, CARD16            1 or 2 bytes           uint8_t, uint16_t
//   CARD32, Window           4 bytes                uint32_t (length 4)
//   XRectangle               x, y, width, height    XRectangle (8 bytes)
//   XPoint                   x, y                   XPoint (4 bytes)
//   XFontSet                 16-bit n, n bytes      n bytes and a NUL (length n)
//
// A value shorter than its type, a font name longer than its value, and a
// nested member that runs past its list are dropped; the request goes on.
// Get requests name ids; the application fills the values it knows (in host
// order) and every value goes back encoded by its type in the client's byte
// order, the nested lists as one attribute each.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "xim/internal/MessageBody.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nHandlers.h"
#include "xim/internal/XimFrames.h"

namespace {

// One work list of a request: at most kMaxICAttrs entries, whose values it
// frees.
struct AttrList {
  XICAttribute items[kMaxICAttrs] = {};
  uint16_t n = 0;
  AttrList() = default;
  AttrList(const AttrList&) = delete;
  AttrList& operator=(const AttrList&) = delete;
  ~AttrList() {
    for (int i = 0; i < n; ++i) std::free(items[i].value);
  }
  // A new empty entry described by `desc`; null when the list is full.
  XICAttribute* Add(const XICAttr& desc) {
    if (n >= kMaxICAttrs) return nullptr;
    XICAttribute* a = &items[n++];
    a->attribute_id = desc.attribute_id;
    a->name_length = desc.length;
    a->name = const_cast<char*>(desc.name);
    a->type = desc.type;
    return a;
  }
  void Drop() { --n; }
};

const XICAttr* FindICAttr(const Xi18nCore* core, uint16_t id) {
  const Xi18nAddressRec& a = core->address;
  for (int i = 0; i < a.ic_attr_num; ++i) {
    if (a.xic_attr[i].attribute_id == id) return &a.xic_attr[i];
  }
  return nullptr;
}

bool IsNestedList(const Xi18nCore* core, uint16_t id) {
  const XICAttr* desc = FindICAttr(core, id);
  return desc && desc->type == kTypeNested;
}

bool IsSeparator(const Xi18nCore* core, uint16_t id) {
  return id == core->address.separatorAttr_id;
}

bool SetValue(XICAttribute* a, const void* bytes, size_t n) {
  a->value = std::malloc(n + 1);
  if (!a->value) return false;
  std::memcpy(a->value, bytes, n);
  static_cast<char*>(a->value)[n] = '\0';
  a->value_length = static_cast<int>(n);
  return true;
}

// ---- decoding, by type ----

bool SetCardAttribute(XICAttribute* a, const uint8_t* p, int len, int swap) {
  const int width = a->type == kTypeCard8 ? 1 : a->type == kTypeCard16 ? 2 : 4;
  if (len < width) return false;
  if (width == 1) return SetValue(a, p, 1);
  if (width == 2) {
    BodyReader r(short_fr, p, len, swap);
    uint16_t v = 0;
    return r.Get(v) && SetValue(a, &v, sizeof v);
  }
  BodyReader r(long_fr, p, len, swap);
  uint32_t v = 0;
  return r.Get(v) && SetValue(a, &v, sizeof v);
}

bool SetRectAttribute(XICAttribute* a, const uint8_t* p, int len, int swap) {
  BodyReader r(xrectangle_fr, p, len, swap);
  int16_t x = 0, y = 0;
  uint16_t w = 0, h = 0;
  if (!r.Get(x) || !r.Get(y) || !r.Get(w) || !r.Get(h)) return false;
  XRectangle rect{x, y, w, h};
  return SetValue(a, &rect, sizeof rect);
}

bool SetPointAttribute(XICAttribute* a, const uint8_t* p, int len, int swap) {
  BodyReader r(xpoint_fr, p, len, swap);
  int16_t x = 0, y = 0;
  if (!r.Get(x) || !r.Get(y)) return false;
  XPoint point{x, y};
  return SetValue(a, &point, sizeof point);
}

bool SetFontAttribute(XICAttribute* a, const uint8_t* p, int len, int swap) {
  BodyReader r(fontset_fr, p, len, swap);
  uint16_t n = 0;
  const uint8_t* name = nullptr;
  if (!r.Get(n) || !r.Bytes(n, &name)) return false;
  return SetValue(a, name ? name : reinterpret_cast<const uint8_t*>(""), n);
}

// Decodes one attribute value into `list`; values the server does not
// decode, and values too short for their type, are left out.
void ReadICValue(const XICAttr& desc, const uint8_t* p, int len, int swap, AttrList* list) {
  bool (*set)(XICAttribute*, const uint8_t*, int, int) = nullptr;
  switch (desc.type) {
    case kTypeCard8:
    case kTypeCard16:
    case kTypeCard32:
    case kTypeWindow: set = SetCardAttribute; break;
    case kTypeRectangle: set = SetRectAttribute; break;
    case kTypePoint: set = SetPointAttribute; break;
    case kTypeFontSet: set = SetFontAttribute; break;
    default: return;  // STRING8, styles, the separator: not decoded
  }
  XICAttribute* a = list->Add(desc);
  if (!a) return;
  if (!set(a, p, len, swap)) {
    std::fprintf(stderr, "xim: attribute \"%s\" with a value of %d bytes dropped\n", desc.name,
                 len);
    std::free(a->value);
    *a = XICAttribute{};
    list->Drop();
  }
}

// The members of a nested list, in order, until its bytes are used up; a
// member that runs past them ends the walk. Nested lists inside a nested
// list are not followed.
void ReadNestedList(const Xi18nCore* core, const uint8_t* p, int len, int swap, AttrList* list) {
  int off = 0;
  while (off < len) {
    BodyReader r(xicattribute_fr, p + off, len - off, swap);
    uint16_t id = 0, n = 0;
    const uint8_t* value = nullptr;
    if (!r.Get(id) || !r.Get(n) || !r.Bytes(n, &value)) {
      std::fprintf(stderr, "xim: nested attribute list overruns its %d bytes; rest dropped\n", len);
      return;
    }
    const XICAttr* desc = FindICAttr(core, id);
    if (desc && desc->type != kTypeNested) ReadICValue(*desc, value, n, swap, list);
    off += 4 + n + (4 - n % 4) % 4;
  }
}

// ---- encoding, by type ----

std::vector<uint8_t> Encoded(Body& b) {
  return std::vector<uint8_t>(b.Data(), b.Data() + b.Size());
}

std::vector<uint8_t> GetCardAttribute(const XICAttribute& a, int swap) {
  switch (a.value_length) {
    case 1:
      return std::vector<uint8_t>(static_cast<const uint8_t*>(a.value),
                                  static_cast<const uint8_t*>(a.value) + 1);
    case 2: {
      uint16_t v;
      std::memcpy(&v, a.value, 2);
      Body b(short_fr, swap);
      if (!b.Allocate()) return {};
      b.Put(v);
      return Encoded(b);
    }
    case 4: {
      uint32_t v;
      std::memcpy(&v, a.value, 4);
      Body b(long_fr, swap);
      if (!b.Allocate()) return {};
      b.Put(v);
      return Encoded(b);
    }
    default: return {};
  }
}

std::vector<uint8_t> GetRectAttribute(const XICAttribute& a, int swap) {
  XRectangle r;
  if (a.value_length < static_cast<int>(sizeof r)) return {};
  std::memcpy(&r, a.value, sizeof r);
  Body b(xrectangle_fr, swap);
  if (!b.Allocate()) return {};
  b.Put(r.x);
  b.Put(r.y);
  b.Put(r.width);
  b.Put(r.height);
  return Encoded(b);
}

std::vector<uint8_t> GetPointAttribute(const XICAttribute& a, int swap) {
  XPoint pt;
  if (a.value_length < static_cast<int>(sizeof pt)) return {};
  std::memcpy(&pt, a.value, sizeof pt);
  Body b(xpoint_fr, swap);
  if (!b.Allocate()) return {};
  b.Put(pt.x);
  b.Put(pt.y);
  return Encoded(b);
}

std::vector<uint8_t> GetFontAttribute(const XICAttribute& a, int swap) {
  const int n = a.value_length < 0 ? 0 : a.value_length > 0xffff - 4 ? 0xffff - 4 : a.value_length;
  Body b(fontset_fr, swap);
  FrameMgrSetSize(b.Fm(), n);
  if (!b.Allocate()) return {};
  b.Put(static_cast<uint16_t>(n));
  b.Put(static_cast<const uint8_t*>(a.value));
  return Encoded(b);
}

// The wire form of one value the application filled; empty when it left
// the value empty or gave fewer bytes than the type needs.
std::vector<uint8_t> EncodeICValue(const XICAttribute& a, int swap) {
  // An empty font name is a value (a zero length); an empty number is not.
  if (!a.value || a.value_length < 0 || (a.value_length == 0 && a.type != kTypeFontSet)) return {};
  switch (a.type) {
    case kTypeCard8:
    case kTypeCard16:
    case kTypeCard32:
    case kTypeWindow: return GetCardAttribute(a, swap);
    case kTypeRectangle: return GetRectAttribute(a, swap);
    case kTypePoint: return GetPointAttribute(a, swap);
    case kTypeFontSet: return GetFontAttribute(a, swap);
    default: return {};
  }
}

// Appends one member of a nested list: id, value length, value, padding.
void GetAttrHeader(std::vector<uint8_t>* out, uint16_t id, const std::vector<uint8_t>& value,
                   int swap) {
  Body head(attr_head_fr, swap);
  if (!head.Allocate()) return;
  head.Put(id);
  head.Put(static_cast<uint16_t>(value.size()));
  out->insert(out->end(), head.Data(), head.Data() + head.Size());
  out->insert(out->end(), value.begin(), value.end());
  out->resize(out->size() + (4 - value.size() % 4) % 4, 0);
}

struct WireAttr {
  uint16_t id;
  std::vector<uint8_t> value;
};

WireAttr CreateNestedList(uint16_t nested_id, const AttrList& list, int swap) {
  WireAttr w{nested_id, {}};
  for (int i = 0; i < list.n; ++i) {
    const XICAttribute& a = list.items[i];
    GetAttrHeader(&w.value, static_cast<uint16_t>(a.attribute_id), EncodeICValue(a, swap), swap);
  }
  return w;
}

void SendAttributes(XIMS ims, uint16_t connect_id, uint16_t im, uint16_t ic,
                    const std::vector<WireAttr>& attrs, int swap) {
  Body b(get_ic_values_reply_fr, swap);
  FrameMgrSetIterCount(b.Fm(), static_cast<int>(attrs.size()));
  for (const WireAttr& w : attrs) FrameMgrSetSize(b.Fm(), static_cast<int>(w.value.size()));
  if (!b.Allocate()) {
    _Xi18nSendBareError(ims, connect_id);
    return;
  }
  b.Put(im);
  b.Put(ic);
  for (const WireAttr& w : attrs) {
    b.Put(w.id);
    b.Put(static_cast<uint16_t>(w.value.size()));
    b.Put(w.value.data());
  }
  _Xi18nSendMessage(ims, connect_id, XIM_GET_IC_VALUES_REPLY, 0, b.Data(), b.Size());
}

// Resolves the asked ids to attribute descriptions: a plain id becomes an
// entry of the IC list; a nested-list id takes the ids after it, up to the
// separator, into its own list, and the separator is then met as a plain id.
// Ids the server does not list are skipped.
void GetICValue(const Xi18nCore* core, const std::vector<uint16_t>& ids, AttrList* ic,
                AttrList* preedit, AttrList* status) {
  for (size_t i = 0; i < ids.size(); ++i) {
    const uint16_t id = ids[i];
    AttrList* nested = id == core->address.preeditAttr_id  ? preedit
                       : id == core->address.statusAttr_id ? status
                                                           : nullptr;
    if (nested) {
      while (i + 1 < ids.size() && !IsSeparator(core, ids[i + 1])) {
        const XICAttr* desc = FindICAttr(core, ids[++i]);
        if (desc) nested->Add(*desc);
      }
    } else if (const XICAttr* desc = FindICAttr(core, id)) {
      ic->Add(*desc);
    }
  }
}

void SetLists(IMChangeICStruct* c, AttrList& ic, AttrList& preedit, AttrList& status) {
  c->ic_attr_num = ic.n;
  c->ic_attr = ic.items;
  c->preedit_attr_num = preedit.n;
  c->preedit_attr = preedit.items;
  c->status_attr_num = status.n;
  c->status_attr = status.items;
}

void ClearLists(IMChangeICStruct* c) {
  c->ic_attr = c->preedit_attr = c->status_attr = nullptr;
  c->ic_attr_num = c->preedit_attr_num = c->status_attr_num = 0;
}

}  // namespace

void _Xi18nChangeIC(XIMS ims, IMProtocol* call_data, const uint8_t* body, int length, int create) {
  Xi18nCore* core = Xi18nOf(ims);
  IMChangeICStruct& c = call_data->changeic;
  const int swap = _Xi18nNeedSwap(core, c.connect_id);
  BodyReader r(create ? create_ic_fr : set_ic_values_fr, body, length, swap);
  uint16_t im = 0, nBytes = 0;
  bool ok = r.Get(im) && (create || r.Get(c.icid)) && r.Get(nBytes);
  AttrList ic, preedit, status;
  while (ok && r.More()) {
    uint16_t id = 0, n = 0;
    const uint8_t* value = nullptr;
    ok = r.Get(id) && r.Get(n) && r.Bytes(n, &value);
    if (!ok) break;
    if (id == core->address.preeditAttr_id) {
      ReadNestedList(core, value, n, swap, &preedit);
    } else if (id == core->address.statusAttr_id) {
      ReadNestedList(core, value, n, swap, &status);
    } else if (!IsNestedList(core, id)) {
      if (const XICAttr* desc = FindICAttr(core, id)) ReadICValue(*desc, value, n, swap, &ic);
    }
  }
  if (!ok || r.Failed()) {
    std::fprintf(stderr, "xim: connection %u: malformed %s dropped\n", c.connect_id,
                 create ? "XIM_CREATE_IC" : "XIM_SET_IC_VALUES");
    return;
  }
  SetLists(&c, ic, preedit, status);
  const int handled = _Xi18nCallHandler(ims, call_data);
  ClearLists(&c);
  if (!handled) return;

  Body b(create ? create_ic_reply_fr : set_ic_values_reply_fr, swap);
  if (!b.Allocate()) {
    _Xi18nSendBareError(ims, c.connect_id);
    return;
  }
  b.Put(im);
  b.Put(c.icid);
  _Xi18nSendMessage(ims, c.connect_id, create ? XIM_CREATE_IC_REPLY : XIM_SET_IC_VALUES_REPLY, 0,
                    b.Data(), b.Size());
  const Xi18nAddressRec& a = core->address;
  if (create && a.on_keys.count_keys == 0 && a.off_keys.count_keys == 0) {
    // Without trigger keys the client forwards from the start.
    const uint32_t mask = (a.imvalue_mask & I18N_FILTERMASK) ? a.filterevent_mask : KeyPressMask;
    _Xi18nSetEventMask(ims, c.connect_id, im, c.icid, mask, ~mask);
  }
}

void _Xi18nGetIC(XIMS ims, IMProtocol* call_data, const uint8_t* body, int length) {
  Xi18nCore* core = Xi18nOf(ims);
  IMChangeICStruct& c = call_data->changeic;
  const int swap = _Xi18nNeedSwap(core, c.connect_id);
  BodyReader r(get_ic_values_fr, body, length, swap);
  uint16_t im = 0, nBytes = 0;
  std::vector<uint16_t> ids;
  bool ok = r.Get(im) && r.Get(c.icid) && r.Get(nBytes);
  while (ok && r.More()) {
    uint16_t id = 0;
    ok = r.Get(id);
    if (ok && static_cast<int>(ids.size()) < kMaxICAttrs) ids.push_back(id);
  }
  if (!ok || r.Failed()) {
    std::fprintf(stderr, "xim: connection %u: malformed XIM_GET_IC_VALUES dropped\n", c.connect_id);
    return;
  }
  AttrList ic, preedit, status;
  GetICValue(core, ids, &ic, &preedit, &status);
  SetLists(&c, ic, preedit, status);
  const int handled = _Xi18nCallHandler(ims, call_data);
  ClearLists(&c);
  if (!handled) return;

  std::vector<WireAttr> attrs;
  for (int i = 0; i < ic.n; ++i) {
    attrs.push_back(WireAttr{static_cast<uint16_t>(ic.items[i].attribute_id),
                             EncodeICValue(ic.items[i], swap)});
  }
  if (preedit.n > 0) attrs.push_back(CreateNestedList(core->address.preeditAttr_id, preedit, swap));
  if (status.n > 0) attrs.push_back(CreateNestedList(core->address.statusAttr_id, status, swap));
  SendAttributes(ims, c.connect_id, im, c.icid, attrs, swap);
}
