// The main bar as a user meets it: kvr started from a copy of the
// distribution directory, Ctrl+Space from a client shows the bar and switches
// to Chinese input, the bar shows the faces of its picture sheet, a click on
// the mode cell switches back, and the profile follows each switch.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "frontend/BarCells.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DecodedImage.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ScreenDialogs.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;

// Whether the profile comes to hold want within about 10 s (a save follows
// a posted command).
bool ProfileReaches(const std::string& path, const std::string& want) {
  for (int i = 0; i < 200; ++i) {
    if (kvrtest::ReadFileText(path).find(want) != std::string::npos) return true;
    usleep(50 * 1000);
  }
  return false;
}

std::vector<Window> ShownWindowsOfSize(Display* dpy, int width, int height);

// A client in a UTF-8 locale that shows the bar with Ctrl+Space (the first
// press only starts the forwarding), waits for the bar (the switch to
// Chinese input is posted before the bar is mapped, so it is handled before
// any later key), types "zhongguo" and Space, and reports what was
// committed.
int RunChineseClient(const std::string& name, int fd) {
  alarm(60);
  kvrtest::XimTestClient client;
  if (!kvrtest::OpenInChineseInput(client, name, fd)) return 1;
  bool shown = false;
  for (int i = 0; i < 100 && !shown; ++i) {
    shown = ShownWindowsOfSize(client.Dpy(), 155, 26).size() == 1;
    client.Serve(100);
  }
  if (!shown) {
    ReportLine(fd, "the bar did not show");
    return 1;
  }
  for (const char* k = "zhongguo"; *k; ++k) client.TapKey(static_cast<KeySym>(*k));
  client.Serve(300);
  client.TapKey(XK_space);
  client.Serve(10000, [&] { return !client.Received().empty(); });
  client.Serve(200);
  ReportLine(fd, "typed " + client.Received());
  return 0;
}

std::string RunChineseClientProcess(const std::string& name) {
  ChildProcess child;
  if (!child.Start([&](int fd) { return RunChineseClient(name, fd); })) return "fork";
  const int status = child.Wait(60000);
  if (status != 0) return "client failed " + std::to_string(status) + ": " + child.Output();
  return child.Output();
}

// The mapped top-level override-redirect windows of that size.
std::vector<Window> ShownWindowsOfSize(Display* dpy, int width, int height) {
  std::vector<Window> found;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy))
    if (p.attr.width == width && p.attr.height == height) found.push_back(p.window);
  return found;
}

int CountShownBars(int width, int height) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return -1;
  const int n = static_cast<int>(ShownWindowsOfSize(dpy, width, height).size());
  XCloseDisplay(dpy);
  return n;
}

// A click (press and release of button 1) at (x, y) of the one shown bar.
bool ClickBar(int width, int height, int x, int y) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  const std::vector<Window> bars = ShownWindowsOfSize(dpy, width, height);
  if (bars.size() != 1) {
    XCloseDisplay(dpy);
    return false;
  }
  for (int type : {ButtonPress, ButtonRelease}) {
    XEvent ev{};
    ev.xbutton.type = type;
    ev.xbutton.display = dpy;
    ev.xbutton.window = bars[0];
    ev.xbutton.root = DefaultRootWindow(dpy);
    ev.xbutton.x = x;
    ev.xbutton.y = y;
    ev.xbutton.button = Button1;
    ev.xbutton.same_screen = True;
    XSendEvent(dpy, bars[0], False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &ev);
  }
  XCloseDisplay(dpy);
  return true;
}

// The pixels of the bar's cells that differ from the faces the bar should
// have copied from its picture sheet in those modes ("" when none does);
// the outline around the cells is left out.
std::string BarDiffersFromSheet(const DecodedImage& sheet, const BarFaceModes& modes) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return "no display";
  const int width = modes.shortBar ? kShortBarWidth : kLongBarWidth;
  const std::vector<Window> bars = ShownWindowsOfSize(dpy, width, kBarHeight);
  if (bars.size() != 1) {
    XCloseDisplay(dpy);
    return "no bar";
  }
  XImage* shot = XGetImage(dpy, bars[0], 0, 0, width, kBarHeight, AllPlanes, ZPixmap);
  if (!shot) {
    XCloseDisplay(dpy);
    return "no image";
  }
  // The bar as painted: the cells in bar order, each face's copies in turn.
  std::vector<uint32_t> want(static_cast<size_t>(width) * kBarHeight, 0xC7C7C7);
  for (const typBarCell& cell : kBarCellTable) {
    const BarCellFace face = BarCellFaceFor(cell.bit, false, modes);
    for (int i = 0; i < face.nCopies; ++i) {
      const BarFaceCopy& f = face.copies[i];
      for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width && f.dstX + x < width; ++x) {
          want[static_cast<size_t>(f.dstY + y) * width + f.dstX + x] =
              sheet.At(f.srcX + x, f.srcY + y);
        }
      }
    }
  }
  const int outlineRight = modes.shortBar ? kShortOutlineWidth : kLongBarWidth;
  int differing = 0;
  std::string first;
  for (int y = 2; y < kOutlineHeight - 2; ++y) {
    for (int x = 2; x < outlineRight - 2; ++x) {
      const uint32_t got = static_cast<uint32_t>(XGetPixel(shot, x, y)) & 0xFFFFFF;
      const uint32_t w = want[static_cast<size_t>(y) * width + x];
      if (got != w && differing++ == 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "at %d,%d: %06x, want %06x", x, y, got, w);
        first = buf;
      }
    }
  }
  XDestroyImage(shot);
  XCloseDisplay(dpy);
  return differing ? std::to_string(differing) + " pixels differ, first " + first : "";
}

