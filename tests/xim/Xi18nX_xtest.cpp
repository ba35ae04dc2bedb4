// The X transport on a private Xvfb, driven by a raw-Xlib test client:
// connecting, messages both ways inline (up to 20 bytes) and through
// properties (longer), and the refusals of broken or hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "tests/xim/WireBytes.h"
#include "tests/xim/XimXTest.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nDispatch.h"
#include "xim/internal/Xi18nX.h"

using ximtest::Received;
using ximtest::TestClient;
using ximtest::TestServer;
using ximtest::WireBytes;

namespace {

struct Delivered {
  uint16_t connect_id;
  std::vector<uint8_t> bytes;  // header in host order, as the handlers get it
};
std::vector<Delivered> g_delivered;

void Record(XIMS, IMProtocol* call, const Xi18nMessage& msg, int*) {
  g_delivered.push_back(
      {call->any.connect_id, std::vector<uint8_t>(msg.data, msg.data + msg.length)});
}

// Records XIM_CONNECT and answers it with version 1.0.
void RecordConnect(XIMS ims, IMProtocol* call, const Xi18nMessage& msg, int* keep) {
  Record(ims, call, msg, keep);
  const bool big = msg.Body()[0] == 'B';
  const std::vector<uint8_t> body = WireBytes(big).u16(1).u16(0).bytes();
  _Xi18nSendMessage(ims, call->any.connect_id, XIM_CONNECT_REPLY, 0, body.data(), 4);
}

// A message as the client sends it: header in the client's order.
std::vector<uint8_t> Message(bool big, uint8_t major, const std::vector<uint8_t>& body) {
  WireBytes w(big);
  w.u8(major).u8(0).u16(static_cast<uint32_t>(body.size() / 4));
  std::vector<uint8_t> m = w.bytes();
  m.insert(m.end(), body.begin(), body.end());
  return m;
}

std::vector<uint8_t> ConnectMessage(bool big) {
  return Message(big, XIM_CONNECT,
                 WireBytes(big).u8(big ? 'B' : 'l').u8(0).u16(1).u16(0).u16(0).bytes());
}

// What the handlers get: the header's length in host order.
std::vector<uint8_t> AsDelivered(std::vector<uint8_t> m, bool big) {
  const uint16_t units =
      big ? static_cast<uint16_t>(m[2] << 8 | m[3]) : static_cast<uint16_t>(m[3] << 8 | m[2]);
  std::memcpy(&m[2], &units, 2);
  return m;
}

class Transport : public testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler(ximtest::IgnoreXErrors);
    g_delivered.clear();
    m_old[0] = _Xi18nSetMessageProc(XIM_CONNECT, RecordConnect);
    m_old[1] = _Xi18nSetMessageProc(XIM_QUERY_EXTENSION, Record);
    m_old[2] = _Xi18nSetMessageProc(XIM_OPEN, Record);
    static int serial = 0;
    m_name = "XTransport" + std::to_string(++serial);
    ASSERT_TRUE(m_server.Open(m_name));
  }
  void TearDown() override {
    m_server.Close();
    _Xi18nSetMessageProc(XIM_CONNECT, m_old[0]);
    _Xi18nSetMessageProc(XIM_QUERY_EXTENSION, m_old[1]);
    _Xi18nSetMessageProc(XIM_OPEN, m_old[2]);
  }

  Xi18nCore* Core() { return Xi18nOf(m_server.Ims()); }
  bool Delivered(size_t n) {
    return ximtest::PumpUntil(m_server.Dpy(), [&] { return g_delivered.size() >= n; });
  }
  // A connected client that has said XIM_CONNECT and read the reply.
  void Handshake(TestClient& c, bool big) {
    ASSERT_TRUE(c.Connect(m_name));
    const size_t before = g_delivered.size();
    c.SendInline(ConnectMessage(big));
    ASSERT_TRUE(Delivered(before + 1));
    Received r;
    ASSERT_TRUE(c.Receive(&r));
    EXPECT_EQ(r.format, 8);
  }

  TestServer m_server;
  std::string m_name;
  Xi18nMessageProc m_old[3];
};

