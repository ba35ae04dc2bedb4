#include "frontend/Settings.h"

#include <cctype>
#include <cstdlib>

#include "engine/InputSettings.h"
#include "framework/CWinApp.h"

typFrontCfg gcfg = {0, 0, 0, 0, 0, 1, 1};

namespace {

const char kConfig[] = "Config";
const char kMainframe[] = "Mainframe";

// The key's leading decimal number; deflt when the key is absent, empty or
// does not begin with a number, or the profile cannot be read.
int ReadInt(CWinApp& app, const char* section, const char* key, int deflt) {
  const CString value = app.GetProfileString(section, key, "");
  const char* p = value;
  while (*p == ' ' || *p == '\t') ++p;
  const char* digits = (*p == '-' || *p == '+') ? p + 1 : p;
  if (!std::isdigit(static_cast<unsigned char>(*digits))) return deflt;
  return static_cast<int>(std::strtol(p, nullptr, 10));
}

}  // namespace

int SetAppUiLang(int chnUI) {
  CWinApp* app = uniqueAFCAppPointer;
  if (!app) return kUILangEnglish;
  const int old = app->m_nUILang;
  app->m_nUILang = chnUI == 0 ? kUILangEnglish : chnUI == 2 ? kUILangBig5 : kUILangGbk;
  return old;
}

void LoadPreferences(CWinApp& app, const CRect& workArea, int big5Locale) {
  typInputSettings& c = cfgInputManager;
  auto rd = [&app](const char* key, int deflt) { return ReadInt(app, kConfig, key, deflt); };
  c.InputMode = kChineseInput;
  c.InputMthd = rd("InputMthd", 1);
  c.StdPinYin = rd("StdPinYin", 1);
  c.FanTi = big5Locale ? 1 : 0;
  c.AddSpaceInOutput = rd("AddSpaceInOutput", 0);
  c.ShuangPin = rd("ShuangPin", 0);
  c.ShuangPinScheme = rd("ShuangPinScheme", 0);
  c.candidateOrderChoice = rd("candidateOrderChoice", 0);
  c.NumberOfCandidatesShown = rd("NumberOfCandidatesShown", 10);
  c.ChnEnglshSwitchKey = rd("ChnEnglshSwitchKey", 0);
  c.fuzziPY = rd("fuzziPY", 0);
  if (c.ShuangPin) c.fuzziPY = 0;
  c.chc_fuzzy = rd("chc_fuzzy", 1);
  c.zhz_fuzzy = rd("zhz_fuzzy", 1);
  c.shs_fuzzy = rd("shs_fuzzy", 1);
  c.lr_fuzzy = rd("lr_fuzzy", 0);
  if (!c.zhz_fuzzy && !c.chc_fuzzy && !c.shs_fuzzy && !c.lr_fuzzy) c.fuzziPY = 0;
  c.PinYinSelectionNum1SameAsNum2 = rd("PinYinSelectionNum1SameAsNum2", 0);
  gcfg.UseBmpFont = rd("UseBmpFont", 0);
  gcfg.ICON1 = rd("ICON1", 1);
  c.useCizu = rd("useCizu", 1);
  c.FullSize = rd("FullSize", 1);
  c.UseChnPunctMark = rd("UseChnPunctMark", 1);
  c.ChnUI = rd("ChnUI", big5Locale ? 2 : 1);
  SetAppUiLang(c.ChnUI);
  c.reserved9 = 0;
  c.ShowTip = rd("ShowTip", 1);
  c.ShowTipOnStatusbar = rd("ShowTipOnStatusbar", 1);
  c.useFloatPromptPane = 1;
  c.useZiCiForecast = rd("useZiCiForecast", 1);
  c.ChnEnglshSwitchByShiftAlpha = rd("ChnEnglshSwitchByShiftAlpha", 0);
  c.PYSingleCharShowMultiRow = rd("PYSingleCharShowMultiRow", 0);
  c.PromptParallelSel = rd("PromptParallelSel", 0);
  c.ExcludeLevel = rd("ExcludeLevel", 1000);
  c.generalFuzzyMatchDegree = rd("generalFuzzyMatchDegree", 0);
  c.TipAtStart = rd("TipAtStart", 1);
  c.TipNum = rd("TipNum", 0) & 0xFFFF;
  gcfg.CandidateBarStyle = rd("CandidateBarStyle", 0);

  const int w = workArea.right - workArea.left;
  const int h = workArea.bottom - workArea.top;
  gcfg.Left = ReadInt(app, kMainframe, "Left", w / 2);
  if (gcfg.Left < 0 || gcfg.Left > w - 16) gcfg.Left = w / 2;
  gcfg.Top = ReadInt(app, kMainframe, "Top", workArea.bottom - 150);
  if (gcfg.Top < 0 || gcfg.Top > h - 8) gcfg.Top = h * 4 / 5;

  gcfg.StartupAtBoot = rd("StartupAtBoot", 0);
  gcfg.ShortBar = rd("ShortBar", 1);
}

