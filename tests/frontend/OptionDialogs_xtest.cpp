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

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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
using kvrtest::ChildShownAt;
using kvrtest::Grab;
using kvrtest::Pixels;
using kvrtest::ReportLine;
using kvrtest::ScreenDialog;
using kvrtest::ScreenWin;
using kvrtest::SleepMs;
using kvrtest::ViewableChildren;
using kvrtest::WaitChildShownAt;
using kvrtest::WaitForWin;
using kvrtest::WaitWinGone;

constexpr int kShortBarW = 155, kBarH = 26;
constexpr uint32_t kModernPaneBg = 0xFFF0F0;

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
  if (!kvrtest::OpenInChineseInput(client, name, fd, 400)) return 1;
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

// Windows of kvr's come and go while the test looks at them.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Waits until the window shows at least n colours (it is drawn).
void WaitDrawn(Display* dpy, const ScreenWin& w, int n) {
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
    SleepMs(50);
  }
}

// The cells of the short bar that pop a menu up.
constexpr int kPrefsCellX = 110, kHelpCellX = 131;

// The menu of the bar's cell, then the row that keys reach, chosen with
// Return; the window that opens.
ScreenWin OpenFromBarMenu(Display* dpy, const ScreenWin& bar, int cellX,
                          const std::vector<KeySym>& keys, int minW, int minH) {
  kvrtest::ClickRootAt(dpy, bar.x + cellX, bar.y + 10);
  const ScreenWin menu = WaitForWin(dpy, 60, 60, {bar.w}, 400);
  if (menu.w == None) return {};
  WaitDrawn(dpy, menu, 4);
  for (KeySym k : keys) kvrtest::SendKeyTo(dpy, menu.w, k);
  kvrtest::SendKeyTo(dpy, menu.w, XK_Return);
  if (!WaitWinGone(dpy, menu.w)) return {};
  return WaitForWin(dpy, minW, minH, {bar.w});
}

