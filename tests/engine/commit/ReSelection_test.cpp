#include <gtest/gtest.h>

#include <cstring>

#include "engine/commit/UsageWeights.h"
#include "tests/engine/ChoiceFixture.h"
#include "tests/engine/LexiconFixture.h"

namespace {

using lexicontest::Lexicon;
using lexicontest::ToGbk;
using lexicontest::ToUtf8;

// The index of the text GetNextChoice gave among the list of n.
int IndexOf(const CString& text) {
  for (int i = 0; i < 8; ++i)
    if (ToUtf8(text) == choicetest::NthText(i)) return i;
  return -1;
}

TEST(ReSelection, ReChoosingStepsAroundTheListAndShiftGoesBack) {
  struct Case {
    int n, start;
    const char* shifts;
    std::vector<int> want;
  } const cases[] = {
      {6, 3, "000000000", {2, 4, 0, 1, 2, 3, 4, 5, 0}},
      {6, 3, "0001", {2, 4, 0, 4}},  // Shift on the fourth press: back to 4
      {6, 0, "0000", {1, 2, 3, 4}},
      {6, 3, "0011", {2, 4, 2, 3}},  // back the way it came
      {2, 0, "000", {1, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << " from " << c.start << " " << c.shifts);
    lookuptest::FatList list;
    for (int i = 0; i < c.n; ++i) {
      typCharFatFmt ch = choicetest::NthChar(i);
      list.Add(ch);
    }
    dictionary.InitReSelectionData(c.start, 9, list);
    std::vector<int> got;
    for (const char* s = c.shifts; *s; ++s) {
      dictionary.m_bShift = *s == '1';
      CString text;
      EXPECT_EQ(dictionary.GetNextChoice(text), 1) << "one character to erase";
      got.push_back(IndexOf(text));
    }
    dictionary.m_bShift = 0;
    EXPECT_EQ(got, c.want);
    dictionary.m_arrReSelCands.RemoveAll();
    dictionary.m_nReSelState = -1;
  }
}

TEST(ReSelection, NothingToReChooseGivesNothing) {
  lookuptest::FatList one;
  typCharFatFmt c = choicetest::NthChar(0);
  one.Add(c);
  CString text;
  dictionary.InitReSelectionData(0, 9, one);
  EXPECT_EQ(dictionary.GetNextChoice(text), 0) << "a list of one";
  dictionary.m_nReSelState = -1;
  EXPECT_EQ(dictionary.GetNextChoice(text), 0) << "no cycle";
  // The forecast cycle checks its index against the forecast copy.
  dictionary.m_nReSelState = 99;
  dictionary.m_arrForecastReSel.RemoveAll();
  dictionary.m_nReSelIndex = 0;
  EXPECT_EQ(dictionary.GetNextChoice(text), 0);
  dictionary.m_arrForecastReSel.Add(ToGbk("中国"));
  dictionary.m_arrForecastReSel.Add(ToGbk("人"));
  dictionary.m_nReSelIndex = 7;
  EXPECT_EQ(dictionary.GetNextChoice(text), 0);
  dictionary.m_nReSelIndex = 0;
  EXPECT_EQ(dictionary.GetNextChoice(text), 2) << "erases the two characters of 中国";
  EXPECT_EQ(ToUtf8(text), "人");
  dictionary.m_nReSelState = -1;
  dictionary.m_arrForecastReSel.RemoveAll();
}

// With blanks added to the output each character of the forecast item the
// client shows has a blank after it: both are erased.
TEST(ReSelection, ForecastReChoiceErasesTheAddedBlanks) {
  cfgInputManager.AddSpaceInOutput = 1;
  dictionary.m_nReSelState = 99;
  dictionary.m_arrForecastReSel.RemoveAll();
  dictionary.m_arrForecastReSel.Add(ToGbk("中国"));
  dictionary.m_arrForecastReSel.Add(ToGbk("人"));
  dictionary.m_nReSelIndex = 0;
  CString text;
  EXPECT_EQ(dictionary.GetNextChoice(text), 4) << "中 国 ";
  cfgInputManager.AddSpaceInOutput = 0;
  dictionary.m_nReSelState = -1;
  dictionary.m_arrForecastReSel.RemoveAll();
}

// Runs of weights: the characters' learned order (3-byte records) and a
// phrase key's entries (4-byte). Each record's id is its letter.
std::vector<uint8_t> MakeRun(const std::string& ids, const std::vector<int>& weights, int stride) {
  std::vector<uint8_t> run;
  for (size_t i = 0; i < ids.size(); ++i) {
    for (int b = 0; b < stride - 1; ++b) run.push_back(static_cast<uint8_t>(ids[i]));
    run.push_back(static_cast<uint8_t>(weights[i]));
  }
  return run;
}

std::string Show(const std::vector<uint8_t>& run, int stride) {
  std::string out;
  for (size_t i = 0; i < run.size(); i += static_cast<size_t>(stride))
    out += std::string(1, static_cast<char>(run[i])) +
           std::to_string(run[i + static_cast<size_t>(stride) - 1]) + " ";
  return out;
}

TEST(UsageWeights, ACommitRisesAndTheOthersMakeRoom) {
  struct Case {
    const char* ids;
    std::vector<int> weights;
    int p;
    usage::RunKind kind;
    const char* want;
  } const cases[] = {
      {"ABC", {31, 20, 31}, 2, usage::RunKind::kChars, "C31 A30 B28 "},
      {"ABC", {31, 31, 29}, 2, usage::RunKind::kChars, "A31 B31 C31 "},
      {"ABC", {31, 25, 29}, 2, usage::RunKind::kChars, "A31 C31 B25 "},
      {"AB", {30, 30}, 1, usage::RunKind::kChars, "B31 A30 "},
      {"AB", {31, 30}, 1, usage::RunKind::kChars, "A31 B31 "},
      {"ABC", {31, 0, 5}, 0, usage::RunKind::kChars, "A31 B29 C31 "},
      {"ABC", {31, 0, 4}, 0, usage::RunKind::kPhrases, "A31 B29 C31 "},
      // The whole-byte reading would give D 33, past the five weight bits.
      {"ABCD", {31, 31, 20, 25}, 1, usage::RunKind::kPhrases, "B31 A30 C28 D31 "},
      // A weight byte with high bits set counts as its five bits.
      {"AB", {31, 0xE1}, 1, usage::RunKind::kPhrases, "A31 B3 "},
  };
  for (const Case& c : cases) {
    const int stride = c.kind == usage::RunKind::kChars ? 3 : 4;
    std::vector<uint8_t> run = MakeRun(c.ids, c.weights, stride);
    SCOPED_TRACE(Show(run, stride) + "raise " + std::to_string(c.p));
    EXPECT_TRUE(usage::RaiseRecord(run.data(), static_cast<int>(strlen(c.ids)), c.p, c.kind));
    EXPECT_EQ(Show(run, stride), c.want);
    for (size_t i = static_cast<size_t>(stride) - 1; i < run.size();
         i += static_cast<size_t>(stride))
      EXPECT_LE(run[i], 31) << "every stored weight stays a weight";
  }
  std::vector<uint8_t> one = MakeRun("A", {20}, 3);
  EXPECT_FALSE(usage::RaiseRecord(one.data(), 1, 0, usage::RunKind::kChars)) << "a single record";
}

TEST_F(Lexicon, ClosingTheCycleRaisesTheCommittedPhraseUnderItsKeys) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("种国"), 1);
  const int second = OffsetOf("种国");
  typCharFatFmt item = typCharFatFmt::PhraseAt(static_cast<uint32_t>(second));
  auto position = [&](const keyscan::KeyList& l, const char* key) {
    keyscan::Record r;
    if (!keyscan::FindExact(l, key, static_cast<int>(strlen(key)), r)) return -1;
    for (uint32_t p = r.dataPos, i = 0; p < r.next; p += 4, ++i)
      if (static_cast<int>(phrasestore::RefOffset(l.data + p)) == second)
        return static_cast<int>(i);
    return -1;
  };
  ASSERT_EQ(position(keyscan::CiZuList(dictionary, kPinYin), "zhongguo"), 1);
  EXPECT_EQ(dictionary.m_bCiZuIdxDirty[kPinYin], 0) << "saved with the add";
  lookuptest::FatList list;
  item.SetKey("zhongguo");
  list.Add(item);
  // A phrase waiting for the lexicon: the reset adds it and learns nothing.
  dictionary.InitReSelectionData(0, 9, list);
  dictionary.m_strPendingCi = ToGbk("中");
  dictionary.m_strPendingCiTail = ToGbk("文");
  dictionary.ResetReSelectionData();
  EXPECT_GT(OffsetOf("中文"), 0);
  EXPECT_EQ(position(keyscan::CiZuList(dictionary, kPinYin), "zhongguo"), 1);
  dictionary.InitReSelectionData(0, 9, list);
  dictionary.ResetReSelectionData();
  EXPECT_EQ(position(keyscan::CiZuList(dictionary, kPinYin), "zhongguo"), 0);
  EXPECT_EQ(dictionary.m_bCiZuIdxDirty[kPinYin], 1);
  EXPECT_NE(dictionary.m_tmCiKuChanged, 0u);
  EXPECT_EQ(dictionary.m_reSelItem.key[0], 0) << "learns once";
}

TEST_F(Lexicon, ClosingTheCycleRaisesTheCommittedCharacterInItsSyllable) {
  ASSERT_EQ(dictionary.m_nPyFlatEntryLen, 3) << "the learned order";
  const std::vector<std::string> before = Lookup("zhong");
  ASSERT_GE(before.size(), 3u);
  const std::string last = before.back();
  typCharFatFmt item = choicetest::CharOf(last.c_str(), "zhong");
  lookuptest::FatList list;
  list.Add(item);
  dictionary.InitReSelectionData(0, 9, list);
  dictionary.ResetReSelectionData();
  EXPECT_EQ(dictionary.m_bPyFlatDirty, 1);
  const std::vector<std::string> after = Lookup("zhong");
  EXPECT_NE(after.back(), last) << "it rose";
}

}  // namespace
