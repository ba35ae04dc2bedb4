// The event kernel on a private X server: window creation and messages,
// the main loop's dispatch, filters and selection handling, timers on the
// 300 ms tick, the modal loops and the key grab.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "framework/EngineHooks.h"
#include "framework/ModalHosts.h"
#include "framework/SysUtil.h"
#include "framework/internal/KernelHooks.h"
#include "framework/internal/TimerTable.h"
#include "framework/x11/XErrHandler.h"
#include "tests/framework/FrameworkTestApp.h"

// The XIM transport registers its filters through this exported Xlib call.
extern "C" void _XRegisterFilterByType(Display*, Window, int, int,
                                       Bool (*)(Display*, Window, XEvent*, XPointer), XPointer);
extern "C" void _XUnregisterFilter(Display*, Window, Bool (*)(Display*, Window, XEvent*, XPointer),
                                   XPointer);

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

CRect Rc(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

// A window with a recording object, destroyed at the end of the test.
struct TestWin {
  RecordingWnd obj;
  unsigned long win = 0;
  explicit TestWin(CRect rc = Rc(10, 10, 50, 40), int style = 0, unsigned long parent = 0) {
    win = CreateWin(style, 0, rc, parent, nullptr, &obj, 77, nullptr);
  }
  ~TestWin() {
    obj.acceptDestroy = 1;
    if (AfcFindWnd(win)) DestroyWin(win);
  }
};

}  // namespace

TEST(Kernel, CreateWinSendsCreateAtOnceAndPostsAfterCreate) {
  RecordingWnd obj;
  int param = 0;
  const unsigned long win = CreateWin(0, 0, Rc(5, 6, 30, 20), 0, nullptr, &obj, 42, &param);
  ASSERT_NE(win, 0u);
  ASSERT_EQ(obj.msgs.size(), 1u);
  EXPECT_EQ(obj.msgs[0].id, WM_AFC_CREATE);
  EXPECT_EQ(obj.msgs[0].l0, reinterpret_cast<unsigned long>(&param));  // sent: a full pointer
  EXPECT_EQ(obj.m_nID, 42);
  EXPECT_EQ(obj.m_hWnd, win);
  EXPECT_EQ(AfcFindWnd(win), &obj);
  ASSERT_TRUE(RunUntil([&] { return obj.Count(WM_AFC_AFTERCREATE) == 1; }));

  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(dsply, win, &a));
  EXPECT_TRUE(a.override_redirect);
  EXPECT_EQ(a.map_state, IsUnmapped);
  EXPECT_EQ(a.x, 5);
  EXPECT_EQ(a.width, 30);
  EXPECT_TRUE(a.your_event_mask & ButtonPressMask);
  EXPECT_TRUE(a.your_event_mask & ExposureMask);
  EXPECT_EQ(DestroyWin(win), 1);
  EXPECT_EQ(AfcFindWnd(win), nullptr);
}

TEST(Kernel, StyleBitZeroLeavesKeysAndButtonsUnselected) {
  TestWin w(Rc(0, 0, 10, 10), 1);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(dsply, w.win, &a));
  EXPECT_FALSE(a.your_event_mask & (KeyPressMask | ButtonPressMask));
  EXPECT_TRUE(a.your_event_mask & PointerMotionMask);
}

namespace {
std::vector<int> g_procMsgs;
int RecordingProc(XEvent* ev) {
  g_procMsgs.push_back(WinMsgId(ev));
  return 5;
}
}  // namespace

TEST(Kernel, WindowProcedureGetsAKernelOwnedObject) {
  g_procMsgs.clear();
  const unsigned long win =
      CreateWin(0, 0, Rc(0, 0, 10, 10), 0, &RecordingProc, nullptr, 3, nullptr);
  AWnd* bare = AfcFindWnd(win);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->m_nID, 3);
  EXPECT_EQ(SendWinEvent(win, 4321, 1, 2), 5);
  EXPECT_EQ(g_procMsgs, (std::vector<int>{WM_AFC_CREATE, 4321}));
  EXPECT_EQ(DestroyWin(win), 1);  // the bare object is freed (ASan would tell)
  Drain();
}

