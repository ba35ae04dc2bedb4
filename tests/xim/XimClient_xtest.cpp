// Xlib's own client side against our server, the whole way: a child process
// selects the server with XSetLocaleModifiers("@im=NAME"), opens the input
// method, creates an over-the-spot input context with a spot location and a
// font set, passes every event through XFilterEvent, presses a trigger key
// and more keys, and reports the keys that reach it unfiltered. The server
// hands every forwarded key back, so they must arrive unchanged. The parent
// serves, keeps the input contexts in the store as the program does, and
// checks what the client set and that everything is gone when it leaves.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/XimTestClient.h"
#include "tests/xim/XimHandlers.h"
#include "tests/xim/XimXTest.h"
#include "xim/ICStore.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;
using ximtest::g_world;

constexpr const char* kLocales =
    "zh_CN.GB18030,zh_CN.GBK,zh_CN.GB2312,zh_CN,zh_CN.UTF8,zh_CN.eucCN,zh_CN.UTF-8,en_US.UTF8,"
    "en_US.UTF-8,zh_TW.Big5,zh_TW,zh_TW.eucTW,zh_TW.UTF8,zh_TW.UTF-8";
constexpr XIMStyle kOverTheSpot = XIMPreeditPosition | XIMStatusNothing;

// ---- the client (child process) ----

std::string KeyText(const XKeyEvent& k) {
  std::ostringstream s;
  s << "key " << k.type << " " << k.keycode << " " << k.state << " " << (k.window != 0);
  return s.str();
}

int RunClient(const std::string& name, const char* locale, int fd, bool stayForKill) {
  alarm(20);
  kvrtest::XimTestClient client;
  const std::string error = client.Open({name, locale, kOverTheSpot});
  if (!error.empty()) {
    ReportLine(fd, "error " + error);
    return 10;
  }
  Display* dpy = client.Dpy();
  // The client names the fonts it loaded, not the patterns it asked for.
  XFontStruct** fontStructs = nullptr;
  char** fontNames = nullptr;
  const int nFonts = XFontsOfFontSet(client.FontSet(), &fontStructs, &fontNames);
  std::string loaded;
  for (int i = 0; i < nFonts; ++i) loaded += (i ? "," : "") + std::string(fontNames[i]);
  ReportLine(fd, "font " + loaded);
  ReportLine(fd, "filter " + std::to_string(client.FilterMask()));
  ReportLine(fd, "ready");
  if (stayForKill) {
    for (;;) client.Serve(1000);
  }

  // 'a' triggers the input method; the keys after it are forwarded.
  struct Key {
    int type;
    KeySym sym;
    unsigned state;
  } const keys[] = {
      {KeyPress, XK_a, 0},
      {KeyRelease, XK_a, 0},
      {KeyPress, XK_b, ShiftMask},
      {KeyRelease, XK_b, ShiftMask},
      {KeyPress, XK_Return, ControlMask},
      {KeyRelease, XK_Return, ControlMask},
  };
  for (const Key& k : keys) {
    client.SendKey(k.type, k.sym, k.state);
    // The trigger's answer (start forwarding) must be read before the next
    // key, as it would be between two key strokes of a person.
    // The trigger press is filtered (its notify answered) before XSync
    // returns; the get request behind it comes back after the server's
    // start-forwarding message, so that one has been read as well.
    if (&k == keys) {
      XSync(dpy, False);
      client.Serve(0);
      long again = 0;
      if (XGetICValues(client.Ic(), XNFilterEvents, &again, nullptr)) return 16;
    }
    XEvent sent{};
    sent.xkey.type = k.type;
    sent.xkey.keycode = XKeysymToKeycode(dpy, k.sym);
    sent.xkey.state = k.state;
    sent.xkey.window = client.Win();
    ReportLine(fd, "sent " + KeyText(sent.xkey));
  }
  XFlush(dpy);
  client.Serve(4000, [&] { return client.PassedKeys().size() >= 5; });
  for (const XKeyEvent& k : client.PassedKeys()) ReportLine(fd, KeyText(k));

  // A new spot location, read back through a nested get, with the line
  // space the server always reports.
  XPoint moved{56, 78};
  XVaNestedList set = XVaCreateNestedList(0, XNSpotLocation, &moved, nullptr);
  if (XSetICValues(client.Ic(), XNPreeditAttributes, set, nullptr)) return 17;
  XFree(set);
  XPoint* back = nullptr;  // Xlib allocates the point it returns
  int lineSpace = 0;
  XVaNestedList get =
      XVaCreateNestedList(0, XNSpotLocation, &back, XNLineSpace, &lineSpace, nullptr);
  if (XGetICValues(client.Ic(), XNPreeditAttributes, get, nullptr)) return 18;
  XFree(get);
  if (!back) return 19;
  ReportLine(fd, "spot " + std::to_string(back->x) + " " + std::to_string(back->y) + " line " +
                     std::to_string(lineSpace));
  XFree(back);
  char* reset = XmbResetIC(client.Ic());
  ReportLine(fd, std::string("reset '") + (reset ? reset : "") + "'");
  if (reset) XFree(reset);
  XUnsetICFocus(client.Ic());
  client.Close();
  ReportLine(fd, "closed");
  return 0;
}

