// The input panes as a user sees them: kvr runs from a copy of the
// distribution directory, a client with a spot location switches to Chinese
// input with Ctrl+Space and types "zhong"; kvr's mapped override-redirect
// panes are found with XQueryTree, their places checked against the
// placement rules (the keys pane 12 left of and 24 below the spot, the
// candidate pane right under it, the page arrows beside or under the
// candidates) and their pixels probed: the typed keys, the candidate text,
// the highlight, the more-pages mark and the page arrows. The last test
// types into xterm and saves a picture of the screen with the panes.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/Screenshot.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/TestPaths.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::Grab;
using kvrtest::Pixels;
using kvrtest::ReportLine;
using kvrtest::SaveScreen;

// The pane colours of the modern scheme and the pictures' ink.
constexpr uint32_t kPaneBg = 0xFFF0F0, kBorder = 0xC1C1BE, kChoiceText = 0x0000B9;
constexpr uint32_t kHilite = 0xD7FF91, kMoreMark = 0x8C8CB9, kSelNum = 0x8B953B;
constexpr uint32_t kArrowInk = 0x3C3C9C, kRed = 0xFF0000, kBlack = 0x000000;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct Pane {
  Window win = None;
  Rect r;
};

// Mapped override-redirect children of the root.
std::vector<Pane> ShownPanes(Display* dpy) {
  std::vector<Pane> out;
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy))
    out.push_back({p.window, {p.attr.x, p.attr.y, p.attr.width, p.attr.height}});
  return out;
}

const Pane* PaneAt(const std::vector<Pane>& panes, int x, int y) {
  for (const Pane& p : panes)
    if (p.r.x == x && p.r.y == y) return &p;
  return nullptr;
}

std::string Describe(const std::vector<Pane>& panes) {
  std::string s;
  for (const Pane& p : panes)
    s += " (" + std::to_string(p.r.x) + "," + std::to_string(p.r.y) + " " + std::to_string(p.r.w) +
         "x" + std::to_string(p.r.h) + ")";
  return s;
}

// The client: a window at (10, 10); shows kvr's bar and Chinese input with
// Ctrl+Space (the first press only starts the forwarding), moves its spot
// to (40, 50) in the window as an editor does when its cursor moves, types
// "zhong", reports where its spot is on the root and keeps serving until the
// test ends it.
int TypingClient(const std::string& name, const std::string& keys, int fd) {
  alarm(60);
  kvrtest::XimTestClient client;
  if (!kvrtest::OpenInChineseInput(client, name, fd, 400)) return 1;
  XPoint spot{40, 50};
  XVaNestedList pre = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
  XSetICValues(client.Ic(), XNPreeditAttributes, pre, nullptr);
  XFree(pre);
  client.Serve(200);
  for (char k : keys) {
    const KeySym sym = k == '-'   ? XK_minus
                       : k == '[' ? XK_bracketleft
                       : k == ']' ? XK_bracketright
                       : k == ';' ? XK_semicolon
                       : k == '=' ? XK_equal
                                  : static_cast<KeySym>(k);
    client.TapKey(sym);
  }
  client.Serve(1000);
  int rx = 0, ry = 0;
  Window child = 0;
  XTranslateCoordinates(client.Dpy(), client.Win(), DefaultRootWindow(client.Dpy()), spot.x, spot.y,
                        &rx, &ry, &child);
  ReportLine(fd, "spot " + std::to_string(rx) + " " + std::to_string(ry));
  client.Serve(45000);
  return 0;
}

