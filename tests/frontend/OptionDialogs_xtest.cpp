// The options and bar-style dialogs as a user meets them: kvr runs from a
// copy of the distribution directory with candidates in parallel rows (one
// pane a candidate, so the panes count the page); a client shows the bar;
// the bar's preferences cell pops its menu up, Return opens the options
// dialog, where the keyboard picks 5 candidates and the mouse turns fuzzy
// pinyin and its l = r pair on, then OK. The profile holds them, and the
// client typing "zhong" sees 5 candidates, also after Ctrl+Space twice
// (the mode switches keep the chosen number). The bar style dialog from
// the same menu turns the panes classic; the help menu's about box closes
// with OK. Each dialog is saved as a picture.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::Grab;
using kvrtest::Pixels;
using kvrtest::ReportLine;

constexpr int kShortBarW = 155, kBarH = 26;
constexpr uint32_t kModernPaneBg = 0xFFF0F0;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The client: shows the bar and Chinese input with Ctrl+Space (the first
// press only starts the forwarding), puts its spot at (40, 50) and reports
// where that is on the root. Then, each time the test creates the file
// dir/goN: types "zhong" (after Escape, which clears what was typed
// before; before the second, Ctrl+Space twice hides the bar and shows it
// again, two switches of the input mode) and reports "typedN".
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
  XPoint spot{40, 50};
  XVaNestedList pre = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
  XSetICValues(client.Ic(), XNPreeditAttributes, pre, nullptr);
  XFree(pre);
  client.Serve(200);
  int rx = 0, ry = 0;
  Window child = 0;
  XTranslateCoordinates(client.Dpy(), client.Win(), DefaultRootWindow(client.Dpy()), spot.x, spot.y,
                        &rx, &ry, &child);
  ReportLine(fd, "spot " + std::to_string(rx) + " " + std::to_string(ry));
  for (int n = 1; n <= 3; ++n) {
    const std::string go = dir + "/go" + std::to_string(n);
    while (!Exists(go)) client.Serve(50);
    client.TapKey(XK_Escape);
    client.Serve(200);
    if (n == 2) {
      for (int i = 0; i < 2; ++i) {
        client.TapKey(XK_space, ControlMask);
        client.Serve(400);
      }
    }
    for (const char* k = "zhong"; *k; ++k) client.TapKey(static_cast<KeySym>(*k));
    client.ServeUntilQuiet(500, 5000);
    ReportLine(fd, "typed" + std::to_string(n));
  }
  client.Serve(60000);
  return 0;
}

struct Win {
  Window w = None;
  int x = 0, y = 0, width = 0, height = 0;
};

std::vector<Win> Shown(Display* dpy) {
  std::vector<Win> out;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy))
    out.push_back({p.window, p.attr.x, p.attr.y, p.attr.width, p.attr.height});
  return out;
}

// Waits up to 10 s for a shown window of at least minW by minH that is not
// the bar; None when none comes.
Win WaitForWindow(Display* dpy, int minW, int minH, int maxW = 100000) {
  for (int i = 0; i < 200; ++i) {
    for (const Win& w : Shown(dpy)) {
      if (w.width >= minW && w.height >= minH && w.width <= maxW &&
          !(w.width == kShortBarW && w.height == kBarH))
        return w;
    }
    Sleep(50);
  }
  return {};
}

bool WaitGone(Display* dpy, Window w) {
  for (int i = 0; i < 200; ++i) {
    bool shown = false;
    for (const Win& s : Shown(dpy)) shown |= s.w == w;
    if (!shown) return true;
    Sleep(50);
  }
  return false;
}

// Waits until the window shows at least n colours (it is drawn).
void WaitDrawn(Display* dpy, const Win& w, int n) {
  for (int i = 0; i < 100; ++i) {
    const Pixels p = Grab(dpy, w.w, w.width, w.height);
    std::vector<uint32_t> seen;
    for (uint32_t c : p.px) {
      if (seen.size() >= static_cast<size_t>(n)) break;
      bool known = false;
      for (uint32_t s : seen) known |= s == c;
      if (!known) seen.push_back(c);
    }
    if (seen.size() >= static_cast<size_t>(n)) return;
    Sleep(50);
  }
}