TEST_F(Transport, ConnectIsAnsweredWithVersionZeroAndAnAcceptWindow) {
  TestClient c(m_server.Dpy());
  ASSERT_TRUE(c.Connect(m_name, 2, 1));
  EXPECT_NE(c.Accept(), static_cast<Window>(None));
  EXPECT_EQ(c.ReplyWords()[1], 0);
  EXPECT_EQ(c.ReplyWords()[2], 0);
  EXPECT_EQ(c.ReplyWords()[3], 20);
  XWindowAttributes wa;
  ASSERT_TRUE(XGetWindowAttributes(c.Dpy(), c.Accept(), &wa));
  EXPECT_EQ(wa.map_state, IsUnmapped);
  ASSERT_NE(Core()->address.clients, nullptr);
  EXPECT_EQ(Core()->address.clients->byte_order, '?');
}

TEST_F(Transport, XimConnectNamesTheClientsByteOrder) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian client" : "little-endian client");
    g_delivered.clear();
    TestClient c(m_server.Dpy());
    ASSERT_TRUE(c.Connect(m_name));
    c.SendInline(ConnectMessage(big));
    ASSERT_TRUE(Delivered(1));
    EXPECT_EQ(g_delivered[0].bytes, AsDelivered(ConnectMessage(big), big));
    Xi18nClient* client = _Xi18nFindClient(Core(), g_delivered[0].connect_id);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->byte_order, big ? 'B' : 'l');
    // The reply's header and body come in the client's own order.
    Received r;
    ASSERT_TRUE(c.Receive(&r));
    EXPECT_EQ(r.format, 8);
    std::vector<uint8_t> want =
        WireBytes(big).u8(XIM_CONNECT_REPLY).u8(0).u16(1).u16(1).u16(0).bytes();
    want.resize(20);
    EXPECT_EQ(r.bytes, want);
  }
}

TEST_F(Transport, NothingButXimConnectIsTakenFromANewClient) {
  TestClient c(m_server.Dpy());
  ASSERT_TRUE(c.Connect(m_name));
  c.SendInline(Message(false, XIM_OPEN, WireBytes(false).u8(1).str("C").zeros(2).bytes()));
  // A long message cannot name its byte order: dropped before XIM_CONNECT.
  c.SendProperty(Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(20)), 8, 24);
  // An XIM_CONNECT naming no byte order we know.
  std::vector<uint8_t> odd = ConnectMessage(false);
  odd[4] = 'x';
  c.SendInline(odd);
  ximtest::PumpServer(m_server.Dpy());
  EXPECT_FALSE(c.Pending());
  EXPECT_TRUE(g_delivered.empty());
  EXPECT_EQ(Core()->address.clients->byte_order, '?');
  c.SendInline(ConnectMessage(false));
  EXPECT_TRUE(Delivered(1));
}

TEST_F(Transport, InlineMessagesCarryAtMostTwentyBytes) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  g_delivered.clear();
  const std::vector<uint8_t> twenty =
      Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(16, 7));
  std::vector<uint8_t> claimsMore = twenty;
  claimsMore[2] = 5;  // 4 + 20 bytes: more than the event holds
  c.SendInline(claimsMore);
  c.SendInline(twenty);
  ASSERT_TRUE(Delivered(1));
  ximtest::PumpServer(m_server.Dpy());
  ASSERT_EQ(g_delivered.size(), 1u);
  EXPECT_EQ(g_delivered[0].bytes, twenty);
}

TEST_F(Transport, LongClientMessagesAreReadFromProperties) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian client" : "little-endian client");
    TestClient c(m_server.Dpy());
    Handshake(c, big);
    g_delivered.clear();
    std::vector<uint8_t> body(20);
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<uint8_t>(i + 1);
    const std::vector<uint8_t> m24 = Message(big, XIM_QUERY_EXTENSION, body);
    const std::vector<uint8_t> m12 = Message(big, XIM_QUERY_EXTENSION, {9, 8, 7, 6, 5, 4, 3, 2});
    std::vector<uint8_t> m21 = Message(big, XIM_QUERY_EXTENSION, std::vector<uint8_t>(16, 3));
    m21.push_back(0xee);  // one byte beyond what the header names
    struct Case {
      std::vector<uint8_t> bytes;
      int format;
      uint32_t announced;
      std::vector<uint8_t> want;
    };
    const Case cases[] = {
        {m24, 8, 24, AsDelivered(m24, big)},
        {m21, 8, 21, AsDelivered(std::vector<uint8_t>(m21.begin(), m21.end() - 1), big)},
        {m12, 16, 12, AsDelivered(m12, big)},  // six 16-bit items: 12 bytes
        {m12, 32, 12, AsDelivered(m12, big)},  // three 32-bit items
    };
    for (const Case& k : cases) c.SendProperty(k.bytes, k.format, k.announced);
    ASSERT_TRUE(Delivered(4));
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(g_delivered[i].bytes, cases[i].want) << "case " << i;
  }
}

