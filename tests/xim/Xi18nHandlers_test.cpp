// The protocol handlers without an X server: each request's reply, the
// order of replies and handler calls, the sync queue, attribute values in
// both byte orders, disconnect cleanup and malformed messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/xim/WireBytes.h"
#include "tests/xim/XimHandlers.h"

using ximtest::Attribute;
using ximtest::g_world;
using ximtest::Quark;
using ximtest::ServerCore;
using ximtest::WireBytes;

namespace {

constexpr const char* kOrders = "lB";

std::vector<uint8_t> Str8List(bool big, uint16_t im, const std::vector<std::string>& names) {
  WireBytes list(big);
  for (const std::string& n : names) list.u8(static_cast<uint32_t>(n.size())).str(n);
  WireBytes w(big);
  w.u16(im)
      .u16(static_cast<uint32_t>(list.size()))
      .str(std::string(list.bytes().begin(), list.bytes().end()));
  return w.zeros(static_cast<int>((4 - w.size() % 4) % 4)).bytes();
}

std::vector<uint8_t> Header(bool big, uint8_t major, const std::vector<uint8_t>& body) {
  WireBytes w(big);
  w.u8(major).u8(0).u16(static_cast<uint32_t>(body.size() / 4));
  std::vector<uint8_t> out = w.bytes();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> U32(bool big, uint32_t v) { return WireBytes(big).u32(v).bytes(); }

// A 32-byte wire key event in the given order.
std::vector<uint8_t> WireKey(bool big, uint8_t type, uint8_t keycode, uint16_t sequence) {
  return WireBytes(big)
      .u8(type)
      .u8(keycode)
      .u16(sequence)
      .u32(1000)
      .u32(0x11)
      .u32(0x400001)
      .u32(0)
      .u16(5)
      .u16(6)
      .u16(7)
      .u16(8)
      .u16(ShiftMask)
      .u8(1)
      .u8(0)
      .bytes();
}

std::vector<uint8_t> ForwardBody(bool big, uint16_t im, uint16_t ic, uint8_t keycode,
                                 uint8_t type = KeyPress) {
  WireBytes w(big);
  w.u16(im).u16(ic).u16(0).u16(0);
  std::vector<uint8_t> out = w.bytes();
  const std::vector<uint8_t> ev = WireKey(big, type, keycode, keycode);
  out.insert(out.end(), ev.begin(), ev.end());
  return out;
}

// The create request of an over-the-spot client: three IC values and a
// preedit list with a spot location and a font set.
std::vector<uint8_t> CreateBody(bool big, uint16_t im) {
  WireBytes font(big);
  font.u16(13).str("-misc-fixed-*").zeros(1);
  WireBytes pre(big);
  Attribute(pre, Quark("spotLocation"), WireBytes(big).u16(10).u16(20).bytes());
  Attribute(pre, Quark("fontSet"), font.bytes());
  WireBytes attrs(big);
  Attribute(attrs, Quark("inputStyle"), U32(big, 0x404));
  Attribute(attrs, Quark("clientWindow"), U32(big, 0x1234567));
  Attribute(attrs, Quark("focusWindow"), U32(big, 0x89abcdef));
  Attribute(attrs, Quark("preeditAttributes"), pre.bytes());
  WireBytes w(big);
  w.u16(im).u16(static_cast<uint32_t>(attrs.size()));
  std::vector<uint8_t> out = w.bytes();
  out.insert(out.end(), attrs.bytes().begin(), attrs.bytes().end());
  return out;
}

std::vector<uint8_t> GetBody(bool big, uint16_t im, uint16_t ic, const std::vector<uint16_t>& ids) {
  WireBytes w(big);
  w.u16(im).u16(ic).u16(static_cast<uint32_t>(ids.size() * 2));
  for (uint16_t id : ids) w.u16(id);
  return w.zeros(static_cast<int>((4 - (w.size() - 2) % 4) % 4)).bytes();
}

std::vector<uint8_t> Ids(bool big, uint16_t im, uint16_t ic) {
  return WireBytes(big).u16(im).u16(ic).bytes();
}

// Creates an input context and returns its id (0 when none came back).
uint16_t Create(ServerCore& s, uint16_t conn, bool big) {
  const size_t before = g_world.sent.size();
  s.Deliver(conn, XIM_CREATE_IC, 0, CreateBody(big, conn));
  for (size_t i = before; i < g_world.sent.size(); ++i) {
    const ximtest::Sent& m = g_world.sent[i];
    if (m.Major() == XIM_CREATE_IC_REPLY) {
      const std::vector<uint8_t> b = m.Body();
      return static_cast<uint16_t>(big ? (b[2] << 8 | b[3]) : (b[3] << 8 | b[2]));
    }
  }
  return 0;
}

class Handlers : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_server.Open()); }
  ServerCore m_server;
};

// ---- replies ----

