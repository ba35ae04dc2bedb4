// kvr under the conditions a desktop puts it in: a client killed in the
// middle of input, two clients taking turns, a registration left behind by
// a killed server, twenty clients connected at once. kvr runs from a copy
// of the distribution directory under an XIM name of its own and is
// stopped by its process id.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ClientKind;
using kvrtest::ReportLine;
using kvrtest::XimTestClient;

// One kvr for the tests of this file that can share it.
class Robustness : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_kvr = new kvrtest::KvrProcess;
    if (!s_kvr->Start(kvrtest::UniqueImName("KvrRobust"))) s_startLog = s_kvr->Log();
  }
  static void TearDownTestSuite() {
    delete s_kvr;
    s_kvr = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(s_kvr && s_kvr->Running()) << s_startLog; }
  const std::string& Name() const { return s_kvr->Name(); }

  static kvrtest::KvrProcess* s_kvr;
  static std::string s_startLog;
};
kvrtest::KvrProcess* Robustness::s_kvr = nullptr;
std::string Robustness::s_startLog;

// A client that starts typing and is killed before it finishes: keys go to
// kvr, which is left with a connection that is gone. With realKeys the keys
// go through XTEST (each released before the kill); otherwise they are
// synthetic and the last one stays pressed (a key left down by a killed
// XTEST client would stay down for the clients after it).
void KillMidInput(const std::string& name, const std::string& script, bool realKeys) {
  ChildProcess doomed;
  ASSERT_TRUE(doomed.Start([&](int fd) {
    alarm(60);
    XimTestClient client;
    const std::string error = client.Open({name, "zh_CN.GBK"});
    if (!error.empty()) {
      ReportLine(fd, "error " + error);
      return 1;
    }
    std::vector<kvrtest::ScriptKey> keys;
    if (!kvrtest::ParseKeyScript(script, &keys)) return 2;
    for (size_t i = 0; realKeys && i < keys.size(); ++i)
      client.XTestKey(keys[i].sym, keys[i].state);
    for (size_t i = 0; !realKeys && i < keys.size(); ++i) {
      client.SendKey(KeyPress, keys[i].sym, keys[i].state);
      XSync(client.Dpy(), False);
      client.Serve(i == 0 ? 300 : 30);
      if (i + 1 < keys.size()) client.SendKey(KeyRelease, keys[i].sym, keys[i].state);
    }
    ReportLine(fd, "stalled");
    for (;;) pause();
  }));
  ASSERT_TRUE(doomed.WaitFor("stalled", 30000)) << doomed.Output();
  doomed.Kill();
}

TEST_F(Robustness, AClientKilledMidInputLeavesTheServerServingTheNext) {
  // English input: killed while kvr holds its keys for the trigger's release.
  KillMidInput(Name(), "ab", false);
  for (ClientKind kind : {ClientKind::XlibGb2312, ClientKind::XlibUtf8}) {
    const kvrtest::Typed got = kvrtest::TypeInto(kind, Name(), "abc");
    ASSERT_TRUE(got.ok) << got.diagnosis << s_kvr->Log();
    EXPECT_EQ(got.bytes, "abc") << kvrtest::ClientName(kind);
  }
}

// Killed with keys typed in Chinese input: the next client (Chinese input
// is still on; its first letter reaches the engine through its trigger)
// gets its own word, and Ctrl+Space then switches back to English.
TEST_F(Robustness, AClientKilledWhileComposingLeavesTheServerServingTheNext) {
  KillMidInput(Name(), "<C-space>zhong", true);
  const kvrtest::Typed got =
      kvrtest::TypeInto(ClientKind::XlibUtf8, Name(), "zhongguo<space><C-space>");
  ASSERT_TRUE(got.ok) << got.diagnosis;
  EXPECT_EQ(got.bytes, "中国");
  const kvrtest::Typed english = kvrtest::TypeInto(ClientKind::XlibUtf8, Name(), "abc");
  ASSERT_TRUE(english.ok) << english.diagnosis;
  EXPECT_EQ(english.bytes, "abc");
}

