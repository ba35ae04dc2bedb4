#include "framework/CWinApp.h"

#include <limits.h>
#include <signal.h>
#include <strings.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/IniFile.h"
#include "framework/AfcKernel.h"
#include "framework/ResourceCompiler.h"
#include "framework/UIStrings.h"
#include "framework/internal/KernelHooks.h"
#include "framework/internal/PsListing.h"

CWinApp* uniqueAFCAppPointer = nullptr;
CString gstrSysLocal;
const char* gszSysLocal = "";
int bLocalGB2312 = 0, bLocalGB18030 = 0, bLocalBig5 = 0;
void (*funcUserExceptionHandler)(int) = nullptr;

// --- CWinThread / CWinApp ----------------------------------------------------

void CWinThread::InitMainWindows(unsigned long window, AWnd* wnd) {
  m_hMainWnd = window;
  m_pMainWnd = wnd;
}

namespace {
int AppUILanguage() { return uniqueAFCAppPointer ? uniqueAFCAppPointer->m_nUILang : 0; }
}  // namespace

CWinApp::CWinApp() {
  uniqueAFCAppPointer = this;
  SetUILanguageReader(&AppUILanguage);
}

CWinApp::~CWinApp() {
  m_pRcCmplr.reset();
  if (uniqueAFCAppPointer == this) uniqueAFCAppPointer = nullptr;
}

int CWinApp::ExitInstance() {
  SaveStdProfileSettings();
  return 1;
}

void CWinApp::Init() {
  m_nDefFontSize = 10;
  m_pMainWnd = nullptr;
  m_hMainWnd = 0;
  GetLocaleInfo();
}

void CWinApp::SetResourceCompiler(std::unique_ptr<IResourceCompiler> compiler) {
  m_pRcCmplr = std::move(compiler);
}

int CWinApp::InitApplication() {
  if (m_strShortName.IsEmpty()) return 1;
  CString path;
  path.Format("%s%s", static_cast<const char*>(m_strProgDir),
              static_cast<const char*>(m_strShortName));
  if (path.GetLength() < 3 ||
      std::strcmp(static_cast<const char*>(path) + path.GetLength() - 3, ".rc") != 0)
    path += ".rc";
  if (m_pRcCmplr) {
    m_pRcCmplr->LoadGuiResFromRC(path);
    m_pRcCmplr->SaveGuiRes();
  }
  return 1;
}

int CWinApp::IsFirstInstance() {
  // This user's processes, as "ps -x" lists them.
  const std::string listing = afc::ProcListing(afc::PsColumns::kMine, "/proc", geteuid());
  const int ownPid = m_nPid ? m_nPid : static_cast<int>(getpid());
  const bool older = afc::ForEachListingLine(listing, 2048, [&](const char* line) {
    return afc::PsLineIsOlderCopy(line, m_pszProgName, m_strProgDir, ownPid);
  });
  return older ? 0 : 1;
}

int CWinApp::GetProfileInt(const char* section, const char* key, int deflt) {
  char value[128] = "";
  char empty[1] = "";
  const int n = GetIniFileString(m_strProfilePath, const_cast<char*>(section),
                                 const_cast<char*>(key), value, sizeof value, empty);
  if (n <= 0 || !value[0]) return deflt;
  return static_cast<int>(std::atol(value));
}

int CWinApp::WriteProfileInt(const char* section, const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteIniFileString(m_strProfilePath, const_cast<char*>(section), const_cast<char*>(key),
                            text);
}

int CWinApp::WriteProfileInts(const std::vector<ProfileInt>& values) {
  std::vector<std::string> texts;
  texts.reserve(values.size());
  for (const ProfileInt& v : values) texts.push_back(std::to_string(v.value));
  std::vector<IniEntry> entries;
  entries.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    entries.push_back({values[i].section, values[i].key, texts[i].c_str()});
  return WriteIniFileStrings(m_strProfilePath, entries);
}

CString CWinApp::GetProfileString(const char* section, const char* key, const char* deflt) {
  char value[1024] = "";
  const int n = GetIniFileString(m_strProfilePath, const_cast<char*>(section),
                                 const_cast<char*>(key), value, sizeof value, nullptr);
  if (n <= 0 || !value[0]) return CString(deflt ? deflt : "");
  return CString(value);
}

int CWinApp::GetDefaultFontHeight() const {
  const double h = m_nDefFontSize * gScrnVertRes / 72.0;
  return h < 16 ? 16 : static_cast<int>(h);
}

// --- Start-up ----------------------------------------------------------------

