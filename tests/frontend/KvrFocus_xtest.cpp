// kvr while the keyboard focus moves between clients, and while a client
// resets, unfocuses or destroys its input context in the middle of input:
// the keys half typed for one client never end up in another, and the
// panes follow. Two clients of one process (two connections, two windows)
// take turns; kvr runs from a copy of the distribution directory under an
// XIM name of its own and is stopped by its process id.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <unistd.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::Hex;
using kvrtest::ReportLine;
using kvrtest::Unhex;
using kvrtest::XimTestClient;

// One step of a run: keys typed into a client (a key script), or an action
// on its input context: "!reset" (XmbResetIC; what it returns is recorded),
// "!unfocus", "!focus", "!destroy", "!spot" (the spot moves to (60, 70) in
// the window), or "!take" (the X focus moves to the client's window, whose
// input context then takes the focus). Client i's window is at
// (10 + 300i, 10 + 200i), its spot at (12, 34) in it.
struct Step {
  int client;
  const char* what;
};

struct Outcome {
  bool ok = false;
  std::string error;
  std::vector<std::string> received;  // per client, UTF-8
  std::vector<std::string> resets;    // what each "!reset" returned
  std::vector<int> popups;            // shown override-redirect windows after each step
  std::vector<std::string> places;    // their root positions after each step, "x,y " each
};

Outcome RunSteps(const std::string& name, const std::vector<Step>& steps) {
  ChildProcess child;
  const bool started = child.Start([&](int fd) {
    alarm(90);
    XimTestClient clients[2];
    for (int i = 0; i < 2; ++i) {
      kvrtest::XimClientOptions options{name, "zh_CN.UTF-8"};
      options.lookup = kvrtest::TextLookup::Utf8;
      const std::string error = clients[i].Open(options);
      if (!error.empty()) {
        ReportLine(fd, "error " + error);
        return 1;
      }
      XMoveWindow(clients[i].Dpy(), clients[i].Win(), 10 + 300 * i, 10 + 200 * i);
    }
    for (const Step& s : steps) {
      XimTestClient& c = clients[s.client];
      const std::string what = s.what;
      if (what == "!reset") {
        char* left = XmbResetIC(c.Ic());
        ReportLine(fd, "reset " + Hex(left ? left : ""));
        if (left) XFree(left);
      } else if (what == "!unfocus") {
        XUnsetICFocus(c.Ic());
      } else if (what == "!focus") {
        XSetICFocus(c.Ic());
      } else if (what == "!spot") {
        XPoint spot{60, 70};
        XVaNestedList pre = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
        XSetICValues(c.Ic(), XNPreeditAttributes, pre, nullptr);
        XFree(pre);
      } else if (what == "!take") {
        kvrtest::FocusWindow(c.Dpy(), c.Win());
      } else if (what == "!destroy") {
        c.DestroyIc();
      } else {
        std::vector<kvrtest::ScriptKey> keys;
        if (!kvrtest::ParseKeyScript(what, &keys)) return 2;
        for (const kvrtest::ScriptKey& k : keys) c.XTestKey(k.sym, k.state);
      }
      XSync(c.Dpy(), False);
      c.ServeUntilQuiet(400);
      for (XimTestClient& other : clients) other.ServeUntilQuiet(100);
      const std::vector<kvrtest::ShownPopup> shown = kvrtest::ShownPopups(c.Dpy());
      ReportLine(fd, "popups " + std::to_string(shown.size()));
      std::string places;
      for (const kvrtest::ShownPopup& p : shown)
        places += std::to_string(p.attr.x) + "," + std::to_string(p.attr.y) + " ";
      ReportLine(fd, "places " + places);
    }
    for (XimTestClient& c : clients) ReportLine(fd, "got " + Hex(c.Received()));
    return 0;
  });
  Outcome out;
  if (!started || child.Wait(90000) != 0) {
    out.error = "client failed: " + child.Output();
    return out;
  }
  for (const std::string& l : child.Lines("got ")) out.received.push_back(Unhex(l));
  for (const std::string& l : child.Lines("reset ")) out.resets.push_back(Unhex(l));
  for (const std::string& l : child.Lines("popups ")) out.popups.push_back(std::stoi(l));
  out.places = child.Lines("places ");
  out.ok = out.received.size() == 2;
  return out;
}

struct Case {
  const char* name;
  std::vector<Step> steps;
  std::vector<std::string> received;  // per client, UTF-8
  std::vector<std::string> resets;
  // Steps after which the popups shown must be as many as after step 0
  // (Ctrl+Space: the bar and nothing typed).
  std::vector<size_t> panesGone;
  // After step first, a popup (the keys pane) stands at second, "x,y".
  std::vector<std::pair<size_t, const char*>> paneAt = {};
};

