// The bar's popup menu (menu 4 of the shipped Jux.rc) on the private Xvfb:
// its Chinese texts as the screen shows them, choosing by keys and by the
// pointer (XTest on a second connection), cancelling, placement, and the
// string-list form. The menu runs its own loop inside PopupMenu; the test
// drives it from the loop's idle work (DialogTestApp.h).
#include "tests/controls/DialogTestApp.h"

#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "controls/AMenu.h"
#include "controls/CtrlConsts.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "tests/framework/XPixels.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

// Command ids of the bar's menu.
constexpr int kIdInputModeToggle = 105;
constexpr int kIdCizu = 57754;
constexpr int kIdChnPunct = 57728;
constexpr int kIdSleep = 57767;
constexpr int kIdHelpNewWords = 57770;

// Submenus of menu 4 and rows of the main one.
constexpr int kMainMenu = 0, kHelpMenu = 2;
constexpr int kRowCizu = 2, kRowFullWidth = 4, kRowChnPunct = 5, kRowNewWords = 4;

// The window that owns the menu: records the commands it is sent.
class Owner : public AWnd {
 public:
  Owner() {
    m_hWnd = CreateWin(0, 0, CRect(20, 20, 120, 60), 0, nullptr, this, 1, nullptr);
    SetWinPos(m_hWnd, 20, 20, 0, 0, kSwpShow | kSwpKeepSize, kSwpRaise, 0);
  }
  ~Owner() override { DestroyWin(m_hWnd); }
  int Winproc(XEvent* event) override {
    if (WinMsgId(event) == WM_AFC_COMMAND) commands.push_back(WinMsgInt(event, 0));
    return 1;
  }
  // Lets the posted commands arrive.
  void Drain() {
    XSync(dsply, False);
    while (XPending(dsply)) {
      XEvent ev;
      XNextEvent(dsply, &ev);
      if (AWnd* wnd = AfcFindWnd(ev.xany.window)) wnd->ProcessEv(&ev);
    }
  }
  std::vector<int> commands;
};

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(app.user, nullptr);
    ASSERT_EQ(DialogEnv::fontsOk, 1) << "the font directory is not on the font path?";
    app.steps.clear();
    app.watchdogFired = false;
    ASSERT_EQ(bar.GetResMenu(4, -1), 1);
    owner.Drain();
  }
  void TearDown() override {
    EXPECT_FALSE(app.watchdogFired) << "the menu outlived its script";
    EXPECT_EQ(gbMnuUp, 0);
  }

  // Submenu n of the bar's menu, as the bar gets it.
  AMenu* Sub(int n) {
    subs.emplace_back(bar.GetNthSubMenu(n));
    EXPECT_NE(subs.back(), nullptr);
    return subs.back().get();
  }
  // Pops the menu up at (x, y) for the owner; returns the result byte and
  // leaves the commands the owner received in commands().
  int Popup(AMenu& menu, int x = 200, int y = 150) {
    const int result = menu.PopupMenu(x, y, owner.m_hWnd, 0);
    owner.Drain();
    return result;
  }
  const std::vector<int>& commands() const { return owner.commands; }

  DialogTestApp& app = TheApp();
  Owner owner;
  AMenu bar;
  std::vector<std::unique_ptr<AMenu>> subs;
};

// Top of row i's text and the middle of its pointer band, in the window.
int RowTextY(const AMenu& m, int i) { return i == 0 ? 7 : m.m_arrRowBottoms[i - 1] - 2; }
int RowMidY(const AMenu& m, int i) {
  const int top = i == 0 ? 0 : m.m_arrRowBottoms[i - 1];
  return (top + m.m_arrRowBottoms[i]) / 2;
}

unsigned long Pixel(unsigned long rgb) {
  unsigned long px = 0;
  GetClosestSysClr(rgb, &px);
  return px;
}

