// The commands that open the options, bar-style and about dialogs: the
// opener fills the dialog's fields from the settings and, when the dialog
// ends with OK, applies them so that the engine follows at once.
#include "engine/InputSettings.h"
#include "frontend/BarCommands.h"
#include "frontend/BarDialogs.h"
#include "frontend/BarKeys.h"
#include "frontend/BarWorld.h"
#include "frontend/CMainFrame.h"
#include "frontend/CMdiApp.h"
#include "frontend/MainBar.h"
#include "frontend/Settings.h"

int32_t ExcludeChoiceOf(int32_t excludeLevel) {
  if (excludeLevel == 1000) return 0;
  return excludeLevel == 1500 ? 1 : 2;
}

int32_t ExcludeLevelOf(int32_t choice) {
  if (choice == 0) return 1000;
  return choice == 1 ? 1500 : 10000;
}

namespace {

using F = int32_t[kOptFieldCount];

void FillInputOptions(F& f) {
  const typInputSettings& c = cfgInputManager;
  f[kOptShowTip] = c.ShowTip;
  f[kOptShowTipOnStatusbar] = c.ShowTipOnStatusbar;
  f[kOptUseCizu] = c.useCizu;
  f[kOptRadicals] = !c.StdPinYin;
  f[kOptNum1SameAsNum2] = c.PinYinSelectionNum1SameAsNum2;
  f[kOptFloatPanes] = c.useFloatPromptPane;
  f[kOptShuangPin] = c.ShuangPin;
  f[kOptShuangPinScheme] = c.ShuangPinScheme;
  f[kOptCandidateOrder] = c.candidateOrderChoice;
  f[kOptExcludeChoice] = ExcludeChoiceOf(c.ExcludeLevel);
  f[kOptFuzzyDegree] = c.generalFuzzyMatchDegree;
  f[kOptSwitchKey] = c.ChnEnglshSwitchKey;
  f[kOptSwitchByShiftAlpha] = c.ChnEnglshSwitchByShiftAlpha;
  f[kOptForecast] = c.useZiCiForecast;
  f[kOptFuzzyPY] = c.fuzziPY;
  f[kOptChcFuzzy] = c.chc_fuzzy;
  f[kOptZhzFuzzy] = c.zhz_fuzzy;
  f[kOptShsFuzzy] = c.shs_fuzzy;
  f[kOptLrFuzzy] = c.lr_fuzzy;
  f[kOptParallelSel] = c.PromptParallelSel;
  f[kOptSingleCharMultiRow] = c.PYSingleCharShowMultiRow;
  f[kOptCandidates] = c.NumberOfCandidatesShown;
  f[kOptIKeyIMode] = c.Slot(24);
  f[kOptUKeyNumber] = c.Slot(25);
  f[kOptUnused] = 0;
}

// What the dialog sets the moment OK is accepted: the number of candidates
// (and the pinyin page size) and the two unsaved key slots.
void ApplyDirectOptions(const F& f) {
  typInputSettings& c = cfgInputManager;
  c.NumberOfCandidatesShown = f[kOptCandidates];
  if (c.IsPinYinMethod()) {
    GetCommandEngineOps().setPageSize(ClampedCandidatesShown(c));
  }
  c.Slot(24) = f[kOptIKeyIMode];
  c.Slot(25) = f[kOptUKeyNumber];
}

void ApplyInputOptions(const F& f) {
  typInputSettings& c = cfgInputManager;
  const CommandEngineOps& ops = GetCommandEngineOps();
  IBarWorld& world = *BarWorld();
  ApplyDirectOptions(f);
  c.ShowTip = f[kOptShowTip];
  const int32_t stdPinYin = !f[kOptRadicals];
  if (c.useCizu != f[kOptUseCizu] || c.StdPinYin != stdPinYin) {
    c.useCizu = f[kOptUseCizu];
    c.StdPinYin = stdPinYin;
    ops.onInputMDChange(0);
  }
  c.PinYinSelectionNum1SameAsNum2 = f[kOptNum1SameAsNum2];
  if (c.useFloatPromptPane != f[kOptFloatPanes] ||
      c.ShowTipOnStatusbar != f[kOptShowTipOnStatusbar] || c.ShuangPin != f[kOptShuangPin]) {
    GetBarEngineOps().resetChnInput(0, 0, 1);
  }
  c.ShuangPin = f[kOptShuangPin];
  if (c.ShuangPin) c.ShuangPinScheme = f[kOptShuangPinScheme];
  ops.initBiHuaKeys();
  if (c.candidateOrderChoice != f[kOptCandidateOrder] || c.fuzziPY != f[kOptFuzzyPY] ||
      c.chc_fuzzy != f[kOptChcFuzzy] || c.zhz_fuzzy != f[kOptZhzFuzzy] ||
      c.shs_fuzzy != f[kOptShsFuzzy] || c.lr_fuzzy != f[kOptLrFuzzy]) {
    // The learned order is written under the settings it was learned with.
    ops.savePyDic();
    c.candidateOrderChoice = f[kOptCandidateOrder];
    c.fuzziPY = f[kOptFuzzyPY];
    c.chc_fuzzy = f[kOptChcFuzzy];
    c.zhz_fuzzy = f[kOptZhzFuzzy];
    c.shs_fuzzy = f[kOptShsFuzzy];
    c.lr_fuzzy = f[kOptLrFuzzy];
    ops.initKey2ChsDicPY();
  }
  c.useFloatPromptPane = f[kOptFloatPanes];
  c.ShowTipOnStatusbar = f[kOptShowTipOnStatusbar];
  world.PlaceInputPanes();
  c.ExcludeLevel = ExcludeLevelOf(f[kOptExcludeChoice]);
  c.generalFuzzyMatchDegree = f[kOptFuzzyDegree];
  c.ChnEnglshSwitchKey = f[kOptSwitchKey];
  c.ChnEnglshSwitchByShiftAlpha = f[kOptSwitchByShiftAlpha];
  c.useZiCiForecast = f[kOptForecast];
  ops.forecastDBLoadUnload();
  ops.ziCiForecastingReset(0);
  c.PromptParallelSel = f[kOptParallelSel];
  c.PYSingleCharShowMultiRow = f[kOptSingleCharMultiRow];
  world.SaveProfile();
}

}  // namespace

void CMainFrame::OnInputoptions() {
  IBarWorld* world = BarWorld();
  if (!world) return;
  F fields;
  FillInputOptions(fields);
  gbDlgUp = 1;
  const int result = world->RunDialog(kDlgInputOptions, fields, kOptFieldCount);
  gbDlgUp = 0;
  // Cancel and Escape leave every setting and the profile as they were.
  if (result != 1) return;
  ApplyInputOptions(fields);
  world->ChangeMenuState();
  world->RepaintBar();
}

int RaiseDialog(int id) {
  gbMnuUp = 1;
  IBarWorld* world = BarWorld();
  if (id == kDlgBarStyle && world) {
    int32_t fields[kStyleFieldCount] = {gcfg.CandidateBarStyle};
    if (world->RunDialog(kDlgBarStyle, fields, kStyleFieldCount) == 1) {
      gcfg.CandidateBarStyle = fields[kStyleCandidateBar];
      world->SetPaneStyle(gcfg.CandidateBarStyle);
      world->SaveProfile();
    }
    world->ShowTipMsg("");
  }
  gbMnuUp = 0;
  return 1;
}

void CMdiApp::OnAppAbout() {
  if (BarWorld()) BarWorld()->RunDialog(kDlgAbout, nullptr, 0);
}
