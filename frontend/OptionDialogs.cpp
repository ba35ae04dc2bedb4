#include "frontend/OptionDialogs.h"

#include <algorithm>

#include "controls/ACmbo.h"
#include "controls/ALbx.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "frontend/CZiOrder.h"

const OptFieldCtrl kOptFieldCtrls[] = {
    {kIdShowTip, kOptShowTip},
    {kIdTipOnStatusbar, kOptShowTipOnStatusbar},
    {kIdCizu, kOptUseCizu},
    {kIdPyWithRadicals, kOptRadicals},
    {kIdNum1SameAsNum2, kOptNum1SameAsNum2},
    {kIdFloatPane, kOptFloatPanes},
    {kIdShuangPin, kOptShuangPin},
    {kIdExcludeCommon, kOptExcludeChoice},
    {kIdLoneCtrlSwitch, kOptSwitchKey},
    {kIdShiftAlpha, kOptSwitchByShiftAlpha},
    {kIdForecast, kOptForecast},
    {kIdFuzzyPY, kOptFuzzyPY},
    {kIdFuzzyZh, kOptZhzFuzzy},
    {kIdFuzzyCh, kOptChcFuzzy},
    {kIdFuzzySh, kOptShsFuzzy},
    {kIdFuzzyLr, kOptLrFuzzy},
    {kIdParallelSel, kOptParallelSel},
    {kIdSingleCharMultiRow, kOptSingleCharMultiRow},
    {kIdReserved, kOptUnused},
};
const int kOptFieldCtrlCount = sizeof kOptFieldCtrls / sizeof kOptFieldCtrls[0];

const char kMsgShuangPinWarn[] =
    "ShuangPin uses very different key distribution than normal PinYin. Still proceed?";
const char kMsgRadicalsWarn[] =
    "You don't need this if you don't want to learn XingMa radicals while using PinYin. Still "
    "proceed?";
const char kMsgForecastWarn[] = "Do not use this if your PC is too slow. Still proceed?";
const char kMsgFuzzyNeedsPair[] =
    "Since you checked Fuzzy PinYin checkbox, at least one of the checkboxes below has to be "
    "checked.";
const char* const kCandOrderRows[3] = {"Auto Adjust on Usage Frequency", "Original Fixed Order",
                                       "Manually Adjusted Order"};
const char* const kFuzzyDegreeRows[3] = {"More", "Less", "None"};
// 兼容微软双拼, 兼容中文之星双拼, 兼容自然码双拼 (GBK; shown as they stand)
const char* const kShuangPinSchemeRows[3] = {
    "\xBC\xE6\xC8\xDD\xCE\xA2\xC8\xED\xCB\xAB\xC6\xB4",
    "\xBC\xE6\xC8\xDD\xD6\xD0\xCE\xC4\xD6\xAE\xD0\xC7\xCB\xAB\xC6\xB4",
    "\xBC\xE6\xC8\xDD\xD7\xD4\xC8\xBB\xC2\xEB\xCB\xAB\xC6\xB4"};

namespace {

// Rows and selections go to list and combo boxes alike by one message each.
static_assert(WM_CMBO_ADDROW == WM_LBX_ADDROW && WM_CMBO_SETSEL == WM_LBX_SETSEL);

constexpr int kRowManualOrder = 2;

// The options dialog's own controls.
class DialogControls final : public IOptControls {
 public:
  explicit DialogControls(ADialog& dlg) : m_dlg(dlg) {}
  void Exchange(int toFields) override { m_dlg.SyncMemVars(toFields); }
  int Checked(int id) override { return m_dlg.IsBtnChecked(id); }
  void SetChecked(int id, int on) override { m_dlg.SetBtnCheck(id, on); }
  void Enable(int id, bool enable) override {
    AWnd* ctrl = m_dlg.GetCtrl(id);
    if (!ctrl || ctrl->m_bDisabled == (enable ? 0 : 1)) return;
    ctrl->m_bDisabled = enable ? 0 : 1;
    if (ctrl->m_hWnd) ctrl->Draw(nullptr);
  }
  void Show(int id, bool show) override {
    AWnd* ctrl = m_dlg.GetCtrl(id);
    if (ctrl && ctrl->m_hWnd) ShowWin(show ? 1 : 0, ctrl->m_hWnd);
  }
  int Sel(int id) override {
    AWnd* ctrl = m_dlg.GetCtrl(id);
    if (!ctrl) return -1;
    if (auto* lbx = dynamic_cast<ALbx*>(ctrl)) return lbx->GetSel();
    if (!ctrl->m_hWnd) return -1;
    return SendWinEvent(ctrl->m_hWnd, WM_CMBO_GETSEL, 0, 0);
  }
  void SetSel(int id, int row) override {
    if (m_dlg.GetCtrl(id)) m_dlg.SendCtrlEv(id, WM_CMBO_SETSEL, static_cast<unsigned long>(row), 0);
  }
  void AddRow(int id, const char* text) override {
    if (m_dlg.GetCtrl(id))
      m_dlg.SendCtrlEv(id, WM_CMBO_ADDROW, 0, reinterpret_cast<uintptr_t>(text));
  }
  int Ask(const char* text, int defaultButton) override {
    return ChMsgbox(text, kMsgBoxYesNo, 0, defaultButton);
  }
  void Tell(const char* text) override { ChMsgbox(text, kMsgBoxOk, 0, -1); }

