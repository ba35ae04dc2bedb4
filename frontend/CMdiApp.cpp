#include "frontend/CMdiApp.h"

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/AtomicFile.h"
#include "base/IniFile.h"
#include "controls/CMsgBox.h"
#include "controls/EdtScrollBarBind.h"
#include "controls/RcCmplr.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/EngineHooks.h"
#include "framework/SysUtil.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "frontend/BarKeys.h"
#include "frontend/BarWorld.h"
#include "frontend/CMainFrame.h"
#include "frontend/EditorEngineBinding.h"
#include "frontend/FrontendHost.h"
#include "frontend/InputPanes.h"
#include "frontend/KvrExit.h"
#include "frontend/MainBar.h"
#include "frontend/Settings.h"
#include "frontend/XimGlue.h"

namespace {

constexpr uint32_t kWildcardIdleSec = 2;
const char kToneKeys[] = "12345";

int KvrInputMethod() { return cfgInputManager.InputMthd; }
int EngineChnUI() { return cfgInputManager.ChnUI; }

// Only wildcards, tone keys and stroke keys (an empty text counts).
bool OnlyWildToneOrStroke(const CString& keys) {
  for (int i = 0; i < keys.GetLength(); ++i) {
    const char c = keys[i];
    const bool stroke = gszBiHuaMa && c && std::strchr(gszBiHuaMa, c);
    if (c != '?' && !(c && std::strchr(kToneKeys, c)) && !stroke) return false;
  }
  return true;
}

void KvrExitCallback(int sig) {
  if (sig != SIGALRM && sig != SIGCHLD) SaveAtSessionEnd(true);
  ExceptionHandler(sig);
}

int AskYesNo(const char* text) { return ChMsgbox(text, kMsgBoxYesNo, 0, -1); }
int KillPid(int pid) {
  CString cmd;
  cmd.Format("kill -9 %d", pid);
  return std::system(cmd);
}

}  // namespace

CMdiApp::CMdiApp() { m_bEditKey = 0; }

CMdiApp::~CMdiApp() = default;

int CMdiApp::InitApplication() {
  m_strShortName = "Jux";
  if (!GetResourceCompiler()) SetResourceCompiler(std::make_unique<CRcCmplr>());
  BindEditorScrollBars();
  return CWinApp::InitApplication();
}

int CMdiApp::InitInstance() {
  // 1. Exit paths and X errors.
  SetExceptionHandler(KvrExitCallback);
  InstallKvrXErrorHandlers();
  // 2. Fonts.
  int gbTries = 0, big5Tries = 0;
  CreateUIFonts(0, &gbTries, &big5Tries);
  // 3. One copy at a time.
  if (!IsFirstInstance()) return 0;
  // 4, 5. UI texts and the profile.
  gstrUIINI = m_strProgDir + "morvelui.ini";
  CreateProfileIfMissing(m_strProfilePath, gstrUIINI);
  // 6. Settings.
  CRect work;
  GetWindowsWorkArea(&work);
  LoadPreferences(*this, work, IsLocaleBig5());
  SetChnUIReader(EngineChnUI);
  // 7, 8. Frame and bar (hidden while starting up).
  SetBarWorld(&TheKvrBarWorld());
  frame = new CMainFrame();
  gpMainFrame = frame;
  ghMainePane = CreateMainWindow();
  if (!ghMainePane) {
    std::fprintf(stderr, "kvr: cannot create the main bar window\n");
    return 0;
  }
  frame->SetHdl(ghMainePane);
  InitMainWindows(ghMainePane, frame);
  // 9-11. Status window, menu states and settings saved, tool tip.
  CreateStatusWindows();
  ChangeMenuState();
  CreateToolTipWindow();
  // 12. The engine, bound to kvr's windows and XIM client.
  SetEngineHost(&TheFrontendHost());
  EngineHooks hooks;
  hooks.inputMethod = KvrInputMethod;
  SetEngineHooks(hooks);
  BindEditorEngine();
  dictionary.InitFirst();
  dictionary.InitDictionary();
  // 13. The input panes (missing ones are skipped by their entry points).
  CreateInputPane(0);
  // 14, 15.
  ChangeMenuState();
  Ask4ClosingChnInputAppsIfThereAreAny();
  // 16. The XIM server.
  if (!InitXIM(m_argc, m_argv, ghMainePane)) {
    ChMsgbox(
        "Please close any other Chinese Input program, then run Kivra Chinese Input Engine "
        "again.",
        kMsgBoxOk, 0, -1);
    // Nothing was learned yet: let go of the windows and dictionaries
    // without writing the settings of a copy that never served.
    ReleaseWindowsAndDictionary();
    return 0;
  }
  cfgInputManager.InputMode = kEnglishInput;
  return 1;
}

