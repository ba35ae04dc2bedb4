// The word search as a user opens it: kvr started from a copy of the
// distribution directory, a client shows the bar with Ctrl+Space and
// presses right Alt+S; kvr's word search dialog comes up (saved to
// build/screenshots/), and Escape closes it again while kvr keeps serving.
// Then the whole errand: "zhongguo" and Space typed into the dialog's
// field through kvr itself, Find, a double click on the first row, and a
// second X client pastes the row from the CLIPBOARD as UTF-8.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ScreenDialogs.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;

constexpr int kBarW = 155, kBarH = 26;

// The shown override-redirect windows large enough for a dialog.
std::vector<kvrtest::ShownPopup> ShownDialogs(Display* dpy) {
  std::vector<kvrtest::ShownPopup> found;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy))
    if (p.attr.width >= 300 && p.attr.height >= 300) found.push_back(p);
  return found;
}

// Shows the bar, then presses right Alt+S (Alt held, the left Alt not);
// with keepMs, keeps serving that long after.
int RunClient(const std::string& name, int fd, int keepMs = 0) {
  alarm(60);
  kvrtest::XimTestClient client;
  if (!kvrtest::OpenInChineseInput(client, name, fd)) return 1;
  client.TapKey(XK_s, Mod1Mask);
  client.Serve(500);
  ReportLine(fd, "asked");
  if (keepMs) client.Serve(keepMs);
  return 0;
}

void SendKeyTo(Display* dpy, Window w, KeySym sym) {
  for (int type : {KeyPress, KeyRelease}) {
    XEvent ev{};
    ev.xkey.type = type;
    ev.xkey.display = dpy;
    ev.xkey.window = w;
    ev.xkey.root = DefaultRootWindow(dpy);
    ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
    ev.xkey.same_screen = True;
    XSendEvent(dpy, w, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
  }
  XFlush(dpy);
}

// kvr's windows come and go while the test looks at them.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

TEST(KvrWordSearch, RightAltSOpensTheWordSearch) {
  XSetErrorHandler(IgnoreXErrors);
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrFind"))) << kvr.Log();
  ChildProcess child;
  ASSERT_TRUE(child.Start([&](int fd) { return RunClient(kvr.Name(), fd); }));
  EXPECT_EQ(child.Wait(60000), 0) << child.Output();
  EXPECT_EQ(child.Output(), "asked\n");
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  std::vector<kvrtest::ShownPopup> dialogs;
  for (int i = 0; i < 100 && dialogs.size() != 1; ++i) {
    dialogs = ShownDialogs(dpy);
    if (dialogs.size() != 1) usleep(50 * 1000);
  }
  ASSERT_EQ(dialogs.size(), 1u) << kvr.Log();
  const kvrtest::ShownPopup& d = dialogs[0];
  usleep(300 * 1000);  // painted when kvr reads the exposure
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, d.window, "kvr_word_search", d.attr.width, d.attr.height),
            "");
  SendKeyTo(dpy, d.window, XK_Escape);
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = ShownDialogs(dpy).empty();
    if (!gone) usleep(50 * 1000);
  }
  EXPECT_TRUE(gone);
  XCloseDisplay(dpy);
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// What a pasting application gets: the CLIPBOARD converted to
// UTF8_STRING on a connection of its own; "" when no owner answers in 10 s.
std::string PasteUtf8() {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return "";
  const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  const Atom prop = XInternAtom(dpy, "KVR_TEST_PASTE", False);
  const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  std::string text;
  for (int i = 0; i < 200 && XGetSelectionOwner(dpy, clipboard) == None; ++i) kvrtest::SleepMs(50);
  XConvertSelection(dpy, clipboard, utf8, prop, w, CurrentTime);
  XFlush(dpy);
  XEvent ev;
  bool answered = false;
  for (int i = 0; i < 200 && !answered; ++i) {
    answered = XCheckTypedWindowEvent(dpy, w, SelectionNotify, &ev);
    if (!answered) kvrtest::SleepMs(50);
  }
  if (answered && ev.xselection.property == prop) {
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, prop, 0, 65536, True, AnyPropertyType, &type, &format, &n,
                           &after, &data) == Success &&
        data) {
      if (type == utf8 && format == 8) text.assign(reinterpret_cast<char*>(data), n);
      XFree(data);
    }
  }
  XDestroyWindow(dpy, w);
  XCloseDisplay(dpy);
  return text;
}

// The keys pane: a shown window that is neither the bar nor the dialog.
bool KeysPaneShown(Display* dpy, Window dialog) {
  for (const kvrtest::ScreenWin& w : kvrtest::ShownWins(dpy))
    if (w.w != dialog && !(w.width == kBarW && w.height == kBarH) && w.width < 300) return true;
  return false;
}

TEST(KvrWordSearch, ChineseTypedFoundAndDoubleClickedReachesAnotherClientsPaste) {
  XSetErrorHandler(IgnoreXErrors);
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrFindCopy"))) << kvr.Log();
  ChildProcess child;
  ASSERT_TRUE(child.Start([&](int fd) { return RunClient(kvr.Name(), fd, 60000); }));
  ASSERT_TRUE(child.WaitFor("asked", 60000)) << child.Output();
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  const kvrtest::ScreenWin found = kvrtest::WaitForWin(dpy, 300, 300);
  ASSERT_NE(found.w, None) << kvr.Log();
  const kvrtest::ScreenDialog dlg(found, 300, 228);

  // The field (shown after the dialog), then pinyin: kvr's keys pane
  // comes, Space leaves 中国.
  ASSERT_TRUE(kvrtest::WaitChildShownAt(dpy, dlg, 34 + 90, 7 + 7, true)) << "no search field";
  dlg.Click(dpy, 34 + 90, 7 + 7);
  ASSERT_TRUE(kvrtest::WaitFocusAt(dpy, dlg, 34 + 90, 7 + 7)) << "the search field has no focus";
  ASSERT_TRUE(kvrtest::XTestType(dpy, "zhongguo"));
  bool pane = false;
  for (int i = 0; i < 200 && !pane; ++i) {
    pane = KeysPaneShown(dpy, found.w);
    if (!pane) kvrtest::SleepMs(50);
  }
  ASSERT_TRUE(pane) << "no keys pane for the dialog's field";
  ASSERT_TRUE(kvrtest::XTestTap(dpy, XK_space));
  for (int i = 0; i < 200 && pane; ++i) {
    pane = KeysPaneShown(dpy, found.w);
    if (pane) kvrtest::SleepMs(50);
  }
  ASSERT_FALSE(pane) << "Space left the keys pane up";

  // Find, then a double click on the first row of the results.
  dlg.Click(dpy, 220 + 36, 7 + 7);
  XSync(dpy, False);
  kvrtest::SleepMs(300);  // painted when kvr reads the exposure
  EXPECT_EQ(
      kvrtest::SaveWindowShot(dpy, found.w, "kvr_word_search_found", found.width, found.height),
      "");
  const int rowX = dlg.RootX(7 + 60), rowY = dlg.RootY(70) + 8;
  kvrtest::ClickRootAt(dpy, rowX, rowY);
  kvrtest::ClickRootAt(dpy, rowX, rowY);

  // The double click closes the dialog; kvr keeps the row on offer.
  EXPECT_TRUE(kvrtest::WaitWinGone(dpy, found.w)) << "the double click left the dialog open";
  const std::string pasted = PasteUtf8();
  EXPECT_NE(pasted.find("中国"), std::string::npos) << "pasted: '" << pasted << "'";
  XCloseDisplay(dpy);
  child.Kill();
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