int GetExePathNFileName(char* buf, unsigned long size) {
  if (!buf || size == 0) return 0;
  buf[0] = '\0';
  const ssize_t n = readlink("/proc/self/exe", buf, size - 1);
  // A target that fills the buffer may have been cut: treat it as unreadable.
  if (n <= 0 || static_cast<unsigned long>(n) >= size - 1) {
    buf[0] = '\0';
    return 0;
  }
  buf[n] = '\0';
  return static_cast<int>(n);
}

namespace {

// Program name and directory from the executable's path, launch name from
// argv[0].
void RecordWhereWeLive(CWinApp* app) {
  char path[PATH_MAX + 1];
  GetExePathNFileName(path, sizeof path);
  const char* slash = std::strrchr(path, '/');
  if (slash) {
    app->m_strProgName = slash + 1;
    app->m_strProgDir = CString(path).Left(static_cast<int>(slash - path) + 1);
  } else {
    app->m_strProgName = path;
    app->m_strProgDir = "";
  }
  app->m_pszProgName = app->m_strProgName;
  const char* argv0 = (app->m_argc > 0 && app->m_argv && app->m_argv[0]) ? app->m_argv[0] : "";
  const char* last = std::strrchr(argv0, '/');
  app->m_pszLaunchName = last ? last + 1 : argv0;
}

}  // namespace

int AfcMain(int argc, char** argv) {
  CWinApp* app = uniqueAFCAppPointer;
  if (!app) std::exit(1);
  app->m_argc = argc;
  app->m_argv = argv;
  RecordWhereWeLive(app);
  app->Init();
  AfcKnrlInit();
  if (afc::GetKernelHooks().colourInit) afc::GetKernelHooks().colourInit();
  app->m_strProfilePath.Format("%s%s.ini", static_cast<const char*>(app->m_strProgDir),
                               app->m_pszLaunchName);
  app->m_pszProfileName = app->m_strProfilePath;
  if (app->InitApplication()) {
    app->m_nPid = static_cast<int>(getpid());
    app->m_bStartingUp = 1;
    const int ok = app->InitInstance();
    app->m_bStartingUp = 0;
    if (ok) {
      app->Run();
      app->ExitInstance();
    }
  }
  AfcKnrlExit();
  return 0;
}

// --- Locale ------------------------------------------------------------------

int UILangOfLocale(const char* name, int* gb2312, int* gb18030, int* big5) {
  const int isGb2312 = (!strcasecmp(name, "zh_CN") || !strcasecmp(name, "zh_CN.GB2312")) ? 1 : 0;
  const int isGb18030 = !strcasecmp(name, "zh_CN.GB18030") ? 1 : 0;
  const int isBig5 = (!isGb2312 && !isGb18030 && !strcasecmp(name, "zh_TW.Big5")) ? 1 : 0;
  if (gb2312) *gb2312 = isGb2312;
  if (gb18030) *gb18030 = isGb18030;
  if (big5) *big5 = isBig5;
  if (isGb2312 || isGb18030) return kUILangGbk;
  if (isBig5) return kUILangBig5;
  return -1;
}

void GetLocaleInfo() {
  const char* current = std::setlocale(LC_CTYPE, "");
  gstrSysLocal = current ? current : "";
  if (gstrSysLocal.IsEmpty()) {
    const char* name = nullptr;
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
      const char* v = std::getenv(var);
      if (v && *v) {
        name = v;
        break;
      }
    }
    if (name) {
      std::fprintf(stderr, "get locale error. \"%s\" not supported!\n", name);
      std::setlocale(LC_CTYPE, name);
      const char* again = std::setlocale(LC_CTYPE, "");
      gstrSysLocal = again ? again : "";
    }
  }
  if (gstrSysLocal.IsEmpty()) gstrSysLocal = "zh_CN.gb18030";
  gszSysLocal = gstrSysLocal;
  int gb2312 = 0, gb18030 = 0, big5 = 0;
  const int lang = UILangOfLocale(gszSysLocal, &gb2312, &gb18030, &big5);
  bLocalGB2312 = gb2312;
  bLocalGB18030 = gb18030;
  bLocalBig5 = big5;
  if (lang >= 0 && uniqueAFCAppPointer) uniqueAFCAppPointer->m_nUILang = lang;
}

int IsLocaleGB() { return bLocalGB2312 || bLocalGB18030; }
int IsLocaleBig5() { return bLocalBig5; }

// --- Exit callback -----------------------------------------------------------

void SetExceptionHandler(void (*fn)(int)) { funcUserExceptionHandler = fn; }

void ExceptionHandler(int sig) {
  if (sig == SIGALRM) return;
  if (sig != SIGHUP) std::fprintf(stderr, "\nkvr0:Abnormal exit\nSignal No.: %d\n\n", sig);
  if (sig == SIGCHLD) return;
  std::exit(0);
}
