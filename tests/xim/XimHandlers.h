// XimHandlers.h: a server core without an X server for the protocol
// handler tests. Messages go in through the dispatch exactly as the
// transport delivers them (header in host order, body in the client's
// order); everything the server sends, every call of the application's
// handler and every transport disconnect lands in one log, so a test can
// check their order. The application's handler keeps input contexts in the
// store as the program's glue does, and can send keys back.
//
// Include after <gtest/gtest.h>.
#pragma once

#include <X11/Xresource.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/xim/WireBytes.h"
#include "xim/ICStore.h"
#include "xim/XimServer.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nDispatch.h"

namespace ximtest {

struct Sent {
  uint16_t id;
  std::vector<uint8_t> bytes;  // header and body in the client's order
  uint8_t Major() const { return bytes.empty() ? 0 : bytes[0]; }
  std::vector<uint8_t> Body() const {
    return bytes.size() < 4 ? std::vector<uint8_t>{}
                            : std::vector<uint8_t>(bytes.begin() + 4, bytes.end());
  }
};

// What the fake world saw, in order: "send <major>", "handler <major>",
// "disconnect <id>".
struct World {
  std::vector<Sent> sent;
  std::vector<std::string> log;
  std::vector<IMProtocol> calls;                // copies of the records the handler got
  std::vector<std::vector<std::string>> names;  // attribute names per call: ic|preedit|status
  int sendBack = 0;                             // forward events to send back, then keep
};
inline World g_world;

inline int RecordSend(XIMS, uint16_t id, const uint8_t* msg, int length) {
  g_world.sent.push_back({id, std::vector<uint8_t>(msg, msg + length)});
  g_world.log.push_back("send " + std::to_string(msg[0]));
  return 1;
}

inline int FakeDisconnect(XIMS ims, uint16_t id) {
  g_world.log.push_back("disconnect " + std::to_string(id));
  _Xi18nDeleteClient(Xi18nOf(ims), id);
  return 1;
}

inline std::vector<std::string> Names(const IMChangeICStruct& c) {
  std::vector<std::string> out;
  for (int i = 0; i < c.ic_attr_num; ++i) out.push_back(std::string("ic:") + c.ic_attr[i].name);
  for (int i = 0; i < c.preedit_attr_num; ++i)
    out.push_back(std::string("pre:") + c.preedit_attr[i].name);
  for (int i = 0; i < c.status_attr_num; ++i)
    out.push_back(std::string("sts:") + c.status_attr[i].name);
  return out;
}

// The application: the input-context store, keys sent back on demand.
inline int GlueHandler(XIMS ims, IMProtocol* p) {
  g_world.log.push_back("handler " + std::to_string(p->major_code));
  g_world.calls.push_back(*p);
  g_world.names.push_back({});
  switch (p->major_code) {
    case XIM_OPEN:
      g_world.names.back() = {std::string(p->imopen.lang.name, p->imopen.lang.length)};
      return 1;
    case XIM_CREATE_IC: g_world.names.back() = Names(p->changeic); return CreateIC(&p->changeic);
    case XIM_SET_IC_VALUES: g_world.names.back() = Names(p->changeic); return SetIC(&p->changeic);
    case XIM_GET_IC_VALUES: g_world.names.back() = Names(p->changeic); return GetIC(&p->changeic);
    case XIM_DESTROY_IC: return DestroyIC(&p->destroyic);
    case XIM_DISCONNECT: DeleteClientICs(p->any.connect_id); return 1;
    case XIM_FORWARD_EVENT:
      if (g_world.sendBack > 0) {
        --g_world.sendBack;
        IMForwardEvent(ims, &p->forwardevent);
      }
      return 1;
    default: return 1;
  }
}

inline uint16_t Quark(const char* name) { return static_cast<uint16_t>(XrmStringToQuark(name)); }

// Appends one attribute: id, value length, value, padding to 4.
inline WireBytes& Attribute(WireBytes& w, uint16_t id, const std::vector<uint8_t>& value) {
  w.u16(id).u16(static_cast<uint32_t>(value.size()));
  w.str(std::string(value.begin(), value.end()));
  return w.zeros(static_cast<int>((4 - value.size() % 4) % 4));
}

// The program's trigger keys: a to z, Ctrl+Space, Control_L, Alt_L, F1, F10.
inline std::vector<XIMTriggerKey> ProgramTriggerKeys() {
  std::vector<XIMTriggerKey> keys;
  for (uint32_t c = 'a'; c <= 'z'; ++c) keys.push_back({c, 0, 0});
  keys.push_back({0x20, 4, 4});
  for (uint32_t k : {0xffe3u, 0xffe9u, 0xffbeu, 0xffc7u}) keys.push_back({k, 0, 0});
  return keys;
}

// The server values the program sets: one input style (over-the-spot, no
// status), COMPOUND_TEXT, the trigger keys, filter mask 3 and the handler.
class ProgramValues {
 public:
  ProgramValues() {
    m_keys = ProgramTriggerKeys();
    m_keyList = XIMTriggerKeys{static_cast<uint16_t>(m_keys.size()), m_keys.data()};
    m_styles.count_styles = 1;
    m_styles.supported_styles = &m_style;
    m_encodingNames[0] = const_cast<char*>("COMPOUND_TEXT");
    m_encodings = XIMEncodings{1, m_encodingNames};
  }
  ProgramValues(const ProgramValues&) = delete;
  ProgramValues& operator=(const ProgramValues&) = delete;
  // Null on success, else the name of the value that failed.
  const char* Set(XIMS ims, bool withTriggerKeys = true) {
    if (withTriggerKeys) {
      if (const char* bad = IMSetIMValues(ims, IMOnKeysList, &m_keyList, nullptr)) return bad;
    }
    return IMSetIMValues(ims, IMInputStyles, &m_styles, IMEncodingList, &m_encodings,
                         IMProtocolHandler, GlueHandler, IMFilterEventMask, 3, nullptr);
  }

