#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "frontend/BarCommands.h"
#include "frontend/BarDialogs.h"
#include "frontend/BarKeys.h"
#include "frontend/CMainFrame.h"
#include "frontend/CMdiApp.h"
#include "frontend/CommandIds.h"
#include "frontend/MainBar.h"
#include "frontend/Settings.h"
#include "tests/frontend/RecordingBarWorld.h"

namespace {

using Calls = std::vector<std::string>;

// The engine as the commands see it: every call recorded in order.
Calls g_engine;
bool g_lexiconSaves = true;

void MdChange(int onlyMode) { g_engine.push_back("mdchange " + std::to_string(onlyMode)); }
int CapHit(int english, int, int) {
  g_engine.push_back("caphit " + std::to_string(english));
  return 0;
}
int ChnNum() {
  g_engine.push_back("chnnum");
  return 1;
}
bool FileLexicon() {
  g_engine.push_back("file lexicon");
  return g_lexiconSaves;
}
void BiHuaKeys() { g_engine.push_back("bihua keys"); }
void SavePyDic() { g_engine.push_back("save pydic"); }
void LoadPyDic() { g_engine.push_back("load pydic"); }
void Forecast() { g_engine.push_back("forecast db"); }
void ForecastReset(int keep) { g_engine.push_back("forecast reset " + std::to_string(keep)); }
void PageSize(int size) { g_engine.push_back("page size " + std::to_string(size)); }
int ProcessKey(int type, unsigned long key, unsigned long) {
  g_engine.push_back("key " + std::to_string(type) + ":" + std::to_string(key));
  return 1;
}
void Reset(int a, int b, int c) {
  g_engine.push_back("reset " + std::to_string(a) + std::to_string(b) + std::to_string(c));
}
int Translate(unsigned long, unsigned long, int) { return 0; }
void Repeat(unsigned long) {}
int PyDlg(unsigned long, CPoint*) { return 1; }
void English(unsigned long) {}
void LoseActive() {}

class BarCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBarWorld(&world);
    gpMainFrame = &frame;
    SetCommandEngineOps({MdChange, CapHit, ChnNum, FileLexicon, BiHuaKeys, SavePyDic, LoadPyDic,
                         Forecast, ForecastReset, PageSize});
    SetBarEngineOps({ProcessKey, Reset, Translate, Repeat, PyDlg, English, LoseActive});
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMode = kChineseInput;
    cfgInputManager.InputMthd = kPinYin;
    cfgInputManager.ChnUI = 1;
    dictionary.m_bIMode = 0;
    dictionary.m_nEngineMissing = kBothInstalled;
    dictionary.m_bChnNum = dictionary.m_bChnNumFanTi = 0;
    g_engine.clear();
    g_lexiconSaves = true;
  }
  void TearDown() override {
    SetBarWorld(nullptr);
    gpMainFrame = nullptr;
    SetCommandEngineOps(EngineCommandOps());
    SetBarEngineOps(EngineBarOps());
  }
  CMdiApp app;
  CMainFrame frame;
  RecordingBarWorld world;
};

std::string Id(uint32_t id) { return std::to_string(id); }

