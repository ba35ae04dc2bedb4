#include "installer/CMainDlg.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/WinGeometry.h"
#include "installer/InstallOps.h"
#include "installer/InstallTexts.h"
#include "installer/Installation.h"
#include "installer/x11/InstallerX.h"

namespace installer {

char gszInstallPathName[256] = "/usr/bin/Kivra";
const char gszUsrBin[] = "/usr/bin";
const char szExeNameKVR[] = "kvr";

const int32_t stateCtrls[4][128] = {
    {kIdAllUsers, 1027, kIdInstallDir, 1015, kIdNext, IDCANCEL, 0},
    {kIdOwnScripts, 1018, kIdBack, kIdNext, IDCANCEL, 0},
    {kIdOtherLicense, kIdLicenseText, kIdBack, kIdNext, IDCANCEL, 0},
    {0},
};

namespace {

int DefaultFinder(const char* name) { return FindAppPid(const_cast<char*>(name)); }
KvrPidFinder g_finder = DefaultFinder;

// The program's UTF-8 text in the GBK the framework draws.
CString Gbk(const std::string& utf8) {
  return Utf8ToGBK(const_cast<char*>(utf8.c_str()), nullptr, nullptr);
}

// The installation's view of the wizard: its progress bar, buttons and
// message boxes, and the real clock.
class WizardInstallHost : public IInstallHost {
 public:
  explicit WizardInstallHost(CMainDlg& dlg) : m_dlg(dlg) {}

  void SetProgress(int percent) override {
    if (m_dlg.m_hProgress) SendWinEvent(m_dlg.m_hProgress, WM_CTRL_SETPOS, percent, 0);
    FlushDisplay();
  }
  void HideWizardButtons() override {
    for (int id : {kIdNext, kIdBack, IDCANCEL, kIdTitle}) {
      if (const unsigned long win = m_dlg.GetCtrlWin(id)) ShowWin(0, win);
    }
    if (m_dlg.m_hProgress) ShowWin(1, m_dlg.m_hProgress);
    m_dlg.Draw(nullptr);
    FlushDisplay();
  }
  int AskYesNo(const std::string& text) override {
    return ChMsgbox(Gbk(text), kMsgBoxYesNo, 1, -1);
  }
  void ShowMessage(const std::string& text) override { ChMsgbox(Gbk(text), kMsgBoxOk, 1, -1); }
  uint32_t NowSec() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(ts.tv_sec);
  }
  void SleepSec(unsigned seconds) override { sleep(seconds); }

 private:
  CMainDlg& m_dlg;  // borrowed: the wizard owns this host
};

}  // namespace

KvrPidFinder SetKvrPidFinderForTest(KvrPidFinder finder) {
  KvrPidFinder old = g_finder;
  g_finder = finder ? finder : DefaultFinder;
  return old;
}

CMainDlg::CMainDlg(AWnd* parent)
    : ADialog(kWizardDlgId, parent),
      m_strBinDir(gszUsrBin),
      m_pOps(&SystemInstallOps()),
      m_host(std::make_unique<WizardInstallHost>(*this)) {
  // Escape ends the wizard as Cancel does.
  m_nResult = IDCANCEL;
}

CMainDlg::~CMainDlg() = default;

int CMainDlg::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick) {
    switch (id) {
      case IDOK: OnOK(); return 1;
      case IDCANCEL: OnCancel(); return 1;
      case kIdNext: OnNext(); return 1;
      case kIdBack: OnBack(); return 1;
      case kIdOtherLicense: OnEngLicense(); return 1;
      case kIdAllUsers: OnAllUsers(); return 1;
      default: break;
    }
  }
  return ADialog::CtrlEvProc(window, id, code, event);
}

int CMainDlg::IsCtrlIdInState(int id, int page) {
  if (page < 0 || page > 3) return 0;
  for (const int32_t* p = stateCtrls[page]; *p; ++p)
    if (*p == id) return 1;
  return 0;
}

void CMainDlg::ManageStateCtrls(int page) {
  for (int other = 0; other <= m_nLastPage; ++other) {
    if (other == page) continue;
    for (const int32_t* p = stateCtrls[other]; *p; ++p) {
      if (IsCtrlIdInState(*p, page)) continue;
      if (const unsigned long win = GetCtrlWin(*p)) ShowWin(0, win);
    }
  }
  if (page < 0 || page > 3) return;
  for (const int32_t* p = stateCtrls[page]; *p; ++p) {
    if (const unsigned long win = GetCtrlWin(*p)) ShowWin(1, win);
  }
}

// A hidden control keeps no keyboard focus (X gives it to the dialog, which
// takes no keys): Next takes it, so Return goes on working.
void CMainDlg::FocusNextIfHidden() {
  AWnd* focused = GetCtrl(m_nFocusID);
  if (m_nFocusID >= 0 && focused && !focused->m_bHidden) return;
  if (GetCtrl(kIdNext)) SetCtrlFocus(kIdNext);
}

