// CFindSayingDlg.h: the word search dialog (dialog 110). The user types a
// piece of Chinese into edit 1124; Find lists the phrases of the lexicon
// and the sayings, poem lines and xiehouyu of the forecast rule base that
// contain it (frontend/WordSearch.h), with a count per kind; Find in result
// keeps only the rows that contain another text; OK or a double click on a
// row puts the row on the CLIPBOARD. The find-saying command runs it
// modally.
#pragma once

#include "base/CString.h"
#include "controls/ADialog.h"

class ALbx;

// Ids of dialog 110.
enum : int {
  kIdFindText = 1124,
  kIdNoRestrict = 1126,
  kIdWords = 1067,
  kIdSayings = 1128,
  kIdPoems = 1129,
  kIdXiehouyu = 1130,
  kIdFind = 1135,
  kIdFindInResult = 1136,
  kIdDetail = 1137,
  kIdResults = 1097,
  kIdCountWords = 1127,
  kIdCountSayings = 1131,
  kIdCountPoems = 1132,
  kIdCountXiehouyu = 1133,
  kIdCountInResult = 1134,
};
constexpr int kFindSayingDlgId = 110;

class CFindSayingDlg : public ADialog {
 public:
  explicit CFindSayingDlg(AWnd* parent);
  ~CFindSayingDlg() override = default;

  void OnOK() override;
  void MemVarAttaches() override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  int InitDlg() override;

  // Reads the category flags and the text; 1 when the text has more than
  // one byte.
  int GetSettings();
  void OnCheckNoRestrict();
  void OnCizu();
  void OnSaying();
  void OnPeom();
  void OnXiehouyu();
  void ClearCounts();
  void OnFind();
  void OnFindInResult();
  void OnDblclkList1() { OnOK(); }
  // Writes the selected row to FindSayTmp.gbk in the program directory
  // (the button is hidden). 1 when written.
  int OnDetail();

  // The message box; tests answer it themselves.
  virtual int Ask(const char* text, int type);

  ALbx* m_pList = nullptr;  // borrowed: the dialog owns the list box
  int32_t m_bCizu = 0, m_bSaying = 0, m_bPoem = 0, m_bXiehouyu = 0;
  int32_t m_bTitle = 0;  // before the run: the other title
  CString m_strText;     // before the run: searched for at once

 private:
  // Turns 1126 off when the category box id was turned off.
  void CategoryToggled(int id);
  void ShowCount(int id, int count);
};
