// The keymap window as a user meets it: kvr started from a copy of the
// distribution directory, Chinese input switched on from a client, then a
// click on the bar's keymap cell shows the window at the bottom-right of
// the screen with the picture the settings choose; a press anywhere in it
// drags it, a double click hides it, and the cell shows it again where it
// was left. Pointer and buttons are real (XTEST).
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/DecodedImage.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;

constexpr int kShortBarW = 155, kBarH = 26;
constexpr int kKeymapCellX = 50;  // inside the short bar's keymap cell (41 to 61)
constexpr int kPictureW = 810, kPictureH = 400;
constexpr int kFrame = 3;  // the picture sits inside the dialog's frame

// Ctrl+Space from a client (the first press only starts the forwarding):
// the bar shows and Chinese input is on.
int ShowTheBar(const std::string& name, int fd) {
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
  for (int i = 0; i < 100; ++i) {
    for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(client.Dpy())) {
      if (p.attr.width == kShortBarW && p.attr.height == kBarH) {
        ReportLine(fd, "shown");
        return 0;
      }
    }
    client.Serve(100);
  }
  ReportLine(fd, "the bar did not show");
  return 1;
}

struct Shown {
  Window window = None;
  XWindowAttributes attr{};
};

// The one shown popup at least minW wide and minH high.
Shown FindShown(Display* dpy, int minW, int minH) {
  Shown found;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy)) {
    if (p.attr.width >= minW && p.attr.height >= minH && p.attr.map_state == IsViewable) {
      found.window = p.window;
      found.attr = p.attr;
    }
  }
  return found;
}

// Waits up to 10 s for want to hold.
template <class F>
bool Eventually(F want) {
  for (int i = 0; i < 200; ++i) {
    if (want()) return true;
    usleep(50 * 1000);
  }
  return false;
}

void MoveTo(Display* dpy, int x, int y) {
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, 0);
  XSync(dpy, False);
}
void Button(Display* dpy, bool down) {
  XTestFakeButtonEvent(dpy, 1, down ? True : False, 0);
  XSync(dpy, False);
}
void ClickAt(Display* dpy, int x, int y) {
  MoveTo(dpy, x, y);
  Button(dpy, true);
  Button(dpy, false);
}

// The first row of the window that shows the picture's top row (the
// picture sits below the title bar); -1 when none does.
int PictureTop(const kvrtest::Pixels& shot, const DecodedImage& picture) {
  for (int y = 0; y + picture.height <= shot.h; ++y) {
    bool same = true;
    for (int x = 0; x < picture.width && same; ++x)
      same = shot.At(kFrame + x, y) == picture.At(x, 0);
    if (same) return y;
  }
  return -1;
}

// The pixels of the picture's place in the window that differ from it, in
// its first rows.
int PictureDiffers(const kvrtest::Pixels& shot, const DecodedImage& picture, int top, int rows) {
  int differing = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < picture.width; ++x)
      differing += shot.At(kFrame + x, top + y) != picture.At(x, y);
  return differing;
}

