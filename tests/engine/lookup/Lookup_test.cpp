// The lookups on the lookup fixture (tests/engine/fixtures/lookup_dict),
// built by the data generator from text.
#include <gtest/gtest.h>

#include "engine/lookup/LookupTexts.h"
#include "tests/engine/LookupFixture.h"

using lookuptest::Contains;
using lookuptest::FatList;
using lookuptest::Texts;
using lookuptest::ToGbk;

namespace {

class PinYinLookup : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("lookup_dict"), lookuptest::PinYinSettings());
  }
};

class XingMaLookup : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("lookup_dict"), lookuptest::XingMaSettings());
  }
  // Gives a character a usage rank (0: none).
  void Rank(const char* utf8, int rank) {
    const CString ch = ToGbk(utf8);
    const auto v =
        static_cast<uint16_t>(static_cast<uint8_t>(ch[0]) | (static_cast<uint8_t>(ch[1]) << 8));
    dictionary.SetUsageRank(v, rank);
  }
};

}  // namespace

TEST_F(PinYinLookup, WholeSyllablesAndPhrases) {
  int r = 0;
  const auto zhong = Lookup("zhong", &r);
  EXPECT_EQ(r, 1);
  ASSERT_GE(zhong.size(), 2u);
  EXPECT_EQ(zhong[0], "中");
  EXPECT_TRUE(Contains(zhong, "种"));
  const auto zg = Lookup("zhongguo");
  ASSERT_FALSE(zg.empty());
  EXPECT_EQ(zg[0], "中国");
}

TEST_F(PinYinLookup, WildcardsOnly) {
  // A lone '?' in standard pinyin, and '??' anywhere, is refused with a tip.
  for (const char* keys : {"?", "??"}) {
    int r = 5;
    EXPECT_TRUE(Lookup(keys, &r).empty()) << keys;
    EXPECT_EQ(r, 0);
    EXPECT_STREQ(dictionary.m_strTip, lookuptext::kAllWildcards);
  }
  // Only a shown tip beeps.
  FatList out;
  dictionary.Lookup0("??", out, 1, 0, 0);
  EXPECT_EQ(m_host.Calls("beep").size(), 1u);
  EXPECT_EQ(m_host.Calls("tip ").size(), 1u);
}

TEST_F(XingMaLookup, ALoneWildcardIsShen) {
  int r = 0;
  EXPECT_EQ(Lookup("?", &r), std::vector<std::string>{"神"});
  EXPECT_EQ(r, 1);
  EXPECT_TRUE(Lookup("??", &r).empty());
  EXPECT_EQ(r, 0);
}

TEST_F(PinYinLookup, VSpellingsAreRewritten) {
  // In full pinyin "van" is searched as "uan" and "vn" as "un".
  EXPECT_EQ(Lookup("xvan"), std::vector<std::string>{"宣"});
  EXPECT_EQ(Lookup("jvn"), std::vector<std::string>{"君"});
  // With standard pinyin a leading v opens the V-mode and keeps its
  // spelling: "vanzi" reaches the V-mode lookup, whose nearest keys here
  // (sharing "a") are those of alpha.
  EXPECT_EQ(Lookup("vanzi"), (std::vector<std::string>{"α", "Α"}));
  // ShuangPin keys are not rewritten.
  cfgInputManager.ShuangPin = 1;
  EXPECT_TRUE(Lookup("xvan").empty());
}

TEST_F(PinYinLookup, OverLongKeysAreCut) {
  // 50 letters: the first 46 with phrases, the first 10 without.
  const std::string keys = "zhongguorenmin" + std::string(36, 'q');
  ASSERT_EQ(keys.size(), 50u);
  FatList out;
  dictionary.Lookup0(keys.c_str(), out, 0, 0, 0);
  for (int i = 0; i < out.GetSize(); ++i) EXPECT_LE(std::string(out[i].key).size(), 46u);
  cfgInputManager.useCizu = 0;
  dictionary.m_strKeySeq = "zhongguoqq";
  dictionary.Lookup0("zhongguoqqqqqqq", out, 0, 0, 0);
  // Cut to "zhongguoqq": the rows share "zhongguo" (8 keys) at most.
  EXPECT_LE(dictionary.m_nSegMaxMatch, 10);
}