TEST_F(Handlers, EachRequestGetsItsReply) {
  for (const char order : std::string(kOrders)) {
    SCOPED_TRACE(order);
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    const uint16_t ic = Create(m_server, c, big);
    ASSERT_NE(ic, 0);
    struct Case {
      const char* what;
      uint8_t major;
      std::vector<uint8_t> body;
      std::vector<std::vector<uint8_t>> want;  // whole messages, in order
    } const cases[] = {
        {"connect",
         XIM_CONNECT,
         WireBytes(big).u8(order).u8(0).u16(1).u16(0).u16(0).bytes(),
         {Header(big, XIM_CONNECT_REPLY, WireBytes(big).u16(1).u16(0).bytes())}},
        {"close",
         XIM_CLOSE,
         WireBytes(big).u16(c).zeros(2).bytes(),
         {Header(big, XIM_CLOSE_REPLY, WireBytes(big).u16(c).zeros(2).bytes())}},
        {"reset",
         XIM_RESET_IC,
         Ids(big, c, ic),
         {Header(big, XIM_RESET_IC_REPLY, WireBytes(big).u16(c).u16(ic).u16(0).zeros(2).bytes())}},
        {"set focus", XIM_SET_IC_FOCUS, Ids(big, c, ic), {}},
        {"unset focus", XIM_UNSET_IC_FOCUS, Ids(big, c, ic), {}},
        {"set values",
         XIM_SET_IC_VALUES,
         WireBytes(big).u16(c).u16(ic).u16(0).zeros(2).bytes(),
         {Header(big, XIM_SET_IC_VALUES_REPLY, Ids(big, c, ic))}},
        {"get im values",
         XIM_GET_IM_VALUES,
         WireBytes(big).u16(c).u16(4).u16(Quark("queryInputStyle")).u16(999).bytes(),
         {Header(big, XIM_GET_IM_VALUES_REPLY,
                 WireBytes(big)
                     .u16(c)
                     .u16(12)
                     .u16(Quark("queryInputStyle"))
                     .u16(8)
                     .u16(1)
                     .zeros(2)
                     .u32(0x404)
                     .bytes())}},
        {"query all extensions",
         XIM_QUERY_EXTENSION,
         Str8List(big, c, {}),
         {Header(big, XIM_QUERY_EXTENSION_REPLY,
                 WireBytes(big)
                     .u16(c)
                     .u16(72)
                     .u8(128)
                     .u8(51)
                     .u16(12)
                     .str("XIM_EXT_MOVE")
                     .u8(128)
                     .u8(48)
                     .u16(22)
                     .str("XIM_EXT_SET_EVENT_MASK")
                     .zeros(2)
                     .u8(128)
                     .u8(50)
                     .u16(24)
                     .str("XIM_EXT_FORWARD_KEYEVENT")
                     .bytes())}},
        {"query one extension",
         XIM_QUERY_EXTENSION,
         Str8List(big, c, {"XIM_EXT_MOVE", "nope"}),
         {Header(
             big, XIM_QUERY_EXTENSION_REPLY,
             WireBytes(big).u16(c).u16(16).u8(128).u8(51).u16(12).str("XIM_EXT_MOVE").bytes())}},
        {"destroy",
         XIM_DESTROY_IC,
         Ids(big, c, ic),
         {Header(big, XIM_DESTROY_IC_REPLY, Ids(big, c, ic))}},
        {"disconnect", XIM_DISCONNECT, {}, {Header(big, XIM_DISCONNECT_REPLY, {})}},
    };
    for (const Case& k : cases) {
      SCOPED_TRACE(k.what);
      g_world.sent.clear();
      m_server.Deliver(c, k.major, 0, k.body);
      std::vector<std::vector<uint8_t>> got;
      for (const ximtest::Sent& m : g_world.sent) got.push_back(m.bytes);
      EXPECT_EQ(got, k.want);
    }
    EXPECT_EQ(_Xi18nFindClient(m_server.Core(), c), nullptr);
  }
}

TEST_F(Handlers, OpenRegistersTriggerKeysThenListsTheAttributes) {
  for (const char order : std::string(kOrders)) {
    SCOPED_TRACE(order);
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    g_world.sent.clear();
    g_world.log.clear();
    m_server.Deliver(c, XIM_OPEN, 0, WireBytes(big).u8(9).str("zh_CN.GBK").zeros(2).bytes());
    ASSERT_EQ(g_world.log, (std::vector<std::string>{"handler 30", "send 34", "send 31"}));
    EXPECT_EQ(g_world.names[0], std::vector<std::string>{"zh_CN.GBK"});
    // 31 keys of three words after the id, padding and the list's length.
    EXPECT_EQ(g_world.sent[0].bytes.size(), 4u + 8 + 31 * 12 + 4);
    const std::vector<uint8_t> reply = g_world.sent[1].Body();
    const std::vector<uint8_t> head = WireBytes(big)
                                          .u16(c)
                                          .u16(24)
                                          .u16(Quark("queryInputStyle"))
                                          .u16(10)
                                          .u16(15)
                                          .str("queryInputStyle")
                                          .zeros(3)
                                          .bytes();
    ASSERT_GT(reply.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + head.size()), head);
    // The IC list: 18 attributes, the first "inputStyle" of type CARD32.
    const std::vector<uint8_t> first =
        WireBytes(big).zeros(4).u16(Quark("inputStyle")).u16(3).u16(10).str("inputStyle").bytes();
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + head.size() + 4,
                                   reply.begin() + head.size() + 4 + 6 + 10),
              std::vector<uint8_t>(first.begin() + 4, first.end()));
    int nIC = 0;
    for (size_t off = head.size() + 4; off + 6 <= reply.size(); ++nIC) {
      const size_t len =
          big ? (reply[off + 4] << 8 | reply[off + 5]) : (reply[off + 5] << 8 | reply[off + 4]);
      off += 6 + len + (4 - (6 + len) % 4) % 4;
    }
    EXPECT_EQ(nIC, 18);
  }
}