// kvr with a profile of these [Config] lines, a client typing "zhong"
// into it, and the panes it shows.
class TypingScene {
 public:
  explicit TypingScene(const std::string& config, const std::string& keys = "zhong") {
    if (!m_kvr.Prepare()) return;
    kvrtest::WriteFileText(m_kvr.File("kvr.ini"), "[Config]\n" + config);
    if (!m_kvr.Start(kvrtest::UniqueImName("KvrPanes"))) return;
    if (!m_client.Start([&](int fd) { return TypingClient(m_kvr.Name(), keys, fd); })) return;
    if (!m_client.WaitFor("spot ", 30000)) return;
    Sleep(300);
    const std::vector<std::string> spot = m_client.Lines("spot ");
    if (spot.empty() || std::sscanf(spot[0].c_str(), "%d %d", &m_spotX, &m_spotY) != 2) return;
    m_dpy = XOpenDisplay(nullptr);
    m_ready = m_dpy != nullptr;
  }
  ~TypingScene() {
    m_client.Kill();
    if (m_dpy) XCloseDisplay(m_dpy);
  }
  bool Ready() const { return m_ready; }
  std::string Why() { return m_client.Output() + "\nkvr: " + m_kvr.Log(); }
  Display* Dpy() const { return m_dpy; }
  int SpotX() const { return m_spotX; }
  int SpotY() const { return m_spotY; }

 private:
  kvrtest::KvrProcess m_kvr;
  ChildProcess m_client;
  Display* m_dpy = nullptr;
  int m_spotX = 0, m_spotY = 0;
  bool m_ready = false;
};

// The keys pane 12 left of and 24 below the spot, showing the typed keys in
// black with the red insert mark on the pane colour, bordered on three
// sides; the candidate pane right under it. Returns the candidate pane.
Pane CheckKeysPaneAndFindCandidates(TypingScene& s, const std::vector<Pane>& panes) {
  const Pane* keys = PaneAt(panes, s.SpotX() - 12, s.SpotY() + 24);
  EXPECT_TRUE(keys) << "no keys pane at the spot; panes:" << Describe(panes);
  if (!keys) return {};
  EXPECT_GE(keys->r.h, 18);
  const Pixels k = Grab(s.Dpy(), keys->win, keys->r.w, keys->r.h);
  EXPECT_GT(k.Count(kPaneBg), k.w * k.h / 3);
  EXPECT_GT(k.Count(kBlack), 15) << "the typed letters";
  EXPECT_GT(k.Count(kRed), 3) << "the insert mark";
  EXPECT_EQ(k.At(0, k.h / 2), kBorder);
  EXPECT_EQ(k.At(k.w - 1, k.h / 2), kBorder);
  const Pane* choices = PaneAt(panes, keys->r.x, keys->r.y + keys->r.h);
  EXPECT_TRUE(choices) << "no candidate pane under the keys pane; panes:" << Describe(panes);
  return choices ? *choices : Pane{};
}

}  // namespace

TEST(InputPanes, OneLineOfCandidatesAtTheSpot) {
  TypingScene s("");
  ASSERT_TRUE(s.Ready()) << s.Why();
  const std::vector<Pane> panes = ShownPanes(s.Dpy());
  const Pane choices = CheckKeysPaneAndFindCandidates(s, panes);
  ASSERT_NE(choices.win, None);
  EXPECT_GE(choices.r.h, 22);
  const Pixels c = Grab(s.Dpy(), choices.win, choices.r.w, choices.r.h);
  EXPECT_GT(c.Count(kChoiceText), 60) << "candidate text drawn";
  EXPECT_GT(c.Count(kPaneBg), c.w * c.h / 3);
  // "zhong" has many pages: the more-pages mark, two lines at the right.
  EXPECT_EQ(c.At(c.w - 1, c.h / 2), kMoreMark);
  EXPECT_EQ(c.At(c.w - 3, c.h / 2), kMoreMark);
  EXPECT_EQ(c.At(0, c.h / 2), kBorder);
  // No page arrows in the one-line layout.
  EXPECT_FALSE(PaneAt(panes, choices.r.x + choices.r.w, choices.r.y));
}