TEST(Kernel, PostedWordsKeep32BitsAndTheirSign) {
  TestWin w;
  Drain();
  w.obj.msgs.clear();
  ASSERT_TRUE(PostWinEvent(w.win, 1306, static_cast<uint32_t>(-5), 0xFFFFFFFFu));
  ASSERT_TRUE(PostWinEvent3Parms(w.win, 1381, 0x7FFFFFFF, static_cast<uint32_t>(INT32_MIN), 9));
  ASSERT_TRUE(RunUntil([&] { return w.obj.msgs.size() == 2; }));
  EXPECT_EQ(w.obj.msgs[0].id, 1306);
  EXPECT_EQ(static_cast<int32_t>(w.obj.msgs[0].w0), -5);
  EXPECT_EQ(w.obj.msgs[0].w1, 0xFFFFFFFFu);
  EXPECT_EQ(w.obj.msgs[0].w2, 0u);
  EXPECT_EQ(w.obj.msgs[1].w0, 0x7FFFFFFFu);
  EXPECT_EQ(static_cast<int32_t>(w.obj.msgs[1].w1), INT32_MIN);
  EXPECT_EQ(w.obj.msgs[1].w2, 9u);
  EXPECT_EQ(PostWinEvent(0, 1306, 1, 2), 0);  // never to "the window under the pointer"
}

TEST(Kernel, SendIsADirectCallAndUnregisteredWindowsAnswerZero) {
  TestWin w;
  w.obj.result = 17;
  EXPECT_EQ(SendWinEvent(w.win, 1300, 0, 0), 17);
  EXPECT_EQ(SendWinEvent(123456, 1300, 0, 0), 0);
}

TEST(Kernel, MainLoopHandsEveryDispatchToHandleEventWithTheWindowsResult) {
  TestWin w;
  Drain();
  w.obj.result = 7;
  theApp.handled.clear();
  PostWinEvent(w.win, 1999, 0, 0);
  ASSERT_TRUE(RunUntil([&] { return !theApp.handled.empty(); }));
  EXPECT_EQ(theApp.handled.back(), 7);
  EXPECT_EQ(IsWinMsg(theApp.GetCurrentEvent()), true);

  // An event for a window without an object (a grabbed key on a client's
  // window): r = 0.
  const Window foreign = XCreateSimpleWindow(dsply, RootWindow(dsply, scrn), 0, 0, 5, 5, 0, 0, 0);
  theApp.handled.clear();
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = foreign;
  ev.xclient.format = 32;
  ev.xclient.message_type = XInternAtom(dsply, "KVR_TEST", False);
  XSendEvent(dsply, foreign, False, NoEventMask, &ev);
  ASSERT_TRUE(RunUntil([&] { return !theApp.handled.empty(); }));
  EXPECT_EQ(theApp.handled.back(), 0);
  XDestroyWindow(dsply, foreign);
}

namespace {
int g_filtered = 0;
Bool ConsumeAll(Display*, Window, XEvent*, XPointer) {
  ++g_filtered;
  return True;
}
}  // namespace

TEST(Kernel, WindowMessagesReachTheirWindowEvenWhenTheirIdIsAnXimAtom) {
  TestWin w;
  Drain();
  w.obj.msgs.clear();
  _XRegisterFilterByType(dsply, w.win, ClientMessage, ClientMessage, &ConsumeAll, nullptr);
  g_filtered = 0;
  const int ximAtom = static_cast<int>(XInternAtom(dsply, "_XIM_PROTOCOL", False));
  PostWinEvent(w.win, ximAtom, 1, 2);
  ASSERT_TRUE(RunUntil([&] { return w.obj.Count(ximAtom) == 1; }));
  EXPECT_EQ(g_filtered, 0);

  // A real XIM message (no window-message mark) goes to the filter only.
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w.win;
  ev.xclient.format = 32;
  ev.xclient.message_type = static_cast<Atom>(ximAtom);
  XSendEvent(dsply, w.win, False, NoEventMask, &ev);
  ASSERT_TRUE(RunUntil([&] { return g_filtered == 1; }));
  Drain();
  EXPECT_EQ(w.obj.Count(ximAtom), 1);
  _XUnregisterFilter(dsply, w.win, &ConsumeAll, nullptr);
}

