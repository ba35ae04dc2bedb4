// The server core without an X server: values, clients, message framing
// and the messages the server starts itself, captured from a recording
// transport in place of the X one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/xim/WireBytes.h"
#include "xim/XimServer.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nDispatch.h"
#include "xim/internal/Xi18nWireEvent.h"

using ximtest::WireBytes;

namespace {

struct Sent {
  uint16_t id;
  std::vector<uint8_t> bytes;
};
std::vector<Sent> g_sent;

int RecordSend(XIMS, uint16_t id, const uint8_t* msg, int length) {
  g_sent.push_back({id, std::vector<uint8_t>(msg, msg + length)});
  return 1;
}

template <class... A>
std::vector<XIMArg> Args(A... args) {
  const auto list = ximargs::List(args...);
  return std::vector<XIMArg>(list.begin(), list.end());
}

int Handler(XIMS, IMProtocol*) { return 1; }

class Core : public testing::Test {
 protected:
  void SetUp() override {
    g_sent.clear();
    const std::vector<XIMArg> args =
        Args(IMServerName, "T", IMLocale, "zh_CN", IMServerTransport, "X/", nullptr);
    m_core = static_cast<Xi18nCore*>(xi18n_setup(nullptr, args.data()));
    ASSERT_NE(m_core, nullptr);
    m_core->methods.send = RecordSend;
    m_ims.methods = &Xi18n_im_methods;
    m_ims.protocol = m_core;
  }
  void TearDown() override { _Xi18nFreeCore(m_core); }

  Xi18nClient* Client(char order) {
    Xi18nClient* c = _Xi18nNewClient(m_core);
    c->byte_order = order;
    return c;
  }

  _XIMS m_ims{};
  Xi18nCore* m_core = nullptr;
};

// ---- values ----

TEST(Xi18nArgs, OpenNeedsLocaleTransportAndNameAndRefusesRepeats) {
  XIMStyles styles{};
  struct Case {
    std::vector<XIMArg> args;
    const char* want;
  } const cases[] = {
      {Args(IMServerName, "a", IMLocale, "zh_CN", IMServerTransport, "X/", nullptr), nullptr},
      {Args(IMServerName, "a", IMServerTransport, "X/", nullptr), "locale"},
      {Args(IMServerName, "a", IMLocale, "zh_CN", nullptr), "serverTransport"},
      {Args(IMLocale, "zh_CN", IMServerTransport, "X/", nullptr), "serverName"},
      {Args(IMServerName, "a", IMServerName, "b", IMLocale, "l", IMServerTransport, "X/", nullptr),
       "serverName"},
      {Args(IMInputStyles, &styles, IMInputStyles, &styles, nullptr), "inputStyles"},
      {Args(IMServerName, static_cast<const char*>(nullptr), nullptr), "serverName"},
      {Args("modifiers", "Xi18n", "unknownName", 5, IMServerName, "a", IMLocale, "l",
            IMServerTransport, "X/", nullptr),
       nullptr},
  };
  for (const Case& c : cases) {
    Xi18nAddressRec a{};
    const char* got = ParseArgs(&a, c.args.data(), Xi18nArgMode::Open);
    EXPECT_STREQ(got, c.want);
    FreeArgCopies(&a);
  }
}

TEST_F(Core, SetValuesOnceExceptTheHandlerAndWidenNumbers) {
  XIMTriggerKey first[1] = {{0x61, 0, 0}}, second[2] = {{0x62, 0, 0}, {0x63, 0, 0}};
  XIMTriggerKeys k1{1, first}, k2{2, second};
  EXPECT_EQ(IMSetIMValues(&m_ims, IMOnKeysList, &k1, nullptr), nullptr);
  EXPECT_STREQ(IMSetIMValues(&m_ims, IMOnKeysList, &k2, nullptr), "onKeysList");
  ASSERT_EQ(m_core->address.on_keys.count_keys, 1);
  EXPECT_EQ(m_core->address.on_keys.keylist[0].keysym, 0x61u);
  EXPECT_EQ(IMSetIMValues(&m_ims, IMProtocolHandler, Handler, nullptr), nullptr);
  EXPECT_EQ(IMSetIMValues(&m_ims, IMProtocolHandler, Handler, nullptr), nullptr);
  // An int mask travels as a full word, never with stray high bits.
  const int mask = 3;
  EXPECT_EQ(IMSetIMValues(&m_ims, IMFilterEventMask, mask, nullptr), nullptr);
  EXPECT_EQ(m_core->address.filterevent_mask, 3u);
  EXPECT_STREQ(IMSetIMValues(&m_ims, IMLocale, "again", nullptr), "locale");
}

TEST_F(Core, GetValuesReturnsCopiesOrTheNameNeverSet) {
  XIMTriggerKey rows[2] = {{0x61, 1, 2}, {0x20, 4, 4}};
  XIMTriggerKeys keys{2, rows};
  ASSERT_EQ(IMSetIMValues(&m_ims, IMOnKeysList, &keys, nullptr), nullptr);
  char* name = nullptr;
  XIMTriggerKeys* got = nullptr;
  EXPECT_EQ(IMGetIMValues(&m_ims, IMServerName, &name, IMOnKeysList, &got, nullptr), nullptr);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "T");
  ASSERT_NE(got, nullptr);
  ASSERT_EQ(got->count_keys, 2);
  EXPECT_EQ(got->keylist[1].modifier_mask, 4u);
  std::free(name);
  std::free(got);
  XIMTriggerKeys* off = nullptr;
  EXPECT_STREQ(IMGetIMValues(&m_ims, IMOffKeysList, &off, nullptr), "offKeysList");
  EXPECT_EQ(off, nullptr);
}

