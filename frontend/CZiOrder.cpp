#include "frontend/CZiOrder.h"

#include <cstdlib>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/ChnText.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/WinGeometry.h"

namespace {

// The candidate order that reads the manual order file.
constexpr int32_t kManualOrder = 2;

}  // namespace

CZiOrder::CZiOrder(AWnd* parent)
    : ADialog(kZiOrderDlgId, parent),
      m_pOptDlg(parent),
      m_grid(this),
      m_pFileOps(&SystemFileOps()) {
  m_fuzzy.on = cfgInputManager.fuzziPY != 0;
  m_fuzzy.zhz = cfgInputManager.zhz_fuzzy != 0;
  m_fuzzy.chc = cfgInputManager.chc_fuzzy != 0;
  m_fuzzy.shs = cfgInputManager.shs_fuzzy != 0;
  m_fuzzy.lr = cfgInputManager.lr_fuzzy != 0;
}

int CZiOrder::Ask(const char* text, int type, int literal) {
  return ChMsgbox(text, type, literal, -1);
}

int CZiOrder::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick) {
    switch (id) {
      case kIdCommit: OnCommit(); return 1;
      case kIdCancelOrder: OnCancelorder(); return 1;
      default: break;
    }
  }
  if (id == kIdPinyin && code == kCtrlEvTextChange) OnChangePinyin();
  return ADialog::CtrlEvProc(window, id, code, event);
}

int CZiOrder::InitDlg() {
  ADialog::InitDlg();
  SetDefltBtn(kIdCommit);
  m_grid.ReplaceDlgCtrl(kIdZiGrid, this);
  // The options dialog's boxes, as the user has set them, choose the file.
  if (auto* opt = dynamic_cast<ADialog*>(m_pOptDlg); opt && opt->GetCtrl(kIdOptFuzzy)) {
    m_fuzzy.on = opt->IsBtnChecked(kIdOptFuzzy) > 0;
    m_fuzzy.zhz = opt->IsBtnChecked(kIdOptZhz) > 0;
    m_fuzzy.chc = opt->IsBtnChecked(kIdOptChc) > 0;
    m_fuzzy.shs = opt->IsBtnChecked(kIdOptShs) > 0;
    m_fuzzy.lr = opt->IsBtnChecked(kIdOptLr) > 0;
  }
  const CString suffix =
      ZiOrderBook::FuzzySuffix(m_fuzzy.on, m_fuzzy.zhz, m_fuzzy.chc, m_fuzzy.shs, m_fuzzy.lr);
  m_strFile = dictionary.m_strFlatAdjustPath + suffix;
  dictionary.MakePyFlatIfMissing(m_strFile, suffix);
  std::string error;
  const CString syllables = dictionary.m_strPyKeysPath + suffix;
  if (!m_book.Load(m_strFile.GetString(), syllables.GetString(), error)) {
    OnCancel();
    return 0;
  }
  m_bFileChanged = 0;
  OnChangePinyin();
  return 1;
}

void CZiOrder::OnChangePinyin() {
  CString py;
  GetCtrlText(kIdPinyin, py);
  py.MakeLower();
  RestoreCompletePY(py);
  m_strPinyin = py;
  m_arrZi.RemoveAll();
  m_bOrderChanged = 0;
  if (!py.IsEmpty() && dictionary.IsPYProper(py)) m_book.ReadRun(py, m_arrZi);
  m_grid.ResetDrag();
  if (m_grid.m_hWnd) m_grid.Draw(nullptr);
  if (AWnd* cancelOrder = GetCtrl(kIdCancelOrder))
    ShowWin(py.IsEmpty() ? 0 : 1, cancelOrder->m_hWnd);
}

void CZiOrder::OnCommit() {
  if (m_bOrderChanged) {
    if (dictionary.IsPYProper(m_strPinyin)) m_book.WriteRun(m_strPinyin, m_arrZi);
    m_bFileChanged = 1;
  }
  SetCtrlText(kIdPinyin, "");
  OnChangePinyin();
  m_bOrderChanged = 0;
}

void CZiOrder::OnCancelorder() {
  SyncMemVars(1);
  SetCtrlText(kIdPinyin, "");
  OnChangePinyin();
}

void CZiOrder::OnOK() {
  if (m_bOrderChanged) {
    Ask("Please finish the above zi order first?", kMsgBoxOk, 0);
    return;
  }
  if (m_bFileChanged) {
    std::string error;
    if (!m_book.Save(*m_pFileOps, error)) {
      // The old file is whole; the user may try again or drop the changes.
      CString text;
      text.Format("Cannot save the character order: %s", error.c_str());
      Ask(text, kMsgBoxOk, 1);
      OnCancel();
      return;
    }
    // Only the table the engine reads now may be replaced in memory: a
    // variant for other fuzzy choices is read from the file at the next
    // load.
    if (cfgInputManager.candidateOrderChoice == kManualOrder &&
        dictionary.IsLoadedPyFlat(m_strFile)) {
      const std::vector<uint8_t>& bytes = m_book.Bytes();
      auto* table = static_cast<unsigned char*>(std::malloc(bytes.size()));
      if (table) {
        std::memcpy(table, bytes.data(), bytes.size());
        dictionary.AdoptPyFlat(table, static_cast<uint32_t>(bytes.size()));
      }
    }
    m_bFileChanged = 0;
  }
  ADialog::OnOK();
}

void CZiOrder::OnCancel() {
  if (m_bFileChanged && Ask("Do you want to cancel all changes?", kMsgBoxYesNo, 0) != IDYES) return;
  ADialog::OnCancel();
}