// A quick typist: the trigger's release follows its press before the
// client has read anything from the server.
int RunQuickClient(const std::string& name, int fd) {
  alarm(20);
  kvrtest::XimTestClient client;
  const std::string error = client.Open({name, "zh_CN.GBK", kOverTheSpot});
  if (!error.empty()) {
    ReportLine(fd, "error " + error);
    return 10;
  }
  client.SendKey(KeyPress, XK_a);
  client.SendKey(KeyRelease, XK_a);
  XSync(client.Dpy(), False);
  client.Serve(4000, [&] { return !client.PassedKeys().empty(); });
  for (const XKeyEvent& k : client.PassedKeys()) ReportLine(fd, KeyText(k));
  return 0;
}

// ---- the server (parent) ----

bool Start(ChildProcess& c, const std::string& name, const char* locale, bool stayForKill = false) {
  return c.Start([=](int fd) { return RunClient(name, locale, fd, stayForKill); });
}

class XlibClient : public testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler(ximtest::IgnoreXErrors);
    g_world = ximtest::World{};
    g_world.sendBack = 1 << 20;
    m_name = "KvrX2" + std::to_string(getpid()) + "_" + std::to_string(++m_count);
    ASSERT_TRUE(m_server.Open(m_name, kLocales));
    ASSERT_EQ(m_values.Set(m_server.Ims()), nullptr);
  }
  void TearDown() override {
    m_server.Close();
    FreeICStore();
  }

  // Serves until the child ends (or about five seconds pass) and returns
  // its exit status.
  int Serve(ChildProcess& c) {
    ximtest::PumpUntil(m_server.Dpy(), [&] { return c.Exited(); });
    if (c.Running()) {
      c.Kill();
      ADD_FAILURE() << "client hung; it said:\n" << c.Output();
    }
    return c.ExitStatus();
  }

  int Clients() {
    int n = 0;
    for (Xi18nClient* c = Xi18nOf(m_server.Ims())->address.clients; c; c = c->next) ++n;
    return n;
  }

  ximtest::TestServer m_server;
  std::string m_name;
  static int m_count;
  ximtest::ProgramValues m_values;
};
int XlibClient::m_count = 0;

