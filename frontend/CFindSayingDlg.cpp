#include "frontend/CFindSayingDlg.h"

#include <string>

#include "base/AtomicFile.h"
#include "base/CStringArray.h"
#include "controls/ALbx.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "engine/CChnChars.h"
#include "framework/CWinApp.h"
#include "framework/Clipboard.h"
#include "framework/WinGeometry.h"
#include "frontend/WordSearch.h"

namespace {

constexpr char kOtherTitle[] = "Find Zi or Word Sample Usage";
constexpr char kDetailFile[] = "FindSayTmp.gbk";

}  // namespace

CFindSayingDlg::CFindSayingDlg(AWnd* parent) : ADialog(kFindSayingDlgId, parent) {}

int CFindSayingDlg::Ask(const char* text, int type) { return ChMsgbox(text, type, 0, -1); }

void CFindSayingDlg::MemVarAttaches() {
  MemVarAttachCtrl(kIdResults, reinterpret_cast<AWnd**>(&m_pList));
}

int CFindSayingDlg::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick) {
    switch (id) {
      case kIdNoRestrict: OnCheckNoRestrict(); return 1;
      case kIdFindInResult: OnFindInResult(); return 1;
      case kIdFind: OnFind(); return 1;
      case kIdWords: OnCizu(); return 1;
      case kIdSayings: OnSaying(); return 1;
      case kIdPoems: OnPeom(); return 1;
      case kIdXiehouyu: OnXiehouyu(); return 1;
      case kIdDetail: OnDetail(); return 1;
      default: break;
    }
  }
  if (id == kIdResults && code == kCtrlEvRowDblClick) {
    OnDblclkList1();
    return 1;
  }
  return ADialog::CtrlEvProc(window, id, code, event);
}

int CFindSayingDlg::InitDlg() {
  // The caption is drawn from the template's copy.
  if (m_bTitle) m_dlgTmpl.m_caption = kOtherTitle;
  ADialog::InitDlg();
  if (AWnd* detail = GetCtrl(kIdDetail)) ShowWin(0, detail->m_hWnd);
  SetDefltBtn(IDOK);
  SetBtnCheck(kIdNoRestrict, 1);
  OnCheckNoRestrict();
  if (!m_strText.IsEmpty()) {
    SetCtrlText(kIdFindText, m_strText);
    OnFind();
  }
  return 1;
}

int CFindSayingDlg::GetSettings() {
  m_bCizu = IsBtnChecked(kIdWords) > 0;
  m_bSaying = IsBtnChecked(kIdSayings) > 0;
  m_bPoem = IsBtnChecked(kIdPoems) > 0;
  m_bXiehouyu = IsBtnChecked(kIdXiehouyu) > 0;
  GetCtrlText(kIdFindText, m_strText);
  return m_strText.GetLength() > 1 ? 1 : 0;
}

void CFindSayingDlg::OnCheckNoRestrict() {
  if (IsBtnChecked(kIdNoRestrict) <= 0) return;
  for (int id : {kIdWords, kIdSayings, kIdPoems, kIdXiehouyu}) SetBtnCheck(id, 1);
}

void CFindSayingDlg::CategoryToggled(int id) {
  if (IsBtnChecked(id) <= 0) SetBtnCheck(kIdNoRestrict, 0);
}

void CFindSayingDlg::OnCizu() { CategoryToggled(kIdWords); }
void CFindSayingDlg::OnSaying() { CategoryToggled(kIdSayings); }
void CFindSayingDlg::OnPeom() { CategoryToggled(kIdPoems); }
void CFindSayingDlg::OnXiehouyu() { CategoryToggled(kIdXiehouyu); }

void CFindSayingDlg::ClearCounts() {
  for (int id : {kIdCountInResult, kIdCountWords, kIdCountSayings, kIdCountPoems, kIdCountXiehouyu})
    SetCtrlText(id, "");
}

void CFindSayingDlg::ShowCount(int id, int count) {
  CString text;
  text.Format("%d", count);
  SetCtrlText(id, text);
}

void CFindSayingDlg::OnFind() {
  if (!GetSettings()) return;
  SetCtrlText(kIdCountInResult, "");
  if (m_pList) m_pList->ReSet();
  ClearCounts();
  CStringArray results;
  int words = 0;
  if (m_bCizu)
    words = wordsearch::FindInPhraseStore(dictionary.m_pCiZuFlat, dictionary.m_nCiZuFlatLen,
                                          m_strText, results);
  const struct {
    int32_t on;
    int kind;
    int countId;
  } kinds[] = {{m_bSaying, wordsearch::kSayings, kIdCountSayings},
               {m_bPoem, wordsearch::kPoems, kIdCountPoems},
               {m_bXiehouyu, wordsearch::kXiehouyu, kIdCountXiehouyu}};
  int counts[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k)
    if (kinds[k].on)
      counts[k] = wordsearch::GetAllLinkedRules(dictionary, results, kinds[k].kind, m_strText);
  if (m_pList) {
    m_pList->m_bHoldRedraw = 1;
    for (int i = 0; i < results.GetSize(); ++i) m_pList->AddRow(results[i]);
    m_pList->m_bHoldRedraw = 0;
    m_pList->SetScroll(-1);
    m_pList->Draw(nullptr);
  }
  if (m_bCizu) ShowCount(kIdCountWords, words);
  for (int k = 0; k < 3; ++k)
    if (kinds[k].on) ShowCount(kinds[k].countId, counts[k]);
}

void CFindSayingDlg::OnFindInResult() {
  if (!GetSettings() || !m_pList) return;
  for (int i = m_pList->GetCount() - 1; i >= 0; --i) {
    CString row;
    m_pList->GetText(i, row);
    if (!wordsearch::MatchAtCharacter(row, m_strText)) m_pList->RemoveRow(i);
  }
  m_pList->Draw(nullptr);
  ClearCounts();
  ShowCount(kIdCountInResult, m_pList->GetCount());
}

void CFindSayingDlg::OnOK() {
  CString row;
  if (!m_pList || !m_pList->GetText(m_pList->GetSel(), row)) {
    Ask("Pls select an item.", kMsgBoxOk);
    return;
  }
  SetClipbrdText(row.GetBuffer(row.GetLength()), 0);
  row.ReleaseBuffer();
  ADialog::OnOK();
}

int CFindSayingDlg::OnDetail() {
  CString row;
  if (!m_pList || !m_pList->GetText(m_pList->GetSel(), row)) return 0;
  const CWinApp* app = uniqueAFCAppPointer;
  const std::string dir = app ? app->m_strProgDir.GetString() : "";
  std::string error;
  return WriteFileAtomic(dir + kDetailFile,
                         std::string_view(row.GetString(), static_cast<size_t>(row.GetLength())),
                         &error)
             ? 1
             : 0;
}