namespace {
int g_served = 0, g_cleared = 0, g_hasText = 1;
int HasText() { return g_hasText; }
int Serve(XEvent*) { return ++g_served; }
int Clear() { return ++g_cleared; }
}  // namespace

TEST(Kernel, OnlyClipboardSelectionEventsAreTheLoopsBusiness) {
  TestWin main;
  theApp.InitMainWindows(main.win, &main.obj);
  afc::KernelHooks hooks;
  hooks.hasText = &HasText;
  hooks.serveRequest = &Serve;
  hooks.clear = &Clear;
  afc::SetKernelHooks(hooks);
  g_served = g_cleared = 0;
  g_hasText = 1;

  const Atom clipboard = XInternAtom(dsply, "CLIPBOARD", False);
  const Atom ximSel = XInternAtom(dsply, "@server=KvrTest", False);
  XSetSelectionOwner(dsply, clipboard, main.win, CurrentTime);
  XSetSelectionOwner(dsply, ximSel, main.win, CurrentTime);
  XSync(dsply, False);
  Drain();
  main.obj.otherEvents = 0;

  Display* client = XOpenDisplay(nullptr);
  ASSERT_NE(client, nullptr);
  const Window req = XCreateSimpleWindow(client, DefaultRootWindow(client), 0, 0, 5, 5, 0, 0, 0);
  const Atom utf8 = XInternAtom(client, "UTF8_STRING", False);
  XConvertSelection(client, clipboard, utf8, utf8, req, CurrentTime);
  XFlush(client);
  ASSERT_TRUE(RunUntil([] { return g_served == 1; }));
  Drain();
  EXPECT_EQ(main.obj.otherEvents, 1);  // and the event went on to the window

  // The XIM server's own selection: not answered by the loop, delivered.
  XConvertSelection(client, ximSel, utf8, utf8, req, CurrentTime);
  XFlush(client);
  ASSERT_TRUE(RunUntil([&] { return main.obj.otherEvents == 2; }));
  EXPECT_EQ(g_served, 1);

  // Without text nothing is answered.
  g_hasText = 0;
  XConvertSelection(client, clipboard, utf8, utf8, req, CurrentTime);
  XFlush(client);
  ASSERT_TRUE(RunUntil([&] { return main.obj.otherEvents == 3; }));
  EXPECT_EQ(g_served, 1);

  // Losing CLIPBOARD empties the text and goes nowhere else; losing the XIM
  // selection is the XIM code's business.
  XSetSelectionOwner(client, clipboard, req, CurrentTime);
  XFlush(client);
  ASSERT_TRUE(RunUntil([] { return g_cleared == 1; }));
  XSetSelectionOwner(client, ximSel, req, CurrentTime);
  XFlush(client);
  ASSERT_TRUE(RunUntil([&] { return main.obj.otherEvents == 4; }));
  EXPECT_EQ(g_cleared, 1);

  XCloseDisplay(client);
  afc::SetKernelHooks(afc::KernelHooks());
  theApp.InitMainWindows(0, nullptr);
}

TEST(Kernel, TimersPostOnThe300msTick) {
  FakeClock clock;
  TestWin w;
  Drain();
  w.obj.msgs.clear();
  const int every = CreateTimer(300, w.win);
  const int second = CreateTimer(600, w.win);
  ASSERT_FALSE(NoTimer(every));
  ASSERT_FALSE(NoTimer(second));
  FakeClock::now += 300;
  EXPECT_EQ(PumpTimer(), 1);
  EXPECT_EQ(PumpTimer(), 0);  // same time: too early
  const uint32_t base = afc::KernelTimers()->TickCount();
  for (int i = 0; i < 3; ++i) {
    FakeClock::now += 300;
    EXPECT_EQ(PumpTimer(), 1);
  }
  ASSERT_TRUE(RunUntil([&] { return w.obj.Count(WM_AFC_TIMER) >= 5; }));
  Drain();
  std::vector<std::string> got;
  for (const RecordingWnd::Msg& m : w.obj.msgs) {
    if (m.id != WM_AFC_TIMER) continue;
    got.push_back(std::to_string(m.w1 - base + 1) +
                  (m.w0 == static_cast<uint32_t>(every) ? "a" : "b"));
  }
  // Ticks base-1 .. base+2; the 600 ms timer on the even tick counts only.
  std::vector<std::string> want;
  for (uint32_t t = base; t <= base + 3; ++t) {
    want.push_back(std::to_string(t - base + 1) + "a");
    if (t % 2 == 0) want.push_back(std::to_string(t - base + 1) + "b");
  }
  EXPECT_EQ(got, want);
  EXPECT_EQ(ReleaseTimer(every), 1);
  EXPECT_EQ(ReleaseTimer(second), 1);
}