// ---- clients ----

TEST_F(Core, ConnectionIdsCountUpAndComeBackThroughTheFreeList) {
  EXPECT_EQ(_Xi18nNewClient(m_core)->connect_id, 1);
  EXPECT_EQ(_Xi18nNewClient(m_core)->connect_id, 2);
  Xi18nClient* third = _Xi18nNewClient(m_core);
  EXPECT_EQ(third->connect_id, 3);
  EXPECT_EQ(third->byte_order, '?');
  _Xi18nDeleteClient(m_core, 2);
  EXPECT_EQ(_Xi18nFindClient(m_core, 2), nullptr);
  EXPECT_EQ(_Xi18nNewClient(m_core)->connect_id, 2);
  EXPECT_EQ(_Xi18nNewClient(m_core)->connect_id, 4);
  _Xi18nDeleteClient(m_core, 99);  // unknown: nothing happens
  EXPECT_NE(_Xi18nFindClient(m_core, 3), nullptr);
}

TEST_F(Core, ByteOrderDecidesSwapping) {
  const bool hostBig = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
  Xi18nClient* same = Client(hostBig ? 'B' : 'l');
  Xi18nClient* other = Client(hostBig ? 'l' : 'B');
  Xi18nClient* unknown = Client('?');
  EXPECT_EQ(_Xi18nNeedSwap(m_core, same->connect_id), 0);
  EXPECT_EQ(_Xi18nNeedSwap(m_core, other->connect_id), 1);
  EXPECT_EQ(_Xi18nNeedSwap(m_core, unknown->connect_id), 0);
}

// ---- outgoing messages ----

