#include "frontend/Settings.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "engine/InputSettings.h"
#include "framework/CWinApp.h"

typFrontCfg gcfg = {0, 0, 0, 0, 0, 1, 1};

namespace {

const char kConfig[] = "Config";
const char kMainframe[] = "Mainframe";
const char kLeft[] = "Left";
const char kTop[] = "Top";

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

// How loading treats a key. k16Bit: a 16-bit value, loaded as its low 16
// bits and saved as them read as signed.
enum Load { kRead, kReadUiLanguage, k16Bit, kSaveOnly };

// One [Config] key: where its value lives, its default and how loading
// treats it. A key of the settings record is named after its slot
// (typInputSettings::SlotName); only gcfg's keys are spelled here, so the
// loader and the saver cannot disagree on a name.
struct ConfigKey {
  const char* name;  // null: the slot's own name
  int32_t* value;
  int32_t deflt;
  Load load;
};

// ChnUI's default under a Big5 locale: the traditional UI.
constexpr int32_t kBig5UiDefault = 2;

constexpr typInputSettings& cfg = cfgInputManager;

// In the order the keys are saved. InputMode, FanTi and useFloatPromptPane
// are saved but never read back: start-up sets them. Slots 9, 24 and 25 are
// neither read nor written.
constexpr ConfigKey kConfigKeys[] = {
    {nullptr, &cfg.InputMode, 0, kSaveOnly},
    {nullptr, &cfg.InputMthd, 1, kRead},
    {nullptr, &cfg.StdPinYin, 1, kRead},
    {nullptr, &cfg.FanTi, 0, kSaveOnly},
    {nullptr, &cfg.AddSpaceInOutput, 0, kRead},
    {nullptr, &cfg.ShuangPin, 0, kRead},
    {nullptr, &cfg.ShuangPinScheme, 0, kRead},
    {nullptr, &cfg.candidateOrderChoice, 0, kRead},
    {nullptr, &cfg.NumberOfCandidatesShown, 10, kRead},
    {nullptr, &cfg.PinYinSelectionNum1SameAsNum2, 0, kRead},
    {nullptr, &cfg.ChnEnglshSwitchByShiftAlpha, 0, kRead},
    {nullptr, &cfg.PYSingleCharShowMultiRow, 0, kRead},
    {nullptr, &cfg.PromptParallelSel, 0, kRead},
    {"CandidateBarStyle", &gcfg.CandidateBarStyle, 0, kRead},
    {nullptr, &cfg.ChnEnglshSwitchKey, 0, kRead},
    {nullptr, &cfg.fuzziPY, 0, kRead},
    {nullptr, &cfg.chc_fuzzy, 1, kRead},
    {nullptr, &cfg.zhz_fuzzy, 1, kRead},
    {nullptr, &cfg.shs_fuzzy, 1, kRead},
    {nullptr, &cfg.lr_fuzzy, 0, kRead},
    {"UseBmpFont", &gcfg.UseBmpFont, 0, kRead},
    {"ICON1", &gcfg.ICON1, 1, kRead},
    {nullptr, &cfg.useCizu, 1, kRead},
    {nullptr, &cfg.ShowTip, 1, kRead},
    {nullptr, &cfg.ShowTipOnStatusbar, 1, kRead},
    {nullptr, &cfg.useFloatPromptPane, 1, kSaveOnly},
    {nullptr, &cfg.useZiCiForecast, 1, kRead},
    {nullptr, &cfg.FullSize, 1, kRead},
    {nullptr, &cfg.UseChnPunctMark, 1, kRead},
    {nullptr, &cfg.ChnUI, 1, kReadUiLanguage},
    {nullptr, &cfg.ExcludeLevel, 1000, kRead},
    {nullptr, &cfg.generalFuzzyMatchDegree, 0, kRead},
    {nullptr, &cfg.TipAtStart, 1, kRead},
    {nullptr, &cfg.TipNum, 0, k16Bit},
    {"StartupAtBoot", &gcfg.StartupAtBoot, 0, kRead},
    {"ShortBar", &gcfg.ShortBar, 1, kRead},
};

const char* KeyName(const ConfigKey& k) {
  if (k.name) return k.name;
  for (int slot = 0; slot < typInputSettings::kSlotCount; ++slot) {
    if (&cfgInputManager.Slot(slot) == k.value) return typInputSettings::SlotName(slot);
  }
  return "";
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
  for (const ConfigKey& k : kConfigKeys) {
    if (k.load == kSaveOnly) continue;
    const int32_t deflt = k.load == kReadUiLanguage && big5Locale ? kBig5UiDefault : k.deflt;
    *k.value = ReadInt(app, kConfig, KeyName(k), deflt);
    if (k.load == k16Bit) *k.value &= 0xFFFF;
  }
  typInputSettings& c = cfgInputManager;
  c.InputMode = kChineseInput;
  c.FanTi = big5Locale ? 1 : 0;
  c.reserved9 = 0;
  c.useFloatPromptPane = 1;
  if (c.ShuangPin) c.fuzziPY = 0;
  if (!c.zhz_fuzzy && !c.chc_fuzzy && !c.shs_fuzzy && !c.lr_fuzzy) c.fuzziPY = 0;
  SetAppUiLang(c.ChnUI);

  const int w = workArea.right - workArea.left;
  const int h = workArea.bottom - workArea.top;
  gcfg.Left = ReadInt(app, kMainframe, kLeft, w / 2);
  if (gcfg.Left < 0 || gcfg.Left > w - 16) gcfg.Left = w / 2;
  gcfg.Top = ReadInt(app, kMainframe, kTop, workArea.bottom - 150);
  if (gcfg.Top < 0 || gcfg.Top > h - 8) gcfg.Top = h * 4 / 5;
}

int WritePreferences(CWinApp& app, const CRect* barRect) {
  // One save for every value: the profile is fsynced at each save.
  std::vector<ProfileInt> values;
  for (const ConfigKey& k : kConfigKeys) {
    const int32_t value = k.load == k16Bit ? static_cast<int16_t>(*k.value & 0xFFFF) : *k.value;
    values.push_back({kConfig, KeyName(k), value});
  }
  if (barRect) {
    values.push_back({kMainframe, kLeft, barRect->left});
    values.push_back({kMainframe, kTop, barRect->top});
  }
  return app.WriteProfileInts(values);
}

int SavePreferencesNoDisplay() {
  if (!uniqueAFCAppPointer) return 0;
  return WritePreferences(*uniqueAFCAppPointer, nullptr);
}