 private:
  std::vector<XIMTriggerKey> m_keys;
  XIMTriggerKeys m_keyList{};
  XIMStyle m_style = 0x404;  // XIMPreeditPosition | XIMStatusNothing
  XIMStyles m_styles{};
  char* m_encodingNames[1] = {};
  XIMEncodings m_encodings{};
};

class ServerCore {
 public:
  // Opens a core on no display with the program's values.
  bool Open(bool withTriggerKeys = true) {
    g_world = World{};
    const auto args =
        ximargs::List(IMServerName, "T", IMLocale, "zh_CN", IMServerTransport, "X/", nullptr);
    m_core = static_cast<Xi18nCore*>(xi18n_setup(nullptr, args.data()));
    if (!m_core) return false;
    m_core->methods.send = RecordSend;
    m_core->methods.disconnect = FakeDisconnect;
    m_ims.methods = &Xi18n_im_methods;
    m_ims.protocol = m_core;
    return m_values.Set(&m_ims, withTriggerKeys) == nullptr;
  }
  ~ServerCore() {
    FreeICStore();
    _Xi18nFreeCore(m_core);
  }

  XIMS Ims() { return &m_ims; }
  Xi18nCore* Core() { return m_core; }

  // A connected client of the given byte order ('l' or 'B').
  uint16_t Connect(char order) {
    Xi18nClient* c = _Xi18nNewClient(m_core);
    c->byte_order = order;
    return static_cast<uint16_t>(c->connect_id);
  }

  // Delivers one message as the transport does; the body is padded to whole
  // units. Returns the keep flag (0: the server kept the message).
  int Deliver(uint16_t conn, uint8_t major, uint8_t minor, std::vector<uint8_t> body) {
    body.resize((body.size() + 3) / 4 * 4, 0);
    const uint16_t units = static_cast<uint16_t>(body.size() / 4);
    uint8_t* msg = static_cast<uint8_t*>(std::malloc(4 + body.size()));
    msg[0] = major;
    msg[1] = minor;
    std::memcpy(msg + 2, &units, 2);
    if (!body.empty()) std::memcpy(msg + 4, body.data(), body.size());
    int keep = 1;
    _Xi18nMessageHandler(&m_ims, conn, msg, static_cast<int>(4 + body.size()), &keep);
    if (keep) std::free(msg);
    return keep;
  }

 private:
  _XIMS m_ims{};
  Xi18nCore* m_core = nullptr;
  ProgramValues m_values;
};

}  // namespace ximtest
