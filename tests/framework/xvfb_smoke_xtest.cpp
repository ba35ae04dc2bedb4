// The private X server every X test stands on: it must come up on a display
// of its own, accept connections, and be gone once stopped.
#include <gtest/gtest.h>
// Xlib after gtest: Xlib defines macros (None, Bool) that gtest uses as names.
#include <X11/Xlib.h>
#include <signal.h>

#include <cstdlib>
#include <string>

#include "tests/support/XvfbServer.h"

TEST(XvfbServer, SharedServerAcceptsConnections) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr);
  ASSERT_NE(kvrtest::SharedXvfb(), nullptr);
  EXPECT_EQ(kvrtest::SharedXvfb()->DisplayName(), display);

  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr) << "cannot open " << display;
  EXPECT_EQ(DisplayWidth(dpy, DefaultScreen(dpy)), 1280);
  EXPECT_EQ(DefaultDepth(dpy, DefaultScreen(dpy)), 24);
  XCloseDisplay(dpy);
}

TEST(XvfbServer, SecondServerGetsItsOwnDisplayAndStopsByPid) {
  kvrtest::XvfbServer second;
  ASSERT_TRUE(second.Start(640, 480)) << second.Error();
  EXPECT_NE(second.DisplayName(), kvrtest::SharedXvfb()->DisplayName());
  Display* dpy = XOpenDisplay(second.DisplayName().c_str());
  ASSERT_NE(dpy, nullptr);
  EXPECT_EQ(DisplayWidth(dpy, DefaultScreen(dpy)), 640);
  XCloseDisplay(dpy);

  pid_t pid = second.Pid();
  second.Stop();
  EXPECT_FALSE(second.Running());
  EXPECT_NE(kill(pid, 0), 0) << "Xvfb " << pid << " still alive after Stop()";
}
