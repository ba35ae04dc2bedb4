// FrameworkTestApp.h: the application object and helpers of the framework's
// X tests. Until the programs' own application classes exist, this class
// drives the framework: it records what the main loop hands to HandleEvent.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/AWnd.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/WinMsg.h"
#include "framework/internal/Clock.h"
#include "framework/x11/KernelInternal.h"

class FrameworkTestApp : public CWinApp {
 public:
  int HandleEvent(int r) override {
    handled.push_back(r);
    return 1;
  }
  int DoThingsWhenIdle(long) override {
    ++idleTurns;
    return 0;
  }
  std::vector<int> handled;
  long idleTurns = 0;
};

// A window object that records the window messages it receives.
class RecordingWnd : public AWnd {
 public:
  struct Msg {
    int id;
    uint32_t w0, w1, w2;
    unsigned long l0;
  };
  int Winproc(XEvent* event) override {
    if (IsWinMsg(event)) {
      msgs.push_back({WinMsgId(event), WinMsgWord(event, 0), WinMsgWord(event, 1),
                      WinMsgWord(event, 2), WinMsgLong(event, 0)});
      if (WinMsgId(event) == WM_AFC_DESTROY) return acceptDestroy;
      if (WinMsgId(event) == WM_AFC_DBLCLICK) return AWnd::Winproc(event);
      return result;
    }
    ++otherEvents;
    return AWnd::Winproc(event);
  }
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    ctrlEvents.push_back(code);
    return 1;
  }
  int Count(int id) const {
    int n = 0;
    for (const Msg& m : msgs) n += m.id == id;
    return n;
  }
  std::vector<Msg> msgs;
  std::vector<unsigned long> ctrlEvents;
  int otherEvents = 0;
  int result = 1;
  int acceptDestroy = 1;
};

// A clock the test steps by hand.
struct FakeClock {
  static inline uint32_t now = 100000;
  static uint32_t Now() { return now; }
  FakeClock() { afc::SetClockForTest(&FakeClock::Now); }
  ~FakeClock() { afc::SetClockForTest(nullptr); }
};

// Runs main-loop turns until pred holds (or about 10 s of turns passed).
inline bool RunUntil(const std::function<bool()>& pred) {
  for (int i = 0; i < 30000; ++i) {
    if (pred()) return true;
    afc::MainLoopTurn();
  }
  return pred();
}

// Runs turns until the queue has been empty for a while.
inline void Drain() {
  for (int quiet = 0, i = 0; quiet < 50 && i < 30000; ++i)
    quiet = afc::MainLoopTurn() ? 0 : quiet + 1;
}

// Opens the kernel once for the binary.
class KernelEnv : public ::testing::Environment {
 public:
  void SetUp() override { AfcKnrlInit(); }
};
