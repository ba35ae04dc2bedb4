// DlgCtrlSeam.h: where the dialog meets the controls that live in their own
// files and may be absent from a build: the combo box (type 4), the edit
// control (type 6) and the list box (type 11). The dialog builds and
// exchanges values with them only through this table, which
// InstallDlgCtrls (controls/DlgCtrls.h) fills before any dialog is built.
// Without an entry the record is skipped as an unknown type, an edit
// control's text reads as empty, and a combo arrow drops nothing down.
#pragma once

#include <cstdint>

#include "base/CString.h"

class ACtrl;
class ACmbo;
class AWnd;

struct DlgCtrlSeam {
  // A new control object of the template type (4, 6 or 11), owned by the
  // caller; null when that type is not built.
  ACtrl* (*newCtrl)(uint8_t type) = nullptr;
  // Creates an object newCtrl made through its own class's Create (the
  // template copy and the font height already set); 1, or 0 without a
  // window.
  int (*createCtrl)(ACtrl* ctrl, long x, long y, long cx, long cy, const char* text, AWnd* parent,
                    long id) = nullptr;
  // The edit control's text and its setting (AEdt::GetText, AEdt::SetText).
  CString (*editGetText)(AWnd* edit) = nullptr;
  void (*editSetText)(AWnd* edit, const char* text) = nullptr;
  // Nonzero for a read-only edit control (never a tab stop).
  int (*editReadOnly)(AWnd* edit) = nullptr;
  // The tab walk leaves an edit control: its caret state is reset.
  void (*editLeave)(AWnd* edit) = nullptr;
  // The tab walk enters an edit control: all its text is selected.
  void (*editSelectAll)(AWnd* edit) = nullptr;
  // A combo box's arrow was clicked.
  void (*comboDropDown)(ACmbo* combo) = nullptr;
};

void SetDlgCtrlSeam(const DlgCtrlSeam& seam);
const DlgCtrlSeam& GetDlgCtrlSeam();
