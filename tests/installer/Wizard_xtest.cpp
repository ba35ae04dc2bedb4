// kvrsetup's wizard run in-process on the private Xvfb from a package of
// kvrsetup.rc, resource.h and the agreement texts in a scratch directory,
// with HOME and the system root in scratch directories too. The user is
// played through XTest. The kvr the wizard finds is a sleeping child of
// the test, and the test answers No to killing it.
#include "tests/controls/DialogTestApp.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "controls/AChk.h"
#include "controls/AEdt.h"
#include "controls/CtrlConsts.h"
#include "editor/AEdtStor.h"
#include "framework/SysUtil.h"
#include "framework/internal/PlatformRoot.h"
#include "installer/CMainDlg.h"
#include "installer/InstallTexts.h"
#include "tests/installer/WizardShots.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}

namespace {

// Every path under dir with its size: what "nothing touched" compares.
std::map<std::string, long> Listing(const std::string& dir) {
  std::map<std::string, long> out;
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    lstat((dir + "/" + name).c_str(), &st);
    out[dir + "/" + name] = S_ISDIR(st.st_mode) ? -1 : static_cast<long>(st.st_size);
    if (S_ISDIR(st.st_mode))
      for (auto& kv : Listing(dir + "/" + name)) out.insert(kv);
  }
  closedir(d);
  return out;
}

CString Gbk(const char* utf8) { return Utf8ToGBK(const_cast<char*>(utf8), nullptr, nullptr); }

int g_finderCalls = 0;
pid_t g_fakeKvr = 0;
int FakeFinder(const char* name) {
  ++g_finderCalls;
  return std::string(name) == "kvr" ? static_cast<int>(g_fakeKvr) : 0;
}

// The package and the scratch system, made once for the binary.
class WizardEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    AfcKnrlInit();
    std::setlocale(LC_CTYPE, "C");
    CreateUIFonts(0, nullptr, nullptr);
    TheApp().user = XOpenDisplay(nullptr);
    TheApp().m_bImeUI = 0;
    m_pkg = std::make_unique<kvrtest::ScratchDir>();
    const std::string dir = m_pkg->Path();
    mkdir((dir + "/res").c_str(), 0755);
    mkdir((dir + "/home").c_str(), 0755);
    mkdir((dir + "/sys").c_str(), 0755);
    mkdir((dir + "/Kivra_DistributionFiles").c_str(), 0755);
    for (const char* name : {"kvrsetup.rc", "resource.h", "license1.txt", "license2.txt"})
      std::ofstream(dir + "/" + name, std::ios::binary)
          << kvrtest::ReadFileText(kvrtest::DistDir() + "/" + name);
    for (const char* name : {"kvr", "gbkflat.dic", "pykeys.dic"})
      std::ofstream(dir + "/Kivra_DistributionFiles/" + name) << name;
    setenv("HOME", (dir + "/home").c_str(), 1);
    afc::SetPlatformRootForTest(dir + "/sys");
    auto rc = std::make_unique<CRcCmplr>();
    rc->EchoReports(false);
    TheApp().rc = rc.get();
    TheApp().m_strProgDir = (dir + "/").c_str();
    rc->LoadGuiResFromRC((dir + "/kvrsetup.rc").c_str());
    TheApp().SetResourceCompiler(std::move(rc));
  }
  void TearDown() override {
    if (TheApp().user) XCloseDisplay(TheApp().user);
    TheApp().user = nullptr;
    m_pkg.reset();
  }
  static std::string Dir() { return m_pkg->Path(); }
  static inline std::unique_ptr<kvrtest::ScratchDir> m_pkg;
};
auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WizardEnv);

