// The character order as a user changes it in the running kvr: a client
// shows the bar; the preferences menu opens the options dialog, its order
// box takes "Manually Adjusted Order" and Reorder opens the character order
// editor; "zhag" typed into its syllable field shows zhang's characters,
// the pointer drags the third to the first place (the grid during the drag
// is saved to build/screenshots/), Commit, OK, OK. The order file holds
// the new order and, without a restart, the client typing "zhang" and
// Space gets the moved character.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/Geometry.h"
#include "frontend/ZiGrid.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ScreenDialogs.h"
#include "tests/support/Screenshot.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;
using kvrtest::ScreenDialog;
using kvrtest::ScreenWin;

constexpr int kShortBarW = 155, kBarH = 26;
constexpr int kPrefsCellX = 110;  // the bar's preferences cell

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The client: shows the bar and Chinese input, reports "ready"; when the
// test creates dir/go, types "zhang" and Space and reports what it got.
int Client(const std::string& name, const std::string& dir, int fd) {
  alarm(120);
  kvrtest::XimTestClient client;
  const std::string error = client.Open({name, "zh_CN.UTF-8"});
  if (!error.empty()) {
    ReportLine(fd, "error " + error);
    return 1;
  }
  for (int i = 0; i < 2; ++i) {
    client.TapKey(XK_space, ControlMask);
    client.Serve(400);
  }
  ReportLine(fd, "ready");
  // Chinese input off while the syllable is typed into kvr's field, on
  // again for the client's own typing.
  while (!Exists(dir + "/off")) client.Serve(50);
  client.TapKey(XK_space, ControlMask);
  client.ServeUntilQuiet(300, 3000);
  ReportLine(fd, "off");
  while (!Exists(dir + "/go")) client.Serve(50);
  client.TapKey(XK_space, ControlMask);
  client.ServeUntilQuiet(300, 3000);
  client.Clear();
  for (const char* k = "zhang "; *k; ++k) client.TapKey(static_cast<KeySym>(*k));
  client.Serve(10000, [&] { return !client.Received().empty(); });
  ReportLine(fd, "got " + client.Received());
  client.Serve(60000);
  return 0;
}

