// What the input panes hold and how large they are: the keys pane with its
// tone mark, stroke cells, insert mark and phrase parts; the candidate pane
// in one line, in rows and in parallel rows; the forecast pane. Texts are
// measured by a fixed-width stand-in: 8 pixels a byte, 16 high.
#include <gtest/gtest.h>

#include <initializer_list>

#include "frontend/internal/PaneLayout.h"

using namespace panes;

namespace {

struct FixedMeasure : ITextMeasure {
  int height = 16;
  CSize UiText(const char* text, int nBytes) override {
    return nBytes > 0 && text ? CSize(8 * nBytes, height) : CSize(0, 0);
  }
  CSize BmpText(const char* text) override {
    return CSize(8 * static_cast<int>(CString(text).GetLength()), height);
  }
};

void Fill(CStringArray& col, std::initializer_list<const char*> items) {
  col.RemoveAll();
  for (const char* s : items) col.Add(CString(s));
}

}  // namespace

TEST(PaneLayout, ToneKeyIsACharacter) {
  // GetPingZeMa hands over the key character; the number 1 is no tone.
  EXPECT_EQ(ToneDigit('1'), 1);
  EXPECT_EQ(ToneDigit('5'), 5);
  EXPECT_EQ(ToneDigit(1), 0);
  EXPECT_EQ(ToneDigit('6'), 0);
  EXPECT_EQ(ToneDigit(0), 0);
}

TEST(PaneLayout, KeysPane) {
  struct Case {
    const char* what;
    const char* keys;
    int insertPt;
    bool pinyin;
    char tone;
    int lettersLen, strokes;
    // want
    const char* text;
    int toneDigit, keysW, keysH, xInsert, insertPtAfter, windowW;
  } const cases[] = {
      {"letters, insert point at the end", "zhong", 5, true, 0, 5, 0, "zhong", 0, 44, 27, 38, 5,
       52},
      // The tone widens the pane by the keys height + 2; the insert mark
      // stands after the tone mark.
      {"letters and tone 1", "zhong1", 6, true, '1', 5, 0, "zhong1", 1, 73, 27, 72, 6, 81},
      {"insert point inside the letters", "zhong1", 2, true, '1', 5, 0, "zhong1", 1, 73, 27, 14, 2,
       81},
      // Three strokes: 3 x 7 + 3 wider.
      {"three strokes", "zhong-=[", 8, true, 0, 5, 3, "zhong-=[", 0, 68, 27, 62, 8, 76},
      {"tone and strokes", "zhong1-=", 8, true, '1', 5, 2, "zhong1-=", 1, 90, 27, 89, 8, 98},
      // An insert point past the text is cut to it.
      {"insert point past the text", "zhong-", 20, true, 0, 5, 1, "zhong-", 0, 54, 27, 48, 6, 62},
      {"negative insert point", "zhong", -5, true, 0, 5, 0, "zhong", 0, 44, 27, -2, -5, 52},
      {"one key shows no tone", "a", 1, true, '1', 1, 0, "a", 0, 12, 27, 6, 1, 20},
      {"shape code is upper case", "abc", 3, false, '1', 3, 0, "ABC", 0, 28, 27, 22, 3, 36},
      // More strokes than keys (hostile counts) are cut to the text.
      {"stroke count past the text", "ab", 2, true, 0, 0, 10, "ab", 0, 4 + 14 + 3, 27, 14 + 3 - 2,
       2, 29},
  };
  FixedMeasure m;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeysInputs in;
    in.keys = c.keys;
    in.insertPt = c.insertPt;
    in.pinyin = c.pinyin;
    in.toneKey = c.tone;
    in.lettersLen = c.lettersLen;
    in.strokes = c.strokes;
    const KeysLayout k = LayOutKeysPane(in, m);
    EXPECT_STREQ(k.text, c.text);
    EXPECT_EQ(k.tone, c.toneDigit);
    EXPECT_EQ(k.keys.cx, c.keysW);
    EXPECT_EQ(k.keys.cy, c.keysH);
    EXPECT_EQ(k.xInsertPt, c.xInsert);
    EXPECT_EQ(k.insertPt, c.insertPtAfter);
    EXPECT_EQ(k.window.cx, c.windowW);
    EXPECT_EQ(k.window.cy, 27);
  }
}