class Wizard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
    ASSERT_TRUE(m_kvr.Exec({"sleep", "600"}));
    g_fakeKvr = m_kvr.Pid();
    g_finderCalls = 0;
    installer::SetKvrPidFinderForTest(FakeFinder);
    m_before = Listing(WizardEnv::Dir());
  }
  void TearDown() override {
    installer::SetKvrPidFinderForTest(nullptr);
    EXPECT_FALSE(TheApp().watchdogFired) << "the wizard outlived its script";
    // Nothing was installed, and the kvr the test said No to still runs.
    EXPECT_EQ(Listing(WizardEnv::Dir()), m_before);
    EXPECT_FALSE(m_kvr.Exited());
  }

  bool Shown(installer::CMainDlg& dlg, int id) {
    AWnd* c = dlg.GetCtrl(id);
    return c && !c->m_bHidden;
  }
  // Answers the kill question with No: Tab from Yes to No, then Return.
  void AnswerNo() {
    TheApp().Then([this] { TheApp().Key(XK_Tab); });
    TheApp().Then([this] { TheApp().Key(XK_Return); });
  }
  void Click(installer::CMainDlg& dlg, int id) {
    TheApp().Then([&dlg, id] {
      AWnd* c = dlg.GetCtrl(id);
      ASSERT_NE(c, nullptr) << id;
      CSize sz = GetWinSize(c->m_hWnd);
      TheApp().ClickAt(c->m_hWnd, 6, sz.cy / 2);
    });
  }
  void Shot(installer::CMainDlg& dlg, const char* name) {
    TheApp().Then([&dlg, name] {
      EXPECT_EQ(installertest::SaveWindowShot(TheApp().user, dlg.m_hWnd, name), "");
    });
  }

  kvrtest::ChildProcess m_kvr;
  std::map<std::string, long> m_before;
};