// The pixels of (x, y, w, h) of the menu window that have the colour, as a
// mask.
std::vector<bool> InkOf(const AMenu& m, int x, int y, int w, int h, unsigned long rgb) {
  std::vector<bool> ink;
  XImage* img = XGetImage(dsply, m.m_hWnd, x, y, w, h, AllPlanes, ZPixmap);
  EXPECT_NE(img, nullptr);
  if (!img) return ink;
  const unsigned long want = Pixel(rgb);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) ink.push_back(XGetPixel(img, i, j) == want);
  XDestroyImage(img);
  return ink;
}

// The GBK characters of text (two bytes each) drawn as ChBmpStrOut lays
// them out: each starts where the previous one's extent ends.
std::vector<int> CharXs(const char* gbk) {
  std::vector<int> xs;
  int x = 0;
  for (const char* p = gbk; p[0] && p[1]; p += 2) {
    xs.push_back(x);
    x += GetTextExtent(diplayUIFont.m_fontSet, p, 2).cx;
  }
  return xs;
}

// Whether the shown menu has been painted: a resource menu's grey face, a
// string list's sunken frame (its face is as white as an unpainted window).
bool Painted(const AMenu& m) {
  if (!m.m_hWnd) return false;
  XImage* img = XGetImage(dsply, m.m_hWnd, 0, 0, m.m_size.cx, m.m_size.cy, AllPlanes, ZPixmap);
  if (!img) return false;
  const bool painted = m.m_bStrList
                           ? XGetPixel(img, 1, 1) == gpxlDark
                           : XGetPixel(img, m.m_size.cx - 4, m.m_size.cy / 2) == Pixel(0xC7C7C7);
  XDestroyImage(img);
  return painted;
}

struct DrawnRow {
  int sub, row;
  const char* gbk;                 // what the row must show
  std::vector<std::string> utf8;   // the same characters
  std::vector<std::string> wrong;  // other characters
};

TEST_F(MenuTest, ChineseRowTextsAreReallyDrawn) {
  const DrawnRow rows[] = {{kMainMenu,
                            kRowCizu,
                            "\xD7\xE9\xB4\xCA",
                            {"\xE7\xBB\x84", "\xE8\xAF\x8D"},   // 组词
                            {"\xE8\xAF\x8D", "\xE7\xBB\x84"}},  // 词组
                           {kHelpMenu,
                            2,
                            "\xCB\xB5\xC3\xF7",
                            {"\xE8\xAF\xB4", "\xE6\x98\x8E"},  // 说明
                            {"\xE6\x98\x8E", "\xE8\xAF\xB4"}}};
  for (const DrawnRow& r : rows) {
    SCOPED_TRACE(r.gbk);
    AMenu* menu = Sub(r.sub);
    app.ThenWhen([&] { return Painted(*menu) && menu->m_nCurRow == 0; },
                 [&] {
                   const AMenu& m = *menu;
                   EXPECT_STREQ(m.m_arrTexts[r.row], r.gbk);
                   const int w = 3 * m.m_nFontH, h = m.m_nFontH + 4;
                   const std::vector<bool> shown =
                       InkOf(m, m.m_nTextX, RowTextY(m, r.row), w, h, 0x0000FF);
                   const std::vector<int> xs = CharXs(r.gbk);
                   const int baseline = diplayUIFont.m_nAscent;
                   EXPECT_GT(CountInk(shown), 40);
                   EXPECT_EQ(shown, UnicodeInk(r.utf8, xs, baseline, 20, w, h));
                   EXPECT_NE(shown, UnicodeInk(r.wrong, xs, baseline, 20, w, h));
                   app.Key(XK_Escape);
                 });
    EXPECT_EQ(Popup(*menu), kMenuCancelled);
  }
}