TEST_F(Handlers, EncodingNegotiationPicksCompoundTextOrAnswersNone) {
  struct Case {
    std::vector<std::string> names;
    int16_t want;
  } cases[] = {
      {{"STRING", "COMPOUND_TEXT"}, 1},
      {{"COMPOUND_TEXT"}, 0},
      {{"STRING"}, -1},
      {{}, -1},
      // Only the first ten names are looked at.
      {{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "COMPOUND_TEXT"}, -1},
  };
  for (const char order : std::string(kOrders)) {
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    for (const Case& k : cases) {
      SCOPED_TRACE(testing::Message() << order << " " << k.names.size() << " names");
      std::vector<uint8_t> body = Str8List(big, c, k.names);
      const std::vector<uint8_t> info =
          WireBytes(big).u16(8).zeros(2).u16(2).str("xx").zeros(2).bytes();
      body.insert(body.end(), info.begin(), info.end());
      g_world.sent.clear();
      m_server.Deliver(c, XIM_ENCODING_NEGOTIATION, 0, body);
      ASSERT_EQ(g_world.sent.size(), 1u);
      EXPECT_EQ(
          g_world.sent[0].bytes,
          Header(big, XIM_ENCODING_NEGOTIATION_REPLY,
                 WireBytes(big).u16(c).u16(0).u16(static_cast<uint16_t>(k.want)).zeros(2).bytes()));
    }
  }
}

// Forwarding starts before the reply, so that a client reads the event mask
// while it waits for the reply and forwards the keys queued behind the
// trigger.
TEST_F(Handlers, TriggerNotifyStartsForwardingAndRepliesBeforeTheApplicationHearsIt) {
  const uint16_t c = m_server.Connect('B');
  const uint16_t ic = Create(m_server, c, true);
  struct Case {
    uint32_t flag, index;
    std::vector<std::string> log;
  } const cases[] = {
      {0, 3, {"send 37", "send 36", "handler 35"}},       // 'b'
      {0, 30 * 3, {"send 37", "send 36", "handler 35"}},  // F10, the last key
      {0, 31 * 3, {"send 20"}},                           // past the list
      {0, 0xffffffffu, {"send 20"}},
      {1, 0, {"send 20"}},  // no off keys
      {7, 0, {"send 20"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.flag << " " << k.index);
    g_world.log.clear();
    g_world.sent.clear();
    m_server.Deliver(c, XIM_TRIGGER_NOTIFY, 0,
                     WireBytes(true).u16(c).u16(ic).u32(k.flag).u32(k.index).u32(3).bytes());
    EXPECT_EQ(g_world.log, k.log);
    if (k.log.size() == 3) {
      EXPECT_EQ(
          g_world.sent[0].bytes,
          Header(true, XIM_SET_EVENT_MASK, WireBytes(true).u16(c).u16(ic).u32(3).u32(~3u).bytes()));
      EXPECT_EQ(g_world.calls.back().triggernotify.key_index, k.index);
    }
  }
}

// ---- attributes ----

TEST_F(Handlers, NestedCreateReachesTheStoreInEitherByteOrder) {
  for (const char order : std::string(kOrders)) {
    SCOPED_TRACE(order);
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    g_world.names.clear();
    const uint16_t id = Create(m_server, c, big);
    ASSERT_NE(id, 0);
    EXPECT_EQ(g_world.names.back(),
              (std::vector<std::string>{"ic:inputStyle", "ic:clientWindow", "ic:focusWindow",
                                        "pre:spotLocation", "pre:fontSet"}));
    const IC* rec = FindIC(id);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->connect_id, c);
    EXPECT_EQ(rec->input_style, 0x404u);
    EXPECT_EQ(rec->client_win, 0x1234567u);
    EXPECT_EQ(rec->focus_win, 0x89abcdefu);  // widened, never sign-extended
    EXPECT_EQ(rec->pre_attr.spot_location.x, 10);
    EXPECT_EQ(rec->pre_attr.spot_location.y, 20);
    ASSERT_NE(rec->pre_attr.base_font, nullptr);
    EXPECT_STREQ(rec->pre_attr.base_font, "-misc-fixed-*");
  }
}

TEST_F(Handlers, NestedGetAnswersKnownIdsInTheClientsOrder) {
  for (const char order : std::string(kOrders)) {
    SCOPED_TRACE(order);
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    const uint16_t ic = Create(m_server, c, big);
    // A line space the client sets is not what it reads back.
    WireBytes pre(big);
    Attribute(pre, Quark("lineSpace"), U32(big, 12));
    WireBytes set(big);
    Attribute(set, Quark("preeditAttributes"), pre.bytes());
    WireBytes setBody(big);
    setBody.u16(c)
        .u16(ic)
        .u16(static_cast<uint32_t>(set.size()))
        .zeros(2)
        .str(std::string(set.bytes().begin(), set.bytes().end()));
    m_server.Deliver(c, XIM_SET_IC_VALUES, 0, setBody.bytes());

    g_world.sent.clear();
    const uint16_t sep = Quark("separatorofNestedList");
    m_server.Deliver(c, XIM_GET_IC_VALUES, 0,
                     GetBody(big, c, ic,
                             {Quark("preeditAttributes"), Quark("spotLocation"), Quark("lineSpace"),
                              sep, Quark("filterEvents"), 999}));
    WireBytes members(big);
    Attribute(members, Quark("spotLocation"), WireBytes(big).u16(10).u16(20).bytes());
    Attribute(members, Quark("lineSpace"), U32(big, 18));
    WireBytes attrs(big);
    Attribute(attrs, sep, {});
    Attribute(attrs, Quark("filterEvents"), U32(big, 3));
    Attribute(attrs, Quark("preeditAttributes"), members.bytes());
    WireBytes body(big);
    body.u16(c)
        .u16(ic)
        .u16(static_cast<uint32_t>(attrs.size()))
        .zeros(2)
        .str(std::string(attrs.bytes().begin(), attrs.bytes().end()));
    ASSERT_EQ(g_world.sent.size(), 1u);
    EXPECT_EQ(g_world.sent[0].bytes, Header(big, XIM_GET_IC_VALUES_REPLY, body.bytes()));
  }
}