// Two clients of one process (two connections), typed into by turns: each
// receives exactly its own keys.
std::vector<std::string> TakeTurns(const std::string& name, const std::vector<std::string>& turns) {
  ChildProcess child;
  const bool started = child.Start([&](int fd) {
    alarm(60);
    XimTestClient clients[2];
    for (XimTestClient& c : clients) {
      const std::string error = c.Open({name, "zh_CN.UTF-8", XIMPreeditPosition | XIMStatusNothing,
                                        12, 34, kvrtest::TextLookup::Utf8});
      if (!error.empty()) {
        ReportLine(fd, "error " + error);
        return 1;
      }
    }
    for (size_t t = 0; t < turns.size(); ++t) {
      XimTestClient& c = clients[t % 2];
      std::vector<kvrtest::ScriptKey> keys;
      if (!kvrtest::ParseKeyScript(turns[t], &keys)) return 2;
      for (size_t i = 0; i < keys.size(); ++i) c.XTestKey(keys[i].sym, keys[i].state);
      c.ServeUntilQuiet(400);
    }
    for (XimTestClient& c : clients) c.ServeUntilQuiet(400);
    for (XimTestClient& c : clients) {
      std::string line = "got ";
      for (unsigned char b : c.Received()) line += std::to_string(b) + ",";
      ReportLine(fd, line);
    }
    return 0;
  });
  if (!started || child.Wait(60000) != 0) return {"failed: " + child.Output()};
  std::vector<std::string> out;
  for (const std::string& l : child.Lines("got ")) {
    std::string bytes;
    size_t at = 0, comma;
    while ((comma = l.find(',', at)) != std::string::npos) {
      bytes += static_cast<char>(std::stoi(l.substr(at, comma - at)));
      at = comma + 1;
    }
    out.push_back(bytes);
  }
  return out;
}

TEST_F(Robustness, TwoClientsTakingTurnsEachGetTheirOwnKeys) {
  EXPECT_EQ(TakeTurns(Name(), {"ab", "cd", "ef", "gh"}),
            (std::vector<std::string>{"abef", "cdgh"}));
}

TEST_F(Robustness, TwoClientsTakingTurnsEachGetTheirOwnWords) {
  EXPECT_EQ(
      TakeTurns(Name(), {"<C-space>zhongguo<space>", "beijing<space>", "women<space><C-space>"}),
      (std::vector<std::string>{"中国我们", "北京"}));
}

TEST_F(Robustness, TwentyClientsConnectedAtOnceAreEachServed) {
  ChildProcess child;
  const std::string name = Name();
  ASSERT_TRUE(child.Start([&](int fd) {
    alarm(120);
    constexpr int kClients = 20;
    std::vector<std::unique_ptr<XimTestClient>> clients;
    for (int i = 0; i < kClients; ++i) {
      clients.push_back(std::make_unique<XimTestClient>());
      const std::string error = clients.back()->Open({name, i % 2 ? "zh_CN.UTF-8" : "zh_CN.GBK"});
      if (!error.empty()) {
        ReportLine(fd, "error client " + std::to_string(i) + ": " + error);
        return 1;
      }
    }
    // All connected; each types its own letter (and so triggers on it).
    for (int i = 0; i < kClients; ++i) clients[i]->XTestKey('a' + i);
    for (int i = 0; i < kClients; ++i) {
      clients[i]->ServeUntilQuiet(200);
      ReportLine(fd, "got " + clients[i]->Received());
    }
    return 0;
  }));
  ASSERT_EQ(child.Wait(120000), 0) << child.Output();
  std::vector<std::string> want;
  for (int i = 0; i < 20; ++i) want.push_back(std::string(1, static_cast<char>('a' + i)));
  EXPECT_EQ(child.Lines("got "), want);
  // The server still serves after all twenty left.
  const kvrtest::Typed got = kvrtest::TypeInto(ClientKind::XlibGbk, Name(), "xyz");
  ASSERT_TRUE(got.ok) << got.diagnosis;
  EXPECT_EQ(got.bytes, "xyz");
}