TEST(Kernel, DestroyWinReleasesTimersAndCaret) {
  RecordingWnd obj;
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 20, 20), 0, nullptr, &obj, 1, nullptr);
  const int slot = CreateTimer(300, win);
  InitCaret(win, 12);
  EXPECT_EQ(GetCaretWin(), win);
  EXPECT_EQ(DestroyWin(win), 1);
  EXPECT_EQ(GetCaretWin(), 0u);
  EXPECT_EQ(ReleaseTimer(slot), 0);  // already free
  Drain();
}

TEST(Kernel, RefusedDestroyKeepsTheWindow) {
  TestWin w;
  w.obj.acceptDestroy = 0;
  EXPECT_EQ(DestroyWin(w.win), 0);
  EXPECT_EQ(AfcFindWnd(w.win), &w.obj);
  XWindowAttributes a;
  EXPECT_TRUE(XGetWindowAttributes(dsply, w.win, &a));
}

TEST(Kernel, WindowFieldAccessors) {
  TestWin w;
  EXPECT_EQ(EnableWin(w.win, 0), 0);
  EXPECT_EQ(w.obj.m_bDisabled, 1);
  EXPECT_EQ(EnableWin(w.win, 1), 1);
  EXPECT_EQ(EnableWin(999999, 1), -1);
  SetWinText(w.win, "abc");
  EXPECT_STREQ(w.obj.m_strText, "abc");
  SetWinText(999999, "x");
  EXPECT_EQ(SetWinID(w.win, 55), 55);
  EXPECT_EQ(GetWinID(w.win), 55);
  EXPECT_EQ(SetWinID(999999, 55), 0);
  EXPECT_EQ(GetWinID(999999), 0);
}

TEST(Kernel, InvalidateRectPostsAnExposeOfTheWholeWindowAndRedrawWinTakesIt) {
  TestWin w(Rc(0, 0, 64, 48));
  Drain();
  const int before = w.obj.otherEvents;
  ASSERT_TRUE(InvalidateRect(w.win, nullptr, 0));
  XSync(dsply, False);
  XEvent peek;
  ASSERT_TRUE(XCheckTypedWindowEvent(dsply, w.win, Expose, &peek));
  EXPECT_EQ(peek.xexpose.width, 64);
  EXPECT_EQ(peek.xexpose.height, 48);
  EXPECT_EQ(peek.xexpose.count, 1);
  CRect part(2, 3, 12, 23);
  InvalidateRect(w.win, &part, 0);
  XSync(dsply, False);
  EXPECT_EQ(RedrawWin(w.win), 1);
  EXPECT_EQ(w.obj.otherEvents, before + 1);
  EXPECT_EQ(RedrawWin(w.win), 1);  // nothing queued any more
  EXPECT_EQ(w.obj.otherEvents, before + 1);
}

TEST(Kernel, CaretPositionInRootCoordinatesIsClampedToItsWindow) {
  TestWin w(Rc(100, 50, 40, 20));
  InitCaret(w.win, 10);
  SetCaretPt(CPoint(3, 3));
  CPoint p = GetCaretPt(1);
  EXPECT_EQ(p.x, 103);
  EXPECT_EQ(p.y, 58);
  EXPECT_EQ(GetCaretPt(0).x, 3);
  SetCaretPt(CPoint(100, 100));
  p = GetCaretPt(1);
  EXPECT_EQ(p.x, 140);
  EXPECT_EQ(p.y, 70);
  EXPECT_EQ(MapCaret(1), 0);
  EXPECT_EQ(MapCaret(0), 1);
  EXPECT_EQ(ClearCaret(), w.win);
  EXPECT_EQ(GetCaretWin(), 0u);
}