TEST_F(Handlers, GetOfAFontSetNeverGivenAnswersAnEmptyName) {
  const uint16_t c = m_server.Connect('l');
  m_server.Deliver(c, XIM_CREATE_IC, 0, WireBytes(false).u16(c).u16(0).bytes());
  ASSERT_NE(ic_list, nullptr);
  const uint16_t ic = ic_list->id;
  g_world.sent.clear();
  m_server.Deliver(
      c, XIM_GET_IC_VALUES, 0,
      GetBody(false, c, ic, {Quark("statusAttributes"), Quark("fontSet"), Quark("area")}));
  WireBytes members(false);
  Attribute(members, Quark("fontSet"), WireBytes(false).u16(0).zeros(2).bytes());
  Attribute(members, Quark("area"), WireBytes(false).zeros(8).bytes());
  WireBytes attrs(false);
  Attribute(attrs, Quark("statusAttributes"), members.bytes());
  ASSERT_EQ(g_world.sent.size(), 1u);
  EXPECT_EQ(g_world.sent[0].Body(),
            WireBytes(false)
                .u16(c)
                .u16(ic)
                .u16(static_cast<uint32_t>(attrs.size()))
                .zeros(2)
                .str(std::string(attrs.bytes().begin(), attrs.bytes().end()))
                .bytes());
}

// ---- key events and the sync queue ----

TEST_F(Handlers, KeysWaitForTheSyncReplyAndStopWhenOneGoesBack) {
  for (const char order : std::string(kOrders)) {
    SCOPED_TRACE(order);
    const bool big = order == 'B';
    const uint16_t c = m_server.Connect(order);
    const uint16_t ic = Create(m_server, c, big);
    auto forward = [&](uint8_t key) {
      return m_server.Deliver(c, XIM_FORWARD_EVENT, 0, ForwardBody(big, c, ic, key));
    };
    auto keysSeen = [&] {
      std::string s;
      for (const IMProtocol& p : g_world.calls) {
        if (p.major_code == XIM_FORWARD_EVENT)
          s += static_cast<char>(p.forwardevent.event.xkey.keycode);
      }
      return s;
    };
    g_world.calls.clear();
    g_world.sendBack = 1;  // 'A' goes back: the client must now answer
    EXPECT_EQ(forward('A'), 1);
    Xi18nClient* client = _Xi18nFindClient(m_server.Core(), c);
    ASSERT_EQ(client->sync, 1);
    EXPECT_EQ(forward('B'), 0);  // queued: the queue owns the message
    EXPECT_EQ(forward('C'), 0);
    EXPECT_EQ(forward('D'), 0);
    EXPECT_EQ(keysSeen(), "A");
    g_world.sendBack = 1;  // 'B' goes back as well: C and D keep waiting
    m_server.Deliver(c, XIM_SYNC_REPLY, 0, Ids(big, c, ic));
    EXPECT_EQ(keysSeen(), "AB");
    EXPECT_EQ(client->sync, 1);
    m_server.Deliver(c, XIM_SYNC_REPLY, 0, Ids(big, c, ic));
    EXPECT_EQ(keysSeen(), "ABCD");
    EXPECT_EQ(client->sync, 0);
    EXPECT_EQ(client->pending, nullptr);
    // The key that went back is the client's own, in its byte order.
    const ximtest::Sent& back = g_world.sent.back();
    EXPECT_EQ(back.Major(), XIM_FORWARD_EVENT);
    const std::vector<uint8_t> wantEvent = WireKey(big, KeyPress, 'B', 'B');
    const std::vector<uint8_t> body = back.Body();
    ASSERT_EQ(body.size(), 40u);
    EXPECT_EQ(body[8], KeyPress);
    EXPECT_EQ(body[9], 'B');
    EXPECT_EQ(std::vector<uint8_t>(body.begin() + 8 + 12, body.begin() + 8 + 16),
              std::vector<uint8_t>(wantEvent.begin() + 12, wantEvent.begin() + 16));  // window
  }
}

TEST_F(Handlers, DisconnectFreesTheQueueAndTheConnectionsContextsOnly) {
  const uint16_t a = m_server.Connect('l'), b = m_server.Connect('B');
  const uint16_t a1 = Create(m_server, a, false), a2 = Create(m_server, a, false);
  const uint16_t b1 = Create(m_server, b, true);
  g_world.sendBack = 1;
  m_server.Deliver(a, XIM_FORWARD_EVENT, 0, ForwardBody(false, a, a1, 'x'));
  EXPECT_EQ(m_server.Deliver(a, XIM_FORWARD_EVENT, 0, ForwardBody(false, a, a1, 'y')), 0);
  g_world.log.clear();
  m_server.Deliver(a, XIM_DISCONNECT, 0, {});
  EXPECT_EQ(g_world.log,
            (std::vector<std::string>{"send 4", "handler 3", "disconnect " + std::to_string(a)}));
  EXPECT_EQ(FindIC(a1), nullptr);
  EXPECT_EQ(FindIC(a2), nullptr);
  EXPECT_NE(FindIC(b1), nullptr);
  EXPECT_EQ(_Xi18nFindClient(m_server.Core(), a), nullptr);
  // A late message for the gone connection is dropped.
  g_world.log.clear();
  m_server.Deliver(a, XIM_SYNC_REPLY, 0, Ids(false, a, a1));
  EXPECT_TRUE(g_world.log.empty());
  // The other client still works.
  g_world.sent.clear();
  m_server.Deliver(b, XIM_DESTROY_IC, 0, Ids(true, b, b1));
  ASSERT_EQ(g_world.sent.size(), 1u);
  EXPECT_EQ(g_world.sent[0].Major(), XIM_DESTROY_IC_REPLY);
}

