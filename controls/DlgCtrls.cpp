#include "controls/DlgCtrls.h"

#include "controls/ACmbo.h"
#include "controls/AEdt.h"
#include "controls/ALbx.h"
#include "controls/internal/DlgCtrlSeam.h"

namespace {

ACtrl* NewSeamCtrl(uint8_t type) {
  switch (type) {
    case kCtrlComboBox: return new ACmbo;
    case kCtrlEditField: return new AEdt;
    case kCtrlListBox: return new ALbx;
    default: return nullptr;
  }
}

int CreateSeamCtrl(ACtrl* ctrl, long x, long y, long cx, long cy, const char* text, AWnd* parent,
                   long id) {
  if (auto* lbx = dynamic_cast<ALbx*>(ctrl)) return lbx->Create(x, y, cx, cy, text, parent, id);
  if (auto* edt = dynamic_cast<AEdt*>(ctrl)) return edt->Create(x, y, cx, cy, text, parent, id);
  if (auto* cmbo = dynamic_cast<ACmbo*>(ctrl)) return cmbo->Create(x, y, cx, cy, text, parent, id);
  return ctrl->Create(x, y, cx, cy, text, parent, id);
}

CString EditGetText(AWnd* edit) {
  auto* edt = dynamic_cast<AEdt*>(edit);
  return edt ? edt->GetText() : CString();
}

void EditSetText(AWnd* edit, const char* text) {
  if (auto* edt = dynamic_cast<AEdt*>(edit)) edt->SetText(text);
}

int EditReadOnly(AWnd* edit) {
  auto* edt = dynamic_cast<AEdt*>(edit);
  return edt && edt->Doc() ? edt->GetReadOnly() : 0;
}

void EditLeave(AWnd* edit) {
  if (auto* edt = dynamic_cast<AEdt*>(edit)) edt->ResetCaretInfo();
}

void EditSelectAll(AWnd* edit) {
  auto* edt = dynamic_cast<AEdt*>(edit);
  if (edt && edt->Doc()) edt->OnEditSelectAll();
}

void ComboDropDown(ACmbo* combo) {
  if (combo) combo->DropDown();
}

}  // namespace

void InstallDlgCtrls() {
  DlgCtrlSeam seam = GetDlgCtrlSeam();
  seam.newCtrl = NewSeamCtrl;
  seam.createCtrl = CreateSeamCtrl;
  seam.editGetText = EditGetText;
  seam.editSetText = EditSetText;
  seam.editReadOnly = EditReadOnly;
  seam.editLeave = EditLeave;
  seam.editSelectAll = EditSelectAll;
  seam.comboDropDown = ComboDropDown;
  SetDlgCtrlSeam(seam);
}
