#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InputSettings.h"
#include "frontend/CTips.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

std::vector<std::string> Tips(const std::string& fileText, int method) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("tips.txt");
  kvrtest::WriteFileText(path, fileText);
  TipList tips(10);
  EXPECT_TRUE(ReadTipsFile(path.c_str(), method, tips));
  std::vector<std::string> out;
  for (long pos = tips.GetHeadPosition(); pos;) out.emplace_back(tips.GetNext(pos));
  return out;
}

using Lines = std::vector<std::string>;

// Comments, the two methods' markers, the 'j' lines, line ends and empty
// lines.
TEST(CTips, ReadsTheTipsOfTheInputMethod) {
  struct Case {
    const char* text;
    int method;
    Lines tips;
  } const cases[] = {
      {"; a comment\nfirst\nsecond\n", kPinYin, {"first", "second"}},
      {"pPinyin only\nxShape only\nboth\n", kPinYin, {"Pinyin only", "both"}},
      {"pPinyin only\nxShape only\nboth\n", kXingMa, {"Shape only", "both"}},
      {"jNeither\nboth", kPinYin, {"both"}},  // and a last line without its end
      {"jNeither\n", kXingMa, {}},
      {"one\r\ntwo\r\n\r\n\n", kXingMa, {"one", "two"}},        // CR LF; empty lines skipped
      {"p\r\nx\n;\n", kPinYin, {}},                             // nothing left after the marker
      {" lead blank\t\n", kPinYin, {" lead blank\t"}},          // only CR and LF come off
      {"\xD6\xD0\xCE\xC4\r\n", kPinYin, {"\xD6\xD0\xCE\xC4"}},  // GBK as it stands
      {"", kPinYin, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Tips(c.text, c.method), c.tips);
  }
}

// A line longer than the 2047 bytes read is cut between characters; the rest
// of it is dropped, and the next line is read as usual.
TEST(CTips, AnOverlongLineIsCutBetweenCharacters) {
  std::string longLine = "a";
  while (longLine.size() < 3000) longLine += "\xD6\xD0";  // 中
  const Lines tips = Tips(longLine + "\nnext\n", kPinYin);
  ASSERT_EQ(tips.size(), 2u);
  EXPECT_EQ(tips[0], longLine.substr(0, 2047));  // 'a' and 1023 whole characters
  EXPECT_EQ(tips[1], "next");
  const Lines cut = Tips("ab" + longLine.substr(1) + "\n", kPinYin);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].size(), 2046u);  // the lead byte at 2047 is not kept alone
}

TEST(CTips, AMissingFileIsRefused) {
  kvrtest::ScratchDir dir;
  TipList tips(10);
  EXPECT_FALSE(ReadTipsFile(dir.File("none.txt").c_str(), kPinYin, tips));
}

// Paging wraps: past the last tip to the first, before the first to the last.
TEST(CTips, TipNumbersWrap) {
  struct Case {
    int32_t tipNum;
    int step, count;
    int16_t want;
  } const cases[] = {
      {5, 1, 5, 1},      // opening after the last tip shows the first
      {1, 65535, 5, 5},  // Previous on the first shows the last
      {3, 65535, 5, 2},   {2, 1, 5, 3},
      {9, 1, 5, 1},  // a shorter file than last time: the first tip
      {0, 1, 5, 1},       {-7, 1, 5, 5},
      {0x10003, 1, 5, 4},                            // only the low 16 bits count
      {1, 1, 0, 1},                                  // no tips
      {1, 65535, 0, 0},   {32767, 1, 40000, 32767},  // 16-bit numbers: the last reachable tip
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tipNum << " " << c.step << " " << c.count);
    EXPECT_EQ(StepTipNum(c.tipNum, c.step, c.count), c.want);
  }
}

// The dialog's paging without its window: TipNum moves in the settings and
// the text follows; with no tips the text is empty.
TEST(CTips, PagingMovesTipNumAndTheText) {
  const typInputSettings saved = cfgInputManager;
  CTips dlg(nullptr);
  for (const char* t : {"one", "two", "three", "four", "five"}) dlg.m_listTips.AddTail(t);
  cfgInputManager.TipNum = 5;
  dlg.SetTipText(1);
  EXPECT_EQ(cfgInputManager.TipNum, 1);
  EXPECT_EQ(std::string(dlg.m_strTip), "one");
  dlg.OnPrev();
  EXPECT_EQ(cfgInputManager.TipNum, 5);
  EXPECT_EQ(std::string(dlg.m_strTip), "five");
  dlg.OnNext();
  dlg.OnNext();
  EXPECT_EQ(std::string(dlg.m_strTip), "two");
  dlg.m_listTips.RemoveAll();
  dlg.OnNext();
  EXPECT_EQ(std::string(dlg.m_strTip), "");
  dlg.OnPrev();
  EXPECT_EQ(std::string(dlg.m_strTip), "");
  cfgInputManager = saved;
}

}  // namespace