TEST_F(Handlers, UnknownOrForeignContextIdsGetNoReply) {
  const uint16_t a = m_server.Connect('l'), b = m_server.Connect('l');
  const uint16_t mine = Create(m_server, a, false);
  for (const uint16_t ic : {static_cast<uint16_t>(mine + 100), mine}) {
    g_world.sent.clear();
    m_server.Deliver(b, XIM_DESTROY_IC, 0, Ids(false, b, ic));
    m_server.Deliver(b, XIM_SET_IC_VALUES, 0,
                     WireBytes(false).u16(b).u16(ic).u16(0).zeros(2).bytes());
    m_server.Deliver(b, XIM_GET_IC_VALUES, 0, GetBody(false, b, ic, {Quark("filterEvents")}));
    EXPECT_TRUE(g_world.sent.empty());
  }
  EXPECT_NE(FindIC(mine), nullptr);
}

TEST_F(Handlers, ExtensionKeyEventsAndMoves) {
  const uint16_t c = m_server.Connect('B');
  g_world.calls.clear();
  g_world.sent.clear();
  m_server.Deliver(c, XIM_EXTENSION, XIM_EXT_FORWARD_KEYEVENT,
                   WireBytes(true)
                       .u16(c)
                       .u16(1)
                       .u16(0)
                       .u16(77)
                       .u8(KeyPress)
                       .u8(38)
                       .u16(4)
                       .u32(1234)
                       .u32(0x400009)
                       .bytes());
  m_server.Deliver(c, XIM_EXTENSION, XIM_EXT_FORWARD_KEYEVENT,
                   WireBytes(true)
                       .u16(c)
                       .u16(1)
                       .u16(0)
                       .u16(78)
                       .u8(KeyRelease)
                       .u8(38)
                       .u16(4)
                       .u32(1234)
                       .u32(0x400009)
                       .bytes());
  m_server.Deliver(c, XIM_EXTENSION, XIM_EXT_MOVE,
                   WireBytes(true).u16(c).u16(1).u16(0xfffe).u16(9).bytes());
  ASSERT_EQ(g_world.calls.size(), 2u);
  const XKeyEvent& k = g_world.calls[0].forwardevent.event.xkey;
  EXPECT_EQ(g_world.calls[0].major_code, XIM_EXTENSION);
  EXPECT_EQ(k.type, KeyPress);
  EXPECT_EQ(k.keycode, 38u);
  EXPECT_EQ(k.serial, 77u);
  EXPECT_EQ(k.window, 0x400009u);
  EXPECT_TRUE(k.send_event);
  EXPECT_EQ(g_world.calls[1].extmove.x, -2);
  EXPECT_EQ(g_world.calls[1].extmove.y, 9);
  ASSERT_EQ(g_world.sent.size(), 1u);
  EXPECT_EQ(g_world.sent[0].Major(), XIM_ERROR);
}

TEST_F(Handlers, WithoutTriggerKeysACreatedContextForwardsAtOnce) {
  ServerCore plain;
  ASSERT_TRUE(plain.Open(false));
  const uint16_t c = plain.Connect('l');
  g_world.sent.clear();
  const uint16_t ic = Create(plain, c, false);
  ASSERT_EQ(g_world.sent.size(), 2u);
  EXPECT_EQ(g_world.sent[1].bytes, Header(false, XIM_SET_EVENT_MASK,
                                          WireBytes(false).u16(c).u16(ic).u32(3).u32(~3u).bytes()));
}

// ---- hostile messages ----

std::vector<uint8_t> CreateWith(bool big, uint16_t im, const std::vector<uint8_t>& attrs,
                                int claimed = -1) {
  WireBytes w(big);
  w.u16(im).u16(static_cast<uint32_t>(claimed < 0 ? attrs.size() : claimed));
  std::vector<uint8_t> out = w.bytes();
  out.insert(out.end(), attrs.begin(), attrs.end());
  return out;
}

std::vector<uint8_t> Raw(std::initializer_list<std::pair<uint16_t, std::vector<uint8_t>>> attrs,
                         bool big = false) {
  WireBytes w(big);
  for (const auto& a : attrs) Attribute(w, a.first, a.second);
  return w.bytes();
}

