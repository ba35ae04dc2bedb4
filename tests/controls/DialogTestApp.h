// DialogTestApp.h: the application object of the dialog X tests. A modal
// dialog runs its own loop inside the test; the test drives it from the
// loop's idle work: each step (a user action through XTest on a second
// connection, or a check) runs once the loop has been idle for a while
// after the previous one, so the events of one step are handled before the
// next. A watchdog presses Escape when a dialog outlives its script.
#pragma once

#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <clocale>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "controls/ADialog.h"
#include "controls/RcCmplr.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/WinGeometry.h"
#include "framework/x11/KernelInternal.h"
#include "tests/support/TestPaths.h"

class DialogTestApp : public CWinApp {
 public:
  int DoThingsWhenIdle(long) override {
    ++idle;
    if (steps.empty()) {
      if (idle > kWatchdogTurns && user) {
        watchdogFired = true;
        Key(XK_Escape);
        idle = 0;
      }
      return 0;
    }
    if (idle < kQuietTurns) return 0;
    idle = 0;
    std::function<void()> step = std::move(steps.front());
    steps.pop_front();
    step();
    return 0;
  }

  void Then(std::function<void()> step) { steps.push_back(std::move(step)); }
  // A step that runs once ready() holds, checked after each quiet spell: a
  // window's first exposure can take longer than one spell. After
  // kMaxRetries spells it runs all the same (and its checks report).
  void ThenWhen(std::function<bool()> ready, std::function<void()> step, int retries = 0) {
    steps.push_back([this, ready, step, retries] { RunOrRetry(ready, step, retries); });
  }

  void RunOrRetry(std::function<bool()> ready, std::function<void()> step, int retries) {
    if (ready() || retries >= kMaxRetries) {
      step();
      return;
    }
    steps.push_front([this, ready, step, retries] { RunOrRetry(ready, step, retries + 1); });
  }

  // --- the user, on a connection of its own ---
  void Key(KeySym sym, bool shift = false) {
    const KeyCode shiftCode = XKeysymToKeycode(user, XK_Shift_L);
    const KeyCode code = XKeysymToKeycode(user, sym);
    if (shift) XTestFakeKeyEvent(user, shiftCode, True, 0);
    XTestFakeKeyEvent(user, code, True, 0);
    XTestFakeKeyEvent(user, code, False, 0);
    if (shift) XTestFakeKeyEvent(user, shiftCode, False, 0);
    XSync(user, False);
  }
  void MoveTo(int rootX, int rootY) {
    XTestFakeMotionEvent(user, DefaultScreen(user), rootX, rootY, 0);
    XSync(user, False);
  }
  // Moves to (x, y) of window and presses (and, with release, releases)
  // button 1 there.
  void ClickAt(unsigned long window, int x, int y) {
    PressAt(window, x, y);
    Release();
  }
  void PressAt(unsigned long window, int x, int y) {
    // The program's own requests (its windows mapped and placed) reach the
    // server before the user's pointer: the geometry below is known without
    // a round trip that would send them.
    XSync(dsply, False);
    CRect rc;
    ASSERT_TRUE(GetWinRect(window, &rc));
    MoveTo(rc.left + x, rc.top + y);
    XTestFakeButtonEvent(user, 1, True, 0);
    XSync(user, False);
  }
  void Release() {
    XTestFakeButtonEvent(user, 1, False, 0);
    XSync(user, False);
  }

  static constexpr int kQuietTurns = 40;         // about 12 ms of an empty queue
  static constexpr long kWatchdogTurns = 20000;  // about 6 s with no step left
  static constexpr int kMaxRetries = 500;        // about 6 s of waiting
  std::deque<std::function<void()>> steps;
  long idle = 0;
  bool watchdogFired = false;
  Display* user = nullptr;
  CRcCmplr* rc = nullptr;
};

DialogTestApp& TheApp();

// Opens the kernel, the UI fonts, the user's connection and the compiler
// (with the shipped Jux.rc compiled) once for the binary.
class DialogEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    AfcKnrlInit();
    std::setlocale(LC_CTYPE, "C");
    fontsOk = CreateUIFonts(0, nullptr, nullptr);
    TheApp().user = XOpenDisplay(nullptr);
    auto rc = std::make_unique<CRcCmplr>();
    rc->EchoReports(false);
    TheApp().rc = rc.get();
    TheApp().m_strProgDir = (kvrtest::DistDir() + "/").c_str();
    rc->LoadGuiResFromRC((kvrtest::DistDir() + "/Jux.rc").c_str());
    TheApp().SetResourceCompiler(std::move(rc));
  }
  void TearDown() override {
    if (TheApp().user) XCloseDisplay(TheApp().user);
    TheApp().user = nullptr;
  }
  static inline int fontsOk = 0;
};

// A key event of the framework's display for window, as the server would
// deliver it: XLookupString reads its keycode through the display's map.
inline XEvent SynthKey(Window w, KeySym sym, bool press, unsigned state = 0) {
  XEvent ev{};
  ev.xkey.type = press ? KeyPress : KeyRelease;
  ev.xkey.display = dsply;
  ev.xkey.window = w;
  ev.xkey.root = DefaultRootWindow(dsply);
  ev.xkey.keycode = XKeysymToKeycode(dsply, sym);
  ev.xkey.state = state;
  ev.xkey.same_screen = True;
  return ev;
}

// A button 1 press or release at (x, y) of window.
inline XEvent SynthButton(Window w, bool press, int x, int y) {
  XEvent ev{};
  ev.xbutton.type = press ? ButtonPress : ButtonRelease;
  ev.xbutton.display = dsply;
  ev.xbutton.window = w;
  ev.xbutton.root = DefaultRootWindow(dsply);
  ev.xbutton.button = Button1;
  ev.xbutton.x = x;
  ev.xbutton.y = y;
  ev.xbutton.same_screen = True;
  return ev;
}

// A control record of a test template (dialog units).
inline typCtrl MakeCtrl(uint8_t type, int id, int x, int y, int w, int h, const char* text,
                        uint32_t style = 0, uint8_t group = 0) {
  typCtrl c;
  c.m_type = type;
  c.m_id = id;
  c.m_pt = CPoint(x, y);
  c.m_size = CSize(w, h);
  c.m_text = text;
  c.m_style = style;
  c.m_group = group;
  return c;
}

// Enters a template under its id in the application's dialog table.
inline void AddTemplate(int id, CSize size, std::initializer_list<typCtrl> ctrls,
                        int fontSize = 10) {
  typDlg dlg;
  dlg.m_size = size;
  dlg.m_caption = "Test";
  dlg.m_fontSize = fontSize;
  for (const typCtrl& c : ctrls) {
    typCtrl copy = c;
    dlg.m_ctrls.AddTail(copy);
  }
  CString key;
  key.Format("%d", id);
  TheApp().rc->m_mapDlgs.SetAt(key, dlg);
}
