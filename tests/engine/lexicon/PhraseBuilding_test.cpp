#include <gtest/gtest.h>

#include <algorithm>

#include "framework/KeySyms.h"
#include "tests/engine/LexiconFixture.h"

namespace {

using lexicontest::Lexicon;
using lexicontest::ToGbk;
using lexicontest::ToUtf8;

constexpr unsigned long kWindow = 5;

typCharFatFmt Pick(const char* utf8, const char* key) {
  const CString g = ToGbk(utf8);
  typCharFatFmt c = typCharFatFmt::Char(static_cast<uint8_t>(g[0]), static_cast<uint8_t>(g[1]));
  c.SetKey(key);
  return c;
}

class ZuCi : public Lexicon {
 protected:
  // Enters phrase building on keys with the first segment ending at end
  // (0: the engine's own split).
  void Enter(const char* keys, int end) {
    dictionary.ResetChnInput(1, 0, 1);
    dictionary.m_strKeySeq = keys;
    dictionary.m_nInsertPt = static_cast<int16_t>(strlen(keys));
    dictionary.SetZuCiMode(end, end ? 1 : 0);
  }
  // Picks for the current segment, first ending it at end as the key
  // handler does when a pick uses fewer keys than were typed.
  int PickFor(const char* utf8, const char* key, int end, int learn = 1) {
    CKeyZiPair& seg = dictionary.m_arrZuCiSegs[dictionary.m_nZuCiCurSeg];
    seg.keyEnd = end;
    typCharFatFmt c = Pick(utf8, key);
    return dictionary.SetZuCiOneCharAndFireIfDone(&c, kWindow, 0, learn);
  }
  std::string Matched() {
    CString s;
    dictionary.GetZuCiMatchedZis(s);
    return ToUtf8(s);
  }
  std::string Unused() {
    CString s;
    dictionary.GetZuCiUnusedKeys(s);
    return std::string(s.GetString());
  }
};

TEST_F(ZuCi, ZhongGuoRenIsBuiltSentAndLearnedWhenTheCycleCloses) {
  Enter("zhongguoren", 5);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "zhong");
  EXPECT_EQ(Unused(), "guoren");
  EXPECT_EQ(Matched(), "");
  EXPECT_EQ(PickFor("中", "zhong", 5), 0);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "guoren") << "the next segment takes the rest";
  EXPECT_EQ(Matched(), "中");
  EXPECT_EQ(PickFor("国", "guo", 8), 0);
  EXPECT_EQ(PickFor("人", "ren", 11), 1);
  const auto commits = m_host.Calls("commit ");
  ASSERT_EQ(commits.size(), 1u);
  EXPECT_NE(ToUtf8(CString(commits[0].c_str())).find("中国人"), std::string::npos);
  EXPECT_EQ(dictionary.m_nZuCiMode, 0);
  EXPECT_EQ(ToUtf8(dictionary.m_strPendingCi), "中国");
  EXPECT_EQ(ToUtf8(dictionary.m_strPendingCiTail), "人");
  EXPECT_EQ(m_host.Calls("tip ").back(), "tip " + std::string(ToGbk("新词加入词库.").GetString()));
  EXPECT_EQ(OffsetOf("中国人"), -1) << "waits for the re-selection to close";
  dictionary.ResetReSelectionData();
  EXPECT_TRUE(dictionary.m_strPendingCi.IsEmpty());
  EXPECT_GT(OffsetOf("中国人"), 0);
  EXPECT_TRUE(lookuptest::Contains(Lookup("zhongguoren"), "中国人"));
}

