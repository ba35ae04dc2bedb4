#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/InputSettings.h"
#include "framework/CWinApp.h"
#include "frontend/CMdiApp.h"
#include "frontend/Settings.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

class ProfileApp : public CWinApp {};

const CRect kWork(0, 0, 1024, 768);

void Load(ProfileApp& app, const std::string& profile, int big5 = 0) {
  app.m_strProfilePath = profile.c_str();
  LoadPreferences(app, kWork, big5);
}

struct LoadCase {
  const char* profile;  // the profile's text
  int32_t typInputSettings::*slot;
  int32_t want;
};

TEST(Settings, LoadRules) {
  const LoadCase cases[] = {
      {"", &typInputSettings::NumberOfCandidatesShown, 10},
      {"[Config]\nNumberOfCandidatesShown=7\n", &typInputSettings::NumberOfCandidatesShown, 7},
      // A damaged value reads as the default, never as zero candidates.
      {"[Config]\nNumberOfCandidatesShown=abc\n", &typInputSettings::NumberOfCandidatesShown, 10},
      {"[Config]\nNumberOfCandidatesShown=\n", &typInputSettings::NumberOfCandidatesShown, 10},
      {"[Config]\nShuangPin=1\nfuzziPY=1\n", &typInputSettings::fuzziPY, 0},
      {"[Config]\nfuzziPY=1\n", &typInputSettings::fuzziPY, 1},
      {"[Config]\nfuzziPY=1\nchc_fuzzy=0\nzhz_fuzzy=0\nshs_fuzzy=0\nlr_fuzzy=0\n",
       &typInputSettings::fuzziPY, 0},
      {"[Config]\nInputMode=1\n", &typInputSettings::InputMode, 0},
      {"[Config]\nuseFloatPromptPane=0\n", &typInputSettings::useFloatPromptPane, 1},
      {"[Config]\nTipNum=70000\n", &typInputSettings::TipNum, 70000 & 0xFFFF},
      {"[Config]\nExcludeLevel=1500\n", &typInputSettings::ExcludeLevel, 1500},
      {"", &typInputSettings::ChnUI, 1},
  };
  kvrtest::ScratchDir dir;
  ProfileApp app;
  for (const LoadCase& c : cases) {
    const std::string path = dir.File("kvr.ini");
    kvrtest::WriteFileText(path, c.profile);
    Load(app, path);
    EXPECT_EQ(cfgInputManager.*c.slot, c.want) << c.profile;
  }
}

TEST(Settings, BarPositionRules) {
  struct Case {
    const char* text;
    int left, top;
  } const cases[] = {
      {"", 512, 768 - 150},
      {"[Mainframe]\nLeft=-1\nTop=10\n", 512, 10},
      {"[Mainframe]\nLeft=1008\nTop=760\n", 1008, 760},  // W - 16, H - 8 stay
      {"[Mainframe]\nLeft=1009\nTop=761\n", 512, 768 * 4 / 5},
      {"[Mainframe]\nLeft=x\nTop=-5\n", 512, 768 * 4 / 5},
  };
  kvrtest::ScratchDir dir;
  ProfileApp app;
  for (const auto& c : cases) {
    kvrtest::WriteFileText(dir.File("p.ini"), c.text);
    Load(app, dir.File("p.ini"));
    EXPECT_EQ(gcfg.Left, c.left) << c.text;
    EXPECT_EQ(gcfg.Top, c.top) << c.text;
  }
}

TEST(Settings, UnreadableProfileGivesDefaults) {
  kvrtest::ScratchDir dir;
  ProfileApp app;
  // A directory where the profile should be cannot be read as a file.
  Load(app, dir.Path());
  EXPECT_EQ(cfgInputManager.NumberOfCandidatesShown, 10);
  EXPECT_EQ(cfgInputManager.InputMthd, 1);
  EXPECT_EQ(cfgInputManager.ExcludeLevel, 1000);
  EXPECT_EQ(gcfg.ShortBar, 1);
  EXPECT_EQ(gcfg.ICON1, 1);
}

