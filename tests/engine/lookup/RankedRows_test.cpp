// Ranked prefix rows on the lookup fixture (tests/engine/fixtures/lookup_dict).
#include <gtest/gtest.h>

#include "engine/lookup/CandidateSeen.h"
#include "tests/engine/LookupFixture.h"

namespace {

class Rows : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("lookup_dict"), lookuptest::PinYinSettings());
    dictionary.m_nExactHits = 0;
    dictionary.m_bLongCiInExact = 0;
  }
  int Rank(const char* key, int budget = 64) {
    CString k(key);
    CandidateSeen seen;
    return dictionary.Lookup_PrefixOkHelper(k, kRowSetPhrases, seen, budget);
  }
  std::string RowKey(int i) const {
    const tagE_Dist& r = dictionary.m_rows[kRowSetPhrases][i];
    return dictionary.m_strRowKey[r.nSet][r.nList][r.nSlot].GetString();
  }
};

}  // namespace

TEST_F(Rows, AKeyContinuingTheTypedKeysRanksByWhatIsLeft) {
  // "beijing" continues "beiji" by two keys: 2 insertions (6), times 3/2.
  ASSERT_EQ(Rank("beiji"), 1);
  ASSERT_GE(dictionary.m_nRows[kRowSetPhrases], 1);
  EXPECT_EQ(RowKey(0), "beijing");
  EXPECT_EQ(dictionary.m_rows[kRowSetPhrases][0].nDist, 9);
  EXPECT_EQ(dictionary.m_rows[kRowSetPhrases][0].nMatchLen, 5);
  EXPECT_EQ(dictionary.m_nRowsMaxMatch[kRowSetPhrases], 5);
  EXPECT_EQ(dictionary.m_nRowsMinDist[kRowSetPhrases], 9);
  // Both phrases of the key are the row's candidates, in index order.
  const tagE_Dist& r = dictionary.m_rows[kRowSetPhrases][0];
  const auto cands = lookuptest::Texts(dictionary.m_arrRowCands[r.nSet][r.nList][r.nSlot]);
  EXPECT_EQ(cands, (std::vector<std::string>{"北京", "背景"}));
}

TEST_F(Rows, AMistypedKeyRanksByTheKeyboard) {
  // p is next to o: "zhonggup" is one step from "zhongguo".
  ASSERT_EQ(Rank("zhonggup"), 1);
  EXPECT_EQ(RowKey(0), "zhongguo");
  EXPECT_EQ(dictionary.m_rows[kRowSetPhrases][0].nDist, 1);
  EXPECT_EQ(dictionary.m_rows[kRowSetPhrases][0].nMatchLen, 7);
}

TEST_F(Rows, NoRecordSharesTwoKeys) {
  EXPECT_EQ(Rank("qq"), 0);
  EXPECT_EQ(dictionary.m_nRows[kRowSetPhrases], 0);
  EXPECT_EQ(dictionary.m_nRowsMinDist[kRowSetPhrases], 99999);
}

TEST_F(Rows, ExactHitsKeepTheirOwnRecordOutOfTheRows) {
  ASSERT_EQ(Rank("beijing"), 1);
  EXPECT_EQ(RowKey(0), "beijing");
  EXPECT_EQ(dictionary.m_rows[kRowSetPhrases][0].nDist, 0);
  dictionary.m_nExactHits = 2;
  Rank("beijing");
  for (int i = 0; i < dictionary.m_nRows[kRowSetPhrases]; ++i) EXPECT_NE(RowKey(i), "beijing");
}

TEST_F(Rows, TheMatchDegreeLimitsLooseRows) {
  // "beijinf" shares six keys with "beijing" and is one key from it; "beijq"
  // shares four and is three keys away (distance 9 of a 7-key row).
  struct Case {
    const char* keys;
    int degree;
    bool rows;
  } const cases[] = {
      {"beijinf", 0, true}, {"beijinf", 1, true}, {"beijinf", 2, false}, {"beijq", 0, true},
      {"beijq", 1, false},  {"beijq", 2, false},  {"beiji", 2, true},  // the row's key begins with
                                                                       // all the typed keys
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + " " + std::to_string(c.degree));
    cfgInputManager.generalFuzzyMatchDegree = c.degree;
    Rank(c.keys);
    EXPECT_EQ(dictionary.m_nRows[kRowSetPhrases] > 0, c.rows);
  }
}

TEST_F(Rows, EqualDistancesKeepTheirIndexOrder) {
  // "zha" is continued by zhangsan (5 keys more) and by nothing closer;
  // "zh" rows: zhangsan, zhongguo, zhongguorenmin by distance, ties in index
  // order.
  ASSERT_EQ(Rank("zh"), 1);
  const int n = dictionary.m_nRows[kRowSetPhrases];
  ASSERT_GE(n, 2);
  for (int i = 1; i < n; ++i) {
    const tagE_Dist& a = dictionary.m_rows[kRowSetPhrases][i - 1];
    const tagE_Dist& b = dictionary.m_rows[kRowSetPhrases][i];
    EXPECT_LE(a.nDist, b.nDist);
    if (a.nDist == b.nDist && a.nList == b.nList) {
      EXPECT_LT(a.nSlot, b.nSlot);
    }
  }
  EXPECT_EQ(RowKey(0), "zhangsan");  // 6 keys more, 18; zhongguo 6 more too
}

TEST(RowsCompare, ByDistance) {
  tagE_Dist a{}, b{};
  a.nDist = 3;
  b.nDist = 5;
  EXPECT_EQ(compareE_Dist(&a, &b), -1);
  EXPECT_EQ(compareE_Dist(&b, &a), 1);
  b.nDist = 3;
  EXPECT_EQ(compareE_Dist(&a, &b), 0);
}
