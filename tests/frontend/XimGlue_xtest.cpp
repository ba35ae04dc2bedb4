// The English-mode holding of the XIM glue: after a letter triggers a
// client in English input, the keys the client forwards are held until the
// letter's release, which goes first (as a press and a release of its own
// key), and the held keys follow in order; so the client gets its keys back
// in the order they were typed. A recorder stands in for the delivery to
// the bar; the keys are real keycodes of the test's display.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "frontend/BarKeys.h"
#include "frontend/XimGlue.h"

namespace {

std::vector<std::string>* g_delivered = nullptr;
Display* g_dpy = nullptr;

// "P a", "R A" (upper case: with Shift).
std::string Describe(const XKeyEvent& k) {
  const KeySym sym = XkbKeycodeToKeysym(g_dpy, static_cast<KeyCode>(k.keycode), 0, 0);
  char c = static_cast<char>(sym);
  if (k.state & ShiftMask) c = static_cast<char>(c - 'a' + 'A');
  return std::string(k.type == KeyPress ? "P " : "R ") + c;
}

void Record(XIMS, IMForwardEventStruct* rec) { g_delivered->push_back(Describe(rec->event.xkey)); }

struct Case {
  const char* name;
  int32_t mode;           // input mode when the trigger arrives
  int triggerRow;         // row of the on-keys: 0..25 letters, 26 Ctrl+Space
  const char* forwarded;  // events: "Pb" press b, "RA" release of a with Shift, ...
  std::vector<std::string> delivered;
  uint32_t holdingAfter;  // the held letter afterwards, 0 idle
};

const Case kCases[] = {
    {"ReleaseOfTheLetterEndsTheHolding",
     kEnglishInput,
     0,
     "Ra Pb Rb",
     {"P a", "R a", "P b", "R b"},
     0},
    {"KeysTypedBeforeTheReleaseFollowIt",
     kEnglishInput,
     0,
     "Pb Pc Ra Rb Rc",
     {"P a", "R a", "P b", "P c", "R b", "R c"},
     0},
    {"TheShiftedReleaseCounts", kEnglishInput, 0, "RA", {"P A", "R A"}, 0},
    {"OtherReleasesAreHeld", kEnglishInput, 0, "Pb Rb", {}, 'a'},
    {"TheEleventhEventsReleaseEndsTheHolding",
     kEnglishInput,
     0,
     "Pb Rb Pc Rc Pd Rd Pe Re Pf Rf Pg Rg",
     {"P g", "R g", "P b", "R b", "P c", "R c", "P d", "R d", "P e", "R e", "P f", "R f", "P g"},
     0},
    {"ChineseInputHoldsNothing", kChineseInput, 0, "Pb Rb", {"P b", "R b"}, 0},
    {"CtrlSpaceHoldsNothing", kEnglishInput, 26, "Pb Rb", {"P b", "R b"}, 0},
};

class Holding : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    g_dpy = XOpenDisplay(nullptr);
    ASSERT_NE(g_dpy, nullptr);
    m_ims.core.display = g_dpy;
    g_delivered = &m_delivered;
    SetForwardedKeyDelivery(Record);
    justTriggeredAndHereIstheDownKey = 0;
  }
  void TearDown() override {
    SetForwardedKeyDelivery(nullptr);
    cfgInputManager.InputMode = kEnglishInput;
    justTriggeredAndHereIstheDownKey = 0;
    arrRecordedKeydownsBeforeTriggerKeyRelease.RemoveAll();
    g_delivered = nullptr;
    XCloseDisplay(g_dpy);
    g_dpy = nullptr;
  }

  void Trigger(int row) {
    IMTriggerNotifyStruct t{};
    t.major_code = XIM_TRIGGER_NOTIFY;
    t.connect_id = 1;
    t.icid = 1;
    t.flag = 0;
    t.key_index = static_cast<uint32_t>(row * 3);
    t.event_mask = KeyPressMask | KeyReleaseMask;
    XimTriggerNotifyHandler(&m_ims, &t);
  }

  void Forward(char type, char letter) {
    IMForwardEventStruct rec{};
    rec.major_code = XIM_FORWARD_EVENT;
    rec.connect_id = 1;
    rec.icid = 1;
    rec.event.xkey.type = type == 'P' ? KeyPress : KeyRelease;
    rec.event.xkey.display = g_dpy;
    rec.event.xkey.window = DefaultRootWindow(g_dpy);
    const bool upper = letter >= 'A' && letter <= 'Z';
    rec.event.xkey.keycode = XKeysymToKeycode(g_dpy, upper ? letter - 'A' + 'a' : letter);
    rec.event.xkey.state = upper ? ShiftMask : 0;
    XimForwardEventHandler(&m_ims, &rec);
  }

  _XIMS m_ims{};
  std::vector<std::string> m_delivered;
};

TEST_P(Holding, DeliversInTypedOrder) {
  const Case& c = GetParam();
  cfgInputManager.InputMode = c.mode;
  Trigger(c.triggerRow);
  const std::string events = c.forwarded;
  for (size_t i = 0; i + 1 < events.size(); i += 3) Forward(events[i], events[i + 1]);
  EXPECT_EQ(m_delivered, c.delivered);
  EXPECT_EQ(justTriggeredAndHereIstheDownKey, c.holdingAfter);
}

INSTANTIATE_TEST_SUITE_P(XimGlue, Holding, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

// A new trigger forgets what an earlier one held.
TEST_F(Holding, ANewTriggerDropsTheHeldKeys) {
  cfgInputManager.InputMode = kEnglishInput;
  Trigger(0);
  Forward('P', 'b');
  Trigger(2);  // 'c'
  Forward('R', 'c');
  EXPECT_EQ(m_delivered, (std::vector<std::string>{"P c", "R c"}));
}

// A client that goes away ends the holding its trigger started, and the
// keys it left in the engine are dropped; another client's going changes
// nothing.
int g_resets = 0;
void CountReset(int, int, int) { ++g_resets; }

TEST_F(Holding, AClientGoneEndsItsHoldingAndDropsItsKeys) {
  BarEngineOps ops = EngineBarOps();
  ops.resetChnInput = CountReset;
  SetBarEngineOps(ops);
  g_resets = 0;
  cfgInputManager.InputMode = kEnglishInput;
  Trigger(0);  // connection 1
  Forward('P', 'b');
  dictionary.m_fwdEvent.connect_id = 1;
  IMDisConnectStruct other{XIM_DISCONNECT, 0, 2};
  XimDisconnectHandler(&m_ims, &other);
  EXPECT_EQ(justTriggeredAndHereIstheDownKey, static_cast<uint32_t>('a'));
  EXPECT_EQ(g_resets, 0);
  IMDisConnectStruct gone{XIM_DISCONNECT, 0, 1};
  XimDisconnectHandler(&m_ims, &gone);
  EXPECT_EQ(justTriggeredAndHereIstheDownKey, 0u);
  EXPECT_EQ(arrRecordedKeydownsBeforeTriggerKeyRelease.GetSize(), 0);
  EXPECT_EQ(g_resets, 1);
  EXPECT_EQ(dictionary.m_fwdEvent.connect_id, 0);
  SetBarEngineOps(EngineBarOps());
  EXPECT_TRUE(m_delivered.empty());
}

}  // namespace