TEST(InputPanes, RowsOfPagesWithArrowsBeside) {
  TypingScene s("PYSingleCharShowMultiRow=1\n");
  ASSERT_TRUE(s.Ready()) << s.Why();
  const std::vector<Pane> panes = ShownPanes(s.Dpy());
  const Pane choices = CheckKeysPaneAndFindCandidates(s, panes);
  ASSERT_NE(choices.win, None);
  const Pixels c = Grab(s.Dpy(), choices.win, choices.r.w, choices.r.h);
  // Three lines (this page and the next two); the first is highlighted.
  const int lineH = c.h / 3;
  EXPECT_GT(c.Count(kHilite, 0, 0, -1, lineH), c.w * lineH / 3) << "highlighted first line";
  EXPECT_EQ(c.Count(kHilite, 0, lineH + 1), 0);
  EXPECT_GT(c.Count(kChoiceText, 0, lineH), 60) << "the following pages drawn";
  EXPECT_GT(c.Count(kSelNum), 10) << "numbers";
  const Pane* arrows = PaneAt(panes, choices.r.x + choices.r.w, choices.r.y);
  ASSERT_TRUE(arrows) << Describe(panes);
  EXPECT_EQ(arrows->r.w, 14);
  EXPECT_EQ(arrows->r.h, 49);
  const Pixels a = Grab(s.Dpy(), arrows->win, 14, 49);
  EXPECT_GT(a.Count(kArrowInk, 0, 0, -1, 24), 10) << "up arrow";
  EXPECT_GT(a.Count(kArrowInk, 0, 25), 10) << "down arrow";
  EXPECT_EQ(SaveScreen(s.Dpy(), "rows_panes", 1280, 300), "");
}

TEST(InputPanes, ParallelRowsWithArrowsUnder) {
  TypingScene s("PYSingleCharShowMultiRow=1\nPromptParallelSel=1\n");
  ASSERT_TRUE(s.Ready()) << s.Why();
  const std::vector<Pane> panes = ShownPanes(s.Dpy());
  const Pane first = CheckKeysPaneAndFindCandidates(s, panes);
  ASSERT_NE(first.win, None);
  // One pane a candidate, stacked down, as many as a page holds (10).
  std::vector<Pane> rows = {first};
  while (const Pane* next = PaneAt(panes, first.r.x, rows.back().r.y + rows.back().r.h))
    rows.push_back(*next);
  ASSERT_GE(rows.size(), 10u) << Describe(panes);
  rows.resize(10);
  for (const Pane& row : rows) {
    EXPECT_EQ(row.r.h, first.r.h);
    const Pixels p = Grab(s.Dpy(), row.win, row.r.w, row.r.h);
    EXPECT_GT(p.Count(kChoiceText) + p.Count(0x2C2150), 20) << "a candidate in every row";
    EXPECT_GT(p.Count(kHilite), 20) << "the current column is highlighted";
  }
  // The last row of the page carries the more-pages mark at its bottom.
  const Pixels last = Grab(s.Dpy(), rows[9].win, rows[9].r.w, rows[9].r.h);
  EXPECT_EQ(last.At(2, last.h - 2), kMoreMark);
  EXPECT_EQ(last.At(2, last.h - 4), kMoreMark);
  const int bottom = rows[9].r.y + rows[9].r.h;
  const Pane* arrows = PaneAt(panes, first.r.x, bottom + 1);
  ASSERT_TRUE(arrows) << Describe(panes);
  EXPECT_EQ(arrows->r.w, 58);
  EXPECT_EQ(arrows->r.h, 14);
  const Pixels a = Grab(s.Dpy(), arrows->win, 58, 14);
  EXPECT_GT(a.Count(kArrowInk, 0, 0, 29), 10) << "left arrow";
  EXPECT_GT(a.Count(kArrowInk, 30), 10) << "right arrow";
  EXPECT_EQ(SaveScreen(s.Dpy(), "parallel_panes", 640, 600), "");
}