void ClickRoot(Display* dpy, int x, int y) {
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, 0);
  XTestFakeButtonEvent(dpy, 1, True, 0);
  XTestFakeButtonEvent(dpy, 1, False, 0);
  XSync(dpy, False);
  Sleep(150);
}

// A dialog on the screen, with its template's size in dialog units: clicks
// at points of the template (dialog units from the client area's corner).
struct DialogOnScreen {
  Win win;
  double unit = 2;
  int caption = 25;
  DialogOnScreen(const Win& w, int unitsW, int unitsH) : win(w) {
    unit = (w.width - 6) / static_cast<double>(unitsW);
    caption = w.height - 6 - static_cast<int>(unitsH * unit);
  }
  void Click(Display* dpy, double ux, double uy) const {
    ClickRoot(dpy, win.x + static_cast<int>(ux * unit),
              win.y + caption + static_cast<int>(uy * unit));
  }
};

void SendKeyTo(Display* dpy, Window w, KeySym sym) {
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.display = dpy;
  ev.xkey.window = w;
  ev.xkey.root = DefaultRootWindow(dpy);
  ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
  ev.xkey.same_screen = True;
  XSendEvent(dpy, w, False, KeyPressMask, &ev);
  XSync(dpy, False);
  Sleep(100);
}

// The cells of the short bar that pop a menu up.
constexpr int kPrefsCellX = 110, kHelpCellX = 131;

// The menu of the bar's cell, then the row that keys reach, chosen with
// Return; the window that opens.
Win OpenFromBarMenu(Display* dpy, const Win& bar, int cellX, const std::vector<KeySym>& keys,
                    int minW, int minH) {
  ClickRoot(dpy, bar.x + cellX, bar.y + 10);
  const Win menu = WaitForWindow(dpy, 60, 60, 400);
  if (menu.w == None) return {};
  WaitDrawn(dpy, menu, 4);
  for (KeySym k : keys) SendKeyTo(dpy, menu.w, k);
  SendKeyTo(dpy, menu.w, XK_Return);
  if (!WaitGone(dpy, menu.w)) return {};
  return WaitForWindow(dpy, minW, minH);
}

// The candidate panes stacked under the keys pane at the spot, one a
// candidate; 0 when there is no keys pane.
std::vector<Win> CandidateRows(Display* dpy, int spotX, int spotY) {
  const std::vector<Win> shown = Shown(dpy);
  auto at = [&](int x, int y) -> const Win* {
    for (const Win& w : shown)
      if (w.x == x && w.y == y) return &w;
    return nullptr;
  };
  std::vector<Win> rows;
  const Win* keys = at(spotX - 12, spotY + 24);
  if (!keys) return rows;
  int y = keys->y + keys->height;
  while (const Win* row = at(keys->x, y)) {
    rows.push_back(*row);
    y += row->height;
  }
  return rows;
}