// The keys pane stands 12 left of and 24 below the spot.
constexpr const char* kKeysAtSpot0 = "10,68";
constexpr const char* kKeysAtSpot1 = "310,268";

// Client 0 half types "zhong" (中) and something happens to it; what it
// typed must not reach client 1, whose "beijing" is 北京, nor be finished
// in client 0 after its input was reset. Every case ends in English input.
const Case kCases[] = {
    {"FocusMovesToAnotherClient",
     {{0, "<C-space>"}, {0, "zhong"}, {1, "!take"}, {1, "bei"}, {1, "jing<space><C-space>"}},
     {"", "北京"},
     {},
     {2},
     {{1, kKeysAtSpot0}, {3, kKeysAtSpot1}}},
    {"ClientUnsetsFocusAndAnotherTypes",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!unfocus"}, {1, "beijing<space><C-space>"}},
     {"", "北京"},
     {},
     {}},
    {"ClientDestroysItsContext",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!destroy"}, {1, "beijing<space><C-space>"}},
     {"", "北京"},
     {},
     {2}},
    {"ClientResetsItsContext",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!reset"}, {0, "beijing<space><C-space>"}},
     {"北京", ""},
     {""},
     {2}},
    // The same context losing and regaining the focus keeps its keys.
    {"SameContextRegainsTheFocus",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!unfocus"}, {0, "!focus"}, {0, "guo<space><C-space>"}},
     {"中国", ""},
     {},
     {},
     {{1, kKeysAtSpot0}, {3, kKeysAtSpot0}}},
    // The spot of a client without the focus leaves the panes where they
    // are; the focused client's moves them.
    {"SpotOfAClientWithoutTheFocus",
     {{0, "<C-space>"}, {0, "zhong"}, {1, "!spot"}, {0, "!spot"}, {0, "<Escape><C-space>"}},
     {"", ""},
     {},
     {},
     {{2, kKeysAtSpot0}, {3, "58,104"}}},
    // A reset of the other client's context leaves this one's keys alone.
    {"OtherClientResets",
     {{0, "<C-space>"}, {0, "zhong"}, {1, "!reset"}, {0, "guo<space><C-space>"}},
     {"中国", ""},
     {""},
     {}},
};

class Focus : public testing::TestWithParam<Case> {
 protected:
  static void TearDownTestSuite() { s_kvr.reset(); }
  // A case that failed may leave kvr in Chinese input: the next gets a new kvr.
  void TearDown() override {
    if (HasFailure()) s_kvr.reset();
  }
  static kvrtest::KvrProcess* Server(std::string* why) {
    if (s_kvr && s_kvr->Running()) return s_kvr.get();
    s_kvr = std::make_unique<kvrtest::KvrProcess>();
    if (!s_kvr->Start(kvrtest::UniqueImName("KvrFocus"))) {
      *why = s_kvr->Log();
      return nullptr;
    }
    return s_kvr.get();
  }
  static std::unique_ptr<kvrtest::KvrProcess> s_kvr;
};
std::unique_ptr<kvrtest::KvrProcess> Focus::s_kvr;

std::string Show(const Outcome& o) {
  std::string s = o.error;
  for (size_t i = 0; i < o.received.size(); ++i)
    s += "\nclient " + std::to_string(i) + ": " + o.received[i];
  for (const std::string& r : o.resets) s += "\nreset: " + r;
  for (const std::string& r : o.places) s += "\nplaces: " + r;
  return s;
}

TEST_P(Focus, EachClientGetsOnlyItsOwnText) {
  const Case& c = GetParam();
  std::string why;
  kvrtest::KvrProcess* kvr = Server(&why);
  ASSERT_NE(kvr, nullptr) << why;
  const Outcome o = RunSteps(kvr->Name(), c.steps);
  ASSERT_TRUE(o.ok) << Show(o) << "\nkvr: " << kvr->Log();
  EXPECT_EQ(o.received, c.received) << Show(o);
  EXPECT_EQ(o.resets, c.resets) << Show(o);
  ASSERT_EQ(o.popups.size(), c.steps.size());
  for (size_t step : c.panesGone)
    EXPECT_EQ(o.popups[step], o.popups[0]) << "panes still shown after step " << step;
  for (const auto& [step, at] : c.paneAt) {
    ASSERT_LT(step, o.places.size());
    EXPECT_NE((" " + o.places[step]).find(std::string(" ") + at + " "), std::string::npos)
        << "no keys pane at " << at << " after step " << step << ": " << o.places[step];
  }
  // While keys are typed the panes are up.
  EXPECT_GT(o.popups[1], o.popups[0]);
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

INSTANTIATE_TEST_SUITE_P(Kvr, Focus, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