// --- Modal loops ----------------------------------------------------------

namespace {

class TestDialog : public RecordingWnd, public IDialogHost {
 public:
  int IsDlgEnded() override { return ended; }
  void SetDlgEnded() override { ended = 1; }
  int GetDlgResult() override { return resultCode; }
  unsigned long GetCaptureWin() override { return capture; }
  AWnd* GetDlgCtr(unsigned long window) override {
    return ctrl && ctrl->m_hWnd == window ? ctrl : nullptr;
  }
  unsigned long GetCtrlWin(int id) override { return ctrl && ctrl->m_nID == id ? ctrl->m_hWnd : 0; }
  void SwapCtrlObject(int, AWnd* from, AWnd* to) override {
    if (ctrl == from) ctrl = to;
  }
  int Winproc(XEvent* ev) override {
    if (WinMsgId(ev) == 1) {
      resultCode = static_cast<int>(WinMsgWord(ev, 0));
      ended = 1;
    }
    return RecordingWnd::Winproc(ev);
  }
  int ended = 0;
  int resultCode = 0;
  unsigned long capture = 0;
  AWnd* ctrl = nullptr;
};

void SendKey(unsigned long win, KeySym sym) {
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.display = dsply;
  ev.xkey.window = win;
  ev.xkey.keycode = XKeysymToKeycode(dsply, sym);
  XSendEvent(dsply, win, False, KeyPressMask, &ev);
}

void SendButton(unsigned long win, int type, int x, int y) {
  XEvent ev{};
  ev.xbutton.type = type;
  ev.xbutton.display = dsply;
  ev.xbutton.window = win;
  ev.xbutton.button = Button1;
  ev.xbutton.x = x;
  ev.xbutton.y = y;
  XSendEvent(dsply, win, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &ev);
}

}  // namespace

TEST(DialogLoop, EscapeEndsWithTheResultUnchanged) {
  TestDialog dlg;
  dlg.resultCode = 0;
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 50, 50), 0, nullptr, &dlg, 0, nullptr);
  SendKey(win, XK_Escape);
  EXPECT_EQ(DoDlgEventLoop(win, &dlg), 0);
  EXPECT_EQ(dlg.ended, 1);
  DestroyWin(win);
  Drain();
}

TEST(DialogLoop, OtherWindowsOnlyRepaintAndControlsGetTheirEvents) {
  TestDialog dlg;
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 50, 50), 0, nullptr, &dlg, 0, nullptr);
  auto ctrlPtr = std::make_unique<TestWin>(Rc(5, 5, 10, 10), 0, win);
  auto capturePtr = std::make_unique<TestWin>(Rc(20, 5, 10, 10), 0, win);
  TestWin& ctrl = *ctrlPtr;
  TestWin& capture = *capturePtr;
  TestWin outside(Rc(200, 200, 30, 30));
  dlg.ctrl = &ctrl.obj;
  Drain();
  const int outsideBefore = outside.obj.otherEvents;
  const size_t outsideMsgs = outside.obj.msgs.size();

  SendButton(outside.win, ButtonPress, 1, 1);     // dropped
  PostWinEvent(outside.win, WM_AFC_TIMER, 1, 1);  // dropped
  InvalidateRect(outside.win, nullptr, 0);        // painted
  SendButton(ctrl.win, ButtonPress, 2, 2);        // to the control
  dlg.capture = ctrl.win;
  SendButton(capture.win, ButtonRelease, 3, 3);  // captured: to the control
  PostWinEvent3Parms(win, 1, 6, 0, 0);           // ends with result 6
  EXPECT_EQ(DoDlgEventLoop(win, &dlg), 6);
  EXPECT_EQ(outside.obj.otherEvents, outsideBefore + 1);
  EXPECT_EQ(outside.obj.msgs.size(), outsideMsgs);
  EXPECT_EQ(ctrl.obj.otherEvents, 2);
  EXPECT_EQ(capture.obj.otherEvents, 0);
  dlg.ctrl = nullptr;
  ctrlPtr.reset();
  capturePtr.reset();
  DestroyWin(win);
  Drain();
}