TEST_F(ZuCi, AWordOfOneSegmentIsSentButReachesNoLexicon) {
  for (int learn : {1, 0}) {
    SCOPED_TRACE(learn);
    m_host.calls.clear();
    Enter("zhongguo", 8);
    EXPECT_EQ(PickFor("中", "zhongguo", 8, learn), 1);
    EXPECT_EQ(m_host.Calls("commit ").size(), 1u);
    const std::string newCi = "tip " + std::string(ToGbk("新词加入词库.").GetString());
    const auto tips = m_host.Calls("tip ");
    EXPECT_EQ(std::count(tips.begin(), tips.end(), newCi), learn ? 1 : 0);
    EXPECT_TRUE(dictionary.m_strPendingCi.IsEmpty());
    const uint32_t len = dictionary.m_nCiZuFlatLen;
    dictionary.ResetReSelectionData();
    EXPECT_EQ(dictionary.m_nCiZuFlatLen, len);
  }
}

TEST_F(ZuCi, ForcedSendTakesTheSegmentsChosenSoFar) {
  Enter("zhongguorenmin", 5);
  PickFor("中", "zhong", 5);
  PickFor("国", "guo", 8);
  ASSERT_EQ(dictionary.SetZuCiOneCharAndFireIfDone(nullptr, kWindow, 1, 1), 1);
  EXPECT_EQ(ToUtf8(dictionary.m_strPendingCi), "中");
  EXPECT_EQ(ToUtf8(dictionary.m_strPendingCiTail), "国");
  Enter("zhongguo", 5);
  EXPECT_EQ(dictionary.SetZuCiOneCharAndFireIfDone(nullptr, kWindow, 1, 1), 0) << "nothing chosen";
}

TEST_F(ZuCi, ATrailingConsonantIsASlipButAFinalVowelMustBeTyped) {
  struct Case {
    const char* keys;
    const char* key;
    int done;
  } const cases[] = {
      {"renwenn", "wen", 1},   // n left over: ignored
      {"renwena", "wen", 0},   // a left over, the pick did not use it
      {"renhuaa", "huaa", 0},  // a after a: never ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Enter(c.keys, 3);
    PickFor("人", "ren", 3);
    EXPECT_EQ(PickFor("文", c.key, 6), c.done);
  }
}

TEST_F(ZuCi, KeysMoveInAndCharactersAreTakenBack) {
  Enter("zhongguoren", 5);
  EXPECT_EQ(dictionary.AdjustZuCiState(keysym::kRight), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "zhongg");
  EXPECT_EQ(dictionary.AdjustZuCiState(keysym::kEnd), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "zhongguoren");
  EXPECT_EQ(dictionary.AdjustZuCiState(keysym::kRight), 0) << "no keys left";
  EXPECT_EQ(dictionary.AdjustZuCiState('a'), 0);

  Enter("zhongguoren", 5);
  typCharFatFmt two = Pick("中", "zhongguo");
  dictionary.m_arrZuCiSegs[0].keyEnd = 8;
  ASSERT_EQ(dictionary.SetZuCiOneCharAndFireIfDone(&two, kWindow, 0, 1), 0);
  dictionary.m_arrZuCiSegs[0].text = ToGbk("中国");  // a two-character pick
  EXPECT_EQ(dictionary.RemvZiInZuCiMode(), 1);
  EXPECT_EQ(Matched(), "中") << "the phrase loses its last character, keeps its keys";
  EXPECT_EQ(dictionary.m_nZuCiCurSeg, 1);
  EXPECT_EQ(dictionary.RemvZiInZuCiMode(), 1);
  EXPECT_EQ(dictionary.m_nZuCiCurSeg, 0) << "a one-character segment goes";
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "zhongguoren");
  EXPECT_EQ(dictionary.RemvZiInZuCiMode(), 0);
}

TEST_F(ZuCi, SplitAtTheInsertPointDropsToneKeysAfterIt) {
  Enter("zhongguo", 8);
  dictionary.m_nInsertPt = 5;
  EXPECT_EQ(dictionary.ZuCiKeySplit(), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "zhong");
  EXPECT_EQ(Unused(), "guo");
  dictionary.m_nInsertPt = 5;
  EXPECT_EQ(dictionary.ZuCiKeySplit(), 0) << "insert point at the end";
  EXPECT_EQ(dictionary.RemvKeyInZuCiMode(), 1);
  EXPECT_EQ(Unused(), "uo");
}

}  // namespace
