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
using kvrtest::ReportLine;
using kvrtest::XimTestClient;

// One step of a run: keys typed into a client (a key script), or an action
// on its input context: "!reset" (XmbResetIC; what it returns is recorded),
// "!unfocus", "!focus", "!destroy", or "!take" (the X focus moves to the
// client's window, whose input context then takes the focus).
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
};

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

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
      ReportLine(fd, "popups " + std::to_string(kvrtest::ShownPopups(c.Dpy()).size()));
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
};

// Client 0 half types "zhong" (中) and something happens to it; what it
// typed must not reach client 1, whose "beijing" is 北京, nor be finished
// in client 0 after its input was reset. Every case ends in English input.
const Case kCases[] = {
    {"FocusMovesToAnotherClient",
     {{0, "<C-space>"}, {0, "zhong"}, {1, "!take"}, {1, "beijing<space><C-space>"}},
     {"", "北京"}, {}, {2}},
    {"ClientUnsetsFocusAndAnotherTypes",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!unfocus"}, {1, "beijing<space><C-space>"}},
     {"", "北京"}, {}, {}},
    {"ClientDestroysItsContext",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!destroy"}, {1, "beijing<space><C-space>"}},
     {"", "北京"}, {}, {2}},
    {"ClientResetsItsContext",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!reset"}, {0, "beijing<space><C-space>"}},
     {"北京", ""}, {""}, {2}},
    // The same context losing and regaining the focus keeps its keys.
    {"SameContextRegainsTheFocus",
     {{0, "<C-space>"}, {0, "zhong"}, {0, "!unfocus"}, {0, "!focus"}, {0, "guo<space><C-space>"}},
     {"中国", ""}, {}, {}},
    // A reset of the other client's context leaves this one's keys alone.
    {"OtherClientResets",
     {{0, "<C-space>"}, {0, "zhong"}, {1, "!reset"}, {0, "guo<space><C-space>"}},
     {"中国", ""}, {""}, {}},
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

TEST_P(Focus, EachClientGetsOnlyItsOwnText) {
  const Case& c = GetParam();
  std::string why;
  kvrtest::KvrProcess* kvr = Server(&why);
  ASSERT_NE(kvr, nullptr) << why;
  const Outcome o = RunSteps(kvr->Name(), c.steps);
  ASSERT_TRUE(o.ok) << o.error << "\nkvr: " << kvr->Log();
  EXPECT_EQ(o.received, c.received);
  EXPECT_EQ(o.resets, c.resets);
  ASSERT_EQ(o.popups.size(), c.steps.size());
  for (size_t step : c.panesGone) EXPECT_EQ(o.popups[step], o.popups[0]) << "panes still shown after step " << step;
  // While keys are typed the panes are up.
  EXPECT_GT(o.popups[1], o.popups[0]);
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

INSTANTIATE_TEST_SUITE_P(Kvr, Focus, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