TEST_F(MenuTest, LayoutHighlightAndAccelerators) {
  AMenu* menu = Sub(kMainMenu);
  menu->SetItemCheckByIndex(kRowChnPunct, 1);
  app.ThenWhen(
      [&] { return Painted(*menu) && menu->m_nCurRow == 0; },
      [&] {
        const AMenu& m = *menu;
        // Every text fits before the accelerator column, every accelerator
        // inside the window.
        for (int i = 0; i < m.m_arrTexts.GetSize(); ++i) {
          SCOPED_TRACE(i);
          const int textW = ChnBmpStrExtent(m.m_arrTexts[i], 0, 16, 16, 0).cx;
          const int accelW = ChnBmpStrExtent(m.m_arrAccelTexts[i], 0, 16, 16, 0).cx;
          EXPECT_LE(m.m_nTextX + textW, m.m_nAccelX);
          EXPECT_LE(m.m_nAccelX + accelW, m.m_size.cx);
        }
        EXPECT_STREQ(m.m_arrAccelTexts[kRowFullWidth], "RAlt+B");
        // The pointer landed on row 0: white text on the blue band.
        EXPECT_EQ(m.m_nCurRow, 0);
        EXPECT_EQ(CountInk(InkOf(m, 8, 8, 4, 4, 0x0000FF)), 16);
        EXPECT_GT(CountInk(InkOf(m, m.m_nTextX, 7, 2 * m.m_nFontH, m.m_nFontH, 0xFFFFFF)), 20);
        // Row 4's accelerator is drawn in its column.
        EXPECT_GT(CountInk(InkOf(m, m.m_nAccelX, RowTextY(m, kRowFullWidth), 2 * m.m_nFontH,
                                 m.m_nFontH, 0x0000FF)),
                  10);
        // A check mark left of the checked row only.
        const int y = RowTextY(m, kRowChnPunct);
        EXPECT_GT(CountInk(InkOf(m, 0, y, m.m_nTextX, m.m_nRowH - 4, 0x383CFF)), 5);
        EXPECT_EQ(
            CountInk(InkOf(m, 0, RowTextY(m, kRowFullWidth), m.m_nTextX, m.m_nRowH - 4, 0x383CFF)),
            0);
        app.Key(XK_Escape);
      });
  EXPECT_EQ(Popup(*menu), kMenuCancelled);
  menu->SetItemCheckByIndex(kRowChnPunct, 0);
}

struct KeyPick {
  const char* what;
  std::vector<KeySym> keys;
  int want;
};

TEST_F(MenuTest, KeysPickACommand) {
  const KeyPick picks[] = {{"down twice", {XK_Down, XK_Down, XK_Return}, kIdCizu},
                           {"over the separator and the disabled row",
                            {XK_Down, XK_Down, XK_Down, XK_space},
                            kIdChnPunct},
                           {"up wraps to the last row", {XK_Up, XK_Return}, kIdSleep},
                           {"end then home", {XK_End, XK_Home, XK_Return}, kIdInputModeToggle}};
  for (const KeyPick& p : picks) {
    SCOPED_TRACE(p.what);
    owner.commands.clear();
    AMenu* menu = Sub(kMainMenu);
    menu->EnableItemByIndex(kRowFullWidth, 0);
    for (KeySym k : p.keys) app.Then([&, k] { app.Key(k); });
    EXPECT_EQ(Popup(*menu), kMenuChosen);
    EXPECT_EQ(commands(), std::vector<int>{p.want});
    menu->EnableItemByIndex(kRowFullWidth, 1);
  }
}

TEST_F(MenuTest, PointerPicksACommand) {
  AMenu* menu = Sub(kHelpMenu);
  app.Then([&] { app.MoveTo(menu->m_rect.left + 20, menu->m_rect.top + RowMidY(*menu, 1)); });
  app.Then([&] {
    EXPECT_EQ(menu->m_nCurRow, 1);
    app.ClickAt(menu->m_hWnd, 20, RowMidY(*menu, kRowNewWords));
  });
  EXPECT_EQ(Popup(*menu), kMenuChosen);
  EXPECT_EQ(commands(), std::vector<int>{kIdHelpNewWords});
}

TEST_F(MenuTest, AReleaseBeyondTheMenuFiresNothing) {
  AMenu* menu = Sub(kHelpMenu);
  app.Then([&] { app.PressAt(menu->m_hWnd, 20, RowMidY(*menu, kRowNewWords)); });
  app.Then([&] {
    EXPECT_EQ(menu->m_nCurRow, kRowNewWords);
    app.MoveTo(menu->m_rect.right + 30, menu->m_rect.top + RowMidY(*menu, kRowNewWords));
  });
  app.Then([&] {
    EXPECT_EQ(menu->m_nCurRow, -1);
    app.Release();
  });
  app.Then([&] {
    EXPECT_EQ(menu->GetMenuResult(), kMenuRunning);
    app.Key(XK_Return);  // no current row: nothing
  });
  app.Then([&] {
    EXPECT_EQ(menu->GetMenuResult(), kMenuRunning);
    app.Key(XK_Escape);
  });
  EXPECT_EQ(Popup(*menu), kMenuCancelled);
  EXPECT_TRUE(commands().empty());
}

