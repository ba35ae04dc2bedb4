// The window base: click counting on the 340 ms interval, standing in for a
// dialog control, and the default font heights.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ModalHosts.h"
#include "tests/framework/FrameworkTestApp.h"

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

CRect Rc(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

XEvent Button(unsigned long win, int button, int x, int y) {
  XEvent ev{};
  ev.xbutton.type = ButtonPress;
  ev.xbutton.window = win;
  ev.xbutton.button = static_cast<unsigned>(button);
  ev.xbutton.x = x;
  ev.xbutton.y = y;
  return ev;
}

XEvent Motion(unsigned long win, int x, int y) {
  XEvent ev{};
  ev.xmotion.type = MotionNotify;
  ev.xmotion.window = win;
  ev.xmotion.x = x;
  ev.xmotion.y = y;
  return ev;
}

}  // namespace

TEST(AWnd, ClickCountingTable) {
  // Each step: milliseconds after the previous one, the event, the result.
  struct Step {
    uint32_t dt;
    char what;
    int want;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int doubleClicks;
  };
  const Case cases[] = {
      {"340 ms apart", {{0, 'L', 0}, {340, 'L', 1}}, 1},
      {"341 ms apart", {{0, 'L', 0}, {341, 'L', 0}}, 0},
      {"triple", {{0, 'L', 0}, {100, 'L', 1}, {100, 'L', 0}}, 1},
      {"quadruple", {{0, 'L', 0}, {100, 'L', 1}, {100, 'L', 0}, {100, 'L', 1}}, 2},
      {"motion between", {{0, 'L', 0}, {50, 'M', 0}, {50, 'M', 0}, {50, 'L', 1}}, 1},
      {"motion alone", {{0, 'M', 0}, {10, 'M', 0}}, 0},
      {"wheel", {{0, '4', 0}, {10, '5', 0}, {10, 'L', 0}, {10, '4', 0}}, 0},
      {"right then left", {{0, 'R', 0}, {10, 'L', 0}}, 0},
  };
  FakeClock clock;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingWnd obj;
    const unsigned long win = CreateWin(0, 0, Rc(0, 0, 40, 40), 0, nullptr, &obj, 9, nullptr);
    for (const Step& s : c.steps) {
      FakeClock::now += s.dt;
      XEvent ev = s.what == 'M' ? Motion(win, 3, 4)
                                : Button(win,
                                         s.what == 'L'   ? 1
                                         : s.what == 'R' ? 3
                                                         : s.what - '0',
                                         3, 4);
      EXPECT_EQ(obj.ProcessEv(&ev), s.want) << s.what << " after " << s.dt;
    }
    FakeClock::now += 1000;
    // Double clicks arrive through the queue as CtrlEvProc code 2004.
    RunUntil([&] {
      return static_cast<int>(obj.ctrlEvents.size()) >= c.doubleClicks &&
             obj.Count(WM_AFC_AFTERCREATE) == 1;
    });
    Drain();
    EXPECT_EQ(static_cast<int>(obj.ctrlEvents.size()), c.doubleClicks);
    EXPECT_EQ(obj.Count(WM_AFC_DBLCLICK), c.doubleClicks);
    for (unsigned long code : obj.ctrlEvents) EXPECT_EQ(code, kCtrlEvDblClick);
    for (const RecordingWnd::Msg& m : obj.msgs) {
      if (m.id != WM_AFC_DBLCLICK) continue;
      EXPECT_EQ(m.w0, 3u);
      EXPECT_EQ(m.w1, 4u);
    }
    DestroyWin(win);
  }
  Drain();
}

namespace {

class FakeDialog : public IDialogHost {
 public:
  int IsDlgEnded() override { return 0; }
  void SetDlgEnded() override {}
  int GetDlgResult() override { return 0; }
  unsigned long GetCaptureWin() override { return 0; }
  AWnd* GetDlgCtr(unsigned long window) override {
    for (AWnd* c : controls)
      if (c->m_hWnd == window) return c;
    return nullptr;
  }
  unsigned long GetCtrlWin(int id) override {
    for (AWnd* c : controls)
      if (c->m_nID == id) return c->m_hWnd;
    return 0;
  }
  void SwapCtrlObject(int, AWnd* from, AWnd* to) override {
    for (AWnd*& c : controls) {
      if (c == from) {
        c = to;
        break;
      }
    }
  }
  std::vector<AWnd*> controls;
};

}  // namespace