 private:
  ADialog& m_dlg;
};

bool ChineseUi() { return cfgInputManager.ChnUI != 0; }

}  // namespace

// ---- CInputOptDlg

CInputOptDlg::CInputOptDlg(AWnd* parent, IOptControls* controls)
    : ADialog(kDlgInputOptions, parent), m_pControls(controls) {
  if (!m_pControls) {
    m_pOwnControls = std::make_unique<DialogControls>(*this);
    m_pControls = m_pOwnControls.get();
  }
}

CInputOptDlg::~CInputOptDlg() = default;

void CInputOptDlg::MemVarAttaches() {
  for (int i = 0; i < kOptFieldCtrlCount; ++i) {
    MemVarAttach(kOptFieldCtrls[i].id, &m_f[kOptFieldCtrls[i].field]);
  }
  MemVarAttachCtrl(kIdCandOrder, &m_pCandOrder);
  MemVarAttachCtrl(kIdFuzzyDegree, &m_pFuzzyDegree);
  MemVarAttachCtrl(kIdShuangPinScheme, &m_pShuangPinScheme);
}

int CInputOptDlg::InitDlg() {
  MemVarAttaches();
  C().Exchange(0);
  SetDefltBtn(IDOK);
  for (const char* row : kCandOrderRows) {
    C().AddRow(kIdCandOrder, ChineseUi() ? static_cast<const char*>(LoadStringChn(row, 1)) : row);
  }
  C().SetSel(kIdCandOrder, m_f[kOptCandidateOrder]);
  OnSelchangeCandidateOrder();
  for (const char* row : kFuzzyDegreeRows) {
    C().AddRow(kIdFuzzyDegree, ChineseUi() ? static_cast<const char*>(LoadStringChn(row, 1)) : row);
  }
  C().SetSel(kIdFuzzyDegree, m_f[kOptFuzzyDegree]);
  for (const char* row : kShuangPinSchemeRows) C().AddRow(kIdShuangPinScheme, row);
  C().SetSel(kIdShuangPinScheme, m_f[kOptShuangPinScheme]);
  if (cfgInputManager.IsPinYinMethod()) C().Enable(kIdCizu, false);
  if (dictionary.m_nEngineMissing == kXingMaMissing) {
    for (int id : {kIdCizu, kIdExcludeCommon, kIdExcludeMore, kIdExcludeAll}) {
      C().Enable(id, false);
    }
  }
  for (int n = kMinCandidatesShown; n <= kMaxCandidatesShown; ++n) {
    CString row;
    row.Format("%d", n);
    C().AddRow(kIdCandNum, row);
  }
  C().SetSel(kIdCandNum, std::clamp(m_f[kOptCandidates] - kMinCandidatesShown, 0,
                                    kMaxCandidatesShown - kMinCandidatesShown));
  SetControls();
  OnSouthFuzzy();
  if (m_f[kOptIKeyIMode]) C().SetChecked(kIdIKeyIMode, 1);
  if (m_f[kOptUKeyNumber]) C().SetChecked(kIdUKeyNumMode, 1);
  return 1;
}

void CInputOptDlg::SetControls() {
  C().Exchange(1);
  C().Enable(kIdShuangPinScheme, m_f[kOptShuangPin] != 0);
  C().Enable(kIdParallelSel, m_f[kOptFloatPanes] != 0);
  C().Enable(kIdParallelSelNote, m_f[kOptFloatPanes] != 0);
  C().Enable(kIdTipOnStatusbar, m_f[kOptShowTip] && m_f[kOptFloatPanes]);
}

