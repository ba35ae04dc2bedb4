#include "engine/EngineHost.h"

#include "base/AtomicFile.h"
#include "engine/FwdEvent.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>

namespace {

// Used until the front end binds its host: shows nothing, sends nothing.
class SilentHost final : public IEngineHost {
 public:
  unsigned long MyGetFocus() override { return 0; }
  void SetKeyPane() override {}
  void SetChoicePane(const char*, int, unsigned long) override {}
  void InvalidateRect_hwndInputPane2() override {}
  void ShowTipMsg(const char*) override {}
  int ShowZiCiForecastPane(int) override { return 1; }
  bool IsStatusWndShown() override { return false; }
  void HideStatusWnd() override {}
  void PostFrameCommand(uint32_t) override {}
  void SendStrToClient(typFwdEventView&, const char*) override {}
  void IMForwardEvent(typFwdEventView&) override {}
  unsigned long CommitTargetWindow() override { return 0; }
  void SendTextToEditCtrl(unsigned long, const char*) override {}
  void MessageBeep() override {}
  int GrabSomeKeys(unsigned long) override { return 1; }
  int UnGrabSomeKeys() override { return 1; }
  uint32_t GetMiliSecCount() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    return static_cast<uint32_t>(static_cast<uint64_t>(tv.tv_sec) * 1000u +
                                 static_cast<uint64_t>(tv.tv_usec) / 1000u);
  }
  uint32_t Time() override { return static_cast<uint32_t>(time(nullptr)); }
  int ChMsgbox2(const char*, int, int, va_list) override { return 1; }
  void DiagMessage(const char*) override {}
  const char* DataDir() override { return "./"; }
  IFileOps& FileOps() override { return SystemFileOps(); }
};

SilentHost g_silentHost;
IEngineHost* g_host = &g_silentHost;  // borrowed; see SetEngineHost

}  // namespace

IEngineHost& EngineHost() { return *g_host; }

void SetEngineHost(IEngineHost* host) { g_host = host ? host : &g_silentHost; }

int EngineMsgBox(const char* format, int type, int literal, ...) {
  va_list args;
  va_start(args, literal);
  const int r = g_host->ChMsgbox2(format, type, literal, args);
  va_end(args);
  return r;
}

void EngineDiag(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_host->DiagMessage(text);
}

uint32_t IEngineHost::BackSpaceKeycode(const typFwdEventView&) { return kBackSpaceKeycode; }