TEST_F(Transport, BrokenLongMessagesAreDropped) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  g_delivered.clear();
  std::vector<uint8_t> shortOfHeader =
      Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(20));
  shortOfHeader[2] = 9;  // claims 40 bytes, 24 stored
  c.SendProperty(shortOfHeader, 8, 24);
  c.SendProperty(Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(20)), 8, 24,
                 false);  // no property
  c.SendProperty(Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(20)), 8, 0xfffffff0u);
  c.SendProperty({1, 0}, 8, 2);  // shorter than a header
  const std::vector<uint8_t> good =
      Message(false, XIM_QUERY_EXTENSION, std::vector<uint8_t>(20, 1));
  c.SendProperty(good, 8, 24);
  ASSERT_TRUE(Delivered(1));
  ximtest::PumpServer(m_server.Dpy());
  ASSERT_EQ(g_delivered.size(), 1u);
  EXPECT_EQ(g_delivered[0].bytes, good);
}

// Long messages the way Xlib's client side writes them: appended to a
// property that may still hold earlier ones the server has not read. Each
// step runs in the client; the server reads only at Read steps and at the
// end, so everything before a Read is queued at once.
struct Step {
  enum Kind { Append, Announce, Inline, Read };
  Kind kind;
  int message;           // index into the case's messages
  const char* property;  // Append and Announce
  size_t from, to;       // Append: the bytes [from, to) of the message
  int announced;         // Announce: 0 for the message's own length, else this
};

constexpr size_t kEnd = ~size_t{0};
Step Append(int m, const char* property, size_t from = 0, size_t to = kEnd) {
  return {Step::Append, m, property, from, to, 0};
}
Step Announce(int m, const char* property, int announced = 0) {
  return {Step::Announce, m, property, 0, kEnd, announced};
}
Step Inline(int m) { return {Step::Inline, m, nullptr, 0, kEnd, 0}; }
Step Read() { return {Step::Read, -1, nullptr, 0, kEnd, 0}; }

struct QueueCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<int> handled;  // message indexes, in the order the handler gets them
};

// Message i: XIM_QUERY_EXTENSION with a body that names i; message 90 is
// 32 bytes, the others 24 (or 12 when inline); message 91's header claims
// 40 bytes of its 24.
std::vector<uint8_t> QueueMessage(int i, bool inlineForm) {
  std::vector<uint8_t> body(inlineForm ? 8 : i == 90 ? 28 : 20, static_cast<uint8_t>(i));
  body[0] = static_cast<uint8_t>(i >> 8);
  std::vector<uint8_t> m = Message(false, XIM_QUERY_EXTENSION, body);
  if (i == 91) m[2] = 9;
  return m;
}

std::vector<Step> AppendedThenAnnounced(int n) {
  std::vector<Step> steps;
  for (int i = 0; i < n; ++i) steps.push_back(Append(i, "_client0"));
  for (int i = 0; i < n; ++i) steps.push_back(Announce(i, "_client0"));
  return steps;
}