TEST(OptionDialogs, OptionsAndBarStyleFromThePreferencesMenu) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Prepare());
  const std::string profile = kvr.File("kvr.ini");
  kvrtest::WriteFileText(profile, "[Config]\nPYSingleCharShowMultiRow=1\nPromptParallelSel=1\n");
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrOpts"))) << kvr.Log();
  ChildProcess client;
  const std::string dir = kvr.Dir();
  ASSERT_TRUE(client.Start([&](int fd) { return Client(kvr.Name(), dir, fd); }));
  ASSERT_TRUE(client.WaitFor("spot ", 30000)) << client.Output() << kvr.Log();
  int spotX = 0, spotY = 0;
  ASSERT_EQ(std::sscanf(client.Lines("spot ")[0].c_str(), "%d %d", &spotX, &spotY), 2);
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  Win bar;
  for (const Win& w : Shown(dpy))
    if (w.width == kShortBarW && w.height == kBarH) bar = w;
  ASSERT_NE(bar.w, None) << "the bar is not shown";

  // The options dialog: 5 candidates by keys (the list has the focus and
  // shows 10, its last row), fuzzy pinyin and l = r by the mouse, OK.
  const Win opts = OpenFromBarMenu(dpy, bar, kPrefsCellX, {}, 400, 300);
  ASSERT_NE(opts.w, None) << "no options dialog";
  WaitDrawn(dpy, opts, 6);
  const DialogOnScreen od(opts, 330, 262);
  for (int i = 0; i < 5; ++i) kvrtest::XTestTap(dpy, XK_Up);
  od.Click(dpy, 20, 179);   // Fuzzy PinYin
  od.Click(dpy, 100, 207);  // l = r (zh = z, ch = c and sh = s are on by default)
  Sleep(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, opts.w, "options_dialog", opts.width, opts.height), "");
  od.Click(dpy, 237, 247);  // OK
  ASSERT_TRUE(WaitGone(dpy, opts.w)) << "the options dialog stayed open";
  for (int i = 0; i < 100 && kvrtest::ReadFileText(profile).find("lr_fuzzy=1") == std::string::npos;
       ++i)
    Sleep(50);
  const std::string saved = kvrtest::ReadFileText(profile);
  EXPECT_NE(saved.find("NumberOfCandidatesShown=5"), std::string::npos) << saved;
  EXPECT_NE(saved.find("fuzziPY=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("lr_fuzzy=1"), std::string::npos) << saved;

  // The client sees 5 candidates, also after two switches of the mode.
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    kvrtest::WriteFileText(dir + "/go" + std::to_string(n), "");
    ASSERT_TRUE(client.WaitFor("typed" + std::to_string(n), 30000)) << client.Output();
    std::vector<Win> rows;
    for (int i = 0; i < 100 && rows.size() != 5; ++i) {
      rows = CandidateRows(dpy, spotX, spotY);
      if (rows.size() != 5) Sleep(50);
    }
    EXPECT_EQ(rows.size(), 5u);
  }

  // The bar style dialog: Classic, OK. The panes lose the modern colour.
  const Win style = OpenFromBarMenu(dpy, bar, kPrefsCellX, {XK_Down}, 200, 100);
  ASSERT_NE(style.w, None) << "no bar style dialog";
  WaitDrawn(dpy, style, 6);
  const DialogOnScreen sd(style, 180, 80);
  sd.Click(dpy, 30, 37);  // Classic
  Sleep(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, style.w, "bar_style_dialog", style.width, style.height),
            "");
  sd.Click(dpy, 91, 65);  // OK
  ASSERT_TRUE(WaitGone(dpy, style.w)) << "the bar style dialog stayed open";
  kvrtest::WriteFileText(dir + "/go3", "");
  ASSERT_TRUE(client.WaitFor("typed3", 30000)) << client.Output();
  std::vector<Win> rows;
  int modern = 1;
  for (int i = 0; i < 100 && modern; ++i) {
    rows = CandidateRows(dpy, spotX, spotY);
    if (rows.empty()) {
      Sleep(50);
      continue;
    }
    const Pixels p = Grab(dpy, rows[0].w, rows[0].width, rows[0].height);
    modern = p.Count(kModernPaneBg);
    if (modern) Sleep(50);
  }
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(modern, 0) << "the candidate pane keeps the modern colour";
  EXPECT_NE(kvrtest::ReadFileText(profile).find("CandidateBarStyle=1"), std::string::npos);

  // The about box, the help menu's last row; OK closes it.
  const Win about = OpenFromBarMenu(dpy, bar, kHelpCellX, {XK_End}, 300, 100);
  ASSERT_NE(about.w, None) << "no about box";
  WaitDrawn(dpy, about, 4);
  Sleep(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, about.w, "about_dialog", about.width, about.height), "");
  DialogOnScreen(about, 220, 92).Click(dpy, 110, 77);  // OK
  EXPECT_TRUE(WaitGone(dpy, about.w)) << "the about box stayed open";
  XCloseDisplay(dpy);
  client.Kill();
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