TEST_F(PinYinLookup, WordsByInitialsAndALastSyllable) {
  // bjing: initials b, j and a whole last syllable jing.
  FatList out;
  dictionary.m_strKeySeq = "bjing";
  ASSERT_NE(dictionary.Lookup0("bjing", out, 0, 0, 0), 0);
  const auto texts = Texts(out);
  EXPECT_TRUE(Contains(texts, "北京"));
  EXPECT_TRUE(Contains(texts, "背景"));
  EXPECT_FALSE(Contains(texts, "不久"));  // bj, but its last syllable is jiu
  for (int i = 0; i < out.GetSize(); ++i) {
    if (lookuptest::Text(out[i]) != "北京") continue;
    EXPECT_STREQ(out[i].key, "bjing");
    EXPECT_EQ(out[i].usedKeys, 5);
    EXPECT_EQ(out[i].keyLen, 5);
  }
  EXPECT_GE(dictionary.m_nExactHits, 2);
  // Initials alone: "bj" lists the two-character words.
  const auto bj = Lookup("bj");
  EXPECT_TRUE(Contains(bj, "北京"));
  EXPECT_TRUE(Contains(bj, "不久"));
}

TEST_F(PinYinLookup, OneLetterKeysUseTheOneKeyLists) {
  // The one-key lists come from py_1key.dic, for 'b' to 'z'; 'a' is an
  // ordinary key, and an upper-case letter has no list.
  for (char c = 'b'; c <= 'z'; ++c) dictionary.m_str1KeyPy[c - 'b'].Empty();
  dictionary.m_str1KeyPy['b' - 'b'] = ToGbk("北不被");
  dictionary.m_str1KeyPy['z' - 'b'] = ToGbk("中");
  FatList out;
  EXPECT_EQ(dictionary.LookupExact("b", out, 0), 1);
  EXPECT_EQ(Texts(out), (std::vector<std::string>{"北", "不", "被"}));
  EXPECT_STREQ(out[0].key, "b");
  EXPECT_EQ(dictionary.LookupExact("z", out, 0), 1);
  EXPECT_EQ(Texts(out), std::vector<std::string>{"中"});
  EXPECT_EQ(dictionary.LookupExact("B", out, 0), 0);
  EXPECT_EQ(out.GetSize(), 0);
  EXPECT_TRUE(Contains(Lookup("an"), "安"));
}

TEST_F(PinYinLookup, VListsTheSymbols) {
  FatList out;
  ASSERT_EQ(dictionary.LookupExact("v", out, 0), 1);
  ASSERT_EQ(out.GetSize(), 338);
  EXPECT_EQ(lookuptest::Text(out[0]), "，");
  EXPECT_EQ(lookuptest::Text(out[337]), "︴");
  EXPECT_STREQ(out[100].key, "v");
  cfgInputManager.ShuangPin = 1;
  EXPECT_EQ(dictionary.LookupExact("V", out, 0), 1);
  EXPECT_EQ(out.GetSize(), 338);
}

TEST_F(PinYinLookup, ApostrophesDropShortPhrases) {
  // With two apostrophes typed, phrases need three characters or more.
  dictionary.m_nApostrophes = 2;
  FatList out;
  dictionary.m_strKeySeq = "zhongguorenmin";
  dictionary.LookupExact("zhongguorenmin", out, 0);
  EXPECT_EQ(Texts(out), std::vector<std::string>{"中国人民"});
  dictionary.m_nApostrophes = 3;
  dictionary.LookupExact("zhongguo", out, 0);
  EXPECT_TRUE(out.GetSize() == 0);
  dictionary.m_nApostrophes = 0;
}

TEST_F(PinYinLookup, FirstLettersOfAReadingAreReturned) {
  EXPECT_STREQ(dictionary.GetPY1stChar(ToGbk("中")), "z");
  EXPECT_STREQ(dictionary.GetPY1stChar(ToGbk("北")), "b");
  EXPECT_STREQ(dictionary.GetPY1stChar("\xA1\xA1"), "");
  CStringArray keys;
  EXPECT_GE(dictionary.GetKeysByChar(ToGbk("中"), keys, 1), 1);
  EXPECT_STREQ(keys[0], "zhong");
}

