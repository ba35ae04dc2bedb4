// Window geometry and visibility helpers on registered and unregistered
// windows of the private Xvfb.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>

#include "framework/WinGeometry.h"
#include "tests/framework/FrameworkTestApp.h"

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

CRect Rc(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

struct Attrs {
  int x, y, w, h;
  bool mapped;
};

Attrs Read(unsigned long win) {
  XSync(dsply, False);
  XWindowAttributes a;
  XGetWindowAttributes(dsply, win, &a);
  return {a.x, a.y, a.width, a.height, a.map_state != IsUnmapped};
}

// A registered window whose object mirrors its geometry.
struct TestWin {
  explicit TestWin(CRect r, unsigned long parent = 0) {
    win = CreateWin(0, 0, r, parent, nullptr, &obj, 1, nullptr);
    obj.m_rcWin = r;
    obj.m_ptClientOrg = CPoint(r.left + 3, r.top + 3);
    obj.m_szClient = CSize(r.Width() - 6, r.Height() - 6);
  }
  ~TestWin() { DestroyWin(win); }
  RecordingWnd obj;
  unsigned long win = 0;
};

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

TEST(WinGeometry, SetWinPosFlagTable) {
  struct Case {
    unsigned long flags;
    bool moves, resizes, mapped;
  };
  const Case cases[] = {
      {0, true, true, false},  // flags 0 moves, resizes and unmaps
      {kSwpKeepPos, false, true, false},
      {kSwpKeepSize, true, false, false},
      {kSwpKeepPos | kSwpKeepSize, false, false, false},
      {kSwpShow, true, true, true},
      {kSwpShow | kSwpKeepSize, true, false, true},  // move without resizing, and map
      {kSwpShow | kSwpKeepPos, false, true, true},
      {kSwpShow | kSwpKeepPos | kSwpKeepSize, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    TestWin w(Rc(10, 20, 30, 40));
    XMapWindow(dsply, w.win);
    EXPECT_EQ(SetWinPos(w.win, 100, 110, 50, 60, c.flags, 0, 0), 1);
    const Attrs a = Read(w.win);
    EXPECT_EQ(a.x, c.moves ? 100 : 10);
    EXPECT_EQ(a.y, c.moves ? 110 : 20);
    EXPECT_EQ(a.w, c.resizes ? 50 : 30);
    EXPECT_EQ(a.h, c.resizes ? 60 : 40);
    EXPECT_EQ(a.mapped, c.mapped);
    // The object follows: rectangle, client origin and window size.
    EXPECT_EQ(w.obj.m_rcWin.left, c.moves ? 100 : 10);
    EXPECT_EQ(w.obj.m_rcWin.Width(), c.resizes ? 50 : 30);
    EXPECT_EQ(w.obj.m_rcWin.Height(), c.resizes ? 60 : 40);
    EXPECT_EQ(w.obj.m_ptClientOrg, c.moves ? CPoint(103, 113) : CPoint(13, 23));
    if (c.resizes) {
      EXPECT_EQ(w.obj.m_szWin, CSize(50, 60));
    }
  }
}

TEST(WinGeometry, ZeroSizeIsNoXError) {
  // The default X error handler would end the test on a BadValue.
  TestWin w(Rc(0, 0, 20, 20));
  SetWinPos(w.win, 1, 2, 0, 0, kSwpShow, 0, 0);
  const Attrs a = Read(w.win);
  EXPECT_EQ(a.w, 1);
  EXPECT_EQ(a.h, 1);
  EXPECT_EQ(w.obj.m_szWin, CSize(0, 0));
}

TEST(WinGeometry, RaiseStacksAboveSiblings) {
  TestWin a(Rc(0, 0, 20, 20)), b(Rc(0, 0, 20, 20));
  SetWinPos(a.win, 0, 0, 20, 20, kSwpShow, kSwpRaise, 0);
  XSync(dsply, False);
  Window root, parent, *kids = nullptr;
  unsigned n = 0;
  XQueryTree(dsply, RootWindow(dsply, scrn), &root, &parent, &kids, &n);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(kids[n - 1], a.win);
  XFree(kids);
}

TEST(WinGeometry, WinMoveAndWinMoveNoSize) {
  TestWin w(Rc(10, 10, 30, 30));
  WinMove(w.win, 40, 50, 60, 70);
  Attrs a = Read(w.win);
  EXPECT_EQ(a.x, 40);
  EXPECT_EQ(a.w, 60);
  EXPECT_TRUE(a.mapped);
  WinMoveNoSize(w.win, 5, 6);
  a = Read(w.win);
  EXPECT_EQ(a.x, 5);
  EXPECT_EQ(a.y, 6);
  EXPECT_EQ(a.w, 60);
  EXPECT_EQ(w.obj.m_rcWin, Rc(5, 6, 60, 70));
  EXPECT_EQ(w.obj.m_ptClientOrg, CPoint(8, 9));
}

TEST(WinGeometry, RootRectanglesThroughAncestors) {
  TestWin outer(Rc(100, 50, 200, 200));
  TestWin inner(Rc(10, 20, 50, 40), outer.win);
  CRect r;
  ASSERT_EQ(GetWinRect(inner.win, &r), 1);
  EXPECT_EQ(r, Rc(110, 70, 50, 40));
  CPoint p(115, 75);
  ScreenToWin(inner.win, &p);
  EXPECT_EQ(p, CPoint(5, 5));
  WinToScreen(inner.win, &p);
  EXPECT_EQ(p, CPoint(115, 75));
  CRect rc(0, 0, 10, 10);
  WinToScreenRc(inner.win, &rc);
  EXPECT_EQ(rc, Rc(110, 70, 10, 10));
  ScreenToWinRc(inner.win, &rc);
  EXPECT_EQ(rc, Rc(0, 0, 10, 10));
  EXPECT_EQ(GetWinParent(inner.win), outer.win);
  EXPECT_EQ(GetWinSize(inner.win), CSize(50, 40));
}

// What the helpers say of a window, and whether saying it took a request.
struct Seen {
  CRect rect;
  CSize size;
  int shown;
  unsigned long parent;
  bool asked;
};

Seen Look(unsigned long win) {
  Seen s{};
  const unsigned long before = XNextRequest(dsply);
  GetWinRect(win, &s.rect);
  s.size = GetWinSize(win);
  s.shown = IsWinShown(win);
  s.parent = GetWinParent(win);
  s.asked = XNextRequest(dsply) != before;
  return s;
}

TEST(WinGeometry, OwnWindowsAreKnownWithoutAskingTheServer) {
  TestWin outer(Rc(100, 50, 200, 200));
  TestWin inner(Rc(10, 20, 50, 40), outer.win);
  Seen s = Look(inner.win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(110, 70, 50, 40));
  EXPECT_EQ(s.size, CSize(50, 40));
  EXPECT_EQ(s.shown, 0);
  EXPECT_EQ(s.parent, outer.win);
  // The framework's own moves, sizes and maps are known as they are made.
  ShowWin(1, outer.win);
  SetWinPos(inner.win, 5, 6, 70, 80, kSwpShow, 0, 0);
  WinMoveNoSize(outer.win, 300, 310);
  s = Look(inner.win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(305, 316, 70, 80));
  EXPECT_EQ(s.shown, 1);
  const Attrs a = Read(inner.win);
  EXPECT_EQ(Rc(a.x, a.y, a.w, a.h), Rc(5, 6, 70, 80));
  EXPECT_TRUE(a.mapped);

  // Changes made by another client are followed from their events, and an
  // older event never undoes a later request of ours.
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  XMoveResizeWindow(other, inner.win, 1, 2, 30, 31);
  XUnmapWindow(other, inner.win);
  XSync(other, False);
  XSync(dsply, False);  // reads the events
  s = Look(inner.win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(301, 312, 30, 31));
  EXPECT_EQ(s.shown, 0);
  XSync(dsply, True);  // an empty queue: the next read takes what was sent
  XMoveWindow(other, outer.win, 0, 0);
  XSync(other, False);
  WinMoveNoSize(outer.win, 40, 41);          // not sent yet
  XEventsQueued(dsply, QueuedAfterReading);  // reads the other client's event
  s = Look(inner.win);
  EXPECT_EQ(s.rect, Rc(41, 43, 30, 31));
  XSync(dsply, False);
  EXPECT_EQ(Look(inner.win).rect, Rc(41, 43, 30, 31));
  const Attrs o = Read(outer.win);
  EXPECT_EQ(CPoint(o.x, o.y), CPoint(40, 41));
  XCloseDisplay(other);

  // A destroyed window is forgotten: its number means nothing any more.
  const unsigned long gone = inner.win;
  DestroyWin(inner.win);
  inner.win = 0;
  XErrorHandler old = XSetErrorHandler(&IgnoreXErrors);
  EXPECT_EQ(GetWinSize(gone), CSize(0, 0));
  XSync(dsply, False);
  XSetErrorHandler(old);
}

TEST(WinGeometry, AnotherClientsWindowIsAskedOnceThenFollowed) {
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  const Window root = DefaultRootWindow(other);
  const Window frame = XCreateSimpleWindow(other, root, 100, 50, 300, 300, 0, 0, 0);
  const Window win = XCreateSimpleWindow(other, root, 10, 20, 60, 40, 0, 0, 0);
  XMapWindow(other, win);
  XSync(other, False);
  // What we select on it ourselves is kept beside the structure events.
  XSelectInput(dsply, win, ButtonPressMask);

  Seen s = Look(win);
  EXPECT_TRUE(s.asked);
  EXPECT_EQ(s.rect, Rc(10, 20, 60, 40));
  EXPECT_EQ(s.shown, 1);
  EXPECT_EQ(s.parent, root);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(dsply, win, &a));
  EXPECT_EQ(a.your_event_mask, ButtonPressMask | StructureNotifyMask);
  EXPECT_FALSE(Look(win).asked);

  // The other client's changes, as its events are read, without asking;
  // reparented, the window's root rectangle goes through its new parent.
  XMoveResizeWindow(other, win, 1, 2, 30, 31);
  XUnmapWindow(other, win);
  XSync(other, False);
  XSync(dsply, False);
  s = Look(win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(1, 2, 30, 31));
  EXPECT_EQ(s.shown, 0);
  XReparentWindow(other, win, frame, 5, 6);
  XMapWindow(other, win);
  XSync(other, False);
  XSync(dsply, False);
  EXPECT_TRUE(Look(win).asked);  // the new parent, once
  s = Look(win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(105, 56, 30, 31));
  EXPECT_EQ(s.shown, 1);
  EXPECT_EQ(s.parent, frame);
  XMoveWindow(other, frame, 200, 210);
  XSync(other, False);
  XSync(dsply, False);
  s = Look(win);
  EXPECT_FALSE(s.asked);
  EXPECT_EQ(s.rect, Rc(205, 216, 30, 31));

  // A request of ours on it is not taken as done: the window is asked again.
  WinMoveNoSize(win, 7, 8);
  XSync(dsply, False);
  s = Look(win);
  EXPECT_TRUE(s.asked);
  EXPECT_EQ(s.rect, Rc(207, 218, 30, 31));

  // Gone: forgotten, and nothing is said of it any more.
  XDestroyWindow(other, frame);
  XSync(other, False);
  XErrorHandler old = XSetErrorHandler(&IgnoreXErrors);
  XSync(dsply, False);
  EXPECT_EQ(GetWinSize(win), CSize(0, 0));
  EXPECT_EQ(IsWinShown(win), 0);
  XSync(dsply, False);
  XSetErrorHandler(old);
  XCloseDisplay(other);
}

TEST(WinGeometry, UnknownWindowsGiveNeutralResults) {
  XErrorHandler old = XSetErrorHandler(&IgnoreXErrors);
  const unsigned long bogus = 0x7FFFFF0;
  CRect r(1, 2, 3, 4);
  EXPECT_EQ(GetWinRect(bogus, &r), 0);
  EXPECT_EQ(r, CRect(1, 2, 3, 4));
  CPoint p(7, 8);
  EXPECT_EQ(ScreenToWin(bogus, &p), 1);
  EXPECT_EQ(p, CPoint(7, 8));
  EXPECT_EQ(GetWinSize(bogus), CSize(0, 0));
  EXPECT_EQ(IsWinShown(bogus), 0);
  EXPECT_EQ(GetWinParent(bogus), 0UL);
  XSync(dsply, False);
  XSetErrorHandler(old);
}

TEST(WinGeometry, ShowWinOnRegisteredAndPlainWindows) {
  TestWin w(Rc(0, 0, 20, 20));
  Drain();
  w.obj.msgs.clear();
  EXPECT_NE(ShowWin(1, w.win), 0);
  EXPECT_EQ(IsWinShown(w.win), 1);
  EXPECT_EQ(w.obj.m_bHidden, 0);
  EXPECT_EQ(ShowWin(0, w.win) != 0, true);
  EXPECT_EQ(IsWinShown(w.win), 0);
  EXPECT_EQ(w.obj.m_bHidden, 1);
  ASSERT_TRUE(RunUntil([&] { return w.obj.Count(WM_AFC_SHOW) == 2; }));
  std::vector<uint32_t> shown;
  for (const auto& m : w.obj.msgs)
    if (m.id == WM_AFC_SHOW) shown.push_back(m.w0);
  EXPECT_EQ(shown, (std::vector<uint32_t>{1, 0}));

  const Window plain = XCreateSimpleWindow(dsply, RootWindow(dsply, scrn), 0, 0, 5, 5, 0, 0, 0);
  EXPECT_EQ(ShowWin(1, plain), 0);
  EXPECT_EQ(IsWinShown(plain), 1);
  EXPECT_EQ(IsAfcWin(plain), 0);
  EXPECT_EQ(IsAfcWin(w.win), 1);
  XDestroyWindow(dsply, plain);
}

TEST(WinGeometry, DrawRectAndLanguage) {
  TestWin w(Rc(10, 10, 40, 30));
  CRect r;
  ASSERT_EQ(GetDrawRect(w.win, &r), 1);
  EXPECT_EQ(r, Rc(13, 13, 34, 24));  // from the client origin, not from (0, 0)
  EXPECT_EQ(GetDrawRect(12345, &r), 0);
  w.obj.m_nLang = 1000;
  EXPECT_EQ(SetWinLang(w.win, 1001), 1000);
  EXPECT_EQ(GetWinLang(w.win), 1001);
  EXPECT_EQ(GetWinLang(12345), -1);
  EXPECT_EQ(SetWinLang(12345, 1000), -1);
}

TEST(WinGeometry, ScreenPointerAndFocus) {
  CRect work;
  GetWindowsWorkArea(&work);
  EXPECT_EQ(work, CRect(0, 0, DisplayWidth(dsply, 0), DisplayHeight(dsply, 0)));
  EXPECT_EQ(SetPointerPos(33, 44), 1);
  POINT p{};
  ASSERT_EQ(GetPointerPos(&p), 1);
  EXPECT_EQ(p.x, 33);
  EXPECT_EQ(p.y, 44);
  TestWin w(Rc(0, 0, 20, 20));
  XMapWindow(dsply, w.win);
  XSync(dsply, False);
  XSetInputFocus(dsply, w.win, RevertToParent, CurrentTime);
  EXPECT_EQ(GetFocusWin(), w.win);
}

TEST(WinGeometry, CaptionHeightAndDialogUnits) {
  const double oldRes = gScrnVertRes;
  gScrnVertRes = 72.0;  // the default font height is then its point size
  struct Case {
    int points, caption;
  };
  for (const Case& c : {Case{16, 25}, Case{19, 25}, Case{20, 25}, Case{24, 30}, Case{32, 40}}) {
    theApp.m_nDefFontSize = c.points;
    EXPECT_EQ(GetDlgCaptionH(), c.caption) << c.points;
  }
  theApp.m_nDefFontSize = 10;
  gScrnVertRes = oldRes;
  EXPECT_EQ(DigUnitToScrnDot(CSize(10, 7), 20), CSize(20, 14));
  EXPECT_EQ(DigUnitToScrnDot(CPoint(10, 7), 23), CPoint(20, 14));  // 23 / 8 = 2 first
  EXPECT_EQ(DigUnitToScrnDot(CSize(10, 7), 7), CSize(0, 0));
  EXPECT_EQ(GetDblClikIntvl(), 340);
}

}  // namespace