TEST_F(Core, MessagesGetAHeaderInTheClientsByteOrder) {
  const uint16_t little = Client('l')->connect_id, big = Client('B')->connect_id;
  const uint8_t body[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(_Xi18nSendMessage(&m_ims, little, XIM_OPEN_REPLY, 0, body, 8), 1);
  ASSERT_EQ(_Xi18nSendMessage(&m_ims, big, XIM_OPEN_REPLY, 0, body, 8), 1);
  ASSERT_EQ(g_sent.size(), 2u);
  EXPECT_EQ(g_sent[0].bytes, (std::vector<uint8_t>{31, 0, 2, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(g_sent[1].bytes, (std::vector<uint8_t>{31, 0, 0, 2, 1, 2, 3, 4, 5, 6, 7, 8}));
  // A body that is not whole 4-byte units, or a connection that is gone,
  // sends nothing.
  EXPECT_EQ(_Xi18nSendMessage(&m_ims, little, XIM_OPEN_REPLY, 0, body, 6), 0);
  EXPECT_EQ(_Xi18nSendMessage(&m_ims, 77, XIM_OPEN_REPLY, 0, body, 8), 0);
  EXPECT_EQ(g_sent.size(), 2u);
}

XEvent KeyEvent(unsigned long serial) {
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.serial = serial;
  ev.xkey.keycode = 38;
  ev.xkey.time = 0x01020304;
  ev.xkey.root = 0x11;
  ev.xkey.window = 0x400005;
  ev.xkey.subwindow = 0;
  ev.xkey.x_root = 100;
  ev.xkey.y_root = 200;
  ev.xkey.x = -3;
  ev.xkey.y = 7;
  ev.xkey.state = ShiftMask | ControlMask;
  ev.xkey.same_screen = True;
  return ev;
}

TEST_F(Core, ForwardedKeySplitsItsSerialAndWaitsForTheSyncReply) {
  for (char order : {'l', 'B'}) {
    SCOPED_TRACE(order);
    g_sent.clear();
    Xi18nClient* c = Client(order);
    IMForwardEventStruct fwd{};
    fwd.major_code = XIM_FORWARD_EVENT;
    fwd.connect_id = static_cast<uint16_t>(c->connect_id);
    fwd.icid = 9;
    fwd.sync_bit = 0;
    fwd.event = KeyEvent(0x12345);
    ASSERT_EQ(IMForwardEvent(&m_ims, &fwd), 1);
    EXPECT_EQ(fwd.sync_bit, XimSYNCHRONUS);
    EXPECT_EQ(fwd.serial_number, 1);
    EXPECT_EQ(c->sync, 1);
    const bool big = order == 'B';
    const std::vector<uint8_t> want = WireBytes(big)
                                          .u8(XIM_FORWARD_EVENT)
                                          .u8(0)
                                          .u16(10)
                                          .u16(c->connect_id)
                                          .u16(9)
                                          .u16(1)
                                          .u16(1)
                                          .u8(KeyPress)
                                          .u8(38)
                                          .u16(0x2345)
                                          .u32(0x01020304)
                                          .u32(0x11)
                                          .u32(0x400005)
                                          .u32(0)
                                          .u16(100)
                                          .u16(200)
                                          .u16(0xfffd)
                                          .u16(7)
                                          .u16(ShiftMask | ControlMask)
                                          .u8(1)
                                          .u8(0)
                                          .bytes();
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0].bytes, want);
  }
  IMForwardEventStruct gone{};
  gone.connect_id = 200;
  EXPECT_EQ(IMForwardEvent(&m_ims, &gone), 0);
}

TEST_F(Core, CommitOfCharsAddsTheSyncFlag) {
  const uint16_t id = Client('l')->connect_id;
  char text[] = "\x1b\x24\x29\x41\xc4\xe3";  // a short COMPOUND_TEXT string
  IMCommitStruct commit{};
  commit.connect_id = id;
  commit.icid = 4;
  commit.flag = XimLookupChars;
  commit.commit_string = text;
  ASSERT_EQ(IMCommitString(&m_ims, &commit), 1);
  EXPECT_EQ(commit.flag, 3);
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].bytes, WireBytes(false)
                                 .u8(XIM_COMMIT)
                                 .u8(0)
                                 .u16(4)
                                 .u16(id)
                                 .u16(4)
                                 .u16(3)
                                 .u16(6)
                                 .str(text)
                                 .zeros(2)
                                 .bytes());
}

TEST_F(Core, CommitOfAKeysymUsesTheLongForm) {
  const uint16_t id = Client('B')->connect_id;
  struct Case {
    uint16_t flag;
    const char* text;
    std::vector<uint8_t> body;
  } const cases[] = {
      {XimLookupKeySym, "",
       WireBytes(true).u16(id).u16(4).u16(5).zeros(2).u32(0xff0d).zeros(4).bytes()},
      {XimLookupBoth, "ab",
       WireBytes(true).u16(id).u16(4).u16(7).zeros(2).u32(0xff0d).u16(2).str("ab").bytes()},
  };
  for (const Case& c : cases) {
    g_sent.clear();
    IMCommitStruct commit{};
    commit.connect_id = id;
    commit.icid = 4;
    commit.flag = c.flag;
    commit.keysym = 0xff0d;
    commit.commit_string = const_cast<char*>(c.text);
    ASSERT_EQ(IMCommitString(&m_ims, &commit), 1);
    ASSERT_EQ(g_sent.size(), 1u);
    const std::vector<uint8_t> body(g_sent[0].bytes.begin() + 4, g_sent[0].bytes.end());
    EXPECT_EQ(body, c.body);
  }
}