namespace {
// Message 2 ends the menu with the result byte in its first word.
class TestMenu : public RecordingWnd, public IMenuHost {
 public:
  uint8_t GetMenuResult() override { return result; }
  int Winproc(XEvent* ev) override {
    if (WinMsgId(ev) == 2) result = static_cast<uint8_t>(WinMsgWord(ev, 0));
    return RecordingWnd::Winproc(ev);
  }
  uint8_t result = 0;
};
}  // namespace

TEST(MenuLoop, EveryEventGoesToTheMenuWindowsObject) {
  TestMenu menu;
  const unsigned long win = CreateWin(0, 0, Rc(0, 0, 50, 50), 0, nullptr, &menu, 0, nullptr);
  TestWin other;
  Drain();
  menu.msgs.clear();
  PostWinEvent(other.win, 1500, 0, 0);
  PostWinEvent(win, 2, 0, 0);  // a zero byte: the menu runs on
  PostWinEvent(other.win, 1501, 0, 0);
  PostWinEvent(win, 2, 2, 0);     // chosen
  PostWinEvent(win, 1502, 0, 0);  // left for later
  EXPECT_EQ(DoMenuEventLoop(win, &menu), 2);
  EXPECT_EQ(menu.Count(1500), 1);
  EXPECT_EQ(menu.Count(1501), 1);
  EXPECT_EQ(menu.Count(1502), 0);
  EXPECT_EQ(other.obj.Count(1500), 0);
  menu.result = 1;  // an already closed menu returns at once
  EXPECT_EQ(DoMenuEventLoop(win, &menu), 1);
  EXPECT_EQ(DoMenuEventLoop(win, nullptr), 0);
  DestroyWin(win);
  Drain();
}

// --- Key grab -------------------------------------------------------------

namespace {
int g_method = 0;
int Method() { return g_method; }
int g_xerrors = 0;
int CountErrors(Display*, XErrorEvent*) {
  ++g_xerrors;
  return 0;
}
// Whether another client can grab keycode on window (it cannot while we hold it).
bool OthersCanGrab(Display* other, unsigned long window, int keycode) {
  XSync(dsply, False);
  g_xerrors = 0;
  XGrabKey(other, keycode, AnyModifier, window, False, GrabModeAsync, GrabModeAsync);
  XSync(other, False);
  const bool ok = g_xerrors == 0;
  XUngrabKey(other, keycode, AnyModifier, window);
  XSync(other, False);
  return ok;
}
}  // namespace

TEST(KeyGrab, ReleasesWhatItGrabbedAfterAMethodSwitch) {
  EngineHooks hooks;
  hooks.inputMethod = &Method;
  SetEngineHooks(hooks);
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  auto old = XSetErrorHandler(&CountErrors);
  const Window client = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 9, 9, 0, 0, 0);
  XSync(other, False);

  g_method = 0;  // shape code: 67..78
  EXPECT_EQ(GrabSomeKeys(client), 1);
  EXPECT_EQ(GrabSomeKeys(client), 0);
  EXPECT_FALSE(OthersCanGrab(other, client, 67));
  g_method = 1;  // switched to pinyin meanwhile
  EXPECT_EQ(UnGrabSomeKeys(), 1);
  EXPECT_TRUE(OthersCanGrab(other, client, 67));
  EXPECT_TRUE(OthersCanGrab(other, client, 74));
  EXPECT_EQ(UnGrabSomeKeys(), 0);

  EXPECT_EQ(GrabSomeKeys(client), 1);  // pinyin: 74 and 78 only
  EXPECT_TRUE(OthersCanGrab(other, client, 67));
  EXPECT_FALSE(OthersCanGrab(other, client, 78));
  EXPECT_EQ(UnGrabSomeKeys(), 1);

  XSetErrorHandler(old);
  XCloseDisplay(other);
  SetEngineHooks(EngineHooks());
}

// --- X errors -------------------------------------------------------------

TEST(XErrors, AreReportedAndTheProgramGoesOn) {
  auto previous = XSetErrorHandler(nullptr);
  SetXErrHandler(&KVRXErrHandler);
  testing::internal::CaptureStderr();
  XDestroyWindow(dsply, 0x7ffffff0);  // no such window
  XSync(dsply, False);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("kvr: ", 0), 0u) << err;
  EXPECT_NE(err.find("BadWindow"), std::string::npos) << err;
  XSetErrorHandler(previous);
}

