// The word search as a user opens it: kvr started from a copy of the
// distribution directory, a client shows the bar with Ctrl+Space and
// presses right Alt+S; kvr's word search dialog comes up (saved to
// build/screenshots/), and Escape closes it again while kvr keeps serving.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
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

// Shows the bar, then presses right Alt+S (Alt held, the left Alt not).
int RunClient(const std::string& name, int fd) {
  alarm(60);
  kvrtest::XimTestClient client;
  const std::string error = client.Open({name, "zh_CN.UTF-8"});
  if (!error.empty()) {
    ReportLine(fd, "error " + error);
    return 1;
  }
  for (int i = 0; i < 2; ++i) {
    client.TapKey(XK_space, ControlMask);
    client.Serve(300);
  }
  client.TapKey(XK_s, Mod1Mask);
  client.Serve(500);
  ReportLine(fd, "asked");
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

}  // namespace