// The candidate panes stacked under the keys pane at the spot, one a
// candidate; 0 when there is no keys pane.
std::vector<ScreenWin> CandidateRows(Display* dpy, int spotX, int spotY) {
  const std::vector<ScreenWin> shown = kvrtest::ShownWins(dpy);
  auto at = [&](int x, int y) -> const ScreenWin* {
    for (const ScreenWin& w : shown)
      if (w.x == x && w.y == y) return &w;
    return nullptr;
  };
  std::vector<ScreenWin> rows;
  const ScreenWin* keys = at(spotX - 12, spotY + 24);
  if (!keys) return rows;
  int y = keys->y + keys->height;
  while (const ScreenWin* row = at(keys->x, y)) {
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
  XErrorHandler oldHandler = XSetErrorHandler(IgnoreXError);
  ScreenWin bar;
  for (const ScreenWin& w : kvrtest::ShownWins(dpy))
    if (w.width == kShortBarW && w.height == kBarH) bar = w;
  ASSERT_NE(bar.w, None) << "the bar is not shown";

  // The options dialog: 5 candidates by keys (the list has the focus and
  // shows 10, its last row), fuzzy pinyin and l = r by the mouse, OK.
  const ScreenWin opts = OpenFromBarMenu(dpy, bar, kPrefsCellX, {}, 400, 300);
  ASSERT_NE(opts.w, None) << "no options dialog";
  WaitDrawn(dpy, opts, 6);
  const ScreenDialog od(opts, 330, 262);
  for (int i = 0; i < 5; ++i) kvrtest::XTestTap(dpy, XK_Up);
  od.Click(dpy, 20, 179);   // Fuzzy PinYin
  od.Click(dpy, 100, 207);  // l = r (zh = z, ch = c and sh = s are on by default)
  SleepMs(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, opts.w, "options_dialog", opts.width, opts.height), "");
  od.Click(dpy, 237, 247);  // OK
  ASSERT_TRUE(WaitWinGone(dpy, opts.w)) << "the options dialog stayed open";
  for (int i = 0; i < 100 && kvrtest::ReadFileText(profile).find("lr_fuzzy=1") == std::string::npos;
       ++i)
    SleepMs(50);
  const std::string saved = kvrtest::ReadFileText(profile);
  EXPECT_NE(saved.find("NumberOfCandidatesShown=5"), std::string::npos) << saved;
  EXPECT_NE(saved.find("fuzziPY=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("lr_fuzzy=1"), std::string::npos) << saved;

  // The client sees 5 candidates, also after two switches of the mode.
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    kvrtest::WriteFileText(dir + "/go" + std::to_string(n), "");
    ASSERT_TRUE(client.WaitFor("typed" + std::to_string(n), 30000)) << client.Output();
    std::vector<ScreenWin> rows;
    for (int i = 0; i < 100 && rows.size() != 5; ++i) {
      rows = CandidateRows(dpy, spotX, spotY);
      if (rows.size() != 5) SleepMs(50);
    }
    EXPECT_EQ(rows.size(), 5u);
  }

  // The bar style dialog: Classic, OK. The panes lose the modern colour.
  const ScreenWin style = OpenFromBarMenu(dpy, bar, kPrefsCellX, {XK_Down}, 200, 100);
  ASSERT_NE(style.w, None) << "no bar style dialog";
  WaitDrawn(dpy, style, 6);
  const ScreenDialog sd(style, 180, 80);
  sd.Click(dpy, 30, 37);  // Classic
  SleepMs(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, style.w, "bar_style_dialog", style.width, style.height),
            "");
  sd.Click(dpy, 91, 65);  // OK
  ASSERT_TRUE(WaitWinGone(dpy, style.w)) << "the bar style dialog stayed open";
  kvrtest::WriteFileText(dir + "/go3", "");
  ASSERT_TRUE(client.WaitFor("typed3", 30000)) << client.Output();
  std::vector<ScreenWin> rows;
  int modern = 1;
  for (int i = 0; i < 100 && modern; ++i) {
    rows = CandidateRows(dpy, spotX, spotY);
    if (rows.empty()) {
      SleepMs(50);
      continue;
    }
    const Pixels p = Grab(dpy, rows[0].w, rows[0].width, rows[0].height);
    modern = p.Count(kModernPaneBg);
    if (modern) SleepMs(50);
  }
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(modern, 0) << "the candidate pane keeps the modern colour";
  EXPECT_NE(kvrtest::ReadFileText(profile).find("CandidateBarStyle=1"), std::string::npos);

  // The about box, the help menu's last row; OK closes it.
  const ScreenWin about = OpenFromBarMenu(dpy, bar, kHelpCellX, {XK_End}, 300, 100);
  ASSERT_NE(about.w, None) << "no about box";
  WaitDrawn(dpy, about, 4);
  SleepMs(300);
  EXPECT_EQ(kvrtest::SaveWindowShot(dpy, about.w, "about_dialog", about.width, about.height), "");
  ScreenDialog(about, 220, 92).Click(dpy, 110, 77);  // OK
  EXPECT_TRUE(WaitWinGone(dpy, about.w)) << "the about box stayed open";
  XCloseDisplay(dpy);
  XSetErrorHandler(oldHandler);
  client.Kill();
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The second client: Chinese input as above; then, each time the test
// creates dir/keyN holding keys: types them after Escape, commits the
// first candidate with the space bar and reports "gotN" with the bytes
// committed, in hex.
int CommitClient(const std::string& name, const std::string& dir, int fd) {
  alarm(120);
  kvrtest::XimTestClient client;
  if (!kvrtest::OpenInChineseInput(client, name, fd, 400)) return 1;
  ReportLine(fd, "ready");
  for (int n = 1; n <= 4; ++n) {
    const std::string go = dir + "/key" + std::to_string(n);
    while (!Exists(go)) client.Serve(50);
    const std::string keys = kvrtest::ReadFileText(go);
    client.TapKey(XK_Escape);
    client.Serve(200);
    client.Clear();
    for (char k : keys) client.TapKey(static_cast<KeySym>(k));
    client.ServeUntilQuiet(300, 5000);
    client.TapKey(XK_space);
    client.ServeUntilQuiet(500, 5000);
    std::string hex;
    for (unsigned char c : client.Received()) {
      char b[3];
      std::snprintf(b, sizeof b, "%02x", c);
      hex += b;
    }
    ReportLine(fd, "got" + std::to_string(n) + " " + hex);
  }
  client.Serve(60000);
  return 0;
}

// The viewable children of a window, in its coordinates.
// Answers the message box the dialog asks with Yes, its left button.
bool AnswerYes(Display* dpy, const std::vector<Window>& known) {
  const ScreenWin box = WaitForWin(dpy, 0, 0, known);
  if (box.w == None) return false;
  WaitDrawn(dpy, box, 3);
  std::vector<ScreenWin> buttons;
  for (int i = 0; i < 100 && buttons.size() < 2; ++i) {
    buttons.clear();
    int bottom = 0;
    for (const ScreenWin& c : ViewableChildren(dpy, box.w)) bottom = std::max(bottom, c.y);
    for (const ScreenWin& c : ViewableChildren(dpy, box.w))
      if (c.y == bottom) buttons.push_back(c);
    if (buttons.size() < 2) SleepMs(50);
  }
  if (buttons.size() != 2) return false;
  const ScreenWin& yes = buttons[0].x < buttons[1].x ? buttons[0] : buttons[1];
  kvrtest::ClickRootAt(dpy, box.x + yes.x + yes.width / 2, box.y + yes.y + yes.height / 2);
  return WaitWinGone(dpy, box.w);
}

// A drop-list combo box of the dialog at its template point: a click
// drops its list of rows rows under it; returns the list (None when none
// shows).
ScreenWin DropList(Display* dpy, const ScreenDialog& d, double ux, double uy) {
  std::vector<Window> known;
  for (const ScreenWin& w : kvrtest::ShownWins(dpy)) known.push_back(w.w);
  d.Click(dpy, ux, uy);
  const ScreenWin list = WaitForWin(dpy, 0, 0, known);
  if (list.w != None) WaitDrawn(dpy, list, 3);
  return list;
}

// Clicks row i of a dropped list of n rows and waits for it to go.
bool PickRow(Display* dpy, const ScreenWin& list, int i, int n) {
  kvrtest::ClickRootAt(dpy, list.x + list.width / 2, list.y + (2 * i + 1) * list.height / (2 * n));
  return WaitWinGone(dpy, list.w);
}

std::string Got(ChildProcess& client, int n) {
  const std::string tag = "got" + std::to_string(n);
  if (!client.WaitFor(tag, 30000)) return "(none)";
  const std::vector<std::string> lines = client.Lines(tag + " ");
  return lines.empty() ? "" : lines[0];
}

// Template points of the options dialog.
constexpr double kOrderX = 100, kOrderY = 65;      // the candidate order combo
constexpr double kReorderX = 133, kReorderY = 82;  // the Reorder button
constexpr double kSchemeX = 270, kSchemeY = 57;    // the ShuangPin scheme combo
constexpr double kShuangPinX = 184, kShuangPinY = 59;
constexpr double kOkX = 237, kCancelX = 298, kButtonsY = 247;

// The combos of the options dialog: in a first visit the keys pick the
// manual candidate order (the Reorder button shows at once) and ShuangPin
// with a scheme is chosen, then Cancel: nothing changes, full pinyin still
// types. In a second visit ShuangPin is turned on, its scheme is chosen by
// the pointer (ZR, the third row) and then by a key (Up to
// C_Star); the order by the pointer (manual: Reorder shows) and by a key
// (Up to the fixed order: Reorder goes). OK: the profile holds them and
// the client's "ie" is C_Star's she, not MS's che.
TEST(OptionDialogs, CombosChooseShuangPinSchemeAndCandidateOrder) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Prepare());
  const std::string profile = kvr.File("kvr.ini");
  kvrtest::WriteFileText(profile, "[Config]\nNumberOfCandidatesShown=5\n");
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrCombo"))) << kvr.Log();
  ChildProcess client;
  const std::string dir = kvr.Dir();
  ASSERT_TRUE(client.Start([&](int fd) { return CommitClient(kvr.Name(), dir, fd); }));
  ASSERT_TRUE(client.WaitFor("ready", 30000)) << client.Output() << kvr.Log();
  kvrtest::WriteFileText(dir + "/key1", "she");
  const std::string she = Got(client, 1);
  kvrtest::WriteFileText(dir + "/key2", "che");
  const std::string che = Got(client, 2);
  ASSERT_FALSE(she.empty()) << client.Output();
  ASSERT_NE(she, che) << client.Output();
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  XErrorHandler oldHandler = XSetErrorHandler(IgnoreXError);
  ScreenWin bar;
  for (const ScreenWin& w : kvrtest::ShownWins(dpy))
    if (w.width == kShortBarW && w.height == kBarH) bar = w;
  ASSERT_NE(bar.w, None) << "the bar is not shown";
  const std::string before = kvrtest::ReadFileText(profile);

  // First visit: keys step the order combo, ShuangPin with a scheme, Cancel.
  {
    const ScreenWin opts = OpenFromBarMenu(dpy, bar, kPrefsCellX, {}, 400, 300);
    ASSERT_NE(opts.w, None) << "no options dialog";
    WaitDrawn(dpy, opts, 6);
    const ScreenDialog od(opts, 330, 262);
    EXPECT_FALSE(ChildShownAt(dpy, od, kReorderX, kReorderY)) << "Reorder shown for row 0";
    const ScreenWin list = DropList(dpy, od, kOrderX, kOrderY);
    ASSERT_NE(list.w, None) << "the order combo dropped no list";
    kvrtest::XTestTap(dpy, XK_Escape);
    ASSERT_TRUE(WaitWinGone(dpy, list.w));
    kvrtest::XTestTap(dpy, XK_Down);
    kvrtest::XTestTap(dpy, XK_Down);
    EXPECT_TRUE(WaitChildShownAt(dpy, od, kReorderX, kReorderY, true))
        << "the manual order shows no Reorder button";
    od.Click(dpy, kShuangPinX, kShuangPinY);
    ASSERT_TRUE(AnswerYes(dpy, {bar.w, opts.w})) << "no ShuangPin warning answered";
    const ScreenWin schemes = DropList(dpy, od, kSchemeX, kSchemeY);
    ASSERT_NE(schemes.w, None) << "the scheme combo dropped no list";
    ASSERT_TRUE(PickRow(dpy, schemes, 1, 3));
    od.Click(dpy, kCancelX, kButtonsY);
    ASSERT_TRUE(WaitWinGone(dpy, opts.w)) << "the options dialog stayed open";
  }
  kvrtest::WriteFileText(dir + "/key3", "she");
  EXPECT_EQ(Got(client, 3), she) << "Cancel changed the input";
  EXPECT_EQ(kvrtest::ReadFileText(profile), before) << "Cancel changed the profile";

  // Second visit: ShuangPin, the scheme by the pointer then a key, the
  // order by the pointer then a key, OK.
  const ScreenWin opts = OpenFromBarMenu(dpy, bar, kPrefsCellX, {}, 400, 300);
  ASSERT_NE(opts.w, None) << "no options dialog";
  WaitDrawn(dpy, opts, 6);
  const ScreenDialog od(opts, 330, 262);
  od.Click(dpy, kShuangPinX, kShuangPinY);
  ASSERT_TRUE(AnswerYes(dpy, {bar.w, opts.w})) << "no ShuangPin warning answered";
  const ScreenWin schemes = DropList(dpy, od, kSchemeX, kSchemeY);
  ASSERT_NE(schemes.w, None) << "the scheme combo dropped no list";
  SleepMs(300);
  EXPECT_EQ(kvrtest::SaveScreen(dpy, "options_dialog_scheme_list",
                                std::max(opts.x + opts.width, schemes.x + schemes.width) + 10,
                                std::max(opts.y + opts.height, schemes.y + schemes.height) + 10),
            "");
  ASSERT_TRUE(PickRow(dpy, schemes, 2, 3));
  kvrtest::XTestTap(dpy, XK_Up);
  const ScreenWin orders = DropList(dpy, od, kOrderX, kOrderY);
  ASSERT_NE(orders.w, None) << "the order combo dropped no list";
  ASSERT_TRUE(PickRow(dpy, orders, 2, 3));
  EXPECT_TRUE(WaitChildShownAt(dpy, od, kReorderX, kReorderY, true))
      << "the manual order shows no Reorder button";
  kvrtest::XTestTap(dpy, XK_Up);
  EXPECT_FALSE(WaitChildShownAt(dpy, od, kReorderX, kReorderY, false))
      << "the fixed order keeps the Reorder button";
  od.Click(dpy, kOkX, kButtonsY);
  ASSERT_TRUE(WaitWinGone(dpy, opts.w)) << "the options dialog stayed open";
  for (int i = 0;
       i < 100 && kvrtest::ReadFileText(profile).find("ShuangPin=1") == std::string::npos; ++i)
    SleepMs(50);
  const std::string saved = kvrtest::ReadFileText(profile);
  EXPECT_NE(saved.find("ShuangPin=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("ShuangPinScheme=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("candidateOrderChoice=1"), std::string::npos) << saved;

  // C_Star's i is sh: "ie" types she.
  kvrtest::WriteFileText(dir + "/key4", "ie");
  EXPECT_EQ(Got(client, 4), she) << client.Output();
  XCloseDisplay(dpy);
  XSetErrorHandler(oldHandler);
  client.Kill();
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
