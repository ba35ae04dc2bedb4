// CMainDlg.h: kvrsetup's three-page setup wizard, built on dialog 113 of
// kvrsetup.rc. Page 0: for all users (/usr/bin/Kivra) or for the current
// user ($HOME/Kivra); page 1: whether the user edits the X start-up files
// himself; page 2: the agreement, in one of two texts. Next on page 2
// installs (Installation.h) and the wizard closes after the outcome box.
// Before the first page it offers to kill a running kvr.
//
// The page table stateCtrls lists each page's controls; moving to a page
// hides the others' controls and shows its own. Cancel and Escape end the
// wizard with nothing changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/CString.h"
#include "controls/ADialog.h"

namespace installer {

class CInstallation;
class IInstallHost;
class IInstallOps;

// The wizard's dialog template and the controls the code relies on.
constexpr int kWizardDlgId = 113;
constexpr int kIdAllUsers = 163;       // check box: install for all users
constexpr int kIdOwnScripts = 191;     // check box: the user edits the scripts
constexpr int kIdOtherLicense = 1010;  // check box: the second agreement text
constexpr int kIdNext = 1001;
constexpr int kIdBack = 3;
constexpr int kIdInstallDir = 1002;   // shows the install directory
constexpr int kIdLicenseText = 1014;  // shows the agreement
constexpr int kIdTitle = 1021;        // on every page, hidden while installing
constexpr int kIdProgress = 1026;

// The install directory, "<bin directory>/Kivra"; empty while the chosen
// one does not fit (the installation then refuses with a message).
extern char gszInstallPathName[256];
extern const char gszUsrBin[];     // "/usr/bin"
extern const char szExeNameKVR[];  // "kvr"
// Each page's controls, ended by 0; page 3 (installing) has none.
extern const int32_t stateCtrls[4][128];

class CMainDlg : public ADialog {
 public:
  explicit CMainDlg(AWnd* parent);
  ~CMainDlg() override;

  // Installs, then ends the wizard with 1 whatever the outcome.
  void OnOK() override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  int InitDlg() override;
  // Moving is always allowed.
  virtual int CanGoNext() { return 1; }
  virtual int CanGoBack() { return 1; }

  int IsCtrlIdInState(int id, int page);
  void ManageStateCtrls(int page);
  void InitState(int page);
  void OnNext();
  void OnBack();
  void OnAllUsers();
  void OnEngLicense();

  // The installation (Installation.h) with the wizard's choices.
  int InstallApp();
  int InstallFiles();
  int InstallAFile(const char* name);
  int CopyFiles(const char* subdir, const char* extension);
  int CreateBinKvrScript(const char* path);
  int CreateBinKvrXTerm(const char* path);
  int ModifyUserHomeShellInitFile();
  int ModifyRedflagSys();
  int ModifyXimScript();

  // --- fields, in order ---
  unsigned long m_hProgress = 0;  // window of the progress bar 1026
  int32_t m_nCurPage = -1;        // -1 before page 0; 3 while installing
  int32_t m_nLastPage = 2;
  int32_t m_bAllUsers = 1;
  CString m_strBinDir;  // "/usr/bin", or $HOME for one user

  // Where the installation changes the disk (tests put a fake here);
  // borrowed, SystemInstallOps() by default.
  IInstallOps* m_pOps;

 private:
  CInstallation& Installation();
  void FocusNextIfHidden();

  std::unique_ptr<IInstallHost> m_host;
  std::unique_ptr<CInstallation> m_install;
};

// Test seam: how the wizard finds a running kvr (FindAppPid by default).
// Returns the finder it replaces; null restores the default.
using KvrPidFinder = int (*)(const char* name);
KvrPidFinder SetKvrPidFinderForTest(KvrPidFinder finder);

}  // namespace installer
