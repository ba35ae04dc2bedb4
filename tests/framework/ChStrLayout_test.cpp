// The character walk of the text drawing, on a canvas that records: which
// set draws which bytes where, the cells, the Big5 conversion and its fix-up
// of 后 (after) against 后 (empress).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/internal/ChStrLayout.h"

namespace {

using afc::FontSetId;

// GBK bytes of the characters the cases use.
#define YI "\xD2\xD4"     // 以
#define HOU "\xBA\xF3"    // 后
#define HUANG "\xBB\xCA"  // 皇
#define TAI "\xCC\xAB"    // 太
#define MU "\xC4\xB8"     // 母
#define GONG "\xB9\xAC"   // 宫
#define LAI "\xC0\xB4"    // 来
#define ZHONG "\xD6\xD0"  // 中

// The engine's table for these characters (code order, lead byte high).
unsigned short FakeGbk2Big5(unsigned short gbk) {
  static const std::map<unsigned short, unsigned short> table = {
      {0xD2D4, 0xA548}, {0xBAF3, 0xA65A}, {0xBBCA, 0xACD3}, {0xCCAB, 0xA4D3},
      {0xC4B8, 0xA5C0}, {0xB9AC, 0xAE63}, {0xC0B4, 0xA8D3}, {0xD6D0, 0xA4A4},
  };
  auto it = table.find(gbk);
  return it == table.end() ? 0xA1BC : it->second;
}

// GBK cells are 10 x 20 per byte, Big5 cells 12 x 22; the GBK ascent is 16.
class RecordingCanvas : public afc::IChStrCanvas {
 public:
  CSize Extent(FontSetId set, const char* bytes, int n) override {
    measured.push_back(Tag(set, bytes, n));
    return set == FontSetId::kGbk ? CSize(10 * n, 20) : CSize(12 * n, 22);
  }
  void Draw(FontSetId set, int x, int y, const char* bytes, int n) override {
    char at[32];
    std::snprintf(at, sizeof at, "@%d,%d", x, y);
    drawn.push_back(Tag(set, bytes, n) + at);
  }
  int GbkAscent() override { return 16; }

  static std::string Tag(FontSetId set, const char* bytes, int n) {
    std::string t = set == FontSetId::kGbk ? "G:" : "B:";
    for (int i = 0; i < n; ++i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
      t += hex;
    }
    return t;
  }
  std::vector<std::string> drawn, measured;
};

afc::ChStrStyle Style(int lang, int mode, int textIsGbk = 1, bool installer = false) {
  afc::ChStrStyle s;
  s.lang = lang;
  s.mode = mode;
  s.textIsGbk = textIsGbk;
  s.installer = installer;
  s.gbk2Big5 = &FakeGbk2Big5;
  return s;
}

// The Big5 codes drawn for text in a traditional window.
std::vector<std::string> Big5Drawn(const char* text) {
  RecordingCanvas canvas;
  afc::LayOutChStr(canvas, Style(kUILangBig5, kChStrAuto), 0, 0, text, 8, 8, nullptr, 0);
  std::vector<std::string> codes;
  for (const std::string& d : canvas.drawn) codes.push_back(d.substr(0, d.find('@')));
  return codes;
}

TEST(ChStrLayout, HouFixUpTable) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"以后: after", YI HOU, {"B:A548", "B:ABE1"}},
      {"皇后: empress", HUANG HOU, {"B:ACD3", "B:A65A"}},
      {"母后: empress", MU HOU, {"B:A5C0", "B:A65A"}},
      {"皇太后: empress dowager", HUANG TAI HOU, {"B:ACD3", "B:A4D3", "B:A65A"}},
      {"后宫: the palace", HOU GONG, {"B:A65A", "B:AE63"}},
      {"lone 后 stays", HOU, {"B:A65A"}},
      {"后来: Chinese follows", HOU LAI, {"B:ABE1", "B:A8D3"}},
      {"后 then ASCII stays", HOU "a", {"B:A65A", "G:61"}},
      {"以后宫: the palace wins", YI HOU GONG, {"B:A548", "B:A65A", "B:AE63"}},
      {"皇 far before 后", HUANG "ab" HOU, {"B:ACD3", "G:61", "G:62", "B:A65A"}},
      {"ASCII between 以 and 后", YI "a" HOU, {"B:A548", "G:61", "B:A65A"}},
      {"以后以后", YI HOU YI HOU, {"B:A548", "B:ABE1", "B:A548", "B:ABE1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Big5Drawn(c.text), c.want);
  }
}

TEST(ChStrLayout, EnglishWindowDrawsAsciiWithTheGbkSet) {
  RecordingCanvas canvas;
  CSize total =
      afc::LayOutChStr(canvas, Style(kUILangEnglish, kChStrAuto), 5, 7, "ab", 8, 9, nullptr, 0);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{"G:61@5,23", "G:62@17,23"}));
  // Cells are measured with the set step 3.4 picks: Big5 outside a GBK window.
  EXPECT_EQ(canvas.measured, (std::vector<std::string>{"B:61", "B:62"}));
  EXPECT_EQ(total, CSize(24, 44));
}

TEST(ChStrLayout, EnglishWindowWithChineseSwitchesToGbkForTheWholeString) {
  RecordingCanvas canvas;
  afc::LayOutChStr(canvas, Style(kUILangEnglish, kChStrAuto), 0, 0, "a" ZHONG, 8, 9, nullptr, 0);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{"G:61@0,16", "G:D6D0@10,16"}));
  EXPECT_EQ(canvas.measured, (std::vector<std::string>{"G:61", "G:D6D0"}));
}

