#include "frontend/FrontendHost.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "base/AtomicFile.h"
#include "controls/CMsgBox.h"
#include "engine/FwdEvent.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "frontend/BarCommands.h"
#include "frontend/BarKeys.h"
#include "frontend/CommitText.h"
#include "frontend/InputPanes.h"
#include "frontend/MainBar.h"
#include "frontend/XimGlue.h"

// Message 1400: committed text for an edit control (l[0] the text).
constexpr int kMsgEditCommit = 1400;

FrontendHost& TheFrontendHost() {
  static FrontendHost host;
  return host;
}

unsigned long FrontendHost::MyGetFocus() { return ::MyGetFocus(); }

void FrontendHost::SetKeyPane() {
  ++m_panes.keyPaneUpdates;
  ::SetKeyPane();
}

void FrontendHost::SetChoicePane(const char* text, int highlightLength, unsigned long colour) {
  m_panes.choiceText = text ? text : "";
  m_panes.choiceHighlight = highlightLength;
  m_panes.choiceColour = colour;
  ::SetChoicePane(text, highlightLength, colour);
}

void FrontendHost::InvalidateRect_hwndInputPane2() {
  ++m_panes.pane2Invalidations;
  ::InvalidateRect_hwndInputPane2();
}
void FrontendHost::ShowTipMsg(const char* text) { ::ShowTipMsg(text); }

int FrontendHost::ShowZiCiForecastPane(int show) {
  m_panes.forecastShown = show ? 1 : 0;
  return ::ShowZiCiForecastPane(show);
}

bool FrontendHost::IsStatusWndShown() { return ghStatusWnd && IsWinShown(ghStatusWnd); }
void FrontendHost::HideStatusWnd() {
  if (ghStatusWnd) ShowWin(0, ghStatusWnd);
}

// The engine asks for a command as the last thing it does with a key, so
// the command runs at once: the next key sees the switched mode.
void FrontendHost::PostFrameCommand(uint32_t id) { RunCommandInOrder(id); }

void FrontendHost::SendStrToClient(typFwdEventView& rec, const char* text) {
  // A commit request of its own, addressed by the forwarded key's ids.
  IMCommitStruct commit;
  std::memset(&commit, 0, sizeof commit);
  commit.major_code = XIM_COMMIT;
  commit.connect_id = rec.connect_id;
  commit.icid = rec.icid;
  ::SendStrToClient(ims, &commit, text);
}

void FrontendHost::IMForwardEvent(typFwdEventView& rec) {
  if (!ims) return;
  IMForwardEventStruct fwd;
  FwdEventFromView(rec, fwd);
  ::IMForwardEvent(ims, &fwd);
}

unsigned long FrontendHost::CommitTargetWindow() {
  CWinApp* app = uniqueAFCAppPointer;
  return app && app->m_bEditKey ? app->m_hEditKeyWnd : 0;
}

void FrontendHost::SendTextToEditCtrl(unsigned long window, const char* text) {
  // Traditional output hands Big5: the control takes GBK. Text without a
  // GBK form is refused whole, as a client's commit is.
  std::string gbk;
  if (!CommitGbk(text, cfgInputManager.FanTi != 0, gbk)) return;
  SendWinEvent(window, kMsgEditCommit, reinterpret_cast<unsigned long>(gbk.c_str()), 0);
}

void FrontendHost::MessageBeep() { ::MessageBeep(0); }
int FrontendHost::GrabSomeKeys(unsigned long window) { return ::GrabSomeKeys(window); }
int FrontendHost::UnGrabSomeKeys() { return ::UnGrabSomeKeys(); }
uint32_t FrontendHost::GetMiliSecCount() { return ::GetMiliSecCount(); }
uint32_t FrontendHost::Time() { return static_cast<uint32_t>(std::time(nullptr)); }

int FrontendHost::ChMsgbox2(const char* format, int type, int literal, va_list args) {
  const CString translated =
      (literal || !cfgInputManager.ChnUI) ? CString(format) : LoadStringChn(format, 1);
  char text[512];
  std::vsnprintf(text, sizeof text, translated, args);
  return ChMsgbox(text, type, 1, -1);
}

void FrontendHost::DiagMessage(const char* text) { std::fprintf(stderr, "%s\n", text); }

const char* FrontendHost::DataDir() {
  CWinApp* app = uniqueAFCAppPointer;
  return app ? static_cast<const char*>(app->m_strProgDir) : "./";
}

IFileOps& FrontendHost::FileOps() { return SystemFileOps(); }
