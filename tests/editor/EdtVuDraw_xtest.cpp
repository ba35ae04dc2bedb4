// The editor view drawing on the private Xvfb through a small test host
// (the five host operations over a framework window): the selection of GBK
// text in white on black, the all-selected style of a focused drop-list,
// a single-line document showing row 0 only, the end-of-row cell of an
// empty document, a lone CR and a lead byte carried to the next row. Each
// case saves a picture to <build>/screenshots/.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>

#include <clocale>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "tests/support/Screenshot.h"

namespace {

class EdtTestApp : public CWinApp {};
EdtTestApp theApp;

class XEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    AfcKnrlInit();
    std::setlocale(LC_CTYPE, "C");
    fontsOk = CreateUIFonts(0, nullptr, nullptr);
  }
  static inline int fontsOk = 0;
};
auto* const kEnv = ::testing::AddGlobalTestEnvironment(new XEnv);

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kUnder = 0x808080;

int IgnoreEvents(XEvent*) { return 0; }

// The host: a framework window, a GC per request, the view rectangle 6
// pixels inside the window and the text one pixel inside it, as the edit
// control has them.
class XEdtHost : public AEdtVu {
 public:
  // At (x, y) of the root: hosts compared side by side must not overlap.
  XEdtHost(int w, int h, int x = 20, int y = 20) : m_w(w), m_h(h) {
    m_win = CreateWin(0, 0, CRect(x, y, x + w, y + h), 0, IgnoreEvents, nullptr, 1, nullptr);
    WinMove(m_win, x, y, w, h);
    SetWin(m_win);
    m_font = diplayUIFont;
    m_ptTextOrigin = CPoint(1, 1);
    OnCreate();
    CRect bars[2] = {CRect(0, h - 16, w - 16, h), CRect(w - 16, 0, w, h - 16)};
    InitScrollers(bars, nullptr, nullptr);
    SetDocument(&m_doc);
    OnInitialUpdate();
  }
  ~XEdtHost() override { DestroyWin(m_win); }

  GC edtvuGetGC() override { return GetGC(m_win); }
  void GetClipRc(CRect* rc) override { GetVuRect(rc); }
  int edtIsDsabled() override { return m_disabled; }
  void GetVuRect(CRect* rc) override { *rc = CRect(0, 0, m_w - 6, m_h - 6); }

  void SetText(std::string text) {
    m_doc.ClearAll();
    long row = 0;
    int col = 0, disp = 0;
    if (!text.empty())
      m_doc.InsertBytes(reinterpret_cast<unsigned char*>(text.data()), text.size(), row, col, disp);
    m_doc.MakeLineInfo(-1, 0);
    MySetScrollParams();
  }
  // As the hosts paint: the control's face, then the rows.
  kvrtest::Pixels Paint(int allSelected, const std::string& shot = "") {
    GC gc = GetGC(m_win);
    CRect all(0, 0, m_w, m_h);
    FillClrRect(m_win, gc, &all, kUnder);
    edtvuDraw(gc, allSelected);
    ReleaseGC(gc);
    XSync(dsply, False);
    if (!shot.empty()) {
      EXPECT_EQ(kvrtest::SaveWindowShot(dsply, m_win, shot, m_w, m_h), "");
    }
    return kvrtest::Grab(dsply, m_win, m_w, m_h);
  }
  // Pixel x in the window of byte column col of row.
  int X(int row, int col) {
    return m_ptTextOrigin.x +
           GetPixelXPosByPointXOrCharX(nullptr, row, col, 0, nullptr, nullptr, nullptr, nullptr);
  }
  int RowTop(int row) const { return m_ptTextOrigin.y + row * m_nRowHeight; }

  AEdtStor m_doc;
  int m_disabled = 0;

 private:
  int m_w, m_h;
  unsigned long m_win = 0;
};

class EdtVuDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XEnv::fontsOk) GTEST_SKIP() << "no GBK font set on this server";
  }
};

// ab, zhong, wen, cd.
const std::string kChn =
    "ab\xd6\xd0\xce\xc4"
    "cd";

TEST_F(EdtVuDraw, GbkSelectionIsWhiteOnBlack) {
  XEdtHost host(240, 60);
  host.SetText(kChn);
  host.m_ptSelAnchor = CPoint(2, 0);
  host.m_ptSelEnd = CPoint(6, 0);
  const kvrtest::Pixels p = host.Paint(0, "editor_gbk_selection");
  const int top = host.RowTop(0), bottom = top + host.m_nRowHeight;
  const int x2 = host.X(0, 2), x6 = host.X(0, 6), x8 = host.X(0, 8);
  ASSERT_GT(x6 - x2, 0);
  const int cells = (x6 - x2) * (bottom - top);
  const int black = p.Count(kBlack, x2, top, x6, bottom),
            white = p.Count(kWhite, x2, top, x6, bottom);
  EXPECT_EQ(black + white, cells);  // nothing but the two colours
  EXPECT_GT(black, cells / 2);      // a black cell...
  EXPECT_GT(white, 0);              // ...with white glyphs
  // The unselected text around it: black glyphs on white.
  for (auto [from, to] : {std::pair{host.X(0, 0), x2}, std::pair{x6, x8}}) {
    const int n = (to - from) * (bottom - top);
    const int w = p.Count(kWhite, from, top, to, bottom),
              b = p.Count(kBlack, from, top, to, bottom);
    EXPECT_EQ(w + b, n);
    EXPECT_GT(w, n / 2);
    EXPECT_GT(b, 0);
  }
}