TEST_F(MenuTest, CancelledByEscapeAPressElsewhereOrTheLossOfFocus) {
  struct Cancel {
    const char* what;
    std::function<void()> act;
  } const cancels[] = {
      {"escape", [&] { app.Key(XK_Escape); }},
      {"press on another window of the program", [&] { app.ClickAt(owner.m_hWnd, 5, 5); }},
      {"focus taken away", [&] {
         XSetInputFocus(app.user, owner.m_hWnd, RevertToParent, CurrentTime);
         XSync(app.user, False);
       }}};
  for (const Cancel& c : cancels) {
    SCOPED_TRACE(c.what);
    owner.commands.clear();
    AMenu* menu = Sub(kMainMenu);
    app.Then([&] {
      EXPECT_EQ(gbMnuUp, 1);
      c.act();
    });
    EXPECT_EQ(Popup(*menu), kMenuCancelled);
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(menu->m_hWnd, 0UL);
  }
}

TEST_F(MenuTest, StaysOnTheScreenAndGivesTheFocusBack) {
  XSetInputFocus(dsply, owner.m_hWnd, RevertToParent, CurrentTime);
  XSync(dsply, False);
  CRect screen;
  GetWindowsWorkArea(&screen);
  AMenu* menu = Sub(kMainMenu);
  app.Then([&] {
    CRect rc;
    ASSERT_TRUE(GetWinRect(menu->m_hWnd, &rc));
    EXPECT_EQ(rc.right, screen.right);
    EXPECT_EQ(rc.bottom, screen.bottom);
    EXPECT_EQ(GetFocusWin(), menu->m_hWnd);
    POINT pt;
    ASSERT_TRUE(GetPointerPos(&pt));
    EXPECT_EQ(pt.x, rc.left + 3);
    EXPECT_EQ(pt.y, rc.top + 3);
    app.Key(XK_Escape);
  });
  EXPECT_EQ(Popup(*menu, screen.right - 10, screen.bottom - 10), kMenuCancelled);
  EXPECT_EQ(GetFocusWin(), owner.m_hWnd);
}

TEST_F(MenuTest, AStringListEndsWithTheChosenRowAndPostsNothing) {
  AMenu list;
  list.m_bStrList = 1;
  for (const char* t : {"\xD2\xBB", "\xB6\xFE", "\xC8\xFD"}) list.AddItem(t);  // 一 二 三
  list.m_nMinWidth = 150;
  list.m_nCurRow = 0;
  POINT before;
  ASSERT_TRUE(GetPointerPos(&before));
  app.ThenWhen([&] { return Painted(list); },
               [&] {
                 POINT now;
                 ASSERT_TRUE(GetPointerPos(&now));
                 EXPECT_EQ(now.x, before.x);  // no warp
                 EXPECT_EQ(now.y, before.y);
                 EXPECT_EQ(list.m_size.cx, 150);
                 // A white face inside a sunken frame.
                 EXPECT_EQ(CountInk(InkOf(list, 140, list.m_size.cy - 6, 4, 3, 0xFFFFFF)), 12);
                 app.Key(XK_Down);
               });
  app.Then([&] { app.Key(XK_Return); });
  EXPECT_EQ(Popup(list), kMenuChosen);
  EXPECT_EQ(list.m_nCurRow, 1);
  EXPECT_TRUE(commands().empty());
  // The current row survives for the next showing.
  app.Then([&] { app.Key(XK_Escape); });
  EXPECT_EQ(Popup(list), kMenuCancelled);
  EXPECT_EQ(list.m_nCurRow, 1);
}

}  // namespace
