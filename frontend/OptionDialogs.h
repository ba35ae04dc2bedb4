// OptionDialogs.h: the input options dialog (template 108), the bar-style
// dialog (114) and the about box (100). Each is run modally by
// RunBarDialog (frontend/BarDialogs.h) over the fields its opener filled.
//
// CInputOptDlg keeps its rules between the controls (ShuangPin and fuzzy
// pinyin exclude each other, warnings that can be declined, what is enabled
// or shown while what is on) and reaches its controls through
// IOptControls: over the dialog's own controls in kvr, over a table of
// control states in tests.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/ADialog.h"
#include "frontend/BarDialogs.h"

// Control ids of template 108.
enum InputOptCtrl : int {
  kIdCandNum = 1006,        // list: rows 2 to 10
  kIdExcludeCommon = 1061,  // first radio of the exclusion level
  kIdReserved = 1062,
  kIdExcludeMore = 1063,
  kIdExcludeAll = 1064,
  kIdShowTip = 1065,
  kIdFloatPane = 1066,
  kIdCizu = 1067,
  kIdTipOnStatusbar = 1068,
  kIdNum1SameAsNum2 = 1069,
  kIdShuangPin = 1070,
  kIdSingleCharMultiRow = 1071,
  kIdPyWithRadicals = 1072,
  kIdLoneCtrlSwitch = 1073,
  kIdParallelSel = 1075,
  kIdParallelSelNote = 1076,
  kIdShiftAlpha = 1077,
  kIdForecast = 1078,
  kIdCandOrder = 1079,  // combo: the candidate order
  kIdFuzzyPY = 1080,
  kIdFuzzyZh = 1081,
  kIdFuzzyCh = 1082,
  kIdFuzzySh = 1083,
  kIdFuzzyLr = 1084,
  kIdFuzzyDegree = 1085,  // combo
  kIdReorder = 1089,
  kIdShuangPinScheme = 1108,  // combo
  kIdIKeyIMode = 1138,
  kIdUKeyNumMode = 1139,
};
// The bar-style dialog's radio group.
constexpr int kIdBarStyleModern = 1109;

// The controls exchanged with a field of the options dialog (check boxes,
// and the exclusion radio group as the index of the button that is on).
struct OptFieldCtrl {
  int id;
  InputOptField field;
};
extern const OptFieldCtrl kOptFieldCtrls[];
extern const int kOptFieldCtrlCount;

// The dialog's texts (keys of [UI_STR]).
extern const char kMsgShuangPinWarn[];
extern const char kMsgRadicalsWarn[];
extern const char kMsgForecastWarn[];
extern const char kMsgFuzzyNeedsPair[];
extern const char* const kCandOrderRows[3];
extern const char* const kFuzzyDegreeRows[3];
extern const char* const kShuangPinSchemeRows[3];

// What the options dialog's rules ask of its controls.
class IOptControls {
 public:
  virtual ~IOptControls() = default;
  // The fields from the controls (toFields 1) or the controls from the
  // fields (0), for the controls of kOptFieldCtrls.
  virtual void Exchange(int toFields) = 0;
  // A check box: 1 on, 0 off, -1 when there is none.
  virtual int Checked(int id) = 0;
  virtual void SetChecked(int id, int on) = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual void Show(int id, bool show) = 0;
  // A list or combo box: the selected row, -1 for none (or no such box).
  virtual int Sel(int id) = 0;
  virtual void SetSel(int id, int row) = 0;
  virtual void AddRow(int id, const char* text) = 0;
  // A Yes/No box (default button 7 No, -1 none): 6 Yes, 7 No, 2 Escape.
  virtual int Ask(const char* text, int defaultButton) = 0;
  // An OK box.
  virtual void Tell(const char* text) = 0;
};

class CInputOptDlg : public ADialog {
 public:
  // controls: borrowed; null for the dialog's own controls.
  explicit CInputOptDlg(AWnd* parent, IOptControls* controls = nullptr);
  ~CInputOptDlg() override;

  void OnOK() override;
  void MemVarAttaches() override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  int InitDlg() override;

  void SetControls();
  void OnShuangpin();
  void OnSouthFuzzy();
  void OnTogglePymethod();
  void OnUseziciForecast();
  void OnSelchangeCandidateOrder();
  // The Reorder button (shown with the manual order): the character order
  // editor for the fuzzy choices the boxes show, modal over this dialog.
  void OnReorder();

  // --- fields ---
  int32_t m_f[kOptFieldCount] = {};
  // The combo boxes themselves (MemVarAttachCtrl); null without one.
  AWnd* m_pCandOrder = nullptr;
  AWnd* m_pFuzzyDegree = nullptr;
  AWnd* m_pShuangPinScheme = nullptr;

 private:
  IOptControls& C() { return *m_pControls; }
  // A declined warning turns its own box's field off again.
  void WarnOnTurnOn(int id, InputOptField field, const char* text, int defaultButton);

  std::unique_ptr<IOptControls> m_pOwnControls;
  IOptControls* m_pControls;
};

class CSysOpt : public ADialog {
 public:
  explicit CSysOpt(AWnd* parent);
  ~CSysOpt() override;
  void OnOK() override { ADialog::OnOK(); }
  void MemVarAttaches() override { MemVarAttach(kIdBarStyleModern, &m_nStyle); }
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  int InitDlg() override;

  int32_t m_nStyle = 0;  // 0 modern pane colours, 1 classic
};

class CAboutDlg : public ADialog {
 public:
  explicit CAboutDlg(AWnd* parent);
  ~CAboutDlg() override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  int InitDlg() override { return ADialog::InitDlg(); }
};