TEST(PaneLayout, KeysPaneTextHeightHasAFloor) {
  FixedMeasure m;
  m.height = 9;  // 9 x 4 / 3 = 12, below 18
  KeysInputs in;
  in.keys = "ab";
  in.pinyin = true;
  in.lettersLen = 2;
  const KeysLayout k = LayOutKeysPane(in, m);
  EXPECT_EQ(k.keys.cy, 18 + 6);
}

TEST(PaneLayout, ShuangPinWildcardShowsAsUnderscore) {
  FixedMeasure m;
  KeysInputs in;
  in.keys = "a?b";
  in.pinyin = true;
  in.shuangPin = true;
  in.lettersLen = 3;
  EXPECT_STREQ(LayOutKeysPane(in, m).text, "a_b");
}

TEST(PaneLayout, KeysPaneWhileBuildingAPhrase) {
  FixedMeasure m;
  KeysInputs in;
  in.pinyin = true;
  in.zuCi = true;
  in.zuCiMatched = "\xd6\xd0\xb9\xfa";  // two characters, 32 pixels
  in.zuCiUnused = "hua";
  // No keys left: the height of "A", the chosen characters before the
  // insert mark, the unused keys after it.
  const KeysLayout k = LayOutKeysPane(in, m);
  EXPECT_EQ(k.keys.cx, 4);
  EXPECT_EQ(k.keys.cy, 27);
  EXPECT_EQ(k.xPrefix, 34);
  EXPECT_EQ(k.xPostfix, 32);
  EXPECT_EQ(k.xInsertPt, 32);
  EXPECT_EQ(k.window.cx, 4 + 34 + 32 + 8);

  in.zuCiMatched.Empty();
  in.zuCiUnused.Empty();
  const KeysLayout none = LayOutKeysPane(in, m);
  EXPECT_EQ(none.xPrefix, 0);
  EXPECT_EQ(none.xPostfix, 0);
}

TEST(PaneLayout, OneLineCandidatePane) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  ChoiceInputs in;
  in.text = "< >ab 2 cd";
  in.columns = cols;
  const ChoiceLayout L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.rows, 1);
  EXPECT_EQ(L.size.cx, 80 + 16);
  EXPECT_EQ(L.size.cy, 22);
  // A text lower than 22 pixels makes a pane 22 high.
  m.height = 10;
  EXPECT_EQ(LayOutChoicePane(in, m).size.cy, 22);
}

TEST(PaneLayout, MultiRowCandidatePane) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  Fill(cols[0], {" 1 ", " 2 ", " 3 "});
  Fill(cols[1], {"ab", "cd", "ef"});
  Fill(cols[2], {"gh", "ij", "kl"});
  Fill(cols[3], {"mn"});
  ChoiceInputs in;
  in.text = " 1 ab 2 cd 3 ef";
  in.columns = cols;
  in.extra = 2;
  in.multiRow = true;
  const ChoiceLayout L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.rows, 3);
  EXPECT_EQ(L.colLimit[0], 40);
  EXPECT_EQ(L.colLimit[3], 32);
  EXPECT_EQ(L.rowLimit[0], 40);
  EXPECT_EQ(L.rowLimit[3], 0);
  EXPECT_EQ(L.widths[0].size(), 3u);
  EXPECT_EQ(L.widths[2].size(), 1u);
  // 40 + 2 + 2 x 20 + 3 x (40 + 4); three lines of 22 + 5, + 4.
  EXPECT_EQ(L.size.cx, 214);
  EXPECT_EQ(L.size.cy, 85);

  // Without extra columns the one line keeps its size.
  in.extra = 0;
  const ChoiceLayout one = LayOutChoicePane(in, m);
  EXPECT_EQ(one.size.cx, 8 * 15 + 16);
  EXPECT_EQ(one.size.cy, 22);
}