std::vector<int> Upto(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

const QueueCase kQueueCases[] = {
    {"TwoInOneProperty", AppendedThenAnnounced(2), Upto(2)},
    {"ThreeInOneProperty", AppendedThenAnnounced(3), Upto(3)},
    {"FiftyInOneProperty", AppendedThenAnnounced(50), Upto(50)},
    {"OneMessageInTwoAppends",
     {Append(0, "_client0", 0, 10), Append(0, "_client0", 10), Announce(0, "_client0")},
     {0}},
    {"SplitMessageWithTheNextQueuedBehind",
     {Append(0, "_client0", 0, 6), Append(0, "_client0", 6), Append(1, "_client0", 0, 13),
      Announce(0, "_client0"), Append(1, "_client0", 13), Announce(1, "_client0")},
     {0, 1}},
    {"ReadBetweenAppends",
     {Append(0, "_client0"), Append(1, "_client0"), Announce(0, "_client0"), Read(),
      Append(2, "_client0"), Announce(1, "_client0"), Announce(2, "_client0")},
     {0, 1, 2}},
    {"TwoPropertiesInterleaved",
     {Append(0, "_client0"), Append(1, "_client1"), Append(2, "_client0"), Append(3, "_client1"),
      Announce(0, "_client0"), Announce(1, "_client1"), Announce(2, "_client0"),
      Announce(3, "_client1")},
     {0, 1, 2, 3}},
    {"BetweenShortMessages",
     {Inline(0), Append(1, "_client0"), Inline(2), Append(3, "_client0"), Announce(1, "_client0"),
      Inline(4), Announce(3, "_client0"), Inline(5)},
     {0, 2, 1, 4, 3, 5}},
    // A lone message announced longer than it is: all there is, is its.
    {"AnnouncedLongerThanStored",
     {Append(0, "_client0"), Announce(0, "_client0", 36), Read(), Append(1, "_client0"),
      Announce(1, "_client0")},
     {0, 1}},
    // Announced in a byte count that is not whole units.
    {"AnnouncedInAnOddByteCount",
     {Append(0, "_client0"), Append(1, "_client0"), Announce(0, "_client0", 21),
      Announce(1, "_client0")},
     {0, 1}},
    // Announced shorter than its header: refused with what its property
    // held; the next message appended afterwards is whole again.
    {"AnnouncedShorterThanItsHeader",
     {Append(90, "_client0"), Announce(90, "_client0", 24), Read(), Append(1, "_client0"),
      Announce(1, "_client0")},
     {1}},
    // The header claims more than the property will ever hold.
    {"PropertyShorterThanItsHeader",
     {Append(91, "_client0"), Announce(91, "_client0", 40), Read(), Append(1, "_client0"),
      Announce(1, "_client0")},
     {1}},
};

// Failures name the case, not the bytes of the record.
void PrintTo(const QueueCase& k, std::ostream* os) { *os << k.name; }

class Queue : public Transport, public testing::WithParamInterface<QueueCase> {};

TEST_P(Queue, EachMessageIsHandledOnceInOrder) {
  const QueueCase& k = GetParam();
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  const uint16_t id = g_delivered.back().connect_id;
  g_delivered.clear();
  for (const Step& step : k.steps) {
    const bool inlineForm = step.kind == Step::Inline;
    const std::vector<uint8_t> m = QueueMessage(step.message, inlineForm);
    switch (step.kind) {
      case Step::Append:
        c.AppendProperty(step.property,
                         std::vector<uint8_t>(
                             m.begin() + static_cast<std::ptrdiff_t>(step.from),
                             m.begin() + static_cast<std::ptrdiff_t>(std::min(step.to, m.size()))));
        break;
      case Step::Announce:
        c.Announce(step.property, step.announced ? static_cast<uint32_t>(step.announced)
                                                 : static_cast<uint32_t>(m.size()));
        break;
      case Step::Inline: c.SendInline(m); break;
      case Step::Read:
        XSync(c.Dpy(), False);
        ximtest::PumpServer(m_server.Dpy());
        break;
    }
  }
  XSync(c.Dpy(), False);
  ASSERT_TRUE(k.handled.empty() || Delivered(k.handled.size()));
  ximtest::PumpServer(m_server.Dpy());
  std::vector<std::vector<uint8_t>> got, want;
  for (const auto& d : g_delivered) got.push_back(d.bytes);
  for (int i : k.handled) {
    bool inlineForm = false;
    for (const Step& step : k.steps)
      inlineForm = inlineForm || (step.message == i && step.kind == Step::Inline);
    want.push_back(QueueMessage(i, inlineForm));
  }
  EXPECT_EQ(got, want);
  // Nothing is left waiting once every announcement has been served.
  Xi18nClient* client = _Xi18nFindClient(Core(), id);
  ASSERT_NE(client, nullptr);
  EXPECT_TRUE(static_cast<XClient*>(client->trans_rec)->unread.empty());
}

INSTANTIATE_TEST_SUITE_P(Appended, Queue, testing::ValuesIn(kQueueCases),
                         [](const testing::TestParamInfo<QueueCase>& info) {
                           return std::string(info.param.name);
                         });

// A client cannot make the server hold more than a bounded number of bytes
// for messages it has not announced: the property is dropped, and the
// client's next message gets through.
TEST_F(Transport, AnOversizedPropertyIsDroppedUnread) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  g_delivered.clear();
  const std::vector<uint8_t> m = QueueMessage(0, false);
  std::vector<uint8_t> flood;
  while (flood.size() < (size_t{5} << 20)) flood.insert(flood.end(), m.begin(), m.end());
  c.AppendProperty("_client0", flood);
  c.Announce("_client0", 24);
  const std::vector<uint8_t> next = QueueMessage(1, false);
  c.AppendProperty("_client1", next);
  c.Announce("_client1", 24);
  ASSERT_TRUE(Delivered(1));
  ximtest::PumpServer(m_server.Dpy());
  ASSERT_EQ(g_delivered.size(), 1u);
  EXPECT_EQ(g_delivered[0].bytes, next);
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(c.Dpy(), c.Accept(), XInternAtom(c.Dpy(), "_client0", False), 0, 1, False,
                     AnyPropertyType, &type, &format, &n, &after, &data);
  if (data) XFree(data);
  EXPECT_EQ(type, static_cast<Atom>(None)) << "the flood is deleted";
}

