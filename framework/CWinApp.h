// CWinApp.h: the application object and the program's start-up. Each program
// has exactly one object of a class derived from CWinApp, defined statically;
// the framework's main (AfcMain) drives its life: it records where the
// program lives (through /proc/self/exe), detects the locale, opens the
// kernel, builds the profile path and calls InitApplication, InitInstance,
// Run and ExitInstance.
//
// Also here: the locale detection that picks the UI language, the
// first-instance test, the profile accessors and the program's exit callback.
// The X error handler is in framework/x11/XErrHandler.h.
#pragma once

#include <memory>
#include <vector>

#include "base/CString.h"
#include "framework/XTypes.h"

class AWnd;
class IResourceCompiler;

// UI languages.
constexpr int kUILangEnglish = 0;
constexpr int kUILangGbk = 1000;
constexpr int kUILangBig5 = 1001;

class CWinThread {
 public:
  CWinThread() = default;
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  // The defaults do nothing and return 1.
  virtual int InitInstance() { return 1; }
  virtual int Run() { return 1; }
  virtual int DoThingsWhenIdle(long) { return 1; }
  virtual int ExitInstance() { return 1; }
  virtual ~CWinThread() = default;

  // Records the main window and its object (the front end calls it once its
  // main bar exists).
  void InitMainWindows(unsigned long window, AWnd* wnd);

  AWnd* m_pMainWnd = nullptr;  // borrowed: the main window's object
  // The main window's X window. Also set by ADialog::ActModal to the first
  // modal dialog's window while it is 0 (kvrsetup has no other main window).
  unsigned long m_hMainWnd = 0;
};

// One value of CWinApp::WriteProfileInts; the names are borrowed.
struct ProfileInt {
  const char* section;
  const char* key;
  int value;
};

class CWinApp : public CWinThread {
 public:
  // Sets uniqueAFCAppPointer to this object and makes its UI language the
  // one LoadStringChn translates for.
  CWinApp();

  int InitInstance() override { return 1; }
  // The main loop; never returns (see AfcKernel.h).
  int Run() override;
  // Calls SaveStdProfileSettings; returns 1.
  int ExitInstance() override;
  ~CWinApp() override;
  // Compiles the resource script named by the short name (program directory
  // + short name, ".rc" appended unless present) through the resource
  // compiler and writes its tables; returns 1 (also without a name or a
  // compiler).
  virtual int InitApplication();
  // Called by the main loop for every event after the window dispatch, with
  // r the window object's result (0 when none handled it). Returns 1.
  virtual int HandleEvent(int r) { return 1; }

  // Default font size 10, main window cleared, locale detection.
  void Init();
  // 0 when an older copy of this program (same directory) runs, else 1.
  int IsFirstInstance();
  // The profile's value as an integer; deflt when the profile, the key or
  // the value is missing or empty.
  int GetProfileInt(const char* section, const char* key, int deflt);
  // 1 written, 0 the profile could not be written.
  int WriteProfileInt(const char* section, const char* key, int value);
  // Several values in one save of the profile, as that many WriteProfileInt
  // calls would leave it. 1 written, 0 the profile could not be written.
  int WriteProfileInts(const std::vector<ProfileInt>& values);
  // The profile's value; deflt when the profile, the key or the value is
  // missing or empty.
  CString GetProfileString(const char* section, const char* key, const char* deflt);
  // Default font size x vertical dpi / 72, at least 16.
  int GetDefaultFontHeight() const;
  void LoadStdProfileSettings(unsigned long) {}
  void SaveStdProfileSettings() {}

  // The resource compiler (created by the application class, which has the
  // controls subsystem); null until set. The application object owns it.
  void SetResourceCompiler(std::unique_ptr<IResourceCompiler> compiler);
  IResourceCompiler* GetResourceCompiler() { return m_pRcCmplr.get(); }

  // The event Run has taken and is dispatching.
  XEvent* GetCurrentEvent() { return reinterpret_cast<XEvent*>(m_curEvent); }

  CString m_strProgName;           // last component of the executable's path
  CString m_strProgDir;            // the executable's directory, ending in '/'
  CString m_strProfilePath;        // program directory + launch name + ".ini"
  CString m_strShortName;          // names the resource script; set by InitApplication
  int m_nUILang = kUILangEnglish;  // 0, 1000 or 1001
  int m_nPid = 0;                  // set by main just before InitInstance
  int m_bStartingUp = 0;           // 1 while InitInstance runs
  int m_argc = 0;
  char** m_argv = nullptr;
  const char* m_pszProgName = "";     // m_strProgName's text
  const char* m_pszLaunchName = "";   // last component of argv[0]
  const char* m_pszProfileName = "";  // m_strProfilePath's text
  // Set by an edit control around handing a key to the engine: text the
  // engine commits meanwhile goes to m_hEditKeyWnd as window message 1400.
  int m_bEditKey = 0;
  unsigned long m_hEditKeyWnd = 0;
  alignas(long) unsigned char m_curEvent[afc::kXEventBytes] = {};
  int m_nDefFontSize = 10;  // points
  // 1 in the input method (window text at least 20 pixels, 16 under a
  // traditional UI), 0 in the installer (at least 16).
  int m_bImeUI = 1;

 private:
  std::unique_ptr<IResourceCompiler> m_pRcCmplr;
};

// The one application object; null until its constructor ran.
extern CWinApp* uniqueAFCAppPointer;

// The start-up sequence; main returns its result.
int AfcMain(int argc, char** argv);

// Reads the link /proc/self/exe into buf (NUL-terminated, at most size - 1
// bytes); returns the length, 0 when it cannot be read or does not fit.
int GetExePathNFileName(char* buf, unsigned long size);

// --- Locale ----------------------------------------------------------------

extern CString gstrSysLocal;     // the locale name detection settled on
extern const char* gszSysLocal;  // its text; read by the XIM server's start
extern int bLocalGB2312, bLocalGB18030, bLocalBig5;
// gstrUIINI, the UI-text file that each program's InitInstance sets, is
// declared with LoadStringChn in framework/UIStrings.h.

// Detects the locale (setlocale, then LC_ALL, LC_CTYPE, LANG, then
// "zh_CN.gb18030") and sets the flags and the application's UI language.
void GetLocaleInfo();
int IsLocaleGB();
int IsLocaleBig5();

// The UI language a locale name selects (1000 for zh_CN, zh_CN.GB2312 and
// zh_CN.GB18030, 1001 for zh_TW.Big5, case-insensitively), or -1 for any
// other name (the language then stays as it was). Sets *gb2312, *gb18030
// and *big5 (each may be null).
int UILangOfLocale(const char* name, int* gb2312, int* gb18030, int* big5);

// --- Exit callback ---------------------------------------------------------

// The program's exit callback; the loops call it after a terminating signal.
extern void (*funcUserExceptionHandler)(int);
void SetExceptionHandler(void (*fn)(int));
// The programs' exit callback: reports the signal (not SIGHUP) and exits 0
// (returns for SIGALRM and SIGCHLD).
void ExceptionHandler(int sig);