// The shown override-redirect windows of at least 60 by 60 other than the
// bar (barW by barH): the popup menu while it is up.
std::vector<Window> ShownMenus(Display* dpy, int barW, int barH) {
  std::vector<Window> found;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy)) {
    const XWindowAttributes& a = p.attr;
    if (!(a.width == barW && a.height == barH) && a.width >= 60 && a.height >= 60)
      found.push_back(p.window);
  }
  return found;
}

// Waits up to 5 s for the menu; its window, or None.
Window WaitForMenu(Display* dpy) {
  for (int i = 0; i < 100; ++i) {
    const std::vector<Window> menus = ShownMenus(dpy, 155, 26);
    if (menus.size() == 1) return menus[0];
    usleep(50 * 1000);
  }
  return None;
}

// The number of distinct colours in a window: text and frames make many.
size_t WindowColours(Display* dpy, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy, w, &a)) return 0;
  XImage* shot = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!shot) return 0;
  std::set<unsigned long> seen;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) seen.insert(XGetPixel(shot, x, y));
  }
  XDestroyImage(shot);
  return seen.size();
}

// Ctrl+Space shows the bar and switches to Chinese input; the bar shows its
// picture; pinyin typed then reaches the client as Chinese text; the bar's
// menu switches back and a click on its mode cell to Chinese again; the
// profile follows each switch.
TEST(KvrBar, CtrlSpaceShowsTheBarAndPinyinCommitsChinese) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrChn"))) << kvr.Log();
  EXPECT_EQ(CountShownBars(155, 26), 0);  // hidden at start-up
  // Start-up saved the profile with InputMode 0 (the engine starts in
  // Chinese input); mark it, so that the switch's own save shows.
  const std::string profile = kvr.File("kvr.ini");
  std::string text = kvrtest::ReadFileText(profile);
  const size_t at = text.find("InputMode=0");
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, 11, "InputMode=9");
  kvrtest::WriteFileText(profile, text);
  EXPECT_EQ(RunChineseClientProcess(kvr.Name()), "typed \xE4\xB8\xAD\xE5\x9B\xBD\n");  // 中国
  EXPECT_EQ(CountShownBars(155, 26), 1);
  // The bar shows its picture: the short bar's faces in Chinese input with
  // the default settings (full width, Chinese punctuation, pinyin).
  const DecodedImage sheet = DecodeImage(kvr.File("res/bar.bmp"));
  ASSERT_TRUE(sheet.error.empty()) << sheet.error;
  BarFaceModes modes{};
  modes.shortBar = true;
  modes.chinese = true;
  modes.pinYin = true;
  modes.fullWidth = true;
  modes.chnPunct = true;
  modes.icon1 = 1;
  std::string differs = BarDiffersFromSheet(sheet, modes);
  for (int i = 0; i < 100 && !differs.empty(); ++i) {  // painted when kvr reads the exposure
    usleep(50 * 1000);
    differs = BarDiffersFromSheet(sheet, modes);
  }
  EXPECT_EQ(differs, "");
  // The switch saved the profile at once.
  EXPECT_TRUE(ProfileReaches(profile, "InputMode=0")) << kvrtest::ReadFileText(profile);
  // A click on the menu cell pops the main menu up with its texts drawn;
  // Return chooses its first row, the switch to English input.
  ASSERT_TRUE(ClickBar(155, 26, 10, 10));
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Window menu = WaitForMenu(dpy);
  ASSERT_NE(menu, None);
  // Mapped first, drawn when kvr reads its exposure.
  size_t colours = 0;
  for (int i = 0; i < 100 && colours < 6; ++i) {
    colours = WindowColours(dpy, menu);
    if (colours < 6) usleep(50 * 1000);
  }
  EXPECT_GE(colours, 6u);
  kvrtest::SendKeyTo(dpy, menu, XK_Return);
  XCloseDisplay(dpy);
  EXPECT_TRUE(ProfileReaches(profile, "InputMode=1")) << kvrtest::ReadFileText(profile);
  // A click on the mode cell switches back to Chinese input and saves.
  ASSERT_TRUE(ClickBar(155, 26, 30, 10));
  EXPECT_TRUE(ProfileReaches(profile, "InputMode=0")) << kvrtest::ReadFileText(profile);
  EXPECT_EQ(CountShownBars(155, 26), 1);  // the bar stays up
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