TEST(AWnd, StandsInForADialogControlAndGivesItBack) {
  FakeDialog dlg;
  RecordingWnd original;
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 30, 30), 0, nullptr, &original, 1010, nullptr);
  original.m_strText = "old text";
  original.m_bOwnerDraw = 1;
  dlg.controls.push_back(&original);
  {
    RecordingWnd stand;
    EXPECT_EQ(stand.ReplaceDlgCtrl(999, &dlg), 0);  // no such control
    EXPECT_EQ(stand.m_hWnd, 0u);
    ASSERT_EQ(stand.ReplaceDlgCtrl(1010, &dlg), 1);
    EXPECT_EQ(stand.m_hWnd, win);
    EXPECT_EQ(AfcFindWnd(win), &stand);
    EXPECT_EQ(dlg.controls[0], &stand);
    EXPECT_STREQ(stand.m_strText, "old text");
    EXPECT_EQ(stand.m_bOwnerDraw, 1);
    EXPECT_EQ(stand.m_nID, 1010);
    stand.m_strText = "new text";
    stand.m_bDisabled = 1;
    SendWinEvent(win, 1500, 0, 0);
    EXPECT_EQ(stand.Count(1500), 1);
  }  // the destructor restores
  EXPECT_EQ(AfcFindWnd(win), &original);
  EXPECT_EQ(dlg.controls[0], &original);
  EXPECT_STREQ(original.m_strText, "new text");
  EXPECT_EQ(original.m_bDisabled, 1);
  EXPECT_EQ(original.m_hWnd, win);
  SendWinEvent(win, 1500, 0, 0);
  EXPECT_EQ(original.Count(1500), 1);
  EXPECT_EQ(original.RestoreDlgCtrl(), 0);
  DestroyWin(win);
  Drain();
}

TEST(AWnd, DefaultFontHeights) {
  struct Case {
    double dpi;
    int imeUI;
    int lang;
    int app, wnd;
  } const cases[] = {
      {96, 1, 0, 16, 20},  {96, 1, 1000, 16, 20}, {96, 1, 1001, 16, 16}, {150, 1, 1001, 20, 20},
      {200, 1, 0, 27, 27}, {96, 0, 0, 16, 16},    {122.3, 0, 0, 16, 16}, {122.5, 0, 0, 17, 17},
  };
  const double oldDpi = gScrnVertRes;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    gScrnVertRes = c.dpi;
    theApp.m_bImeUI = c.imeUI;
    theApp.m_nUILang = c.lang;
    EXPECT_EQ(theApp.GetDefaultFontHeight(), c.app);
    AWnd w;
    EXPECT_EQ(w.GetDefaultFontHeight(), c.wnd);
    EXPECT_EQ(w.m_nLang, c.lang);
  }
  gScrnVertRes = oldDpi;
  theApp.m_bImeUI = 1;
  theApp.m_nUILang = 0;
}

TEST(AWnd, CreateFillsTheObjectWithoutAWindow) {
  AWnd parent;
  AWnd w;
  EXPECT_EQ(w.m_nID, -1);
  EXPECT_EQ(w.m_nType, kAWndPlain);
  EXPECT_EQ(w.Create(4, 5, 60, 30, "caption", &parent, 12), 1);
  EXPECT_EQ(w.m_hWnd, 0u);
  EXPECT_EQ(w.m_pParent, &parent);
  EXPECT_EQ(w.m_rcWin, CRect(4, 5, 64, 35));
  EXPECT_EQ(w.m_szClient.cx, 60);
  EXPECT_EQ(w.m_szWin.cy, 30);
  EXPECT_EQ(w.m_nID, 12);
  EXPECT_STREQ(w.m_strText, "caption");
  EXPECT_EQ(w.SetHdl(77), 1);
  EXPECT_EQ(AfcFindWnd(77), nullptr);  // SetHdl does not register
  EXPECT_EQ(w.UnsetHdl(), 77u);
  CString t("abcd");
  EXPECT_EQ(w.GetCtrlText(1, t), 4);
}

TEST(AWnd, ADeletedObjectLeavesTheWindowMap) {
  auto obj = std::make_unique<RecordingWnd>();
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 10, 10), 0, nullptr, obj.get(), 1, nullptr);
  ASSERT_EQ(AfcFindWnd(win), obj.get());
  obj.reset();
  EXPECT_EQ(AfcFindWnd(win), nullptr);
  PostWinEvent(win, 1500, 0, 0);  // arrives for nobody
  Drain();
  EXPECT_EQ(DestroyWin(win), 1);
}