TEST_F(PinYinLookup, WildcardPatterns) {
  struct Case {
    const char* pattern;
    std::vector<std::string> keysIn, keysOut;
  } const cases[] = {
      {"z?ng", {"zhang", "zheng", "zong", "zang", "zeng", "zhong"}, {"zng", "za", "zhuo"}},
      {"?an", {"lan", "ran", "xian", "shan", "san"}, {"an", "zhang", "zhong"}},
      {"zh?g", {"zhang", "zheng", "zhong"}, {"zang"}},
      {"b?j?", {"beijing"}, {"bj"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    FatList out;
    dictionary.m_strKeySeq = c.pattern;
    int r = dictionary.Lookup0(c.pattern, out, 0, 0, 0);
    EXPECT_EQ(r, 1);
    ASSERT_EQ(dictionary.m_arrWildKeys.GetSize(), out.GetSize());
    std::vector<std::string> keys;
    for (int i = 0; i < out.GetSize(); ++i) {
      keys.push_back(dictionary.m_arrWildKeys[i].GetString());
      EXPECT_STREQ(out[i].key, dictionary.m_arrWildKeys[i]);
    }
    for (const std::string& k : c.keysIn) EXPECT_TRUE(Contains(keys, k)) << k;
    for (const std::string& k : c.keysOut) EXPECT_FALSE(Contains(keys, k)) << k;
  }
}

TEST_F(PinYinLookup, TwoWildcardsMatchEveryKeyOfTwoOrMore) {
  // (The driver refuses keys of wildcards only; the search itself takes
  // them.)
  struct Case {
    int mode;
    std::vector<std::string> in, out;
  } const cases[] = {
      {0, {"an", "za", "zhong", "xi"}, {}},
      {1, {"beijing", "xian"}, {}},
      {2, {"bj", "zg"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    FatList out;
    CStringArray keys;
    EXPECT_EQ(dictionary.LookUpWzWildCardHelper("??", out, keys, c.mode), 1);
    std::vector<std::string> got;
    for (int i = 0; i < keys.GetSize(); ++i) got.push_back(keys[i].GetString());
    for (const std::string& k : c.in) EXPECT_TRUE(Contains(got, k)) << k;
  }
  FatList out;
  CStringArray keys;
  EXPECT_EQ(dictionary.LookUpWzWildCardHelper("?", out, keys, 0), 1);
  EXPECT_EQ(dictionary.LookUpWzWildCard("?", out), 0);  // too short
}

TEST_F(PinYinLookup, AWildcardResultIsListedOnceWithTheFirstKey) {
  FatList out;
  dictionary.m_strKeySeq = "?ing";
  dictionary.Lookup0("?ing", out, 0, 0, 0);
  int jing = 0;
  for (int i = 0; i < out.GetSize(); ++i) jing += lookuptest::Text(out[i]) == "京";
  EXPECT_EQ(jing, 1);
  // One apostrophe: no single characters, no one-character phrases.
  dictionary.m_nApostrophes = 1;
  dictionary.Lookup0("?ing", out, 0, 0, 0);
  for (int i = 0; i < out.GetSize(); ++i) EXPECT_EQ(out[i].kind, kFatPhrase);
  EXPECT_TRUE(Contains(Texts(out), "北京"));
  dictionary.m_nApostrophes = 0;
}

TEST_F(XingMaLookup, SixExactHitsEndTheSearchFiveLeaveOneRow) {
  dictionary.m_nSegRows = -7;
  int r = 0;
  EXPECT_EQ(Lookup("aaaa", &r).size(), 6u);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(dictionary.m_nExactHits, 6);
  EXPECT_EQ(dictionary.m_nSegRows, -7);  // no row search ran
  EXPECT_EQ(Lookup("bbbb", &r).size(), 5u);
  EXPECT_EQ(dictionary.m_nExactHits, 5);
  EXPECT_LE(dictionary.m_nSegRows, 1);  // a budget of one candidate
}

TEST_F(XingMaLookup, ExcludeLevelDropsRareCharacters) {
  Rank("张", 999);
  Rank("章", 1000);
  Rank("脏", 0);  // no rank: 450
  struct Case {
    int level;
    std::vector<std::string> want;
  } const cases[] = {
      {1000, {"脏", "张"}},
      {1001, {"脏", "张", "章"}},
      {999, {"脏"}},
      {450, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    cfgInputManager.ExcludeLevel = c.level;
    FatList out;
    dictionary.LookupExact("cccc", out, 0);
    EXPECT_EQ(Texts(out), c.want);
  }
}

TEST_F(XingMaLookup, TheExchangeSortIsTheOrderShown) {
  // Weights 5, 5, 3 in index order come out as 3, then the 5s reversed.
  Rank("增", 5);
  Rank("争", 5);
  Rank("总", 3);
  FatList out;
  dictionary.LookupExact("dddd", out, 0);
  EXPECT_EQ(Texts(out), (std::vector<std::string>{"总", "争", "增"}));
}

TEST_F(XingMaLookup, RetriesRewriteTheKey) {
  // Rows of codes that only begin like the keys would end the first search;
  // without them the lookup retries.
  cfgInputManager.generalFuzzyMatchDegree = 2;
  struct Case {
    const char* keys;
    std::vector<std::string> want;  // exact hits the lookup ends with
    const char* foundUnder;
  } const cases[] = {
      {"abcd1t2", {"人"}, "abcdt"},  // 1t2 -> t in the pass of rule 4
      {"abcd1t21", {}, ""},          // rule 1 runs: 1t2 comes back as 1t
      {"xyoob", {"民"}, "xyob"},     // oo -> o
      {"abcdt", {"人"}, "abcdt"},    // found at once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    FatList out;
    dictionary.m_strKeySeq = c.keys;
    const int r = dictionary.Lookup0(c.keys, out, 0, 0, 0);
    EXPECT_EQ(Texts(out), c.want);
    if (!c.want.empty()) {
      EXPECT_EQ(r, 1);
      EXPECT_STREQ(out[0].key, c.foundUnder);
    }
  }
}

TEST_F(XingMaLookup, ShortKeysAreNotRetried) {
  // Four keys that find nothing: one search, result 0 (no row shares two
  // keys with "qqqq").
  int r = 5;
  EXPECT_TRUE(Lookup("qqqq", &r).empty());
  EXPECT_EQ(r, 0);
}

TEST_F(XingMaLookup, AliasesAndTheirAnswers) {
  struct Case {
    const char* keys;
    const char* want;
  } const cases[] = {{"rg1", "鱼"}, {"rgj", "鱼"}, {"qono", "高"}, {"1oh", "豆"}};
  for (const Case& c : cases) {
    int r = 0;
    EXPECT_EQ(Lookup(c.keys, &r), std::vector<std::string>{c.want}) << c.keys;
    EXPECT_EQ(r, 1);
  }
  int r = 5;
  EXPECT_TRUE(Lookup("hj", &r).empty());
  EXPECT_EQ(r, 0);
  EXPECT_STREQ(dictionary.m_strTip, lookuptext::kLaoHint);
}

TEST_F(XingMaLookup, TheSoleCandidateMapCompletesACode) {
  // "abc" is no code, but only 人 (abcdt) starts with it.
  int r = 0;
  EXPECT_EQ(Lookup("abc", &r), std::vector<std::string>{"人"});
  EXPECT_EQ(r, 1);
  EXPECT_EQ(dictionary.m_bSoleCandMapHit, 1);
}

TEST_F(XingMaLookup, ReverseLookupOfShapeCodes) {
  CStringArray keys;
  dictionary.GetKeysByChar(ToGbk("中"), keys, 0);
  ASSERT_EQ(keys.GetSize(), 1);
  EXPECT_STREQ(keys[0], "AAAA");
  CString key, chars;
  EXPECT_EQ(dictionary.GetKeyNCharsByChar(ToGbk("国"), key, chars), 2);
  EXPECT_STREQ(key, "aaaa");
}
