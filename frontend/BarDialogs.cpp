// kvr's dialogs by template id, run modally for the bar's commands.
#include "frontend/BarDialogs.h"

#include <algorithm>

#include "engine/InputSettings.h"
#include "frontend/CFindSayingDlg.h"
#include "frontend/CMainFrame.h"
#include "frontend/CTips.h"
#include "frontend/MainBar.h"
#include "frontend/OptionDialogs.h"

namespace {

// Runs dlg with its fields (dlgFields, dlgCount of them) filled from the
// caller's and copied back after.
int RunOver(ADialog& dlg, int32_t* dlgFields, int dlgCount, int32_t* fields, int count) {
  const int n = std::min(dlgCount, count);
  if (fields) std::copy(fields, fields + n, dlgFields);
  const int result = dlg.ActModal();
  if (fields) std::copy(dlgFields, dlgFields + n, fields);
  return result;
}

}  // namespace

int RunBarDialog(int id, int32_t* fields, int count) {
  AWnd* owner = gpMainFrame;
  switch (id) {
    case kDlgInputOptions: {
      CInputOptDlg dlg(owner);
      return RunOver(dlg, dlg.m_f, kOptFieldCount, fields, count);
    }
    case kDlgBarStyle: {
      CSysOpt dlg(owner);
      return RunOver(dlg, &dlg.m_nStyle, kStyleFieldCount, fields, count);
    }
    case kDlgTips: {
      // The dialog pages through the settings' TipNum itself.
      CTips dlg(owner);
      if (fields && count > kTipsNum) {
        dlg.m_nTipAtStart = fields[kTipsAtStart];
        cfgInputManager.TipNum = fields[kTipsNum];
      }
      const int result = dlg.ActModal();
      if (fields && count > kTipsNum) {
        fields[kTipsAtStart] = dlg.m_nTipAtStart;
        fields[kTipsNum] = cfgInputManager.TipNum;
      }
      return result;
    }
    case kDlgAbout: {
      CAboutDlg dlg(owner);
      return dlg.ActModal();
    }
    case kDlgFindSaying: {
      CFindSayingDlg dlg(owner);
      return dlg.ActModal();
    }
    default: return 2;
  }
}