int WritePreferences(CWinApp& app, const CRect* barRect) {
  const typInputSettings& c = cfgInputManager;
  const struct {
    const char* key;
    int32_t value;
  } config[] = {
      {"InputMode", c.InputMode},
      {"InputMthd", c.InputMthd},
      {"StdPinYin", c.StdPinYin},
      {"FanTi", c.FanTi},
      {"AddSpaceInOutput", c.AddSpaceInOutput},
      {"ShuangPin", c.ShuangPin},
      {"ShuangPinScheme", c.ShuangPinScheme},
      {"candidateOrderChoice", c.candidateOrderChoice},
      {"NumberOfCandidatesShown", c.NumberOfCandidatesShown},
      {"PinYinSelectionNum1SameAsNum2", c.PinYinSelectionNum1SameAsNum2},
      {"ChnEnglshSwitchByShiftAlpha", c.ChnEnglshSwitchByShiftAlpha},
      {"PYSingleCharShowMultiRow", c.PYSingleCharShowMultiRow},
      {"PromptParallelSel", c.PromptParallelSel},
      {"CandidateBarStyle", gcfg.CandidateBarStyle},
      {"ChnEnglshSwitchKey", c.ChnEnglshSwitchKey},
      {"fuzziPY", c.fuzziPY},
      {"chc_fuzzy", c.chc_fuzzy},
      {"zhz_fuzzy", c.zhz_fuzzy},
      {"shs_fuzzy", c.shs_fuzzy},
      {"lr_fuzzy", c.lr_fuzzy},
      {"UseBmpFont", gcfg.UseBmpFont},
      {"ICON1", gcfg.ICON1},
      {"useCizu", c.useCizu},
      {"ShowTip", c.ShowTip},
      {"ShowTipOnStatusbar", c.ShowTipOnStatusbar},
      {"useFloatPromptPane", c.useFloatPromptPane},
      {"useZiCiForecast", c.useZiCiForecast},
      {"FullSize", c.FullSize},
      {"UseChnPunctMark", c.UseChnPunctMark},
      {"ChnUI", c.ChnUI},
      {"ExcludeLevel", c.ExcludeLevel},
      {"generalFuzzyMatchDegree", c.generalFuzzyMatchDegree},
      {"TipAtStart", c.TipAtStart},
      {"TipNum", static_cast<int16_t>(c.TipNum & 0xFFFF)},
      {"StartupAtBoot", gcfg.StartupAtBoot},
      {"ShortBar", gcfg.ShortBar},
  };
  int ok = 1;
  for (const auto& e : config) ok &= app.WriteProfileInt(kConfig, e.key, e.value) ? 1 : 0;
  if (barRect) {
    ok &= app.WriteProfileInt(kMainframe, "Left", barRect->left) ? 1 : 0;
    ok &= app.WriteProfileInt(kMainframe, "Top", barRect->top) ? 1 : 0;
  }
  return ok;
}

int SavePreferencesNoDisplay() {
  if (!uniqueAFCAppPointer) return 0;
  return WritePreferences(*uniqueAFCAppPointer, nullptr);
}
