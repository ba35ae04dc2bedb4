// The input options dialog's rules between its controls, over a table of
// control states: fields in, the user's clicks and choices, controls and
// fields out.
#include "frontend/OptionDialogs.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "controls/CtrlConsts.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"

namespace {

using Strings = std::vector<std::string>;

struct CtrlState {
  int value = 0;  // check box on, or the radio group's index
  bool enabled = true;
  bool shown = true;
  int sel = -1;
  Strings rows;
};

// The dialog's controls as a table; check boxes and the radio group are
// exchanged with the dialog's fields as the real controls are.
class TableControls : public IOptControls {
 public:
  std::map<int, CtrlState> ctrls;
  int32_t* fields = nullptr;
  int answer = IDYES;  // what every Yes/No box answers
  Strings boxes;       // "ask <default> <text>" / "tell <text>"

  void Exchange(int toFields) override {
    for (int i = 0; i < kOptFieldCtrlCount; ++i) {
      int32_t& field = fields[kOptFieldCtrls[i].field];
      int& value = ctrls[kOptFieldCtrls[i].id].value;
      if (toFields) {
        field = value;
      } else {
        value = field;
      }
    }
  }
  int Checked(int id) override { return ctrls[id].value; }
  void SetChecked(int id, int on) override { ctrls[id].value = on; }
  void Enable(int id, bool enable) override { ctrls[id].enabled = enable; }
  void Show(int id, bool show) override { ctrls[id].shown = show; }
  int Sel(int id) override { return ctrls[id].sel; }
  void SetSel(int id, int row) override {
    CtrlState& c = ctrls[id];
    const int n = static_cast<int>(c.rows.size());
    if (row >= 0 && n > 0) c.sel = row < n ? row : n - 1;
  }
  void AddRow(int id, const char* text) override { ctrls[id].rows.push_back(text); }
  int Ask(const char* text, int defaultButton) override {
    boxes.push_back("ask " + std::to_string(defaultButton) + " " + text);
    return answer;
  }
  void Tell(const char* text) override { boxes.push_back(std::string("tell ") + text); }
};

// One user action: a box clicked into a state, a row picked, OK.
struct Act {
  enum Kind { kCheck, kPick, kOk } kind;
  int id;
  int value;
};
Act Check(int id, int on) { return {Act::kCheck, id, on}; }
Act Pick(int id, int row) { return {Act::kPick, id, row}; }
const Act kOkAct{Act::kOk, 0, 0};

// What to find afterwards.
struct Want {
  enum Kind { kChecked, kEnabled, kShown, kSel, kField, kResult } kind;
  int id;  // control id, or field index
  int value;
};
Want Checked(int id, int v) { return {Want::kChecked, id, v}; }
Want Enabled(int id, bool v) { return {Want::kEnabled, id, v ? 1 : 0}; }
Want Shown(int id, bool v) { return {Want::kShown, id, v ? 1 : 0}; }
Want Sel(int id, int row) { return {Want::kSel, id, row}; }
Want Field(InputOptField f, int v) { return {Want::kField, f, v}; }
Want Result(int v) { return {Want::kResult, 0, v}; }

struct Case {
  const char* name;
  std::vector<std::pair<InputOptField, int32_t>> fields;  // over the defaults below
  int32_t method;
  int engineMissing;
  int answer;
  std::vector<Act> acts;
  std::vector<Want> want;
  Strings boxes;
};

const std::string kAskShuangPin = std::string("ask 7 ") + kMsgShuangPinWarn;

void RunCase(const Case& c) {
  SCOPED_TRACE(c.name);
  cfgInputManager = typInputSettings{};
  cfgInputManager.InputMthd = c.method;
  dictionary.m_nEngineMissing = c.engineMissing;
  TableControls t;
  t.answer = c.answer;
  CInputOptDlg dlg(nullptr, &t);
  t.fields = dlg.m_f;
  // Defaults: tips on both ways, panes follow the caret, 7 candidates, the
  // learned order, the first scheme.
  dlg.m_f[kOptShowTip] = 1;
  dlg.m_f[kOptShowTipOnStatusbar] = 1;
  dlg.m_f[kOptFloatPanes] = 1;
  dlg.m_f[kOptCandidates] = 7;
  for (const auto& [field, value] : c.fields) dlg.m_f[field] = value;
  dlg.InitDlg();
  for (const Act& a : c.acts) {
    switch (a.kind) {
      case Act::kCheck:
        t.ctrls[a.id].value = a.value;
        dlg.CtrlEvProc(0, a.id, kCtrlEvClick, nullptr);
        break;
      case Act::kPick:
        t.ctrls[a.id].sel = a.value;
        dlg.CtrlEvProc(0, a.id, kCtrlEvSelChange, nullptr);
        break;
      case Act::kOk: dlg.CtrlEvProc(0, IDOK, kCtrlEvClick, nullptr); break;
    }
  }
  for (const Want& w : c.want) {
    SCOPED_TRACE(testing::Message() << "kind " << w.kind << " id " << w.id);
    const CtrlState& s = t.ctrls[w.id];
    switch (w.kind) {
      case Want::kChecked: EXPECT_EQ(s.value, w.value); break;
      case Want::kEnabled: EXPECT_EQ(s.enabled, w.value != 0); break;
      case Want::kShown: EXPECT_EQ(s.shown, w.value != 0); break;
      case Want::kSel: EXPECT_EQ(s.sel, w.value); break;
      case Want::kField: EXPECT_EQ(dlg.m_f[w.id], w.value); break;
      case Want::kResult: EXPECT_EQ(dlg.m_nResult, w.value); break;
    }
  }
  EXPECT_EQ(t.boxes, c.boxes);
}

TEST(InputOptDlg, ControlRules) {
  const Case cases[] = {
      {"ShuangPin on clears fuzzy pinyin and its pairs",
       {{kOptFuzzyPY, 1}, {kOptZhzFuzzy, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdShuangPin, 1)},
       {Checked(kIdShuangPin, 1), Checked(kIdFuzzyPY, 0), Checked(kIdFuzzyZh, 1),
        Enabled(kIdFuzzyZh, false), Enabled(kIdShuangPinScheme, true)},
       {kAskShuangPin}},
      {"a declined ShuangPin unchecks only its box",
       {{kOptFuzzyPY, 1}, {kOptZhzFuzzy, 1}},
       kPinYin,
       kBothInstalled,
       IDNO,
       {Check(kIdShuangPin, 1)},
       {Checked(kIdShuangPin, 0), Checked(kIdFuzzyPY, 1), Enabled(kIdFuzzyZh, true),
        Enabled(kIdShuangPinScheme, false)},
       {kAskShuangPin}},
      {"fuzzy pinyin on clears ShuangPin",
       {{kOptShuangPin, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdFuzzyPY, 1)},
       {Checked(kIdShuangPin, 0), Checked(kIdFuzzyPY, 1), Enabled(kIdFuzzyLr, true),
        Enabled(kIdShuangPinScheme, false)},
       {}},
      {"fuzzy pinyin at the start wins over ShuangPin",
       {{kOptShuangPin, 1}, {kOptFuzzyPY, 1}, {kOptLrFuzzy, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Checked(kIdShuangPin, 0), Checked(kIdFuzzyPY, 1), Enabled(kIdFuzzySh, true)},
       {}},
      {"fuzzy pairs are disabled with fuzzy off and keep their states",
       {{kOptChcFuzzy, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {kOkAct},
       {Enabled(kIdFuzzyCh, false), Checked(kIdFuzzyCh, 1), Field(kOptChcFuzzy, 1), Result(IDOK)},
       {}},
      {"ShuangPin on without a scheme selects the first",
       {{kOptShuangPinScheme, -1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdShuangPin, 1)},
       {Sel(kIdShuangPinScheme, 0)},
       {kAskShuangPin}},
      {"a declined radicals warning unchecks only its box",
       {{kOptForecast, 1}},
       kPinYin,
       kBothInstalled,
       IDNO,
       {Check(kIdShowTip, 0), Check(kIdPyWithRadicals, 1)},
       {Checked(kIdPyWithRadicals, 0), Field(kOptRadicals, 0), Checked(kIdShowTip, 0),
        Checked(kIdForecast, 1)},
       {std::string("ask 7 ") + kMsgRadicalsWarn}},
      {"forecast accepted, asked with no default button",
       {},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdForecast, 1)},
       {Checked(kIdForecast, 1)},
       {std::string("ask -1 ") + kMsgForecastWarn}},
      {"turning a warned box off asks nothing",
       {{kOptForecast, 1}, {kOptRadicals, 1}},
       kPinYin,
       kBothInstalled,
       IDNO,
       {Check(kIdForecast, 0), Check(kIdPyWithRadicals, 0)},
       {Checked(kIdForecast, 0), Checked(kIdPyWithRadicals, 0)},
       {}},
      {"Reorder is shown for the manual order only",
       {{kOptCandidateOrder, 2}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Shown(kIdReorder, true), Sel(kIdCandOrder, 2)},
       {}},
      {"choosing another order hides Reorder",
       {{kOptCandidateOrder, 2}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Pick(kIdCandOrder, 0)},
       {Shown(kIdReorder, false)},
       {}},
      {"choosing the manual order shows Reorder",
       {{kOptCandidateOrder, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Pick(kIdCandOrder, 2)},
       {Shown(kIdReorder, true)},
       {}},
      {"phrase building is fixed in pinyin input",
       {},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Enabled(kIdCizu, false), Enabled(kIdExcludeCommon, true)},
       {}},
      {"phrase building can change in shape-code input",
       {},
       kXingMa,
       kBothInstalled,
       IDYES,
       {},
       {Enabled(kIdCizu, true)},
       {}},
      {"without the shape-code method phrase building and exclusion are fixed",
       {},
       kPinYin,
       kXingMaMissing,
       IDYES,
       {},
       {Enabled(kIdCizu, false), Enabled(kIdExcludeCommon, false), Enabled(kIdExcludeMore, false),
        Enabled(kIdExcludeAll, false)},
       {}},
      {"1 candidate selects the first row",
       {{kOptCandidates, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Sel(kIdCandNum, 0)},
       {}},
      {"11 candidates select the last row",
       {{kOptCandidates, 11}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Sel(kIdCandNum, 8)},
       {}},
      {"5 candidates select row 3",
       {{kOptCandidates, 5}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Sel(kIdCandNum, 3)},
       {}},
      {"tips on the status bar need tips and floating panes",
       {},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdShowTip, 0)},
       {Enabled(kIdTipOnStatusbar, false), Enabled(kIdParallelSel, true)},
       {}},
      {"fixed panes disable the parallel rows and the status-bar tips",
       {},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdFloatPane, 0)},
       {Enabled(kIdTipOnStatusbar, false), Enabled(kIdParallelSel, false),
        Enabled(kIdParallelSelNote, false)},
       {}},
      {"the key slots are shown",
       {{kOptUKeyNumber, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {},
       {Checked(kIdUKeyNumMode, 1), Checked(kIdIKeyIMode, 0)},
       {}},
      {"OK is refused for fuzzy pinyin without a pair",
       {},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Check(kIdFuzzyPY, 1), kOkAct},
       {Result(0), Field(kOptCandidates, 7)},
       {std::string("tell ") + kMsgFuzzyNeedsPair}},
      {"OK takes the rows and the key boxes",
       {{kOptShuangPin, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Pick(kIdCandNum, 3), Pick(kIdCandOrder, 1), Pick(kIdShuangPinScheme, 2),
        Pick(kIdFuzzyDegree, 2), Check(kIdIKeyIMode, 1), Check(kIdExcludeCommon, 2), kOkAct},
       {Result(IDOK), Field(kOptCandidates, 5), Field(kOptCandidateOrder, 1),
        Field(kOptShuangPinScheme, 2), Field(kOptFuzzyDegree, 2), Field(kOptIKeyIMode, 1),
        Field(kOptExcludeChoice, 2)},
       {}},
      {"OK with ShuangPin off keeps the scheme",
       {{kOptShuangPinScheme, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Pick(kIdShuangPinScheme, 2), kOkAct},
       {Result(IDOK), Field(kOptShuangPinScheme, 1)},
       {}},
      {"rows that name nothing keep the settings",
       {{kOptShuangPin, 1},
        {kOptShuangPinScheme, 1},
        {kOptCandidateOrder, 1},
        {kOptFuzzyDegree, 1}},
       kPinYin,
       kBothInstalled,
       IDYES,
       {Pick(kIdCandNum, -1), Pick(kIdShuangPinScheme, -1), Pick(kIdCandOrder, -1),
        Pick(kIdFuzzyDegree, -1), kOkAct},
       {Result(IDOK), Field(kOptCandidates, 7), Field(kOptShuangPinScheme, 1),
        Field(kOptCandidateOrder, 1), Field(kOptFuzzyDegree, 1)},
       {}},
  };
  for (const Case& c : cases) RunCase(c);
}

TEST(InputOptDlg, RowsOfItsBoxes) {
  cfgInputManager = typInputSettings{};
  TableControls t;
  CInputOptDlg dlg(nullptr, &t);
  t.fields = dlg.m_f;
  dlg.InitDlg();
  EXPECT_EQ(t.ctrls[kIdCandNum].rows, (Strings{"2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(t.ctrls[kIdCandOrder].rows,
            (Strings{"Auto Adjust on Usage Frequency", "Original Fixed Order",
                     "Manually Adjusted Order"}));
  EXPECT_EQ(t.ctrls[kIdFuzzyDegree].rows, (Strings{"More", "Less", "None"}));
  EXPECT_EQ(t.ctrls[kIdShuangPinScheme].rows.size(), 3u);
  EXPECT_EQ(dlg.m_nDefBtnID, IDOK);
}

}  // namespace