void CMainDlg::InitState(int page) {
  if (page == 0) {
    OnAllUsers();
    if (const unsigned long back = GetCtrlWin(kIdBack)) EnableWin(back, 0);
  }
  if (page == 2) {
    SetCtrlText(kIdNext, Gbk(texts::kInstallCaption));
    OnEngLicense();
  } else {
    SetCtrlText(kIdNext, Gbk(texts::kNextCaption));
  }
  if (page <= m_nLastPage) FocusNextIfHidden();
}

void CMainDlg::OnNext() {
  if (!CanGoNext()) return;
  ++m_nCurPage;
  ManageStateCtrls(m_nCurPage);
  InitState(m_nCurPage);
  if (m_nCurPage > m_nLastPage) OnOK();
}

void CMainDlg::OnBack() {
  if (!CanGoBack() || m_nCurPage <= 0) return;
  --m_nCurPage;
  ManageStateCtrls(m_nCurPage);
  InitState(m_nCurPage);
}

void CMainDlg::OnAllUsers() {
  m_bAllUsers = IsBtnChecked(kIdAllUsers) != 0 ? 1 : 0;
  if (m_bAllUsers) {
    m_strBinDir = gszUsrBin;
  } else if (const char* home = std::getenv("HOME")) {
    m_strBinDir = home;
  }
  CString path;
  path.Format("%s/Kivra", static_cast<const char*>(m_strBinDir));
  // A path that does not fit is shown whole but not taken: the
  // installation refuses it with a message.
  if (static_cast<size_t>(path.GetLength()) < sizeof gszInstallPathName)
    std::snprintf(gszInstallPathName, sizeof gszInstallPathName, "%s",
                  static_cast<const char*>(path));
  else
    gszInstallPathName[0] = 0;
  SetCtrlText(kIdInstallDir, path);
}

void CMainDlg::OnEngLicense() {
  const CString dir = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_strProgDir : CString();
  CString path;
  path.Format("%slicense%d.txt", static_cast<const char*>(dir),
              IsBtnChecked(kIdOtherLicense) > 0 ? 2 : 1);
  SetCtrlText(kIdLicenseText, ReadFileToStr(path.GetBuffer(0)));
  path.ReleaseBuffer();
}

int CMainDlg::InitDlg() {
  ADialog::InitDlg();
  SetDefltBtn(kIdNext);
  SetCtrlText(kIdOwnScripts, Gbk(texts::kOwnScriptsCaption));
  SetBtnCheck(kIdAllUsers, m_bAllUsers);
  OnAllUsers();
  m_hProgress = GetCtrlWin(kIdProgress);
  m_nCurPage = -1;
  OnNext();
  if (const int pid = g_finder(szExeNameKVR)) {
    char question[256];
    std::snprintf(question, sizeof question, texts::kKillQuestion, szExeNameKVR);
    if (ChMsgbox(Gbk(question), kMsgBoxYesNo, 1, -1) == IDYES &&
        ChMsgbox(texts::kReadyQuestion, kMsgBoxYesNo, 0, -1) == IDYES) {
      kill(pid, SIGKILL);
    }
  }
  return 1;
}

CInstallation& CMainDlg::Installation() {
  if (!m_install) {
    InstallChoice choice;
    choice.progDir =
        uniqueAFCAppPointer ? static_cast<const char*>(uniqueAFCAppPointer->m_strProgDir) : "";
    choice.binDir = static_cast<const char*>(m_strBinDir);
    choice.allUsers = m_bAllUsers != 0;
    choice.editStartup = IsBtnChecked(kIdOwnScripts) <= 0;
    choice.sysType = gSysType;
    m_install = std::make_unique<CInstallation>(choice, *m_host, *m_pOps);
  }
  return *m_install;
}

int CMainDlg::InstallApp() {
  m_install.reset();  // the choices as they stand now
  return Installation().InstallApp();
}

void CMainDlg::OnOK() {
  InstallApp();
  ADialog::OnOK();
}

int CMainDlg::InstallFiles() { return Installation().InstallFiles(); }
int CMainDlg::InstallAFile(const char* name) { return Installation().InstallAFile(name); }
int CMainDlg::CopyFiles(const char* subdir, const char* extension) {
  return Installation().CopyFiles(subdir, extension);
}
int CMainDlg::CreateBinKvrScript(const char* path) {
  return Installation().CreateBinKvrScript(path);
}
int CMainDlg::CreateBinKvrXTerm(const char* path) { return Installation().CreateBinKvrXTerm(path); }
int CMainDlg::ModifyUserHomeShellInitFile() { return Installation().ModifyUserHomeShellInitFile(); }
int CMainDlg::ModifyRedflagSys() { return Installation().ModifyRedflagSys(); }
int CMainDlg::ModifyXimScript() { return Installation().ModifyXimScript(); }

}  // namespace installer
