#include "controls/DlgCtrls.h"

#include "controls/ALbx.h"
#include "controls/internal/DlgCtrlSeam.h"

namespace {

ACtrl* NewSeamCtrl(uint8_t type) {
  switch (type) {
    case kCtrlListBox: return new ALbx;
    default: return nullptr;
  }
}

int CreateSeamCtrl(ACtrl* ctrl, long x, long y, long cx, long cy, const char* text, AWnd* parent,
                   long id) {
  if (auto* lbx = dynamic_cast<ALbx*>(ctrl)) return lbx->Create(x, y, cx, cy, text, parent, id);
  return ctrl->Create(x, y, cx, cy, text, parent, id);
}

}  // namespace

void InstallDlgCtrls() {
  DlgCtrlSeam seam = GetDlgCtrlSeam();
  seam.newCtrl = NewSeamCtrl;
  seam.createCtrl = CreateSeamCtrl;
  SetDlgCtrlSeam(seam);
}