TEST(Settings, ChnUISetsTheUiLanguage) {
  struct Case {
    const char* text;
    int big5;
    int lang;
  } const cases[] = {
      {"[Config]\nChnUI=0\n", 0, kUILangEnglish},
      {"[Config]\nChnUI=2\n", 0, kUILangBig5},
      {"[Config]\nChnUI=5\n", 0, kUILangGbk},
      {"", 1, kUILangBig5},  // default 2 under a Big5 locale
  };
  kvrtest::ScratchDir dir;
  ProfileApp app;
  for (const auto& c : cases) {
    kvrtest::WriteFileText(dir.File("p.ini"), c.text);
    Load(app, dir.File("p.ini"), c.big5);
    EXPECT_EQ(app.m_nUILang, c.lang) << c.text;
    EXPECT_EQ(cfgInputManager.FanTi, c.big5);
  }
}

TEST(Settings, SaveLoadRoundTrip) {
  kvrtest::ScratchDir dir;
  ProfileApp app;
  const std::string path = dir.File("kvr.ini");
  Load(app, path);
  cfgInputManager.InputMthd = 0;
  cfgInputManager.NumberOfCandidatesShown = 6;
  cfgInputManager.ChnEnglshSwitchKey = 1;
  cfgInputManager.UseChnPunctMark = 0;
  cfgInputManager.TipNum = 0xFFFE;
  gcfg.ShortBar = 0;
  gcfg.CandidateBarStyle = 1;
  const CRect bar(100, 200, 440, 226);
  ASSERT_EQ(WritePreferences(app, &bar), 1);
  const std::string text = kvrtest::ReadFileText(path);
  EXPECT_NE(text.find("TipNum=-2"), std::string::npos);  // the 16-bit value, signed
  cfgInputManager = typInputSettings{};
  gcfg = typFrontCfg{};
  Load(app, path);
  EXPECT_EQ(cfgInputManager.InputMthd, 0);
  EXPECT_EQ(cfgInputManager.NumberOfCandidatesShown, 6);
  EXPECT_EQ(cfgInputManager.ChnEnglshSwitchKey, 1);
  EXPECT_EQ(cfgInputManager.UseChnPunctMark, 0);
  EXPECT_EQ(cfgInputManager.TipNum, 0xFFFE);
  EXPECT_EQ(gcfg.ShortBar, 0);
  EXPECT_EQ(gcfg.CandidateBarStyle, 1);
  EXPECT_EQ(gcfg.Left, 100);
  EXPECT_EQ(gcfg.Top, 200);
}

// Every key that is read back comes back as saved: the loader and the saver
// agree on each name. Slot values are distinct so a key read into the wrong
// slot shows; the rules that override loaded values are kept quiet
// (ShuangPin 0, a fuzzy flag set).
TEST(Settings, EveryKeyRoundTrips) {
  kvrtest::ScratchDir dir;
  ProfileApp app;
  const std::string path = dir.File("kvr.ini");
  app.m_strProfilePath = path.c_str();
  typInputSettings saved{};
  for (int slot = 0; slot < typInputSettings::kSlotCount; ++slot) saved.Slot(slot) = 100 + slot;
  saved.ShuangPin = 0;
  saved.ChnUI = 2;
  cfgInputManager = saved;
  gcfg = typFrontCfg{201, 202, 0, 0, 205, 206, 207};
  ASSERT_EQ(WritePreferences(app, nullptr), 1);
  cfgInputManager = typInputSettings{};
  gcfg = typFrontCfg{};
  Load(app, path);
  // Not read back: set by start-up, or never stored.
  const int notRead[] = {0, 9, 12, 19, 24, 25};
  for (int slot = 0; slot < typInputSettings::kSlotCount; ++slot) {
    if (std::find(std::begin(notRead), std::end(notRead), slot) != std::end(notRead)) continue;
    EXPECT_EQ(cfgInputManager.Slot(slot), saved.Slot(slot)) << typInputSettings::SlotName(slot);
  }
  EXPECT_EQ(gcfg.UseBmpFont, 201);
  EXPECT_EQ(gcfg.CandidateBarStyle, 202);
  EXPECT_EQ(gcfg.StartupAtBoot, 205);
  EXPECT_EQ(gcfg.ShortBar, 206);
  EXPECT_EQ(gcfg.ICON1, 207);
}