void CInputOptDlg::OnShuangpin() {
  C().Exchange(1);
  if (m_f[kOptShuangPin] && C().Ask(kMsgShuangPinWarn, IDNO) != IDYES) {
    m_f[kOptShuangPin] = 0;
    C().SetChecked(kIdShuangPin, 0);
    return;
  }
  SetControls();
  C().SetChecked(kIdFuzzyPY, 0);
  // Its pairs follow the fuzzy box, as they always do.
  OnSouthFuzzy();
  if (m_f[kOptShuangPin] && C().Sel(kIdShuangPinScheme) < 0) C().SetSel(kIdShuangPinScheme, 0);
}

void CInputOptDlg::OnSouthFuzzy() {
  C().Exchange(1);
  const bool fuzzy = m_f[kOptFuzzyPY] != 0;
  if (fuzzy && m_f[kOptShuangPin]) {
    C().SetChecked(kIdShuangPin, 0);
    // The scheme follows the ShuangPin box, as it always does.
    SetControls();
  }
  for (int id : {kIdFuzzyZh, kIdFuzzyCh, kIdFuzzySh, kIdFuzzyLr}) C().Enable(id, fuzzy);
}

void CInputOptDlg::WarnOnTurnOn(int id, InputOptField field, const char* text, int defaultButton) {
  C().Exchange(1);
  if (C().Checked(id) == 1 && C().Ask(text, defaultButton) != IDYES) {
    m_f[field] = 0;
    C().Exchange(0);
  }
}

void CInputOptDlg::OnTogglePymethod() {
  WarnOnTurnOn(kIdPyWithRadicals, kOptRadicals, kMsgRadicalsWarn, IDNO);
}

void CInputOptDlg::OnUseziciForecast() {
  WarnOnTurnOn(kIdForecast, kOptForecast, kMsgForecastWarn, -1);
}

void CInputOptDlg::OnSelchangeCandidateOrder() {
  C().Exchange(1);
  C().Show(kIdReorder, C().Sel(kIdCandOrder) == kRowManualOrder);
}

void CInputOptDlg::OnOK() {
  C().Exchange(1);
  if (m_f[kOptFuzzyPY] && !m_f[kOptZhzFuzzy] && !m_f[kOptChcFuzzy] && !m_f[kOptShsFuzzy] &&
      !m_f[kOptLrFuzzy]) {
    C().Tell(kMsgFuzzyNeedsPair);
    return;
  }
  // A list or combo box that names no row keeps the setting as it was.
  if (const int order = C().Sel(kIdCandOrder); order >= 0) m_f[kOptCandidateOrder] = order;
  if (const int row = C().Sel(kIdCandNum); row >= 0) {
    m_f[kOptCandidates] = row + kMinCandidatesShown;
  }
  if (m_f[kOptShuangPin]) {
    if (const int scheme = C().Sel(kIdShuangPinScheme); scheme >= 0) {
      m_f[kOptShuangPinScheme] = scheme;
    }
  }
  if (const int degree = C().Sel(kIdFuzzyDegree); degree >= 0) m_f[kOptFuzzyDegree] = degree;
  if (const int on = C().Checked(kIdIKeyIMode); on >= 0) m_f[kOptIKeyIMode] = on;
  if (const int on = C().Checked(kIdUKeyNumMode); on >= 0) m_f[kOptUKeyNumber] = on;
  C().Exchange(1);
  QuitDlg(IDOK);
}

int CInputOptDlg::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick) {
    switch (id) {
      case kIdShowTip:
      case kIdFloatPane: SetControls(); return 1;
      case kIdShuangPin: OnShuangpin(); return 1;
      case kIdFuzzyPY: OnSouthFuzzy(); return 1;
      case kIdPyWithRadicals: OnTogglePymethod(); return 1;
      case kIdForecast: OnUseziciForecast(); return 1;
      case kIdReorder: OnReorder(); return 1;
      default: break;
    }
  }
  if (code == kCtrlEvSelChange && id == kIdCandOrder) OnSelchangeCandidateOrder();
  return ADialog::CtrlEvProc(window, id, code, event);
}

void CInputOptDlg::OnReorder() {
  CZiOrder order(this);
  order.ActModal();
}

// ---- CSysOpt and CAboutDlg

CSysOpt::CSysOpt(AWnd* parent) : ADialog(kDlgBarStyle, parent) {}
CSysOpt::~CSysOpt() = default;

int CSysOpt::InitDlg() {
  ADialog::InitDlg();
  SetDefltBtn(IDOK);
  return 1;
}

CAboutDlg::CAboutDlg(AWnd* parent) : ADialog(kDlgAbout, parent) {}
CAboutDlg::~CAboutDlg() = default;
