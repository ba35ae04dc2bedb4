#include "controls/CheckCtrlKeys.h"

#include "controls/ACtrl.h"
#include "controls/ADialog.h"
#include "framework/KeySyms.h"

bool CheckCtrlDialogKey(ACtrl& ctrl, unsigned long key) {
  if (key == keysym::kEscape) return true;
  if (key != keysym::kReturn && key != keysym::kKpEnter) return false;
  if (ADialog* dlg = ctrl.GetDlg()) dlg->ProcessReturn(&ctrl);
  return true;
}
