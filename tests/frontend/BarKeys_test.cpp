#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "frontend/BarKeys.h"

namespace {

// What the routing did with one key.
struct Trace {
  std::vector<uint32_t> commands;
  std::vector<std::string> engine;  // "type:key" of ProcessKeyMsg, or an operation
};
Trace g_trace;
int g_engineResult = 0;

int ProcessKeyMsgRec(int type, unsigned long key, unsigned long extra) {
  g_trace.engine.push_back(std::to_string(type) + ":" + std::to_string(key) + (extra ? "!" : ""));
  return g_engineResult;
}
void ResetRec(int a, int b, int c) {
  g_trace.engine.push_back("reset" + std::to_string(a) + std::to_string(b) + std::to_string(c));
}
int TranslateRec(unsigned long key, unsigned long, int) {
  g_trace.engine.push_back("translate:" + std::to_string(key));
  return 1;
}
void RepeatRec(unsigned long) { g_trace.engine.push_back("repeat"); }
int PyDlgRec(unsigned long, CPoint*) {
  g_trace.engine.push_back("pydlg");
  return 1;
}
void EnglishRec(unsigned long key) { g_trace.engine.push_back("eng:" + std::to_string(key)); }
void LoseActiveRec() {}
int RunRec(uint32_t id) {
  g_trace.commands.push_back(id);
  return 1;
}

class BarKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBarEngineOps(
        {ProcessKeyMsgRec, ResetRec, TranslateRec, RepeatRec, PyDlgRec, EnglishRec, LoseActiveRec});
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMthd = kPinYin;
    dictionary.m_bLeftAlt = 0;
    dictionary.m_bModalBox = 0;
    dictionary.m_pModalBox = nullptr;
    dictionary.m_pBusyMarker = nullptr;
    dictionary.m_bIMode = 0;
    dictionary.m_strKeySeq.Empty();
    g_trace = Trace{};
    g_engineResult = 0;
  }
  void TearDown() override { SetBarEngineOps(EngineBarOps()); }
  int Route(bool pressed, uint32_t key, uint32_t state, bool barShown = false,
            bool keymap = false) {
    return RouteBarKey(pressed, key, state, BarKeyWorld{barShown, keymap, RunRec});
  }
};

constexpr uint32_t kShift = 0x1, kCtrl = 0x4, kAlt = 0x8;

TEST_F(BarKeysTest, RoutingTable) {
  struct Case {
    bool pressed;
    uint32_t key, state;
    bool barShown;
    int switchKey;
    int result;
    std::vector<uint32_t> commands;
    std::vector<std::string> engine;
  } const cases[] = {
      // Letters go to the engine in upper case; the result is the engine's.
      {true, 'a', 0, false, 0, 0, {}, {"3:65"}},
      {true, 'A', kShift, false, 0, 0, {}, {"3:65"}},
      {false, 'a', 0, false, 0, 0, {}, {"4:65"}},
      {true, XK_space, kCtrl, false, 0, 1, {kCmdShowBar}, {}},
      {true, XK_space, kCtrl, true, 0, 1, {kCmdHideBar}, {}},
      {true, XK_F12, 0, false, 0, 1, {kCmdToggleInputMode}, {}},
      {true, XK_F12, 0, false, 1, 0, {}, {"3:" + std::to_string(XK_F12)}},
      {true, 'j', kCtrl, false, 0, 1, {kCmdFanTi}, {}},
      // Alt hot keys (right Alt: the left-Alt flag is clear).
      {true, XK_comma, kAlt, false, 0, 1, {kCmdChnPunct}, {}},
      {true, 'c', kAlt, false, 0, 1, {kCmdPhraseBuilding}, {}},
      {true, 'v', kAlt, false, 0, 1, {kCmdAltV}, {}},
      {true, 'b', kAlt, false, 0, 1, {kCmdFullWidth}, {}},
      {true, 'k', kAlt, false, 0, 1, {kCmdKeymap}, {}},
      {true, 's', kAlt, false, 0, 1, {kCmdFindSaying}, {}},
      {true, 'r', kAlt, false, 0, 1, {}, {"repeat"}},
      {true, '0', kAlt, false, 0, 1, {kCmdChnNumber}, {}},
      {true, '9', kAlt, false, 0, 1, {kCmdChnNumberFanTi}, {}},
      {true, 'f', kAlt, false, 0, 1, {}, {"reset101", "translate:86"}},
      {true, 'x', kAlt, false, 0, 0, {}, {"2:88"}},
      // Q belongs to shape-code input only.
      {true, 'q', kAlt, false, 0, 0, {}, {"2:81"}},
      // Releases.
      {false, XK_Alt_R, kAlt, false, 0, 1, {}, {"1:" + std::to_string(XK_Alt_R)}},
      {false, XK_Alt_L, 0, false, 0, 1, {}, {"1:" + std::to_string(XK_Alt_L)}},
      {false, 'a', kAlt, false, 0, 1, {}, {}},
      {false, XK_Left, 0, false, 0, 1, {}, {}},
  };
  for (const Case& c : cases) {
    SetUp();
    cfgInputManager.ChnEnglshSwitchKey = c.switchKey;
    EXPECT_EQ(Route(c.pressed, c.key, c.state, c.barShown), c.result)
        << std::hex << c.key << " state " << c.state;
    EXPECT_EQ(g_trace.commands, c.commands) << std::hex << c.key;
    EXPECT_EQ(g_trace.engine, c.engine) << std::hex << c.key;
  }
}