TEST_F(XlibClient, OpensCreatesForwardsAndClosesInEachLocale) {
  for (const char* locale : {"zh_CN.GBK", "zh_CN.UTF-8", "en_US.UTF-8"}) {
    SCOPED_TRACE(locale);
    g_world.calls.clear();
    g_world.names.clear();
    ChildProcess c;
    ASSERT_TRUE(Start(c, m_name, locale));
    // Watch the store while the client is inside: its context, its values.
    uint16_t seenIC = 0;
    IC seen{};
    std::string seenFont;
    ximtest::PumpUntil(m_server.Dpy(), [&] {
      if (ic_list && !seenIC) {
        seenIC = ic_list->id;
        seen = *ic_list;
        seenFont = seen.pre_attr.base_font ? seen.pre_attr.base_font : "";
      }
      c.Drain();
      return c.Output().find("ready") != std::string::npos || c.Exited();
    });
    const int status = Serve(c);
    ASSERT_EQ(status, 0) << c.Output();
    ASSERT_NE(seenIC, 0);
    EXPECT_EQ(seen.input_style, kOverTheSpot);
    EXPECT_NE(seen.client_win, 0u);
    EXPECT_EQ(seen.focus_win, seen.client_win);
    EXPECT_EQ(seen.pre_attr.spot_location.x, 12);
    EXPECT_EQ(seen.pre_attr.spot_location.y, 34);
    const std::vector<std::string> font = c.Lines("font ");
    ASSERT_EQ(font.size(), 1u);
    EXPECT_EQ(seenFont, font[0]);
    EXPECT_EQ(c.Lines("filter "), std::vector<std::string>{"3"});

    // Every key after the trigger press came back, unchanged and in order;
    // the server saw the same keys.
    std::vector<std::string> sent = c.Lines("sent key ");
    ASSERT_EQ(sent.size(), 6u);
    sent.erase(sent.begin());
    EXPECT_EQ(c.Lines("key "), sent);
    std::vector<std::string> forwarded;
    for (const IMProtocol& p : g_world.calls) {
      if (p.major_code == XIM_FORWARD_EVENT)
        forwarded.push_back(KeyText(p.forwardevent.event.xkey).substr(4));
    }
    EXPECT_EQ(forwarded, sent) << testing::PrintToString(g_world.log);
    EXPECT_EQ(c.Lines("spot "), std::vector<std::string>{"56 78 line 18"});
    EXPECT_EQ(c.Lines("reset "), std::vector<std::string>{"''"});
    EXPECT_NE(c.Output().find("closed"), std::string::npos);

    // Closing destroyed the context; the client's end took its connection.
    ximtest::PumpUntil(m_server.Dpy(), [&] { return Clients() == 0; });
    EXPECT_EQ(ic_list, nullptr);
    EXPECT_EQ(Clients(), 0);
  }
}

TEST_F(XlibClient, AClientKilledMidSessionLeavesTheServerServingTheNext) {
  ChildProcess doomed;
  ASSERT_TRUE(Start(doomed, m_name, "zh_CN.GBK", true));
  ASSERT_TRUE(ximtest::PumpUntil(m_server.Dpy(), [&] {
    doomed.Drain();
    return doomed.Output().find("ready") != std::string::npos;
  })) << doomed.Output();
  ASSERT_NE(ic_list, nullptr);
  doomed.Kill();
  // Its window went with it: the connection and its context are gone.
  EXPECT_TRUE(ximtest::PumpUntil(m_server.Dpy(), [&] { return Clients() == 0 && !ic_list; }));

  ChildProcess next;
  ASSERT_TRUE(Start(next, m_name, "zh_CN.UTF-8"));
  ASSERT_EQ(Serve(next), 0) << next.Output();
  EXPECT_EQ(next.Lines("key ").size(), 5u) << next.Output();
}

TEST_F(XlibClient, TheTriggersQuickReleaseIsForwardedToo) {
  ChildProcess c;
  ASSERT_TRUE(c.Start([&](int fd) { return RunQuickClient(m_name, fd); }));
  ASSERT_EQ(Serve(c), 0) << c.Output();
  std::vector<int> forwarded;
  for (const IMProtocol& p : g_world.calls) {
    if (p.major_code == XIM_FORWARD_EVENT) forwarded.push_back(p.forwardevent.event.xkey.type);
  }
  // The release went through the server (which sent it back), not past it.
  EXPECT_EQ(forwarded, std::vector<int>{KeyRelease}) << c.Output();
  EXPECT_EQ(c.Lines("key ").size(), 1u) << c.Output();
}

}  // namespace