TEST(Kernel, CaretDrawsByInversionSoASecondDrawingRestores) {
  TestWin w(Rc(0, 0, 40, 40));
  w.obj.m_ptClientOrg = CPoint(2, 1);  // the caret is placed in client coordinates
  XMapWindow(dsply, w.win);
  XSync(dsply, False);
  Drain();
  InitCaret(w.win, 10);
  SetCaretPt(CPoint(5, 6));
  auto pixelAt = [&](int x, int y) {
    XSync(dsply, False);
    XImage* img = XGetImage(dsply, w.win, x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
    XDestroyImage(img);
    return p;
  };
  const unsigned long white = WhitePixel(dsply, scrn) & 0xFFFFFF;
  ASSERT_EQ(pixelAt(7, 7), white);
  DrawCaret();
  EXPECT_NE(pixelAt(7, 7), white);   // x 5 + 2, y 6 + 1
  EXPECT_NE(pixelAt(8, 17), white);  // second line, bottom end
  EXPECT_EQ(pixelAt(9, 7), white);   // two pixels wide only
  DrawCaret();
  EXPECT_EQ(pixelAt(7, 7), white);
  EXPECT_EQ(pixelAt(8, 17), white);
  ClearCaret();
}

TEST(Kernel, PointerGrabRecordAndGCs) {
  TestWin w(Rc(0, 0, 20, 20));
  XMapWindow(dsply, w.win);
  XSync(dsply, False);
  EXPECT_EQ(SetPtrGrab(w.win), 0u);
  EXPECT_EQ(GetPtrGrab(), w.win);
  EXPECT_EQ(UnsetPtrGrab(), w.win);
  EXPECT_EQ(GetPtrGrab(), 0u);
  GC gc = GetGC(w.win);
  ASSERT_NE(gc, nullptr);
  XGCValues v;
  XGetGCValues(dsply, gc, GCFunction | GCForeground, &v);
  EXPECT_EQ(v.function, GXcopy);
  EXPECT_EQ(v.foreground, 0u);
  EXPECT_EQ(ReleaseGC(gc), 1);
  ASSERT_NE(gGC, nullptr);
  XGetGCValues(dsply, gGC, GCForeground, &v);
  EXPECT_EQ(v.foreground, BlackPixel(dsply, scrn));
}

TEST(Kernel, IdleWaitCopesWithAConnectionAbove1023) {
  const int high = 1500;
  rlimit lim{};
  getrlimit(RLIMIT_NOFILE, &lim);
  if (lim.rlim_cur <= static_cast<rlim_t>(high) && lim.rlim_max > static_cast<rlim_t>(high)) {
    lim.rlim_cur = high + 1;
    setrlimit(RLIMIT_NOFILE, &lim);
  }
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(dup2(fds[0], high), high) << "raise the descriptor limit for this test";
  ConnectionWatch(dsply, nullptr, high, 1, nullptr);
  theApp.idleTurns = 0;
  afc::IdleWait();  // times out: nothing to read
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  afc::IdleWait();  // wakes on the high descriptor
  EXPECT_EQ(theApp.idleTurns, 2);
  ConnectionWatch(dsply, nullptr, high, 0, nullptr);
  close(high);
  close(fds[0]);
  close(fds[1]);
}

TEST(Kernel, TheLoopRunsThePumpItselfWhenIdle) {
  FakeClock clock;
  TestWin w;
  Drain();
  const int slot = CreateTimer(900, w.win);
  const int before = w.obj.Count(WM_AFC_TIMER);
  for (int tick = 0; tick < 3; ++tick) {
    FakeClock::now += 300;
    for (int i = 0; i < 5; ++i) afc::MainLoopTurn();  // idle turns pump
  }
  ASSERT_TRUE(RunUntil([&] { return w.obj.Count(WM_AFC_TIMER) == before + 1; }));
  Drain();
  EXPECT_EQ(w.obj.Count(WM_AFC_TIMER), before + 1);  // 3 ticks, one 900 ms period
  ReleaseTimer(slot);
}