TEST_F(BarCommandsTest, CommandTable) {
  using S = typInputSettings;
  struct Case {
    uint32_t id;
    int32_t S::*slot;  // the setting that changes (null: none)
    int32_t before, after;
    bool english;  // run in English input
    Calls world;
    Calls engine;
  } const cases[] = {
      {kCmdToggleInputMode,
       &S::InputMode,
       0,
       1,
       false,
       {"repaint", "menustate", "repaint"},
       {"mdchange 1", "caphit 1"}},
      {kCmdToggleInputMode,
       &S::InputMode,
       1,
       0,
       true,
       {"repaint", "menustate", "repaint"},
       {"mdchange 1", "caphit 0"}},
      {kCmdChnPunct, &S::UseChnPunctMark, 1, 0, false, {"menustate", "repaint"}, {}},
      {kCmdChnPunct, &S::UseChnPunctMark, 1, 1, true, {}, {}},  // Chinese input only
      {kCmdFullWidth, &S::FullSize, 0, 1, false, {"menustate", "repaint"}, {}},
      {kCmdFullWidth, &S::FullSize, 0, 0, true, {}, {}},
      {kCmdAddSpace, &S::AddSpaceInOutput, 0, 1, true, {"menustate"}, {}},
      {kCmdUiEnglish, &S::ChnUI, 1, 0, false, {"menustate"}, {}},
      {kCmdUiSimplified, &S::ChnUI, 0, 1, false, {"menustate"}, {}},
      {kCmdUiTraditional, &S::ChnUI, 1, 2, false, {"menustate"}, {}},
      {kCmdFanTi, &S::FanTi, 0, 1, true, {"menustate", "repaint"}, {}},
      {kCmdPhraseBuilding, &S::useCizu, 0, 1, false, {"menustate"}, {}},  // PinYin: set on
      {kCmdToggleInputMethod,
       &S::InputMthd,
       1,
       0,
       false,
       {"menustate", "repaint"},
       {"reset 101", "file lexicon", "mdchange 0"}},
      {kCmdToggleInputMethod, &S::InputMthd, 1, 1, true, {}, {}},
      {kCmdChnNumber, nullptr, 0, 0, false, {"menustate", "repaint"}, {"chnnum"}},
      {kCmdClearInput, nullptr, 0, 0, true, {}, {"reset 101"}},
      {kCmdResetInput, nullptr, 0, 0, true, {}, {"reset 101"}},
      {kCmdDelayedReset, nullptr, 0, 0, true, {"sleep 1"}, {"reset 101"}},
      {kCmdReSelect, nullptr, 0, 0, false, {}, {"key 2:45"}},
      {kCmdMainMenu, nullptr, 0, 0, true, {"menu 0"}, {}},
      {kCmdPrefsMenu, nullptr, 0, 0, true, {"menu 1"}, {}},
      {kCmdHelpMenu, nullptr, 0, 0, true, {"menu 2"}, {}},
      {kCmdGuide, nullptr, 0, 0, true, {"guide kivraguide.htm"}, {"reset 101"}},
      {kCmdReadme, nullptr, 0, 0, true, {"guide readme2.igb"}, {"reset 101"}},
      {kCmdKvrGuide, nullptr, 0, 0, true, {"guide KVRGUIDE.HTM"}, {"reset 101"}},
      {kCmdHelpNewWords, nullptr, 0, 0, true, {std::string("box ") + kMsgNewWordsHelp}, {}},
      {kCmdHelpSymbols, nullptr, 0, 0, true, {std::string("box ") + kMsgTypeVOrAltF}, {}},
      // Dialogs: cancelled here (the recording world's default answer).
      {kCmdInputOptions, nullptr, 0, 0, true, {"dialog 108"}, {}},
      {kCmdAbout, nullptr, 0, 0, true, {"dialog 100"}, {}},
      {kCmdKeymap,
       nullptr,
       0,
       0,
       false,
       {"make keymap", std::string("status ") + kMsgKeymapStatus, "menustate", "repaint"},
       {}},
      {kCmdKeymap, nullptr, 0, 0, true, {}, {}},
      {kCmdFindSaying, nullptr, 0, 0, true, {"dialog 110"}, {}},
      {kCmdTips, nullptr, 0, 0, true, {"dialog 113"}, {}},  // cancelled: nothing changes
      {kCmdBarStyle, nullptr, 0, 0, true, {"dialog 114", "status "}, {}},
      // Ids that nothing handles.
      {kCmdAltV, nullptr, 0, 0, false, {}, {}},
      {kCmdAltA, nullptr, 0, 0, false, {}, {}},
      {kCmdPrintKeymap, nullptr, 0, 0, false, {}, {}},
      {kCmdSlideShow, nullptr, 0, 0, false, {}, {}},
      {kCmdMsg18, nullptr, 0, 0, false, {}, {}},
      {12345, nullptr, 0, 0, false, {}, {}},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(testing::Message() << std::hex << c.id << (c.english ? " English" : ""));
    cfgInputManager.InputMode = c.english ? kEnglishInput : kChineseInput;
    if (c.slot) cfgInputManager.*c.slot = c.before;
    const typInputSettings before = cfgInputManager;
    EXPECT_EQ(OnBarCommand(c.id), 1);
    EXPECT_EQ(world.Take(), c.world);
    EXPECT_EQ(g_engine, c.engine);
    if (c.slot) {
      EXPECT_EQ(cfgInputManager.*c.slot, c.after);
    }
    // No other setting changed (the UI language follows traditional output).
    for (int i = 0; i < typInputSettings::kSlotCount; ++i) {
      if (c.slot && &(cfgInputManager.*c.slot) == &cfgInputManager.Slot(i)) continue;
      if (c.id == kCmdFanTi && i == 18) continue;
      if (c.id == kCmdToggleInputMethod && i == 7) continue;
      EXPECT_EQ(cfgInputManager.Slot(i), before.Slot(i)) << "slot " << i;
    }
  }
}