TEST_F(Transport, ServerSendsTwentyBytesInlineAndTwentyOneThroughAProperty) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  const uint16_t id = g_delivered.back().connect_id;
  std::vector<uint8_t> msg(21);
  for (size_t i = 0; i < msg.size(); ++i) msg[i] = static_cast<uint8_t>(0x40 + i);
  XIMS ims = m_server.Ims();
  ASSERT_EQ(Core()->methods.send(ims, id, msg.data(), 20), 1);
  ASSERT_EQ(Core()->methods.send(ims, id, msg.data(), 21), 1);
  Received r;
  ASSERT_TRUE(c.Receive(&r));
  EXPECT_EQ(r.format, 8);
  EXPECT_EQ(r.bytes, std::vector<uint8_t>(msg.begin(), msg.begin() + 20));
  ASSERT_TRUE(c.Receive(&r));
  EXPECT_EQ(r.format, 32);
  EXPECT_EQ(r.bytes, msg);
  EXPECT_EQ(r.property, "_server" + std::to_string(id) + "_0");
}

TEST_F(Transport, PropertyNamesShareOneCounterThatCyclesWithoutRepeats) {
  TestClient a(m_server.Dpy()), b(m_server.Dpy());
  Handshake(a, false);
  const uint16_t idA = g_delivered.back().connect_id;
  Handshake(b, true);
  const uint16_t idB = g_delivered.back().connect_id;
  const std::vector<uint8_t> msg(24, 1);
  XIMS ims = m_server.Ims();
  std::vector<std::string> names;
  for (int i = 0; i < 23; ++i) {
    TestClient& c = i == 2 ? b : a;
    ASSERT_EQ(Core()->methods.send(ims, i == 2 ? idB : idA, msg.data(), 24), 1);
    Received r;
    ASSERT_TRUE(c.Receive(&r));
    names.push_back(r.property);
  }
  const std::string pa = "_server" + std::to_string(idA) + "_";
  EXPECT_EQ(names[0], pa + "0");
  EXPECT_EQ(names[1], pa + "1");
  EXPECT_EQ(names[2], "_server" + std::to_string(idB) + "_2");
  EXPECT_EQ(names[3], pa + "3");
  EXPECT_EQ(names[20], pa + "20");
  EXPECT_EQ(names[21], pa + "0");
  EXPECT_EQ(names[22], pa + "1");
}

TEST_F(Transport, DisconnectDestroysTheAcceptWindowAndFreesTheId) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  const uint16_t id = g_delivered.back().connect_id;
  ASSERT_EQ(Core()->methods.disconnect(m_server.Ims(), id), 1);
  XSync(m_server.Dpy(), False);
  XWindowAttributes wa;
  EXPECT_FALSE(XGetWindowAttributes(c.Dpy(), c.Accept(), &wa));
  EXPECT_EQ(_Xi18nFindClient(Core(), id), nullptr);
  // A message to the old accept window reaches nobody; a new client gets
  // the old id back.
  c.SendInline(ConnectMessage(false));
  ximtest::PumpServer(m_server.Dpy());
  TestClient d(m_server.Dpy());
  Handshake(d, false);
  EXPECT_EQ(g_delivered.back().connect_id, id);
  EXPECT_EQ(Core()->methods.send(m_server.Ims(), 999, nullptr, 0), 0);
}

int ClientCount(Xi18nCore* core) {
  int n = 0;
  for (Xi18nClient* c = core->address.clients; c; c = c->next) ++n;
  return n;
}