TEST(ChStrLayout, ModesPickSetsAndConversion) {
  struct Case {
    const char* name;
    int lang, mode, textIsGbk;
    bool installer;
    const char* text;
    std::vector<std::string> drawn;
  };
  const Case cases[] = {
      {"GBK window", kUILangGbk, kChStrAuto, 1, false, ZHONG, {"G:D6D0"}},
      {"traditional window converts", kUILangBig5, kChStrAuto, 1, false, ZHONG, {"B:A4A4"}},
      {"traditional window, Big5 text as is",
       kUILangBig5,
       kChStrAuto,
       0,
       false,
       "\xA4\xA4",
       {"B:A4A4"}},
      {"mode 2 in a traditional window", kUILangBig5, kChStrGbk, 1, false, ZHONG, {"G:D6D0"}},
      {"mode 3 in a GBK window", kUILangGbk, kChStrBig5, 1, false, ZHONG, {"B:A4A4"}},
      {"mode 3, text already Big5", kUILangGbk, kChStrBig5, 0, false, "\xA4\xA4", {"B:A4A4"}},
      {"mode 1 leaves double bytes out",
       kUILangGbk,
       kChStrNoDouble,
       1,
       false,
       "a" ZHONG "b",
       {"G:61", "G:62"}},
      {"unregistered window: Big5 set, no conversion", -1, kChStrAuto, 1, false, ZHONG, {"B:D6D0"}},
      {"installer draws all with GBK", kUILangBig5, kChStrAuto, 1, true, ZHONG, {"G:D6D0"}},
      {"installer, mode 3", kUILangGbk, kChStrBig5, 1, true, ZHONG "a", {"G:D6D0", "G:61"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas;
    afc::LayOutChStr(canvas, Style(c.lang, c.mode, c.textIsGbk, c.installer), 0, 0, c.text, 8, 9,
                     nullptr, 0);
    std::vector<std::string> codes;
    for (const std::string& d : canvas.drawn) codes.push_back(d.substr(0, d.find('@')));
    EXPECT_EQ(codes, c.drawn);
  }
}

TEST(ChStrLayout, InstallerMeasuresWithTheChosenSet) {
  RecordingCanvas canvas;
  afc::LayOutChStr(canvas, Style(kUILangBig5, kChStrAuto, 1, true), 0, 0, ZHONG, 8, 9, nullptr, 0);
  EXPECT_EQ(canvas.measured, (std::vector<std::string>{"B:D6D0"}));
}

TEST(ChStrLayout, TabAndBlankCellsTakeTheGivenCell) {
  RecordingCanvas canvas;
  CSize total = afc::LayOutChStr(canvas, Style(kUILangGbk, kChStrNoDouble), 0, 0, "\t" ZHONG "a",
                                 30, 40, nullptr, 0);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{"G:61@60,16"}));
  EXPECT_EQ(total, CSize(30 + 30 + 10, 40 + 40 + 20));
}

TEST(ChStrLayout, ClipWrapsOrStops) {
  // GBK window, Chinese cells 20 wide; the clip's right edge is 50 and the
  // text starts at x 40: the character at 60 is still drawn, then the next
  // one starts at 40 again, 1.5 cell heights lower.
  const CRect clip(0, 0, 50, 100);
  RecordingCanvas wrap;
  CSize total = afc::LayOutChStr(wrap, Style(kUILangGbk, kChStrAuto), 40, 0, ZHONG ZHONG ZHONG, 8,
                                 30, &clip, 0);
  EXPECT_EQ(wrap.drawn, (std::vector<std::string>{"G:D6D0@40,16", "G:D6D0@60,16", "G:D6D0@40,61"}));
  EXPECT_EQ(total, CSize(60, 60));

  RecordingCanvas stop;
  total = afc::LayOutChStr(stop, Style(kUILangGbk, kChStrAuto), 40, 0, ZHONG ZHONG ZHONG, 8, 30,
                           &clip, 1);
  EXPECT_EQ(stop.drawn, (std::vector<std::string>{"G:D6D0@40,16", "G:D6D0@60,16"}));
  EXPECT_EQ(total, CSize(40, 40));
}

TEST(ChStrLayout, LeadByteAtTheEndIsOneByte) {
  RecordingCanvas canvas;
  afc::LayOutChStr(canvas, Style(kUILangGbk, kChStrAuto), 0, 0, "a\xD6", 8, 9, nullptr, 0);
  EXPECT_EQ(canvas.drawn, (std::vector<std::string>{"G:61@0,16", "G:D6@10,16"}));
}

TEST(ChStrLayout, NullTextDrawsNothing) {
  RecordingCanvas canvas;
  EXPECT_EQ(afc::LayOutChStr(canvas, Style(0, 0), 0, 0, nullptr, 8, 9, nullptr, 0), CSize(0, 0));
  EXPECT_TRUE(canvas.drawn.empty());
}

TEST(ChStrLayout, MeasureTable) {
  struct Case {
    const char* text;
    int uiLang;
    CSize want;
    std::vector<std::string> measured;
  };
  const Case cases[] = {
      {"", kUILangGbk, CSize(0, 16), {}},
      {"ab", kUILangGbk, CSize(20, 20), {"G:61", "G:62"}},
      {"a" ZHONG, kUILangBig5, CSize(12 + 24, 22), {"B:61", "B:D6D0"}},
      {"\t\t", kUILangGbk, CSize(14, 16), {}},
      {"\xD6", kUILangGbk, CSize(10, 20), {"G:D6"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    RecordingCanvas canvas;
    EXPECT_EQ(afc::MeasureChStr(canvas, c.text, 7, 16, c.uiLang), c.want);
    EXPECT_EQ(canvas.measured, c.measured);
  }
}

}  // namespace