TEST_F(BarKeysTest, EngineResultIsTheKeyResult) {
  g_engineResult = 1;
  EXPECT_EQ(Route(true, 'n', 0), 1);
  g_engineResult = 0;
  EXPECT_EQ(Route(true, XK_Return, 0), 0);
}

TEST_F(BarKeysTest, LeftAltSendsAltKeysToTheEngine) {
  dictionary.m_bLeftAlt = 1;
  EXPECT_EQ(Route(true, XK_comma, kAlt), 0);
  EXPECT_TRUE(g_trace.commands.empty());
  EXPECT_EQ(g_trace.engine, std::vector<std::string>{"2:44"});
}

TEST_F(BarKeysTest, EngineBoxOrBusyTakesEveryKey) {
  int marker = 0;
  dictionary.m_pBusyMarker = &marker;
  EXPECT_EQ(Route(true, 'a', 0), 1);
  EXPECT_EQ(Route(true, XK_space, kCtrl), 1);
  dictionary.m_pBusyMarker = nullptr;
  dictionary.m_bModalBox = 1;
  dictionary.m_pModalBox = &marker;
  EXPECT_EQ(Route(false, 'a', 0), 1);
  EXPECT_TRUE(g_trace.commands.empty());
  EXPECT_TRUE(g_trace.engine.empty());
  dictionary.m_bModalBox = 0;
  dictionary.m_pModalBox = nullptr;
}

TEST_F(BarKeysTest, EscapeHidesAShownKeymap) {
  EXPECT_EQ(Route(true, XK_Escape, 0, false, true), 1);
  EXPECT_EQ(g_trace.commands, std::vector<uint32_t>{kCmdKeymap});
  EXPECT_TRUE(g_trace.engine.empty());
  g_trace = Trace{};
  Route(true, XK_Escape, 0, false, false);
  EXPECT_EQ(g_trace.engine, std::vector<std::string>{"3:" + std::to_string(XK_Escape)});
}

TEST_F(BarKeysTest, KeyRecordAndEnglishLetters) {
  dictionary.m_strEngKeys = "zhong";
  dictionary.m_tmEngKey = 5;
  Route(true, 'g', kShift | kCtrl);
  EXPECT_EQ(dictionary.m_bShift, 1);
  EXPECT_EQ(dictionary.m_bCtrl, 1);
  EXPECT_EQ(dictionary.m_bAlt, 0);
  EXPECT_EQ(dictionary.m_nXState, kShift | kCtrl);
  // A letter leaves the English-letter record to the engine.
  EXPECT_EQ(std::string(dictionary.m_strEngKeys), "zhong");
  Route(true, XK_Return, 0);
  EXPECT_TRUE(dictionary.m_strEngKeys.IsEmpty());
  EXPECT_EQ(dictionary.m_tmEngKey, 0u);
  // The right Alt's release clears the Alt flag.
  Route(false, XK_Alt_R, kAlt);
  EXPECT_EQ(dictionary.m_bAlt, 0);
}

TEST_F(BarKeysTest, EnglishKeyMessage) {
  OnEnglishKey('q');
  EXPECT_EQ(g_trace.engine, std::vector<std::string>{"eng:113"});
  dictionary.m_strEngKeys = "ab";
  dictionary.m_bEngTipShown = 1;
  OnEnglishKey(XK_F12);  // the switch key keeps the letters
  EXPECT_EQ(std::string(dictionary.m_strEngKeys), "ab");
  EXPECT_EQ(dictionary.m_bEngTipShown, 0);
  OnEnglishKey(XK_Tab);
  EXPECT_TRUE(dictionary.m_strEngKeys.IsEmpty());
}

}  // namespace