TEST_F(Handlers, MalformedMessagesAreRefusedAndTheNextSessionWorks) {
  const uint16_t c = m_server.Connect('l');
  const uint16_t style = Quark("inputStyle"), font = Quark("fontSet"),
                 pre = Quark("preeditAttributes");
  std::vector<uint8_t> manyAttrs;
  for (int i = 0; i < 70; ++i) {
    const std::vector<uint8_t> one = Raw({{style, U32(false, static_cast<uint32_t>(i))}});
    manyAttrs.insert(manyAttrs.end(), one.begin(), one.end());
  }
  std::vector<uint16_t> manyIds(70, Quark("filterEvents"));
  const uint16_t live = Create(m_server, c, false);
  struct Case {
    const char* what;
    uint8_t major, minor;
    std::vector<uint8_t> body;
    std::vector<std::string> names;  // what the handler saw; "-" when not called
    std::vector<uint8_t> replies;    // majors sent
  } const cases[] = {
      {"open locale longer than the body", XIM_OPEN, 0, {200, 'z', 'h', 0}, {"-"}, {}},
      {"open without a body", XIM_OPEN, 0, {}, {"-"}, {}},
      {"create list longer than the body",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c, Raw({{style, U32(false, 1)}}), 400),
       {"-"},
       {}},
      {"create value longer than the list",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c, WireBytes(false).u16(style).u16(300).u32(1).bytes()),
       {"-"},
       {}},
      {"CARD32 of two bytes",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c, Raw({{style, {1, 2}}})),
       {},
       {XIM_CREATE_IC_REPLY}},
      {"font name past its value",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c,
                  Raw({{pre, Raw({{font, WireBytes(false).u16(40).str("abc").bytes()}})}})),
       {},
       {XIM_CREATE_IC_REPLY}},
      {"nested member overruns its list",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c,
                  Raw({{pre, WireBytes(false)
                                 .u16(Quark("spotLocation"))
                                 .u16(4)
                                 .u16(1)
                                 .u16(2)
                                 .u16(Quark("lineSpace"))
                                 .u16(60)
                                 .u32(5)
                                 .bytes()}})),
       {"pre:spotLocation"},
       {XIM_CREATE_IC_REPLY}},
      {"nested list inside a nested list",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c,
                  Raw({{pre, Raw({{pre, Raw({{Quark("spotLocation"), {1, 0, 2, 0}}})}})}})),
       {},
       {XIM_CREATE_IC_REPLY}},
      {"unknown attribute ids",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c, Raw({{999, U32(false, 1)}})),
       {},
       {XIM_CREATE_IC_REPLY}},
      {"seventy attributes",
       XIM_CREATE_IC,
       0,
       CreateWith(false, c, manyAttrs),
       std::vector<std::string>(64, "ic:inputStyle"),
       {XIM_CREATE_IC_REPLY}},
      {"get with a truncated id list",
       XIM_GET_IC_VALUES,
       0,
       WireBytes(false).u16(c).u16(1).u16(40).u16(Quark("filterEvents")).bytes(),
       {"-"},
       {}},
      {"get seventy ids",
       XIM_GET_IC_VALUES,
       0,
       GetBody(false, c, live, manyIds),
       std::vector<std::string>(64, "ic:filterEvents"),
       {XIM_GET_IC_VALUES_REPLY}},
      {"short forward event",
       XIM_FORWARD_EVENT,
       0,
       WireBytes(false).u16(c).u16(1).u16(0).u16(0).zeros(8).bytes(),
       {"-"},
       {}},
      {"forward of a motion event",
       XIM_FORWARD_EVENT,
       0,
       ForwardBody(false, c, 1, 'm', MotionNotify),
       {"-"},
       {}},
      {"trigger notify cut short",
       XIM_TRIGGER_NOTIFY,
       0,
       WireBytes(false).u16(c).u16(1).u32(0).bytes(),
       {"-"},
       {}},
      {"encoding names longer than the body",
       XIM_ENCODING_NEGOTIATION,
       0,
       WireBytes(false).u16(c).u16(200).u8(3).str("abc").bytes(),
       {"-"},
       {}},
      {"encoding name past its list",
       XIM_ENCODING_NEGOTIATION,
       0,
       WireBytes(false).u16(c).u16(4).u8(90).str("abc").u16(0).zeros(2).bytes(),
       {"-"},
       {}},
      {"twelve extension names",
       XIM_QUERY_EXTENSION,
       0,
       Str8List(false, c, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "XIM_EXT_MOVE"}),
       {"-"},
       {XIM_QUERY_EXTENSION_REPLY}},
      {"thirty IM value ids",
       XIM_GET_IM_VALUES,
       0,
       GetBody(false, c, 0, std::vector<uint16_t>(30, Quark("queryInputStyle"))),
       {"-"},
       {XIM_GET_IM_VALUES_REPLY}},
      {"ext key event cut short",
       XIM_EXTENSION,
       XIM_EXT_FORWARD_KEYEVENT,
       WireBytes(false).u16(c).u16(1).bytes(),
       {"-"},
       {}},
      {"close without an id", XIM_CLOSE, 0, {}, {"-"}, {}},
      {"connect without a body", XIM_CONNECT, 0, {}, {"-"}, {}},
      {"ignored request", XIM_SET_IM_VALUES, 0, WireBytes(false).u16(c).u16(0).bytes(), {"-"}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    g_world.sent.clear();
    g_world.calls.clear();
    g_world.names.clear();
    m_server.Deliver(c, k.major, k.minor, k.body);
    std::vector<uint8_t> replies;
    for (const ximtest::Sent& m : g_world.sent) replies.push_back(m.Major());
    EXPECT_EQ(replies, k.replies);
    if (k.names == std::vector<std::string>{"-"}) {
      EXPECT_TRUE(g_world.calls.empty());
    } else {
      ASSERT_EQ(g_world.names.size(), 1u);
      EXPECT_EQ(g_world.names[0], k.names);
    }
    // A good session right after: create, set, get, destroy.
    const uint16_t ic = Create(m_server, c, false);
    ASSERT_NE(ic, 0);
    g_world.sent.clear();
    m_server.Deliver(c, XIM_GET_IC_VALUES, 0, GetBody(false, c, ic, {Quark("filterEvents")}));
    m_server.Deliver(c, XIM_DESTROY_IC, 0, Ids(false, c, ic));
    ASSERT_EQ(g_world.sent.size(), 2u);
    EXPECT_EQ(g_world.sent[0].Body(), WireBytes(false)
                                          .u16(c)
                                          .u16(ic)
                                          .u16(8)
                                          .zeros(2)
                                          .u16(Quark("filterEvents"))
                                          .u16(4)
                                          .u32(3)
                                          .bytes());
    EXPECT_EQ(g_world.sent[1].Major(), XIM_DESTROY_IC_REPLY);
  }
}