// The root window's XIM_SERVERS entries naming `name`.
int Registrations(Display* dpy, const std::string& name) {
  const Atom servers = XInternAtom(dpy, "XIM_SERVERS", False);
  const Atom mine = XInternAtom(dpy, ("@server=" + name).c_str(), False);
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), servers, 0, 1024, False, XA_ATOM, &type,
                         &format, &n, &after, &data) != Success ||
      !data) {
    return 0;
  }
  int count = 0;
  const Atom* atoms = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < n; ++i) count += atoms[i] == mine;
  XFree(data);
  return count;
}

// A server killed outright leaves its name in XIM_SERVERS; a new kvr under
// the same name takes the name over and serves.
TEST(KvrRestart, AStaleRegistrationOfAKilledServerDoesNotStopTheNext) {
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const std::string name = kvrtest::UniqueImName("KvrStale");
  {
    kvrtest::KvrProcess first;
    ASSERT_TRUE(first.Start(name)) << first.Log();
    first.Kill();
  }
  EXPECT_FALSE(kvrtest::ImServerReady(dpy, name));
  EXPECT_EQ(Registrations(dpy, name), 1);
  kvrtest::KvrProcess second;
  ASSERT_TRUE(second.Start(name)) << second.Log();
  EXPECT_EQ(Registrations(dpy, name), 1);
  const kvrtest::Typed got = kvrtest::TypeInto(ClientKind::XtermUtf8, name, "abc");
  ASSERT_TRUE(got.ok) << got.diagnosis << second.Log();
  EXPECT_EQ(got.bytes, "abc");
  XCloseDisplay(dpy);
}

// A second kvr: one started again from the same directory ends at once and
// shows nothing; one from another directory under a name that is served
// shows its message box, and ends when the box is answered. The first kvr
// serves on either way.
TEST(KvrTwice, ASecondCopyRefusesAndTheFirstServesOn) {
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const std::string name = kvrtest::UniqueImName("KvrTwice");
  kvrtest::KvrProcess first;
  ASSERT_TRUE(first.Start(name)) << first.Log();
  const size_t shown = kvrtest::ShownPopups(dpy).size();
  {
    ChildProcess again;
    ASSERT_TRUE(again.Exec({first.File("kvr")},
                           {{"XMODIFIERS", "@im=" + kvrtest::UniqueImName("KvrAgain")}}));
    EXPECT_EQ(again.Wait(20000), 0);
    EXPECT_EQ(kvrtest::ShownPopups(dpy).size(), shown);
  }
  kvrtest::KvrProcess other;
  ASSERT_TRUE(other.Prepare());
  ChildProcess second;
  const std::string log = other.File("second.log");
  ASSERT_TRUE(second.Exec({other.File("kvr")}, {{"XMODIFIERS", "@im=" + name}}, log));
  // Its message box comes up and takes the keyboard; Return answers it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (kvrtest::ShownPopups(dpy).size() <= shown && !second.Exited() &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_FALSE(second.Exited()) << kvrtest::ReadFileText(log);
  ASSERT_GT(kvrtest::ShownPopups(dpy).size(), shown) << "no message box";
  kvrtest::XTestTap(dpy, XK_Return);
  XSync(dpy, False);
  EXPECT_EQ(second.Wait(20000), 0) << kvrtest::ReadFileText(log);
  EXPECT_NE(kvrtest::ReadFileText(log).find(name), std::string::npos) << kvrtest::ReadFileText(log);
  EXPECT_EQ(kvrtest::ShownPopups(dpy).size(), shown);
  XCloseDisplay(dpy);
  const kvrtest::Typed got =
      kvrtest::TypeInto(ClientKind::XlibUtf8, name, "ab<C-space>beijing<space><C-space>");
  ASSERT_TRUE(got.ok) << got.diagnosis << first.Log();
  EXPECT_EQ(got.bytes, "ab北京");
}

}  // namespace