TEST(KvrKeymap, ShownWithItsPictureDraggedAndHiddenByADoubleClick) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrKeymap"))) << kvr.Log();
  {
    ChildProcess child;
    ASSERT_TRUE(child.Start([&](int fd) { return ShowTheBar(kvr.Name(), fd); }));
    EXPECT_EQ(child.Wait(60000), 0);
    ASSERT_EQ(child.Output(), "shown\n");
  }
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Shown bar = FindShown(dpy, kShortBarW, kBarH);
  ASSERT_NE(bar.window, None);
  ASSERT_EQ(bar.attr.width, kShortBarW);
  // The default settings (standard pinyin, no ShuangPin) choose this one.
  const DecodedImage picture = DecodeImage(kvr.File("res/keymapPYStd.bmp"));
  ASSERT_EQ(picture.error, "");
  ASSERT_EQ(picture.width, kPictureW);
  ASSERT_EQ(picture.height, kPictureH);

  ClickAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
  Shown keymap;
  ASSERT_TRUE(Eventually([&] { return (keymap = FindShown(dpy, kPictureW, kPictureH)).window; }))
      << kvr.Log();
  // At the screen's bottom-right corner, 20 pixels in from the right edge
  // (made where a dialog is made, then moved there).
  const int screenW = DisplayWidth(dpy, DefaultScreen(dpy));
  const int screenH = DisplayHeight(dpy, DefaultScreen(dpy));
  EXPECT_TRUE(Eventually([&] {
    keymap = FindShown(dpy, kPictureW, kPictureH);
    return keymap.attr.x == screenW - keymap.attr.width - 20 &&
           keymap.attr.y == screenH - keymap.attr.height;
  })) << keymap.attr.x
      << "," << keymap.attr.y << " " << keymap.attr.width << "x" << keymap.attr.height;
  // The picture below the title bar, pixel for pixel. The bar sits over its
  // lower part: the rows above the bar are compared here, the whole picture
  // once the window is dragged off the bar.
  kvrtest::Pixels shot;
  int top = -1, rows = 0;
  ASSERT_TRUE(Eventually([&] {
    shot = kvrtest::Grab(dpy, keymap.window, keymap.attr.width, keymap.attr.height);
    top = shot.w ? PictureTop(shot, picture) : -1;
    rows = std::min(kPictureH, bar.attr.y - keymap.attr.y - top);
    return top > 0 && rows > 100 && PictureDiffers(shot, picture, top, rows) == 0;
  })) << "picture at row "
      << top << ", " << rows << " rows";
  EXPECT_GE(top, 16);  // the title bar above it
  const int below = keymap.attr.height - kFrame - top - kPictureH;
  EXPECT_GT(below, 0);
  // A press in the picture drags the window; it stays where the button
  // goes up.
  const int grabX = keymap.attr.x + 300, grabY = keymap.attr.y + top + 150;
  MoveTo(dpy, grabX, grabY);
  Button(dpy, true);
  for (int step = 1; step <= 10; ++step) MoveTo(dpy, grabX - 30 * step, grabY - 20 * step);
  Button(dpy, false);
  Shown moved;
  EXPECT_TRUE(Eventually([&] {
    moved = FindShown(dpy, kPictureW, kPictureH);
    return moved.window == keymap.window && moved.attr.x == keymap.attr.x - 300 &&
           moved.attr.y == keymap.attr.y - 200;
  })) << moved.attr.x
      << "," << moved.attr.y;
  // Off the bar now: the whole picture, and the window's background under it.
  EXPECT_TRUE(Eventually([&] {
    shot = kvrtest::Grab(dpy, moved.window, moved.attr.width, moved.attr.height);
    return shot.w && PictureDiffers(shot, picture, top, kPictureH) == 0 &&
           shot.Count(0xC8C89F, kFrame, top + kPictureH, kFrame + kPictureW,
                      moved.attr.height - kFrame) == kPictureW * below;
  })) << PictureDiffers(shot, picture, top, kPictureH)
      << " picture pixels differ; "
      << shot.Count(0xC8C89F, kFrame, top + kPictureH, kFrame + kPictureW,
                    moved.attr.height - kFrame)
      << " of " << kPictureW * below << " below";
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, moved.window, "keymap_pinyin", moved.attr.width,
                                    moved.attr.height),
            "");

  // A double click hides it.
  usleep(500 * 1000);  // the drag's release is no half of a double click
  ClickAt(dpy, moved.attr.x + 400, moved.attr.y + top + 100);
  ClickAt(dpy, moved.attr.x + 400, moved.attr.y + top + 100);
  EXPECT_TRUE(Eventually([&] { return FindShown(dpy, kPictureW, kPictureH).window == None; }));

  // The cell shows the same window again, where it was left.
  ClickAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
  Shown again;
  EXPECT_TRUE(Eventually([&] { return (again = FindShown(dpy, kPictureW, kPictureH)).window; }));
  EXPECT_EQ(again.window, keymap.window);
  EXPECT_EQ(again.attr.x, moved.attr.x);
  EXPECT_EQ(again.attr.y, moved.attr.y);
  // And hides it.
  ClickAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
  EXPECT_TRUE(Eventually([&] { return FindShown(dpy, kPictureW, kPictureH).window == None; }));
  XCloseDisplay(dpy);
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