// Stroke keys after the letters show their symbols from the stroke picture,
// in its ink, 7 pixels a stroke; the pane grows by as much.
TEST(InputPanes, StrokeSymbolsAfterTheLetters) {
  int width[3] = {};
  const char* const typed[3] = {"zhong-", "zhong[;", "zhong-=["};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(typed[i]);
    TypingScene s("", typed[i]);
    ASSERT_TRUE(s.Ready()) << s.Why();
    const std::vector<Pane> panes = ShownPanes(s.Dpy());
    const Pane* k = PaneAt(panes, s.SpotX() - 12, s.SpotY() + 24);
    ASSERT_TRUE(k) << Describe(panes);
    width[i] = k->r.w;
    const Pixels p = Grab(s.Dpy(), k->win, k->r.w, k->r.h);
    // The symbols' ink stands right of the letters, inside the strokes' room.
    const int strokes = static_cast<int>(std::string(typed[i]).size()) - 5;
    const int room = 7 * strokes + 3 + 8;
    EXPECT_GT(p.Count(0x416222, p.w - room, 0), 3 * strokes);
    EXPECT_EQ(p.Count(0x416222, 0, 0, p.w - room), 0);
  }
  EXPECT_EQ(width[1] - width[0], 7);
  EXPECT_EQ(width[2] - width[1], 7);
}

// xterm with kvr's panes while typing, saved as
// <build>/screenshots/xterm_panes.bmp (the other tests save theirs beside).
TEST(InputPanes, XtermWithPanesWhileTyping) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrShot"))) << kvr.Log();
  kvrtest::ScratchDir dir;
  const std::string wid = dir.File("wid"), log = dir.File("log");
  ChildProcess xterm;
  ASSERT_TRUE(xterm.Exec(
      {"xterm", "-geometry", "64x10+20+20", "-e", "sh", "-c",
       "echo $WINDOWID > '" + wid + ".tmp' && mv '" + wid + ".tmp' '" + wid +
           "' && printf 'kvr: English, then Ctrl+Space and zhong\\n' && exec cat > /dev/null"},
      {{"LC_ALL", "zh_CN.UTF-8"}, {"LANG", "zh_CN.UTF-8"}, {"XMODIFIERS", "@im=" + kvr.Name()}},
      log));
  std::string id;
  for (int i = 0; i < 500 && (id = kvrtest::ReadFileText(wid)).empty(); ++i) Sleep(20);
  ASSERT_FALSE(id.empty()) << kvrtest::ReadFileText(log);
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_TRUE(dpy);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  Sleep(300);
  kvrtest::FocusWindow(dpy, static_cast<Window>(std::stoul(id)));
  // Some English first: the echo moves xterm's cursor, and xterm reports
  // its spot after the focus change.
  kvrtest::XTestType(dpy, "pinyin ");
  XSync(dpy, False);
  Sleep(400);
  // A real Ctrl+Space is the trigger key: it starts the forwarding and
  // switches to Chinese input at once.
  kvrtest::XTestTap(dpy, XK_space, ControlMask);
  XSync(dpy, False);
  Sleep(400);
  for (const char* k = "zhong"; *k; ++k) {
    kvrtest::XTestTap(dpy, static_cast<KeySym>(*k));
    XSync(dpy, False);
    Sleep(30);
  }
  XSync(dpy, False);
  Sleep(1200);

  // The panes stand under xterm's cursor line, inside its width.
  const std::vector<Pane> panes = ShownPanes(dpy);
  XWindowAttributes term;
  ASSERT_TRUE(XGetWindowAttributes(dpy, static_cast<Window>(std::stoul(id)), &term));
  int candidates = 0;
  for (const Pane& p : panes) {
    if (p.r.x < 20 || p.r.x > 20 + term.width || p.r.y < 20 || p.r.y > 20 + term.height + 60)
      continue;
    const Pixels px = Grab(dpy, p.win, p.r.w, p.r.h);
    if (px.Count(kChoiceText) > 60) ++candidates;
  }
  EXPECT_EQ(candidates, 1) << Describe(panes);

  // The picture: the top-left part of the screen.
  EXPECT_EQ(SaveScreen(dpy, "xterm_panes", 640, 300), "");
  XCloseDisplay(dpy);
  xterm.Kill();
}