// Set requests and the short requests that name a context: a body that lies
// about its length, a context of another connection, values of the wrong
// size. Whatever is refused, the context keeps what its own client set.
TEST_F(Handlers, HostileSetAndContextRequestsLeaveTheStoredContextAlone) {
  const uint16_t c = m_server.Connect('l'), other = m_server.Connect('B');
  const uint16_t live = Create(m_server, c, false);
  const uint16_t foreign = Create(m_server, other, true);
  ASSERT_NE(live, 0);
  ASSERT_NE(foreign, 0);
  const uint16_t pre = Quark("preeditAttributes"), sts = Quark("statusAttributes");
  const uint16_t spot = Quark("spotLocation"), font = Quark("fontSet");
  auto set = [](uint16_t ic, const std::vector<uint8_t>& attrs, int claimed = -1) {
    WireBytes w(false);
    w.u16(1).u16(ic).u16(static_cast<uint32_t>(claimed < 0 ? attrs.size() : claimed)).zeros(2);
    std::vector<uint8_t> out = w.bytes();
    out.insert(out.end(), attrs.begin(), attrs.end());
    return out;
  };
  const std::vector<uint8_t> newSpot = Raw({{pre, Raw({{spot, {30, 0, 40, 0}}})}});
  struct Case {
    const char* what;
    uint8_t major;
    std::vector<uint8_t> body;
    std::vector<uint8_t> replies;  // majors sent
    bool handled;
  } const cases[] = {
      {"set list longer than the body", XIM_SET_IC_VALUES, set(live, newSpot, 200), {}, false},
      {"set without its list length",
       XIM_SET_IC_VALUES,
       WireBytes(false).u16(c).u16(live).bytes(),
       {},
       false},
      {"set on another connection's context", XIM_SET_IC_VALUES, set(foreign, newSpot), {}, true},
      {"set on a context never created", XIM_SET_IC_VALUES, set(999, newSpot), {}, true},
      {"spot location of two bytes",
       XIM_SET_IC_VALUES,
       set(live, Raw({{pre, Raw({{spot, {30, 0}}})}})),
       {XIM_SET_IC_VALUES_REPLY},
       true},
      {"font name claiming 65535 bytes",
       XIM_SET_IC_VALUES,
       set(live, Raw({{pre, Raw({{font, WireBytes(false).u16(0xffff).str("xyz").bytes()}})}})),
       {XIM_SET_IC_VALUES_REPLY},
       true},
      {"status list holding a preedit list",
       XIM_SET_IC_VALUES,
       set(live, Raw({{sts, Raw({{pre, Raw({{spot, {30, 0, 40, 0}}})}})}})),
       {XIM_SET_IC_VALUES_REPLY},
       true},
      {"nested length past the list",
       XIM_SET_IC_VALUES,
       set(live, WireBytes(false).u16(pre).u16(8).u16(spot).u16(0xfff0).u32(0).bytes()),
       {XIM_SET_IC_VALUES_REPLY},
       true},
      {"destroy of another connection's context", XIM_DESTROY_IC, Ids(false, c, foreign), {}, true},
      {"destroy without a body", XIM_DESTROY_IC, {}, {}, false},
      {"reset without a context id", XIM_RESET_IC, {}, {}, false},
      {"focus without a context id", XIM_SET_IC_FOCUS, {}, {}, false},
      {"unfocus without a context id", XIM_UNSET_IC_FOCUS, {}, {}, false},
      {"preedit start reply cut short", XIM_PREEDIT_START_REPLY, Ids(false, c, live), {}, false},
      {"preedit caret reply cut short", XIM_PREEDIT_CARET_REPLY, Ids(false, c, live), {}, false},
      {"sync reply without a context id", XIM_SYNC_REPLY, {}, {}, false},
      {"ext move cut short", XIM_EXTENSION, Ids(false, c, live), {}, false},
      {"get without a context id", XIM_GET_IC_VALUES, {}, {}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    g_world.sent.clear();
    g_world.calls.clear();
    m_server.Deliver(c, k.major, k.major == XIM_EXTENSION ? XIM_EXT_MOVE : 0, k.body);
    std::vector<uint8_t> replies;
    for (const ximtest::Sent& m : g_world.sent) replies.push_back(m.Major());
    EXPECT_EQ(replies, k.replies);
    EXPECT_EQ(g_world.calls.size(), k.handled ? 1u : 0u);
    for (uint16_t id : {live, foreign}) {
      const IC* rec = FindIC(id);
      ASSERT_NE(rec, nullptr) << "context " << id;
      EXPECT_EQ(rec->pre_attr.spot_location.x, 10);
      EXPECT_EQ(rec->pre_attr.spot_location.y, 20);
      ASSERT_NE(rec->pre_attr.base_font, nullptr);
      EXPECT_STREQ(rec->pre_attr.base_font, "-misc-fixed-*");
    }
  }
  // Its own client still moves the spot.
  g_world.sent.clear();
  m_server.Deliver(c, XIM_SET_IC_VALUES, 0, set(live, newSpot));
  ASSERT_EQ(g_world.sent.size(), 1u);
  EXPECT_EQ(g_world.sent[0].Major(), XIM_SET_IC_VALUES_REPLY);
  EXPECT_EQ(FindIC(live)->pre_attr.spot_location.x, 30);
  EXPECT_EQ(FindIC(live)->pre_attr.spot_location.y, 40);
}

TEST_F(Handlers, QueuedKeysAreBoundedAndFreedWithTheClient) {
  const uint16_t c = m_server.Connect('l');
  const uint16_t ic = Create(m_server, c, false);
  g_world.sendBack = 1;
  m_server.Deliver(c, XIM_FORWARD_EVENT, 0, ForwardBody(false, c, ic, 'a'));
  int kept = 0;
  for (int i = 0; i < 300; ++i)
    kept += m_server.Deliver(c, XIM_FORWARD_EVENT, 0, ForwardBody(false, c, ic, 'b')) == 0;
  EXPECT_EQ(kept, 256);
  m_server.Deliver(c, XIM_DISCONNECT, 0, {});  // LeakSanitizer checks the queue went with it
  EXPECT_EQ(_Xi18nFindClient(m_server.Core(), c), nullptr);
}

// ---- callback messages ----

int g_waitedFor = 0;
int FakeWait(XIMS, uint16_t, uint8_t major, uint8_t minor) {
  g_waitedFor = major << 8 | minor;
  return 1;
}

TEST_F(Handlers, CallbackMessagesCarryTheirRecords) {
  const uint16_t c = m_server.Connect('B');
  m_server.Core()->methods.wait = FakeWait;
  char text[] = "ab";
  uint32_t feedback[] = {1, 2, 0};
  auto record = [&](int major) {
    IMProtocol p{};
    p.major_code = major;
    p.any.connect_id = c;
    p.geometry_callback.icid = 7;
    return p;
  };
  IMProtocol draw = record(XIM_PREEDIT_DRAW);
  draw.preedit_callback.todo.draw = IMPreeditDrawData{5, 1, 2, 2, text, feedback};
  IMProtocol emptyDraw = record(XIM_PREEDIT_DRAW);
  IMProtocol caret = record(XIM_PREEDIT_CARET);
  caret.preedit_callback.todo.caret = IMPreeditCaretData{3, 4, 1};
  IMProtocol statusText = record(XIM_STATUS_DRAW);
  statusText.status_callback.todo.text = IMPreeditDrawData{0, 0, 0, 2, text, nullptr};
  IMProtocol statusBitmap = record(XIM_STATUS_DRAW);
  statusBitmap.status_callback.type = 1;
  statusBitmap.status_callback.todo.bitmap = 0x123;
  IMProtocol conversion = record(XIM_STR_CONVERSION);
  conversion.strconv_callback.position = 9;
  conversion.strconv_callback.direction = 1;
  conversion.strconv_callback.operation = 2;
  const std::vector<uint8_t> ids = Ids(true, c, 7);
  auto with = [&](const WireBytes& rest) {
    std::vector<uint8_t> b = ids;
    b.insert(b.end(), rest.bytes().begin(), rest.bytes().end());
    return b;
  };
  struct Case {
    IMProtocol p;
    uint8_t major;
    std::vector<uint8_t> body;
  } const cases[] = {
      {record(XIM_GEOMETRY), XIM_GEOMETRY, ids},
      {record(XIM_PREEDIT_START), XIM_PREEDIT_START, ids},
      {record(XIM_PREEDIT_DONE), XIM_PREEDIT_DONE, ids},
      {record(XIM_STATUS_START), XIM_STATUS_START, ids},
      {record(XIM_STATUS_DONE), XIM_STATUS_DONE, ids},
      {draw, XIM_PREEDIT_DRAW,
       with(WireBytes(true).u32(5).u32(1).u32(2).u32(0).u16(2).str("ab").u16(8).zeros(2).u32(1).u32(
           2))},
      {emptyDraw, XIM_PREEDIT_DRAW,
       with(WireBytes(true).u32(0).u32(0).u32(0).u32(3).u16(0).zeros(2).u16(0).zeros(2))},
      {caret, XIM_PREEDIT_CARET, with(WireBytes(true).u32(3).u32(4).u32(1))},
      {statusText, XIM_STATUS_DRAW,
       with(WireBytes(true).u32(0).u32(2).u16(2).str("ab").u16(0).zeros(2))},
      {statusBitmap, XIM_STATUS_DRAW, with(WireBytes(true).u32(1).u32(0x123))},
      {conversion, XIM_STR_CONVERSION, with(WireBytes(true).u32(9).u32(1).u32(2).u16(0).u16(0))},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.major));
    g_world.sent.clear();
    IMProtocol p = k.p;
    EXPECT_EQ(IMCallCallback(m_server.Ims(), &p), 1);
    ASSERT_EQ(g_world.sent.size(), 1u);
    EXPECT_EQ(g_world.sent[0].bytes, Header(true, k.major, k.body));
  }
  EXPECT_EQ(g_waitedFor, XIM_STR_CONVERSION_REPLY << 8);
  IMProtocol other = record(XIM_COMMIT);
  EXPECT_EQ(IMCallCallback(m_server.Ims(), &other), 0);
}

}  // namespace
