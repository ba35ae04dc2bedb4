// The keymap window and the tips dialog as a user meets them: kvr started
// from a copy of the distribution directory and its bar shown from a
// client. A click on the bar's keymap cell shows the keymap window at the
// bottom-right of the screen with the picture the settings choose; a press
// anywhere in it drags it, a double click hides it, and the cell shows it
// again where it was left. The help menu's first row opens the tips
// dialog, whose Next and Previous buttons change the tip drawn. Pointer and
// buttons are real (XTEST).
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

#include "base/Geometry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DecodedImage.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ScreenDialogs.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;

constexpr int kShortBarW = 155, kBarH = 26;
constexpr int kKeymapCellX = 50;  // inside the short bar's keymap cell (41 to 61)
constexpr int kHelpCellX = 130;   // inside the short bar's help cell (121 to 141)
constexpr int kPictureW = 810, kPictureH = 400;
constexpr int kFrame = 3;  // the picture sits inside the dialog's frame

// Ctrl+Space from a client (the first press only starts the forwarding):
// the bar shows and Chinese input is on.
int ShowTheBar(const std::string& name, int fd) {
  alarm(60);
  kvrtest::XimTestClient client;
  if (!kvrtest::OpenInChineseInput(client, name, fd)) return 1;
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

// kvr's windows come and go while the test lists them (the menu closes as
// the dialog opens): a window gone between the listing and the reading of
// its attributes is no failure.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

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

// Starts kvr and shows its bar from a client; the test's own connection
// (kvr's windows may go while it looks) and the bar on it.
::testing::AssertionResult StartWithTheBar(kvrtest::KvrProcess& kvr, const char* imName,
                                           Display** dpy, Shown* bar) {
  if (!kvr.Start(kvrtest::UniqueImName(imName)))
    return ::testing::AssertionFailure() << "kvr did not start: " << kvr.Log();
  ChildProcess child;
  if (!child.Start([&](int fd) { return ShowTheBar(kvr.Name(), fd); }))
    return ::testing::AssertionFailure() << "no client";
  const int status = child.Wait(60000);
  if (status != 0 || child.Output() != "shown\n")
    return ::testing::AssertionFailure() << "client " << status << ": " << child.Output();
  *dpy = XOpenDisplay(nullptr);
  if (!*dpy) return ::testing::AssertionFailure() << "no display";
  XSetErrorHandler(IgnoreXErrors);
  *bar = FindShown(*dpy, kShortBarW, kBarH);
  if (bar->window == None) return ::testing::AssertionFailure() << "the bar is not shown";
  return ::testing::AssertionSuccess();
}

// Waits up to 10 s for want to hold.
template <class F>
bool Eventually(F want) {
  for (int i = 0; i < 200; ++i) {
    if (want()) return true;
    kvrtest::SleepMs(50);
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
  Display* dpy = nullptr;
  Shown bar;
  ASSERT_TRUE(StartWithTheBar(kvr, "KvrKeymap", &dpy, &bar));
  ASSERT_EQ(bar.attr.width, kShortBarW);
  // The default settings (standard pinyin, no ShuangPin) choose this one.
  const DecodedImage picture = DecodeImage(kvr.File("res/keymapPYStd.bmp"));
  ASSERT_EQ(picture.error, "");
  ASSERT_EQ(picture.width, kPictureW);
  ASSERT_EQ(picture.height, kPictureH);

  kvrtest::ClickRootAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
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
  kvrtest::SleepMs(500);  // the drag's release is no half of a double click
  kvrtest::ClickRootAt(dpy, moved.attr.x + 400, moved.attr.y + top + 100);
  kvrtest::ClickRootAt(dpy, moved.attr.x + 400, moved.attr.y + top + 100);
  EXPECT_TRUE(Eventually([&] { return FindShown(dpy, kPictureW, kPictureH).window == None; }));

  // The cell shows the same window again, where it was left.
  kvrtest::ClickRootAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
  Shown again;
  EXPECT_TRUE(Eventually([&] { return (again = FindShown(dpy, kPictureW, kPictureH)).window; }));
  EXPECT_EQ(again.window, keymap.window);
  EXPECT_EQ(again.attr.x, moved.attr.x);
  EXPECT_EQ(again.attr.y, moved.attr.y);
  // And hides it.
  kvrtest::ClickRootAt(dpy, bar.attr.x + kKeymapCellX, bar.attr.y + 10);
  EXPECT_TRUE(Eventually([&] { return FindShown(dpy, kPictureW, kPictureH).window == None; }));
  XCloseDisplay(dpy);
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The tips dialog (template 113: 250 by 150 dialog units, 2 pixels each)
// and its controls, in pixels from the dialog's inside.
constexpr int kTipsW = 506, kTipsInsideH = 300;
const CRect kTipArea(14, 14, 14 + 472, 14 + 220);
const CPoint kPrevButton(260, 270), kNextButton(354, 270), kCloseButton(444, 270);

// The tip area's pixels, and whether it shows ink (the tip's text).
struct TipArea {
  std::vector<uint32_t> px;
  bool inked = false;
  bool operator==(const TipArea& o) const { return px == o.px; }
};

TipArea ReadTipArea(Display* dpy, const Shown& dlg, int inside) {
  TipArea area;
  const kvrtest::Pixels shot = kvrtest::Grab(dpy, dlg.window, dlg.attr.width, dlg.attr.height);
  if (!shot.w) return area;
  for (int y = kTipArea.top; y < kTipArea.bottom; ++y) {
    for (int x = kTipArea.left; x < kTipArea.right; ++x) {
      const uint32_t c = shot.At(kFrame + x, inside + y);
      area.px.push_back(c);
      area.inked = area.inked || c == 0x000000;
    }
  }
  return area;
}

TEST(KvrTips, NextAndPreviousChangeTheTipDrawn) {
  kvrtest::KvrProcess kvr;
  Display* dpy = nullptr;
  Shown bar;
  ASSERT_TRUE(StartWithTheBar(kvr, "KvrTips", &dpy, &bar));
  // The help menu; its first row is the tips.
  kvrtest::ClickRootAt(dpy, bar.attr.x + kHelpCellX, bar.attr.y + 10);
  Shown menu;
  ASSERT_TRUE(Eventually([&] {
    for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy)) {
      if (p.window != bar.window && p.attr.width >= 60 && p.attr.height >= 60)
        menu = Shown{p.window, p.attr};
    }
    return menu.window != None;
  }));
  // The menu takes the keyboard focus once it is up.
  ASSERT_TRUE(Eventually([&] {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    return focus == menu.window;
  })) << "the help menu has no focus";
  XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, XK_Return), True, 0);
  XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, XK_Return), False, 0);
  XSync(dpy, False);
  Shown dlg;
  ASSERT_TRUE(Eventually([&] {
    dlg = FindShown(dpy, kTipsW, kTipsInsideH);
    return dlg.window != None && dlg.attr.width == kTipsW;
  })) << kvr.Log();
  const int inside = dlg.attr.height - kFrame - kTipsInsideH;  // below the title bar
  TipArea first;
  ASSERT_TRUE(Eventually([&] {
    first = ReadTipArea(dpy, dlg, inside);
    return first.inked;
  }));
  EXPECT_EQ(
      kvrtest::SaveWindowShot(dpy, dlg.window, "tips_dialog", dlg.attr.width, dlg.attr.height), "");
  auto click = [&](CPoint at) {
    kvrtest::ClickRootAt(dpy, dlg.attr.x + kFrame + at.x, dlg.attr.y + inside + at.y);
  };
  click(kNextButton);
  TipArea next;
  EXPECT_TRUE(Eventually([&] {
    next = ReadTipArea(dpy, dlg, inside);
    return next.inked && !(next == first);
  }));
  click(kPrevButton);
  EXPECT_TRUE(Eventually([&] { return ReadTipArea(dpy, dlg, inside) == first; }));
  click(kPrevButton);
  EXPECT_TRUE(Eventually([&] {
    const TipArea prev = ReadTipArea(dpy, dlg, inside);
    return prev.inked && !(prev == first) && !(prev == next);
  }));
  click(kCloseButton);
  EXPECT_TRUE(Eventually([&] { return FindShown(dpy, kTipsW, kTipsInsideH).window == None; }));
  XCloseDisplay(dpy);
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