int CMdiApp::ExitInstance() {
  UnGrabSomeKeys();
  SavePreferences();
  ReleaseWindowsAndDictionary();
  return CWinApp::ExitInstance();
}

void CMdiApp::ReleaseWindowsAndDictionary() {
  if (ghMainePane) {
    ExitInputPane();
    DestroyToolTipWindow();
    DestroyStatusWindows();
    if (frame) frame->UnsetHdl();
    DestroyWin(ghMainePane);
    ghMainePane = 0;
    gpMainFrame = nullptr;
    delete frame;
    frame = nullptr;
    if (gbInitDone) dictionary.CloseDictionary();
  }
}

int CMdiApp::HandleEvent(int result) {
  if (result) return 1;
  MyXEventHandler(GetCurrentEvent());
  return 1;
}

int CMdiApp::DoThingsWhenIdle(long) {
  DoOnIdle();
  return 0;
}

int CMdiApp::DoOnIdle() {
  if (!frame) return 1;
  DoIdleWork(EngineHost().Time());
  return 1;
}

void DoIdleWork(uint32_t nowSec) {
  CChnChars& d = dictionary;
  // The back copy's time is in seconds, like nowSec.
  if (d.m_tmKeySeqBak != 0 && nowSec - d.m_tmKeySeqBak >= kWildcardIdleSec &&
      d.m_strKeySeqBak == d.m_strKeySeq && OnlyWildToneOrStroke(d.m_strKeySeqBak)) {
    GetBarEngineOps().resetChnInput(0, 0, 1);
  }
  // Learning is saved a few seconds after it changed, not at exit only.
  d.SaveLexiconWhenIdle(nowSec);
}

int SavePreferences() {
  if (!uniqueAFCAppPointer) return 0;
  CRect bar;
  const bool haveBar = ghMainePane && GetWinRect(ghMainePane, &bar);
  return WritePreferences(*uniqueAFCAppPointer, haveBar ? &bar : nullptr);
}

void SaveAtSessionEnd(bool withDisplay) {
  if (withDisplay) {
    SavePreferences();
  } else {
    SavePreferencesNoDisplay();
  }
  if (gbInitDone) dictionary.CloseDictionary();
}

void CreateProfileIfMissing(const char* profile, const char* uiIni) {
  if (access(profile, F_OK) == 0) return;
  std::string text = ";Init file for Kivra Chinese Input Engine\n";
  char value[64] = "";
  GetIniFileString(uiIni, "Config", "UseBmpFont", value, sizeof value, "");
  if (value[0] == '0') text += "\n[Config]\nUseBmpFont=0\n\n";
  // Whole or not at all: a half-written profile is never left behind. Without
  // one kvr goes on with the defaults.
  std::string error;
  if (!WriteFileAtomic(profile, text, &error)) std::fprintf(stderr, "kvr: %s\n", error.c_str());
}

int AskToCloseRivals(const std::function<int(const char*)>& findPid, int (*ask)(const char*),
                     int (*kill)(int)) {
  static const char* const kRivals[] = {"chinput", "fcitx", "xcin", "rfinput"};
  for (const char* name : kRivals) {
    const int pid = findPid(name);
    if (!pid) continue;
    CString q;
    q.Format(
        "Another Chinese input program <%s> is running. To run Kivra, this program needs to "
        "be closed. Do you agree to close that program?",
        name);
    if (ask(q) != 6) return 0;
    if (ask("Please close all applications before proceeding. Are you ready to proceed now?") !=
        6) {
      return 0;
    }
    kill(pid);
    return 1;
  }
  return 0;
}

int Ask4ClosingChnInputAppsIfThereAreAny() {
  // One look at the process list for all the rivals (each look opens a
  // file of every process).
  const std::string listing = AppListing();
  return AskToCloseRivals([&](const char* name) { return FindAppPidIn(listing, name); }, AskYesNo,
                          KillPid);
}

int CanUseNonBmpFont() { return 1; }