TEST_F(BarCommandsTest, InputModeToggleInIModeClearsTheInputFirst) {
  dictionary.m_bIMode = 1;
  OnBarCommand(kCmdToggleInputMode);
  EXPECT_EQ(cfgInputManager.InputMode, kChineseInput);
  // The clear runs at once (not posted), so a key typed next finds it done.
  EXPECT_EQ(world.Take(), (Calls{"menustate", "repaint"}));
  EXPECT_EQ(g_engine, (Calls{"reset 101"}));
  dictionary.m_bIMode = 0;  // the clear command ended the i-mode
  OnBarCommand(kCmdToggleInputMode);
  EXPECT_EQ(cfgInputManager.InputMode, kEnglishInput);
}

TEST_F(BarCommandsTest, TraditionalOutputSetsTheUiLanguage) {
  cfgInputManager.ChnUI = 0;
  OnBarCommand(kCmdFanTi);
  EXPECT_EQ(cfgInputManager.FanTi, 1);
  EXPECT_EQ(cfgInputManager.ChnUI, 2);
  EXPECT_EQ(app.m_nUILang, kUILangBig5);
  OnBarCommand(kCmdFanTi);
  EXPECT_EQ(cfgInputManager.ChnUI, 1);  // simplified, even though it was English before
  EXPECT_EQ(app.m_nUILang, kUILangGbk);
}

TEST_F(BarCommandsTest, PhraseBuildingTogglesOnlyInXingMa) {
  cfgInputManager.InputMthd = kXingMa;
  cfgInputManager.useCizu = 1;
  OnBarCommand(kCmdPhraseBuilding);
  EXPECT_EQ(cfgInputManager.useCizu, 0);
  OnBarCommand(kCmdPhraseBuilding);
  EXPECT_EQ(cfgInputManager.useCizu, 1);
}

TEST_F(BarCommandsTest, MethodSwitchNeedsBothMethods) {
  dictionary.m_nEngineMissing = kXingMaMissing;
  OnBarCommand(kCmdToggleInputMethod);
  EXPECT_EQ(cfgInputManager.InputMthd, kPinYin);
  EXPECT_EQ(world.Take(), (Calls{"box XingMa Not Installed!", "menustate", "repaint"}));
  EXPECT_EQ(g_engine, Calls{});
}

// New words learned under one method are filed and saved before the phrase
// indexes are reloaded for the other; when they cannot be saved, the method
// stays, so the reload cannot drop them.
TEST_F(BarCommandsTest, MethodSwitchKeepsUnsavedWords) {
  g_lexiconSaves = false;
  cfgInputManager.useCizu = 0;
  OnBarCommand(kCmdToggleInputMethod);
  EXPECT_EQ(cfgInputManager.InputMthd, kPinYin);
  EXPECT_EQ(cfgInputManager.useCizu, 0);
  EXPECT_EQ(g_engine, (Calls{"reset 101", "file lexicon"}));
  EXPECT_EQ(world.Take(),
            (Calls{std::string("box ") + kMsgLexiconUnsaved, "menustate", "repaint"}));
}

TEST_F(BarCommandsTest, TraditionalNumbers) {
  dictionary.m_bChnNum = 1;
  OnBarCommand(kCmdChnNumberFanTi);
  EXPECT_EQ(dictionary.m_bChnNumFanTi, 1);
  EXPECT_EQ(dictionary.m_bChnNum, 0);
  EXPECT_EQ(g_engine, (Calls{"reset 101"}));
  const Calls calls = world.Take();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], std::string("status ") + static_cast<const char*>(dictionary.m_strTip));
  EXPECT_FALSE(dictionary.m_strTip.IsEmpty());
  OnBarCommand(kCmdChnNumberFanTi);
  EXPECT_EQ(dictionary.m_bChnNumFanTi, 0);
  EXPECT_TRUE(dictionary.m_strTip.IsEmpty());
  // In English input nothing changes.
  cfgInputManager.InputMode = kEnglishInput;
  OnBarCommand(kCmdChnNumberFanTi);
  EXPECT_EQ(dictionary.m_bChnNumFanTi, 0);
}