TEST_F(Core, TriggerKeysAndEventMasks) {
  const uint16_t id = Client('l')->connect_id;
  IMProtocol p{};
  p.preedit_state.connect_id = id;
  p.preedit_state.icid = 2;
  // No trigger keys: neither the key list nor forwarding is sent.
  _Xi18nSendTriggerKey(&m_ims, id);
  EXPECT_EQ(IMPreeditStart(&m_ims, &p), 0);
  EXPECT_TRUE(g_sent.empty());

  XIMTriggerKey rows[1] = {{0x20, 4, 4}};
  XIMTriggerKeys keys{1, rows};
  ASSERT_EQ(IMSetIMValues(&m_ims, IMOnKeysList, &keys, IMFilterEventMask, 3, nullptr), nullptr);
  _Xi18nSendTriggerKey(&m_ims, id);
  EXPECT_EQ(IMPreeditStart(&m_ims, &p), 1);
  EXPECT_EQ(IMPreeditEnd(&m_ims, &p), 1);
  ASSERT_EQ(g_sent.size(), 3u);
  EXPECT_EQ(g_sent[0].bytes, WireBytes(false)
                                 .u8(XIM_REGISTER_TRIGGERKEYS)
                                 .u8(0)
                                 .u16(6)
                                 .u16(0)
                                 .zeros(2)
                                 .u32(12)
                                 .u32(0x20)
                                 .u32(4)
                                 .u32(4)
                                 .u32(0)
                                 .bytes());
  EXPECT_EQ(
      g_sent[1].bytes,
      WireBytes(false).u8(XIM_SET_EVENT_MASK).u8(0).u16(3).u16(id).u16(2).u32(3).u32(~3u).bytes());
  EXPECT_EQ(
      g_sent[2].bytes,
      WireBytes(false).u8(XIM_SET_EVENT_MASK).u8(0).u16(3).u16(id).u16(2).u32(0).u32(0).bytes());
}

// ---- the wire event ----

TEST(Xi18nWireEvent, KeyEventsSurviveTheWireInBothOrders) {
  for (int swap : {0, 1}) {
    XEvent in = KeyEvent(0xabcdef);
    uint8_t wire[kWireEventSize];
    uint16_t high = 0;
    EventToWireEvent(&in, wire, &high, swap);
    EXPECT_EQ(high, 0xab);
    XEvent out;
    ASSERT_EQ(WireEventToEvent(nullptr, wire, high, swap, &out), 1);
    EXPECT_EQ(out.xkey.type, KeyPress);
    EXPECT_EQ(out.xkey.serial, 0xabcdefu);
    EXPECT_EQ(out.xkey.keycode, 38u);
    EXPECT_EQ(out.xkey.window, 0x400005u);
    EXPECT_EQ(out.xkey.root, 0x11u);
    EXPECT_EQ(out.xkey.time, 0x01020304u);
    EXPECT_EQ(out.xkey.x, -3);
    EXPECT_EQ(out.xkey.y, 7);
    EXPECT_EQ(out.xkey.state, static_cast<unsigned>(ShiftMask | ControlMask));
  }
  XEvent motion{};
  motion.type = MotionNotify;
  motion.xany.serial = 5;
  uint8_t wire[kWireEventSize];
  uint16_t high = 0;
  EventToWireEvent(&motion, wire, &high, 0);
  XEvent out;
  EXPECT_EQ(WireEventToEvent(nullptr, wire, high, 0, &out), 0);
}

// ---- dispatch ----

std::vector<std::string> g_calls;

void RecordProc(XIMS, IMProtocol* call, const Xi18nMessage& msg, int* keep) {
  g_calls.push_back(
      std::to_string(call->any.major_code) + "/" + std::to_string(call->any.minor_code) + " conn " +
      std::to_string(call->any.connect_id) + " body " + std::to_string(msg.BodyLength()));
}

TEST_F(Core, DispatchRoutesWholeMessagesOfKnownClientsOnly) {
  g_calls.clear();
  const uint16_t id = Client('l')->connect_id;
  Xi18nMessageProc old = _Xi18nSetMessageProc(XIM_QUERY_EXTENSION, RecordProc);
  auto deliver = [&](uint16_t conn, std::vector<uint8_t> m) {
    int keep = 1;
    _Xi18nMessageHandler(&m_ims, conn, m.data(), static_cast<int>(m.size()), &keep);
    EXPECT_EQ(keep, 1);
  };
  const uint16_t one = 1;  // header lengths are in host order here
  std::vector<uint8_t> good = {XIM_QUERY_EXTENSION, 0, 0, 0, 1, 0, 0, 0};
  std::memcpy(&good[2], &one, 2);
  deliver(id, good);
  deliver(id + 50, good);                                           // unknown connection
  deliver(id, std::vector<uint8_t>(good.begin(), good.end() - 1));  // shorter than its header
  std::vector<uint8_t> other = good;
  other[0] = XIM_SET_IM_VALUES;  // no procedure
  deliver(id, other);
  _Xi18nSetMessageProc(XIM_QUERY_EXTENSION, old);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"40/0 conn 1 body 4"}));
}

}  // namespace
