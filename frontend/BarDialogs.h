// BarDialogs.h: the modal dialogs the bar's commands open through
// IBarWorld::RunDialog, by template id, and the value fields each one
// exchanges with its opener (an array of 32-bit signed integers, indexed
// by the names below).
#pragma once

#include <cstdint>

// Template ids of the resource script.
constexpr int kDlgAbout = 100;
constexpr int kDlgInputOptions = 108;
constexpr int kDlgFindSaying = 110;
constexpr int kDlgTips = 113;
constexpr int kDlgBarStyle = 114;

// The input options dialog (CInputOptDlg). The opener fills every field
// from the settings; after OK it applies them in its own order.
enum InputOptField : int {
  kOptShowTip,
  kOptShowTipOnStatusbar,
  kOptUseCizu,
  kOptRadicals,  // pinyin with shape-code radicals: not StdPinYin
  kOptNum1SameAsNum2,
  kOptFloatPanes,  // useFloatPromptPane
  kOptShuangPin,
  kOptShuangPinScheme,  // taken from its combo box only while ShuangPin is on
  kOptCandidateOrder,
  kOptExcludeChoice,  // 0 ExcludeLevel 1000, 1 1500, 2 any other
  kOptFuzzyDegree,
  kOptSwitchKey,  // ChnEnglshSwitchKey
  kOptSwitchByShiftAlpha,
  kOptForecast,  // useZiCiForecast
  kOptFuzzyPY,
  kOptChcFuzzy,
  kOptZhzFuzzy,
  kOptShsFuzzy,
  kOptLrFuzzy,
  kOptParallelSel,         // PromptParallelSel
  kOptSingleCharMultiRow,  // PYSingleCharShowMultiRow
  kOptCandidates,          // NumberOfCandidatesShown
  kOptIKeyIMode,           // settings slot 24: 'I' starts the i-mode
  kOptUKeyNumber,          // settings slot 25: 'U' starts the number mode
  kOptUnused,              // exchanged with control 1062; nothing reads it
  kOptFieldCount
};

// The bar-style dialog (CSysOpt): one field.
enum BarStyleField : int {
  kStyleCandidateBar,  // gcfg CandidateBarStyle: 0 modern, 1 classic
  kStyleFieldCount
};

// The exclusion level of a choice of the options dialog and back.
int32_t ExcludeChoiceOf(int32_t excludeLevel);
int32_t ExcludeLevelOf(int32_t choice);

// Runs the dialog with that template id modally over its fields, owned by
// the application's main window (kvr's world of the bar does this).
// Returns the dialog's result; 2 for an id without a dialog.
int RunBarDialog(int id, int32_t* fields, int count);