// The saved [Config] section lists its keys in this order, and no others.
TEST(Settings, SavedKeysAndTheirOrder) {
  const char* const want[] = {"InputMode",
                              "InputMthd",
                              "StdPinYin",
                              "FanTi",
                              "AddSpaceInOutput",
                              "ShuangPin",
                              "ShuangPinScheme",
                              "candidateOrderChoice",
                              "NumberOfCandidatesShown",
                              "PinYinSelectionNum1SameAsNum2",
                              "ChnEnglshSwitchByShiftAlpha",
                              "PYSingleCharShowMultiRow",
                              "PromptParallelSel",
                              "CandidateBarStyle",
                              "ChnEnglshSwitchKey",
                              "fuzziPY",
                              "chc_fuzzy",
                              "zhz_fuzzy",
                              "shs_fuzzy",
                              "lr_fuzzy",
                              "UseBmpFont",
                              "ICON1",
                              "useCizu",
                              "ShowTip",
                              "ShowTipOnStatusbar",
                              "useFloatPromptPane",
                              "useZiCiForecast",
                              "FullSize",
                              "UseChnPunctMark",
                              "ChnUI",
                              "ExcludeLevel",
                              "generalFuzzyMatchDegree",
                              "TipAtStart",
                              "TipNum",
                              "StartupAtBoot",
                              "ShortBar"};
  kvrtest::ScratchDir dir;
  ProfileApp app;
  app.m_strProfilePath = dir.File("kvr.ini").c_str();
  const CRect bar(1, 2, 3, 4);
  ASSERT_EQ(WritePreferences(app, &bar), 1);
  std::istringstream text(kvrtest::ReadFileText(dir.File("kvr.ini")));
  std::vector<std::string> config, mainframe;
  std::vector<std::string>* section = nullptr;
  for (std::string line; std::getline(text, line);) {
    if (line == "[Config]")
      section = &config;
    else if (line == "[Mainframe]")
      section = &mainframe;
    else if (section && line.find('=') != std::string::npos)
      section->push_back(line.substr(0, line.find('=')));
  }
  EXPECT_EQ(config, std::vector<std::string>(std::begin(want), std::end(want)));
  EXPECT_EQ(mainframe, (std::vector<std::string>{"Left", "Top"}));
}

}  // namespace

// A missing profile is made whole from the start; one that is there is never
// touched, whatever it holds.
TEST(Settings, AMissingProfileIsCreatedAndAnExistingOneKept) {
  const std::string head = ";Init file for Kivra Chinese Input Engine\n";
  const struct {
    const char* name;
    const char* uiIni;    // morvelui.ini; null: none
    const char* profile;  // the profile before; null: none
    const char* want;     // the profile after; null: none
  } cases[] = {
      {"bitmap font off", "[Config]\nUseBmpFont=0\n", nullptr, "\n[Config]\nUseBmpFont=0\n\n"},
      {"bitmap font on", "[Config]\nUseBmpFont=1\n", nullptr, ""},
      {"no ui ini", nullptr, nullptr, ""},
      {"kept", "[Config]\nUseBmpFont=0\n", "[Config]\nInputMthd=0\n", "[Config]\nInputMthd=0\n"},
      {"empty kept", nullptr, "", ""},
      {"garbage kept", nullptr, "\xff\xfe[Con\0fig", "\xff\xfe[Con"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    const std::string profile = dir.File("kvr.ini"), ui = dir.File("morvelui.ini");
    if (c.uiIni) kvrtest::WriteFileText(ui, c.uiIni);
    if (c.profile) kvrtest::WriteFileText(profile, c.profile);
    CreateProfileIfMissing(profile.c_str(), ui.c_str());
    const bool created = !c.profile;
    EXPECT_EQ(kvrtest::ReadFileText(profile), created ? head + c.want : std::string(c.want));
  }
  // A profile that cannot be made (its folder is missing) leaves nothing.
  kvrtest::ScratchDir dir;
  const std::string profile = dir.File("no/kvr.ini");
  CreateProfileIfMissing(profile.c_str(), dir.File("morvelui.ini").c_str());
  EXPECT_NE(access(profile.c_str(), F_OK), 0);
}