TEST(PaneLayout, ParallelCandidatePanes) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  Fill(cols[0], {" 1 ", " 2 "});
  Fill(cols[1], {"ab", "cdef"});
  ChoiceInputs in;
  in.columns = cols;
  in.parallel = true;
  ChoiceLayout L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.rows, 2);
  EXPECT_EQ(L.size.cx, 11 + 40 + 48);
  EXPECT_EQ(L.size.cy, 54);
  std::vector<CRect> rows = ParallelRowRects(L, cols, 100, 200, 54, 0, false);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], CRect(100, 200, 100 + 40 + 32 + 13, 227));
  EXPECT_EQ(rows[1], CRect(100, 227, 100 + 40 + 48 + 13, 254));
  // Stacked upwards (the keys pane jumped above the caret).
  rows = ParallelRowRects(L, cols, 100, 200, 54, 0, true);
  EXPECT_EQ(rows[0].top, 227);
  EXPECT_EQ(rows[1].top, 200);
  // Height 0: the rows keep pane 0's height.
  rows = ParallelRowRects(L, cols, 100, 200, 0, 30, false);
  EXPECT_EQ(rows[1].top, 230);

  // An extra column of one item: its last row takes its own width.
  Fill(cols[2], {"gh"});
  in.extra = 1;
  L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.size.cx, 11 + 40 + 48 + 32 + 4);
  rows = ParallelRowRects(L, cols, 0, 0, 54, 0, false);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Width(), 40 + 48 + 32 + 4 + 13);
  EXPECT_EQ(rows[1].Width(), 40 + 48 + 13);
}

TEST(PaneLayout, ParallelPanesLeftAloneWithoutRowsOrWidths) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  ChoiceLayout L;
  EXPECT_TRUE(ParallelRowRects(L, cols, 0, 0, 54, 0, false).empty());
  Fill(cols[0], {" 1 ", " 2 "});
  L.widths[0] = {32};
  EXPECT_TRUE(ParallelRowRects(L, cols, 0, 0, 54, 0, false).empty());
}

// The engine's data may ask for more than there are panes and columns.
TEST(PaneLayout, RowsAndColumnsAreClamped) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  for (int i = 0; i < 14; ++i) {
    cols[0].Add(CString(" 1 "));
    cols[1].Add(CString("ab"));
    cols[2].Add(CString("cd"));
    cols[3].Add(CString("ef"));
  }
  ChoiceInputs in;
  in.columns = cols;
  in.parallel = true;
  in.extra = 7;
  const ChoiceLayout L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.rows, kMaxPaneRows);
  EXPECT_EQ(L.extra, kMaxExtraColumns);
  EXPECT_EQ(ParallelRowRects(L, cols, 0, 0, 270, 0, false).size(), size_t{kMaxPaneRows});
  in.parallel = false;
  in.multiRow = true;
  in.extra = -3;
  EXPECT_EQ(LayOutChoicePane(in, m).extra, 0);
}

// A count of extra columns left from an earlier display, over columns the
// engine has emptied since, adds no empty lines.
TEST(PaneLayout, EmptyExtraColumnsAreNotInUse) {
  FixedMeasure m;
  CStringArray cols[kCandidateColumns];
  Fill(cols[0], {" 1 ", " 2 "});
  Fill(cols[1], {"ab", "cd"});
  EXPECT_EQ(ExtraColumnsInUse(2, cols), 0);
  Fill(cols[3], {"ef"});
  EXPECT_EQ(ExtraColumnsInUse(2, cols), 0) << "column 2 is empty";
  Fill(cols[2], {"gh"});
  EXPECT_EQ(ExtraColumnsInUse(2, cols), 2);
  EXPECT_EQ(ExtraColumnsInUse(1, cols), 1);
  EXPECT_EQ(ExtraColumnsInUse(2, nullptr), 0);
  cols[2].RemoveAll();
  cols[3].RemoveAll();
  ChoiceInputs in;
  in.text = " 1 ab 2 cd";
  in.columns = cols;
  in.extra = 2;
  in.multiRow = true;
  const ChoiceLayout L = LayOutChoicePane(in, m);
  EXPECT_EQ(L.extra, 0);
  EXPECT_EQ(L.size.cy, 22) << "one line";
}

TEST(PaneLayout, ForecastPane) {
  FixedMeasure m;
  CStringArray items;
  Fill(items, {"ab", "cdef", "g"});
  // Every item counts as no wider than the first.
  const CSize s = ForecastPaneSize(items, m);
  EXPECT_EQ(s.cx, 16 + (16 + 10) + (16 + 10) + (8 + 10));
  EXPECT_EQ(s.cy, 26);
  items.RemoveAll();
  EXPECT_EQ(ForecastPaneSize(items, m).cx, 0);
}