TEST_F(EdtVuDraw, AllSelectedStyleCoversTheRowAndItsEndCell) {
  XEdtHost host(240, 60);
  host.SetText(kChn);
  const kvrtest::Pixels p = host.Paint(1, "editor_all_selected");
  const int top = host.RowTop(0), bottom = top + host.m_nRowHeight;
  const int from = host.X(0, 0), to = host.X(0, 8) + host.m_nSpaceWidth;
  const int n = (to - from) * (bottom - top);
  const int blue = p.Count(kEdtAllSelected, from, top, to, bottom);
  EXPECT_EQ(blue + p.Count(kWhite, from, top, to, bottom), n);
  EXPECT_GT(blue, n / 2);
  EXPECT_EQ(p.Count(kEdtAllSelected, to - host.m_nSpaceWidth, top, to, bottom),
            host.m_nSpaceWidth * host.m_nRowHeight);  // the end cell
}

// The cell after a row's text is selected only when a selection starts
// there: a caret at the row's end (no selection) leaves it white, or an
// unfocused field would show a black block like a cursor.
TEST_F(EdtVuDraw, RowEndCellIsSelectedOnlyBySelection) {
  struct Case {
    CPoint anchor, end;
    bool selected;
  };
  const Case cases[] = {
      {CPoint(8, 0), CPoint(8, 0), false},  // the caret at the end of "ab中文cd"
      {CPoint(2, 0), CPoint(2, 0), false},  // the caret inside the row
      {CPoint(8, 0), CPoint(0, 1), true},   // the row's break is selected
      {CPoint(0, 1), CPoint(8, 0), true},   // ... selected backwards
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.anchor.x << "," << c.anchor.y << " to " << c.end.x << "," << c.end.y);
    XEdtHost host(240, 60);
    host.SetText(kChn + "\r\nxy");
    host.m_ptSelAnchor = c.anchor;
    host.m_ptSelEnd = c.end;
    const kvrtest::Pixels p = host.Paint(0);
    const int top = host.RowTop(0), bottom = top + host.m_nRowHeight;
    const int from = host.X(0, 8), to = from + host.m_nSpaceWidth;
    ASSERT_GT(host.m_nSpaceWidth, 0);
    const int cells = (to - from) * (bottom - top);
    EXPECT_EQ(p.Count(c.selected ? kBlack : kWhite, from, top, to, bottom), cells);
  }
}

TEST_F(EdtVuDraw, SingleLineDocumentShowsRowZeroOnly) {
  XEdtHost host(240, 120);
  host.m_doc.m_bSingleLine = 1;
  host.SetText("first\r\nsecond\r\nthird");
  const kvrtest::Pixels p = host.Paint(0, "editor_single_line");
  const int top1 = host.RowTop(1);
  EXPECT_GT(p.Count(kWhite, 1, host.RowTop(0), 100, top1), 0);
  EXPECT_EQ(p.Count(kUnder, 1, top1, 100, top1 + 2 * host.m_nRowHeight),
            99 * 2 * host.m_nRowHeight);
}

TEST_F(EdtVuDraw, EmptyDocumentDrawsOnlyTheEndCell) {
  XEdtHost host(120, 60);
  host.SetText("");
  const kvrtest::Pixels p = host.Paint(0);
  ASSERT_GT(host.m_nSpaceWidth, 0);
  EXPECT_EQ(p.Count(kWhite), host.m_nSpaceWidth * host.m_nRowHeight);
  EXPECT_EQ(p.At(1, 1), kWhite);
}

TEST_F(EdtVuDraw, DisabledHostDrawsOnGrey) {
  XEdtHost host(120, 60);
  host.SetText("abc");
  host.m_disabled = 1;
  const kvrtest::Pixels p = host.Paint(0);
  EXPECT_EQ(p.Count(kWhite, 1, 1, host.X(0, 3), host.RowTop(1)), 0);
  EXPECT_GT(p.Count(kEdtBackDisabled, 1, 1, host.X(0, 3), host.RowTop(1)), 0);
}

TEST_F(EdtVuDraw, LoneCrDrawsNothingAndTheRowGoesOn) {
  XEdtHost plain(160, 60), withCr(160, 60, 300);
  plain.SetText("ab");
  withCr.SetText("a\rb");
  const kvrtest::Pixels want = plain.Paint(0);
  const kvrtest::Pixels got = withCr.Paint(0, "editor_lone_cr");
  EXPECT_GT(want.Count(kBlack), 0);
  EXPECT_EQ(got.px, want.px);
}

TEST_F(EdtVuDraw, LeadByteAtARowsEndIsDrawnWithTheNextRow) {
  // Row 0 ends in zhong's lead byte, row 1 starts with its trail byte.
  XEdtHost split(160, 80), whole(160, 80, 300);
  split.SetText(
      "x\xd6\r\n\xd0"
      "cd");
  whole.SetText(
      "x\r\n\xd6\xd0"
      "cd");
  const kvrtest::Pixels got = split.Paint(0, "editor_carried_lead_byte");
  const kvrtest::Pixels want = whole.Paint(0);
  const int top = split.RowTop(1), bottom = top + split.m_nRowHeight;
  ASSERT_GT(want.Count(kBlack, 1, top, 80, bottom), 0);
  for (int y = top; y < bottom; ++y)
    for (int x = 1; x < 80; ++x) ASSERT_EQ(got.At(x, y), want.At(x, y)) << x << "," << y;
}

}  // namespace