// The first keymap command makes the window (shown); the next ones hide and
// show that same window, the status message and the menu's check following.
TEST_F(BarCommandsTest, KeymapIsMadeOnceThenHiddenAndShown) {
  const std::string status = std::string("status ") + kMsgKeymapStatus;
  OnBarCommand(kCmdKeymap);
  ASSERT_NE(frame.m_pKeymap, nullptr);
  AWnd* const keymap = frame.m_pKeymap.get();
  EXPECT_EQ(world.Take(), (Calls{"make keymap", status, "menustate", "repaint"}));
  OnBarCommand(kCmdKeymap);
  EXPECT_EQ(world.Take(), (Calls{"hide window", "status ", "menustate", "repaint"}));
  EXPECT_FALSE(world.IsWindowShown(*keymap));
  OnBarCommand(kCmdKeymap);
  EXPECT_EQ(world.Take(), (Calls{"show window", status, "menustate", "repaint"}));
  EXPECT_EQ(frame.m_pKeymap.get(), keymap);
  // Hidden by other means (a double click): the command shows it again.
  world.ShowWindow(*keymap, false);
  world.Take();
  OnBarCommand(kCmdKeymap);
  EXPECT_EQ(world.Take(), (Calls{"show window", status, "menustate", "repaint"}));
}

// A keymap window that cannot be built leaves nothing behind: no window, no
// status message; the next command tries again.
TEST_F(BarCommandsTest, KeymapThatCannotBeBuiltLeavesNoWindow) {
  world.keymapFails = true;
  OnBarCommand(kCmdKeymap);
  EXPECT_EQ(frame.m_pKeymap, nullptr);
  EXPECT_EQ(world.Take(), (Calls{"make keymap failed", "status ", "menustate", "repaint"}));
  world.keymapFails = false;
  OnBarCommand(kCmdKeymap);
  EXPECT_NE(frame.m_pKeymap, nullptr);
  EXPECT_EQ(world.Take(), (Calls{"make keymap", std::string("status ") + kMsgKeymapStatus,
                                 "menustate", "repaint"}));
}

// The tips dialog gets TipAtStart and TipNum; the tip number it ends on is
// kept however it ends, TipAtStart only on OK. Nothing is saved.
TEST_F(BarCommandsTest, TipsDialogKeepsTheTipShownAndTakesTipAtStartOnOk) {
  struct Case {
    int result;  // how the dialog ends
    int32_t tipAtStart, tipNum;
  } const cases[] = {
      {1, 1, 4},  // OK
      {2, 0, 4},  // Cancel
      {0, 0, 4},  // Escape
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.result);
    cfgInputManager.TipAtStart = 0;
    cfgInputManager.TipNum = 2;
    world.dialogAnswers[113] = {c.result, {{kTipsAtStart, 1}, {kTipsNum, 4}}};
    OnBarCommand(kCmdTips);
    EXPECT_EQ(world.dialogFieldsIn, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(cfgInputManager.TipAtStart, c.tipAtStart);
    EXPECT_EQ(cfgInputManager.TipNum, c.tipNum);
    EXPECT_EQ(world.Take(), Calls{"dialog 113"});
    EXPECT_EQ(world.saves, 0);
  }
}

TEST_F(BarCommandsTest, ShowAndHideTheBar) {
  cfgInputManager.InputMode = kEnglishInput;
  // The switch of input mode runs at once, before the bar is mapped: the
  // keys typed after Ctrl+Space are in the new mode.
  OnBarCommand(kCmdShowBar);
  EXPECT_EQ(world.Take(), (Calls{"repaint", "menustate", "repaint", "show bar"}));
  EXPECT_EQ(cfgInputManager.InputMode, kChineseInput);
  EXPECT_EQ(g_engine, (Calls{"mdchange 1", "caphit 0"}));
  OnBarCommand(kCmdShowBar);  // shown already
  EXPECT_EQ(world.Take(), Calls{});
  g_engine.clear();
  OnBarCommand(kCmdHideBar);
  EXPECT_EQ(world.Take(), (Calls{"repaint", "menustate", "repaint", "hide bar"}));
  EXPECT_EQ(cfgInputManager.InputMode, kEnglishInput);
  EXPECT_EQ(g_engine, (Calls{"reset 101", "mdchange 1", "caphit 1"}));
  OnBarCommand(kCmdHideBar);  // hidden already
  EXPECT_EQ(world.Take(), Calls{});
  // Shown while Chinese input is on already: no switch.
  cfgInputManager.InputMode = kChineseInput;
  OnBarCommand(kCmdShowBar);
  EXPECT_EQ(world.Take(), (Calls{"show bar"}));
}