// A control's child window of the dialog under a root point, with its
// place on the root.
ScreenWin ControlAt(Display* dpy, const ScreenWin& dialog, int rootX, int rootY) {
  ScreenWin c;
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(dpy, DefaultRootWindow(dpy), dialog.w, rootX, rootY, &x, &y, &child);
  XWindowAttributes a;
  if (child == None || !XGetWindowAttributes(dpy, child, &a)) return c;
  Window unused = None;
  XTranslateCoordinates(dpy, child, DefaultRootWindow(dpy), 0, 0, &c.x, &c.y, &unused);
  c.w = child;
  c.width = a.width;
  c.height = a.height;
  return c;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

TEST(KvrCharOrder, AManualOrderMadeInTheDialogsReachesTheClientAtOnce) {
  XSetErrorHandler(IgnoreXErrors);
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Prepare());
  // The manual order starts as a copy of the shipped order, made when
  // first wanted.
  const std::string orderFile = kvr.File("flatAdjust.dic");
  const std::string before =
      kvrtest::ReadFileText(Exists(orderFile) ? orderFile : kvr.File("gbkflat.dic"));
  ASSERT_GE(before.size(), 100u);
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrOrder"))) << kvr.Log();
  ChildProcess client;
  const std::string dir = kvr.Dir();
  ASSERT_TRUE(client.Start([&](int fd) { return Client(kvr.Name(), dir, fd); }));
  ASSERT_TRUE(client.WaitFor("ready", 30000)) << client.Output() << kvr.Log();
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  ScreenWin bar;
  for (const ScreenWin& w : kvrtest::ShownWins(dpy))
    if (w.width == kShortBarW && w.height == kBarH) bar = w;
  ASSERT_NE(bar.w, None) << "the bar is not shown";

  // The preferences menu's first row: the options dialog.
  kvrtest::ClickRootAt(dpy, bar.x + kPrefsCellX, bar.y + 10);
  const ScreenWin menu = kvrtest::WaitForWin(dpy, 60, 60, {bar.w}, 400);
  ASSERT_NE(menu.w, None) << "no preferences menu";
  kvrtest::SendKeyTo(dpy, menu.w, XK_Return);
  ASSERT_TRUE(kvrtest::WaitWinGone(dpy, menu.w));
  const ScreenWin opts = kvrtest::WaitForWin(dpy, 400, 300, {bar.w});
  ASSERT_NE(opts.w, None) << "no options dialog";
  const ScreenDialog od(opts, 330, 262);

  // The order box drops its list; its last row is the manual order. (A
  // dialog is shown before its controls are made.)
  ASSERT_TRUE(kvrtest::WaitChildShownAt(dpy, od, 46 + 56, 60 + 6, true)) << "no order box";
  od.Click(dpy, 46 + 56, 60 + 6);
  const ScreenWin list = kvrtest::WaitForWin(dpy, 60, 20, {bar.w, opts.w}, 400);
  ASSERT_NE(list.w, None) << "the order box dropped no list";
  kvrtest::SendKeyTo(dpy, list.w, XK_End);
  kvrtest::SendKeyTo(dpy, list.w, XK_Return);
  ASSERT_TRUE(kvrtest::WaitWinGone(dpy, list.w));
  // Reorder... shows with the manual order.
  ASSERT_TRUE(kvrtest::WaitChildShownAt(dpy, od, 108 + 25, 76 + 6, true))
      << "the manual order shows no Reorder button";
  od.Click(dpy, 108 + 25, 76 + 6);
  const ScreenWin zo = kvrtest::WaitForWin(dpy, 400, 300, {bar.w, opts.w});
  ASSERT_NE(zo.w, None) << "Reorder opened no character order editor";
  const ScreenDialog zd(zo, 320, 232);

  // The syllable field, then "zhag" (Latin letters: Chinese input off):
  // the grid shows zhang's characters.
  kvrtest::WriteFileText(dir + "/off", "");
  ASSERT_TRUE(client.WaitFor("off", 30000)) << client.Output();
  ASSERT_TRUE(kvrtest::WaitChildShownAt(dpy, zd, 72 + 40, 7 + 7, true)) << "no syllable field";
  zd.Click(dpy, 72 + 40, 7 + 7);
  ASSERT_TRUE(kvrtest::WaitFocusAt(dpy, zd, 72 + 40, 7 + 7)) << "the syllable field has no focus";
  ASSERT_TRUE(kvrtest::XTestType(dpy, "zhag"));
  XSync(dpy, False);
  const ScreenWin grid = ControlAt(dpy, zo, zd.RootX(7 + 153), zd.RootY(40 + 82));
  ASSERT_NE(grid.w, None);
  ASSERT_NE(grid.w, zo.w);
  const zigrid::Layout layout = zigrid::Layout::ForControl(CSize(grid.width, grid.height));
  const CRect third = layout.CellOf(2), second = layout.CellOf(1), first = layout.CellOf(0);
  const CPoint from(grid.x + third.CenterPoint().x, grid.y + third.CenterPoint().y);
  const CPoint over(grid.x + second.CenterPoint().x - 5, grid.y + second.CenterPoint().y + 3);
  // Dropped on the left half of the first character: it goes first.
  const CPoint onto(grid.x + first.left + 3, grid.y + first.top + 10);
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), from.x, from.y, 0);
  XTestFakeButtonEvent(dpy, 1, True, 0);
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), over.x, over.y, 0);
  XSync(dpy, False);
  kvrtest::SleepMs(300);  // painted when kvr reads the motion
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, zo.w, "kvr_char_order_drag", zo.width, zo.height), "");
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), onto.x, onto.y, 0);
  XTestFakeButtonEvent(dpy, 1, False, 0);
  XSync(dpy, False);

  // Commit, straight after the drop.
  zd.Click(dpy, 160 + 28, 7 + 7);
  zd.Click(dpy, 206 + 26, 210 + 7);  // OK
  if (!kvrtest::WaitWinGone(dpy, zo.w)) {
    kvrtest::SaveScreen(dpy, "kvr_char_order_stuck", DisplayWidth(dpy, 0), DisplayHeight(dpy, 0));
    FAIL() << "the character order editor stayed open";
  }
  od.Click(dpy, 212 + 25, 240 + 7);  // the options' OK
  ASSERT_TRUE(kvrtest::WaitWinGone(dpy, opts.w)) << "the options dialog stayed open";

  // Only a few bytes of one run changed: the third character now first.
  std::string now;
  for (int i = 0; i < 200 && ((now = kvrtest::ReadFileText(orderFile)).empty() || now == before);
       ++i)
    kvrtest::SleepMs(50);
  ASSERT_EQ(now.size(), before.size());
  const kvrtest::ByteChanges changed = kvrtest::ChangedBytes(before, now);
  ASSERT_GT(changed.count, 0u) << "the order file did not change";
  const size_t firstDiff = changed.first & ~size_t{1};  // the character's lead byte
  EXPECT_LE(changed.last - firstDiff, 6u);
  const std::string moved = now.substr(firstDiff, 2);
  EXPECT_EQ(moved, before.substr(firstDiff + 4, 2));
  const std::string movedUtf8 = kvrtest::Recode(moved, "UTF-8", "GBK");
  ASSERT_FALSE(movedUtf8.empty());

  // The client, with kvr still running: "zhang" and Space give it.
  kvrtest::WriteFileText(dir + "/go", "");
  ASSERT_TRUE(client.WaitFor("got ", 30000)) << client.Output();
  EXPECT_EQ(client.Lines("got ")[0], movedUtf8) << client.Output();
  XCloseDisplay(dpy);
  client.Kill();
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