TEST_F(Wizard, PagesBackAndTheInstallDirectoryThenEscapeTouchesNothing) {
  installer::CMainDlg dlg(nullptr);
  dlg.SetDlgID(installer::kWizardDlgId);
  const std::string home = WizardEnv::Dir() + "/home";
  AnswerNo();
  TheApp().Then([&] {
    EXPECT_EQ(g_finderCalls, 1);
    EXPECT_EQ(dlg.m_nCurPage, 0);
    EXPECT_EQ(dlg.IsBtnChecked(installer::kIdAllUsers), 1);
    EXPECT_STREQ(dlg.GetCtrl(installer::kIdInstallDir)->m_strText, "/usr/bin/Kivra");
    EXPECT_STREQ(installer::gszInstallPathName, "/usr/bin/Kivra");
    for (int id : {163, 1027, 1002, 1015, 1001, 2, 1021}) EXPECT_TRUE(Shown(dlg, id)) << id;
    for (int id : {191, 1018, 3, 1010, 1026}) EXPECT_FALSE(Shown(dlg, id)) << id;
    EXPECT_TRUE(dlg.GetCtrl(installer::kIdBack)->m_bDisabled);
    EXPECT_STREQ(dlg.GetCtrl(installer::kIdOwnScripts)->m_strText,
                 Gbk(installer::texts::kOwnScriptsCaption));
  });
  // All users off: HOME; on again: /usr/bin; off for the pictures.
  Click(dlg, installer::kIdAllUsers);
  TheApp().Then([&] {
    EXPECT_EQ(dlg.m_bAllUsers, 0);
    EXPECT_EQ(std::string(dlg.GetCtrl(installer::kIdInstallDir)->m_strText), home + "/Kivra");
    EXPECT_EQ(std::string(dlg.m_strBinDir), home);
  });
  Click(dlg, installer::kIdAllUsers);
  TheApp().Then([&] {
    EXPECT_EQ(dlg.m_bAllUsers, 1);
    EXPECT_STREQ(dlg.GetCtrl(installer::kIdInstallDir)->m_strText, "/usr/bin/Kivra");
  });
  Click(dlg, installer::kIdAllUsers);
  Shot(dlg, "kvrsetup_page0");
  TheApp().Then([] { TheApp().Key(XK_Return); });
  TheApp().Then([&] {
    EXPECT_EQ(dlg.m_nCurPage, 1);
    for (int id : {191, 1018, 3, 1001, 2, 1021}) EXPECT_TRUE(Shown(dlg, id)) << id;
    for (int id : {163, 1027, 1002, 1015, 1010}) EXPECT_FALSE(Shown(dlg, id)) << id;
  });
  Shot(dlg, "kvrsetup_page1");
  TheApp().Then([] { TheApp().Key(XK_Return); });
  TheApp().Then([&] {
    EXPECT_EQ(dlg.m_nCurPage, 2);
    EXPECT_STREQ(dlg.GetCtrl(installer::kIdNext)->m_strText,
                 Gbk(installer::texts::kInstallCaption));
    EXPECT_TRUE(Shown(dlg, installer::kIdOtherLicense));
    EXPECT_FALSE(Shown(dlg, installer::kIdOwnScripts));
    // The agreement is a multi-line edit control holding the whole text,
    // and its characters are drawn (black ink on its white well).
    auto* edit = dynamic_cast<AEdt*>(dlg.GetCtrl(installer::kIdLicenseText));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Doc()->m_bSingleLine, 0);
    EXPECT_TRUE(Shown(dlg, installer::kIdLicenseText));
    CString text;
    dlg.GetCtrlText(installer::kIdLicenseText, text);
    EXPECT_EQ(std::string(text), kvrtest::ReadFileText(WizardEnv::Dir() + "/license1.txt"));
    const kvrtest::Pixels px =
        kvrtest::Grab(dsply, edit->m_hWnd, edit->m_szWin.cx, edit->m_szWin.cy);
    ASSERT_GT(px.w, 0);
    EXPECT_GT(px.Count(0x000000, 4, 4, px.w - 4, px.h - 4), 200);
  });
  Shot(dlg, "kvrsetup_page2");
  Click(dlg, installer::kIdOtherLicense);
  TheApp().Then([&] {
    EXPECT_EQ(dlg.IsBtnChecked(installer::kIdOtherLicense), 1);
    CString text;
    dlg.GetCtrlText(installer::kIdLicenseText, text);
    EXPECT_EQ(std::string(text), kvrtest::ReadFileText(WizardEnv::Dir() + "/license2.txt"));
  });
  // Back twice (clicked: the button is disabled only for the tab walk).
  Click(dlg, installer::kIdBack);
  TheApp().Then([&] { EXPECT_EQ(dlg.m_nCurPage, 1); });
  Click(dlg, installer::kIdBack);
  TheApp().Then([&] {
    EXPECT_EQ(dlg.m_nCurPage, 0);
    EXPECT_FALSE(Shown(dlg, installer::kIdBack));
    EXPECT_STREQ(dlg.GetCtrl(installer::kIdNext)->m_strText, Gbk(installer::texts::kNextCaption));
    EXPECT_EQ(std::string(dlg.GetCtrl(installer::kIdInstallDir)->m_strText), home + "/Kivra");
  });
  TheApp().Then([] { TheApp().Key(XK_Escape); });
  EXPECT_EQ(dlg.ActModal(), IDCANCEL);
  EXPECT_TRUE(TheApp().steps.empty());
}

TEST_F(Wizard, CancelOnTheAgreementPageTouchesNothing) {
  installer::CMainDlg dlg(nullptr);
  dlg.SetDlgID(installer::kWizardDlgId);
  AnswerNo();
  TheApp().Then([] { TheApp().Key(XK_Return); });
  TheApp().Then([] { TheApp().Key(XK_Return); });
  TheApp().Then([&] { EXPECT_EQ(dlg.m_nCurPage, 2); });
  Click(dlg, IDCANCEL);
  EXPECT_EQ(dlg.ActModal(), IDCANCEL);
  EXPECT_TRUE(TheApp().steps.empty());
}

}  // namespace
