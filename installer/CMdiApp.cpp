#include "installer/CMdiApp.h"

#include <memory>

#include "controls/EdtScrollBarBind.h"
#include "controls/RcCmplr.h"
#include "framework/CFont.h"
#include "framework/UIStrings.h"
#include "installer/CMainDlg.h"
#include "installer/x11/InstallerX.h"

namespace installer {

CMdiApp::CMdiApp() { m_bImeUI = 0; }

CMdiApp::~CMdiApp() = default;

int CMdiApp::InitApplication() {
  m_strShortName = "kvrsetup";
  // The editor views of the wizard's edit controls get real scroll bars.
  BindEditorScrollBars();
  if (!GetResourceCompiler()) SetResourceCompiler(std::make_unique<CRcCmplr>());
  return CWinApp::InitApplication();
}

int CMdiApp::InitInstance() {
  SetExceptionHandler(ExceptionHandler);
  InstallXErrorHandler();
  gstrUIINI = m_strProgDir + "morvelui.ini";
  CreateUIFonts(0, nullptr, nullptr);
  {
    CMainDlg wizard(nullptr);
    wizard.SetDlgID(kWizardDlgId);
    wizard.ActModal();
  }
  return 0;
}

}  // namespace installer