// A client window that goes ends every connection made from it, and a
// connect request from a window that is gone already leaves no connection
// behind; a client whose window lives on is served all the while.
TEST_F(Transport, AGoneClientWindowLeavesNoConnectionBehind) {
  TestClient live(m_server.Dpy());
  Handshake(live, false);
  const uint16_t liveId = g_delivered.back().connect_id;
  {
    TestClient twice(m_server.Dpy());
    ASSERT_TRUE(twice.Connect(m_name));
    ASSERT_TRUE(twice.Connect(m_name));
    ASSERT_EQ(ClientCount(Core()), 3);
    XDestroyWindow(twice.Dpy(), twice.Win());
    XSync(twice.Dpy(), False);
    EXPECT_TRUE(ximtest::PumpUntil(m_server.Dpy(), [&] { return ClientCount(Core()) == 1; }));
  }
  TestClient late(m_server.Dpy());
  XDestroyWindow(late.Dpy(), late.Win());
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = m_server.Win();
  ev.xclient.message_type = XInternAtom(late.Dpy(), "_XIM_XCONNECT", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(late.Win());
  XSendEvent(late.Dpy(), m_server.Win(), False, NoEventMask, &ev);
  XSync(late.Dpy(), False);
  ximtest::PumpServer(m_server.Dpy());
  EXPECT_EQ(ClientCount(Core()), 1);
  ASSERT_NE(_Xi18nFindClient(Core(), liveId), nullptr);
  g_delivered.clear();
  live.SendInline(Message(false, XIM_QUERY_EXTENSION, {1, 0, 0, 0}));
  ASSERT_TRUE(Delivered(1));
  EXPECT_EQ(g_delivered[0].connect_id, liveId);
}

// The disconnect handler runs inside the accept window's own filter and
// removes that filter and window; the transport must come through it.
void DisconnectFromInsideTheFilter(XIMS ims, IMProtocol* call, const Xi18nMessage& msg, int* keep) {
  Record(ims, call, msg, keep);
  _Xi18nSendMessage(ims, call->any.connect_id, XIM_DISCONNECT_REPLY, 0, nullptr, 0);
  Xi18nOf(ims)->methods.disconnect(ims, call->any.connect_id);
}

TEST_F(Transport, AClientCanBeDisconnectedFromItsOwnMessage) {
  Xi18nMessageProc old = _Xi18nSetMessageProc(XIM_DISCONNECT, DisconnectFromInsideTheFilter);
  TestClient c(m_server.Dpy());
  Handshake(c, true);
  const uint16_t id = g_delivered.back().connect_id;
  c.SendInline(Message(true, XIM_DISCONNECT, {}));
  c.SendInline(Message(true, XIM_QUERY_EXTENSION, {0, 1, 0, 0}));  // after the end: lost
  ASSERT_TRUE(Delivered(2));
  Received r;
  ASSERT_TRUE(c.Receive(&r));
  EXPECT_EQ(r.bytes[0], XIM_DISCONNECT_REPLY);
  ximtest::PumpServer(m_server.Dpy());
  EXPECT_EQ(g_delivered.size(), 2u);
  EXPECT_EQ(_Xi18nFindClient(Core(), id), nullptr);
  _Xi18nSetMessageProc(XIM_DISCONNECT, old);
}

TEST_F(Transport, WaitReturnsOnTheAwaitedReplyAndDropsOthers) {
  TestClient c(m_server.Dpy());
  Handshake(c, false);
  const uint16_t id = g_delivered.back().connect_id;
  g_delivered.clear();
  c.SendInline(Message(false, XIM_QUERY_EXTENSION, {1, 0, 0, 0}));
  c.SendInline(Message(false, XIM_SYNC_REPLY, {1, 0, 2, 0}));
  XSync(c.Dpy(), False);
  EXPECT_EQ(Core()->methods.wait(m_server.Ims(), id, XIM_SYNC_REPLY, 0), 1);
  c.SendInline(Message(false, XIM_ERROR, {}));
  XSync(c.Dpy(), False);
  EXPECT_EQ(Core()->methods.wait(m_server.Ims(), id, XIM_SYNC_REPLY, 0), 0);
  ximtest::PumpServer(m_server.Dpy());
  EXPECT_TRUE(g_delivered.empty()) << "messages read while waiting are not handled";
}

}  // namespace