// A hot key's command takes effect before the next key is routed; one that
// opens a message box or a menu is posted, so its modal loop never runs
// inside the key filter, and so is an id nothing handles.
TEST_F(BarCommandsTest, CommandsInKeyOrderRunAtOnceUnlessTheyOpenABox) {
  struct Case {
    uint32_t id;
    bool posted;
  };
  const Case cases[] = {
      {kCmdToggleInputMode, false},
      {kCmdFullWidth, false},
      {kCmdChnPunct, false},
      {kCmdFanTi, false},
      {kCmdChnNumber, false},
      {kCmdClearInput, false},
      {kCmdKeymap, true},
      {kCmdFindSaying, true},
      {kCmdMainMenu, true},
      {kCmdToggleInputMethod, true},
      {kCmdAltV, true},
      {kCmdAltA, true},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(testing::Message() << std::hex << c.id);
    EXPECT_EQ(RunCommandInOrder(c.id), 1);
    const Calls calls = world.Take();
    const bool posted = calls == Calls{"post " + Id(c.id)};
    EXPECT_EQ(posted, c.posted);
    if (!c.posted) {
      // It ran: the bar was repainted or the input reset.
      EXPECT_TRUE(!calls.empty() || !g_engine.empty());
    }
  }
  // Run at once: the mode has changed before RunCommandInOrder returns.
  SetUp();
  RunCommandInOrder(kCmdFullWidth);
  EXPECT_EQ(cfgInputManager.FullSize, 1);
}

// ---- Dialogs.

// The options dialog is opened with every field from the settings.
TEST_F(BarCommandsTest, OptionsDialogIsFilledFromTheSettings) {
  typInputSettings& c = cfgInputManager;
  c.StdPinYin = 0;
  c.ExcludeLevel = 1500;
  c.NumberOfCandidatesShown = 7;
  c.ShuangPinScheme = 2;
  c.lr_fuzzy = 1;
  c.Slot(25) = 1;
  OnBarCommand(kCmdInputOptions);
  ASSERT_EQ(world.dialogFieldsIn.size(), static_cast<size_t>(kOptFieldCount));
  const std::vector<int32_t>& f = world.dialogFieldsIn;
  EXPECT_EQ(f[kOptRadicals], 1);
  EXPECT_EQ(f[kOptExcludeChoice], 1);
  EXPECT_EQ(f[kOptCandidates], 7);
  EXPECT_EQ(f[kOptShuangPinScheme], 2);
  EXPECT_EQ(f[kOptLrFuzzy], 1);
  EXPECT_EQ(f[kOptUKeyNumber], 1);
  EXPECT_EQ(f[kOptIKeyIMode], 0);
}

TEST_F(BarCommandsTest, ExclusionLevelChoices) {
  const int32_t levels[][2] = {{1000, 0}, {1500, 1}, {10000, 2}, {1234, 2}, {0, 2}};
  for (const auto& l : levels) EXPECT_EQ(ExcludeChoiceOf(l[0]), l[1]) << l[0];
  const int32_t choices[][2] = {{0, 1000}, {1, 1500}, {2, 10000}, {-1, 10000}, {7, 10000}};
  for (const auto& c : choices) EXPECT_EQ(ExcludeLevelOf(c[0]), c[1]) << c[0];
}

// Accepted options reach the engine in their order: the page size at once,
// the method's reload, the input reset, the stroke keys, the pinyin list
// saved under the old settings and reloaded under the new, the panes, the
// forecast; then the profile is saved and the menu follows.
TEST_F(BarCommandsTest, OptionsOkAppliesEverythingInOrder) {
  typInputSettings& c = cfgInputManager;
  c.StdPinYin = 1;
  c.ShuangPinScheme = 1;
  world.dialogAnswers[kDlgInputOptions] = {1,
                                           {{kOptCandidates, 5},
                                            {kOptRadicals, 1},
                                            {kOptShuangPin, 1},
                                            {kOptShuangPinScheme, 2},
                                            {kOptFuzzyPY, 0},
                                            {kOptCandidateOrder, 2},
                                            {kOptFloatPanes, 1},
                                            {kOptExcludeChoice, 1},
                                            {kOptForecast, 1},
                                            {kOptParallelSel, 1},
                                            {kOptIKeyIMode, 1}}};
  OnBarCommand(kCmdInputOptions);
  EXPECT_EQ(g_engine, (Calls{"page size 5", "mdchange 0", "reset 001", "bihua keys", "save pydic",
                             "load pydic", "forecast db", "forecast reset 0"}));
  EXPECT_EQ(world.Take(),
            (Calls{"dialog 108", "place panes", "save profile", "menustate", "repaint"}));
  EXPECT_EQ(c.NumberOfCandidatesShown, 5);
  EXPECT_EQ(c.StdPinYin, 0);
  EXPECT_EQ(c.ShuangPin, 1);
  EXPECT_EQ(c.ShuangPinScheme, 2);
  EXPECT_EQ(c.candidateOrderChoice, 2);
  EXPECT_EQ(c.useFloatPromptPane, 1);
  EXPECT_EQ(c.ExcludeLevel, 1500);
  EXPECT_EQ(c.useZiCiForecast, 1);
  EXPECT_EQ(c.PromptParallelSel, 1);
  EXPECT_EQ(c.Slot(24), 1);
  EXPECT_EQ(gbDlgUp, 0);
}

