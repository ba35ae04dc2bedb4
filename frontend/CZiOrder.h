// CZiOrder.h: the character order editor (dialog 106), opened by the
// options dialog's Reorder button. The user types a syllable into edit
// 1063 (completed: zhag is zhang), its characters appear in the grid
// (CZiListButton, in place of control 1092), he drags one to another place
// and commits the syllable; OK writes the manual order file for the fuzzy
// choices the options dialog shows and, when that is the table the engine
// uses, hands the new table to the engine at once.
//
// The file and the syllable list that tells its runs are held by a
// ZiOrderBook (frontend/ZiOrderBook.h); the grid's geometry and the move of
// a drop are in frontend/ZiGrid.h.
#pragma once

#include <string>

#include "base/CString.h"
#include "base/CWordArray.h"
#include "controls/ABtn.h"
#include "controls/ADialog.h"
#include "framework/XDrawTypes.h"
#include "frontend/ZiGrid.h"
#include "frontend/ZiOrderBook.h"

class CZiOrder;
class IFileOps;

// Ids of dialog 106 and of the options dialog's fuzzy-pinyin boxes.
enum : int {
  kIdPinyin = 1063,
  kIdCommit = 1090,
  kIdCancelOrder = 1091,
  kIdZiGrid = 1092,
  kIdOptFuzzy = 1080,
  kIdOptZhz = 1081,
  kIdOptChc = 1082,
  kIdOptShs = 1083,
  kIdOptLr = 1084,
};
constexpr int kZiOrderDlgId = 106;

// The grid: an owner-drawn button that shows the owner's characters and
// lets the user drag one to another place.
class CZiListButton : public ABtn {
 public:
  explicit CZiListButton(CZiOrder* owner);
  ~CZiListButton() override = default;

  void AtLBtnDwn(unsigned long flags, CPoint pt) override;
  void AtLBtnUp(unsigned long flags, CPoint pt) override;
  // flags: 1 while the first mouse button is held.
  void AtPtrMv(unsigned long flags, CPoint pt) override;
  void DrawCtrl(GC gc, unsigned long flag) override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;

  // The character cell under pt (see zigrid::Layout::CellAt).
  int OnZi(CPoint pt, CRect* cell, int* index, int shifted) const;
  // Ends a drag: the pointer grab is released, the drag box and the hover
  // frame are wiped.
  void ResetDrag();

  CZiOrder* m_pOwner;  // borrowed: the owner holds this grid
  zigrid::Layout m_layout;
  CRect m_rcDrag;   // the box following the pointer; empty for none
  CRect m_rcHover;  // the red frame's cell; empty for none
  int m_nDragged = -1;

 private:
  void DrawHover(GC gc, const CRect& cell, unsigned long rgb);
};

class CZiOrder : public ADialog {
 public:
  explicit CZiOrder(AWnd* parent);
  ~CZiOrder() override = default;

  void OnCancel() override;
  void OnOK() override;
  void MemVarAttaches() override {}
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  int InitDlg() override;

  void OnChangePinyin();
  void OnCommit();
  void OnCancelorder();

  // The message box; tests answer it themselves.
  virtual int Ask(const char* text, int type, int literal);

  // The fuzzy-pinyin choices that name the file: taken from the engine's
  // settings at construction and, when the parent is the options dialog,
  // from its boxes in InitDlg.
  struct Fuzzy {
    bool on = false, zhz = false, chc = false, shs = false, lr = false;
  } m_fuzzy;

  AWnd* m_pOptDlg;  // borrowed: the options dialog, or null
  CString m_strFile;
  CZiListButton m_grid;
  CString m_strPinyin;
  CWordArray m_arrZi;
  int32_t m_bFileChanged = 0;
  int32_t m_bOrderChanged = 0;
  ZiOrderBook m_book;
  IFileOps* m_pFileOps;  // borrowed: where the save writes (tests fail it)
};