// Accepted unchanged: only what always runs, and the profile is saved.
// ShuangPin off keeps the scheme; in shape-code input the page size stays.
TEST_F(BarCommandsTest, OptionsOkUnchanged) {
  typInputSettings& c = cfgInputManager;
  c.InputMthd = kXingMa;
  c.StdPinYin = 1;
  c.ShuangPinScheme = 1;
  c.ExcludeLevel = 1000;
  world.dialogAnswers[kDlgInputOptions] = {1, {{kOptShuangPinScheme, 2}}};
  const typInputSettings before = c;
  OnBarCommand(kCmdInputOptions);
  EXPECT_EQ(g_engine, (Calls{"bihua keys", "forecast db", "forecast reset 0"}));
  EXPECT_EQ(world.Take(),
            (Calls{"dialog 108", "place panes", "save profile", "menustate", "repaint"}));
  for (int i = 0; i < typInputSettings::kSlotCount; ++i) {
    EXPECT_EQ(c.Slot(i), before.Slot(i)) << "slot " << i;
  }
}

// Cancel and Escape change no setting, call nothing and save nothing.
TEST_F(BarCommandsTest, OptionsCancelledChangeNothing) {
  for (const int result : {2, 0}) {
    SetUp();
    SCOPED_TRACE(result);
    world.dialogAnswers[kDlgInputOptions] = {result, {{kOptCandidates, 5}, {kOptShowTip, 1}}};
    const typInputSettings before = cfgInputManager;
    OnBarCommand(kCmdInputOptions);
    EXPECT_EQ(world.Take(), Calls{"dialog 108"});
    EXPECT_EQ(g_engine, Calls{});
    EXPECT_EQ(world.saves, 0);
    for (int i = 0; i < typInputSettings::kSlotCount; ++i) {
      EXPECT_EQ(cfgInputManager.Slot(i), before.Slot(i)) << "slot " << i;
    }
  }
}

// The dialog runs with the bar's timers held.
TEST_F(BarCommandsTest, OptionsDialogHoldsTheBar) {
  struct World : RecordingBarWorld {
    int dlgUp = -1;
    int RunDialog(int id, int32_t* fields, int count) override {
      dlgUp = gbDlgUp;
      return RecordingBarWorld::RunDialog(id, fields, count);
    }
  } holding;
  SetBarWorld(&holding);
  OnBarCommand(kCmdInputOptions);
  EXPECT_EQ(holding.dlgUp, 1);
  EXPECT_EQ(gbDlgUp, 0);
  // So does the word search.
  holding.dlgUp = -1;
  OnBarCommand(kCmdFindSaying);
  EXPECT_EQ(holding.dlgUp, 1);
  EXPECT_EQ(gbDlgUp, 0);
}

TEST_F(BarCommandsTest, BarStyle) {
  struct Case {
    int result;
    int32_t chosen;
    int32_t after;
    Calls world;
  } const cases[] = {
      {1, 1, 1, {"dialog 114", "pane style 1", "save profile", "status "}},
      {2, 1, 0, {"dialog 114", "status "}},
      {0, 1, 0, {"dialog 114", "status "}},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(c.result);
    gcfg.CandidateBarStyle = 0;
    world.dialogAnswers[kDlgBarStyle] = {c.result, {{kStyleCandidateBar, c.chosen}}};
    OnBarCommand(kCmdBarStyle);
    EXPECT_EQ(world.Take(), c.world);
    EXPECT_EQ(world.dialogFieldsIn, std::vector<int32_t>{0});
    EXPECT_EQ(gcfg.CandidateBarStyle, c.after);
    EXPECT_EQ(gbMnuUp, 0);
  }
}

}  // namespace
