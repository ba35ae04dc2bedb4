// The stroke and tone tests, the filters and the pinyin key helpers: on a
// hand-made distribution, on damaged stroke tables, and on the tiny
// fixture dictionary (中 zhong1/4, 种 zhong, 长 zhang3/chang, 国 过 guo,
// with their strokes).
#include <gtest/gtest.h>

#include <fstream>

#include "engine/dics/StrokeTableParser.h"
#include "engine/formats/BiHuaFormat.h"
#include "tests/engine/LookupFixture.h"

using lookuptest::FatList;
using lookuptest::Texts;
using lookuptest::ToGbk;

namespace {

// 中 (GBK D6D0) in group [1][0][0], 种 (D6D6) in [2][1][0].
typBiHuaDistribution Zhong() {
  typBiHuaDistribution d;
  d.groups[1][0][0] = "\xD6\xD0";
  d.groups[2][1][0] = "\xD6\xD6";
  return d;
}

TEST(StrokeTest, HelperFollowsTheGroups) {
  struct Case {
    const char* strokes;
    int zhong, zhong2;  // results for 中 and 种
  } const cases[] = {
      {"=", 1, 0},    {"[", 0, 1},   {"=-", 1, 0},  {"[=", 0, 1},  {"[-", 0, 0},
      {"=--", 1, 0},  {"[=-", 0, 1}, {"[=]", 0, 0}, {"a", -1, -1}, {"-a", -1, -1},
      {"=a", -1, -1}, {"I", 1, 0},   {"", -1, -1},
  };
  typBiHuaDistribution d = Zhong();
  char zhong[] = "\xD6\xD0", zhong2[] = "\xD6\xD6";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strokes);
    char s[8];
    strcpy(s, c.strokes);
    EXPECT_EQ(dictionary.IsBiHuaOKHelper(zhong, s, d), c.zhong);
    EXPECT_EQ(dictionary.IsBiHuaOKHelper(zhong2, s, d), c.zhong2);
  }
}

TEST(StrokeTest, CollapseWordsAndNoStrokes) {
  typBiHuaDistribution d = Zhong();
  char zhong2[] = "\xD6\xD6", s1[] = "[", s2[] = "[=";
  d.firstCollapse[2] = 1;  // every character of first stroke 2 is in [2][0][0]
  EXPECT_EQ(dictionary.IsBiHuaOKHelper(zhong2, s1, d), 0);
  d.groups[2][0][0] = "\xD6\xD6";
  EXPECT_EQ(dictionary.IsBiHuaOKHelper(zhong2, s2, d), 1);
  d.noStrokes = 1;
  EXPECT_EQ(dictionary.IsBiHuaOKHelper(zhong2, s1, d), -1);
}

TEST(StrokeTest, SlashIsAStrokeKeyOnlyInMsShuangPin) {
  cfgInputManager = lookuptest::PinYinSettings();
  EXPECT_EQ(CChnChars::GetBiHuaIndex('/'), -1);
  EXPECT_EQ(CChnChars::GetBiHuaIndex(';'), 4);
  cfgInputManager.ShuangPin = 1;
  cfgInputManager.ShuangPinScheme = 0;
  EXPECT_EQ(CChnChars::GetBiHuaIndex('/'), 4);
  EXPECT_EQ(CChnChars::GetBiHuaIndex(';'), 4);
  dictionary.InitBiHuaKeys();
  EXPECT_STREQ(gszBiHuaMa, "-=[]/");
  cfgInputManager.ShuangPinScheme = 1;
  EXPECT_EQ(CChnChars::GetBiHuaIndex('/'), -1);
  dictionary.InitBiHuaKeys();
  EXPECT_STREQ(gszBiHuaMa, "-=[];");
}

TEST(StrokeTest, KeyHelpers) {
  gszBiHuaMa = "-=[];";
  struct Case {
    const char* keys;
    char tone;
    int strokes, start;
  } const cases[] = {
      {"ma3", '3', 0, 2},   {"m3a", 0, 0, 3},       {"3", 0, 0, 0}, {"zhang3[]", '3', 2, 5},
      {"zhang[]", 0, 2, 5}, {"zhang-=[]", 0, 4, 5}, {"", 0, 0, 0},  {"ma3'", '3', 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    char keys[16], out[16] = "x";
    strcpy(keys, c.keys);
    int start = -7;
    EXPECT_EQ(dictionary.GetPingZeMa(keys), c.tone);
    EXPECT_EQ(dictionary.GetCountOfBiHuaMa(keys, &start, out), c.strokes);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(std::string(out), std::string(c.keys + strlen(c.keys) - c.strokes));
  }
  CString k("''ab'c''");
  dictionary.RemvFenHaoAtEnds(k);
  EXPECT_STREQ(k, "ab'c");
  CString only("'''");
  dictionary.RemvFenHaoAtEnds(only);
  EXPECT_STREQ(only, "");
}

TEST(StrokeTable, DamagedTablesAreRefusedWithAMessage) {
  bihua::Distribution d;
  d.syllable = "zhong";
  d.groups[1][0][0] = "\xD6\xD0";
  const std::string good = bihua::WriteTable({d, d});
  std::vector<bihua::Distribution> out;
  std::string err;
  ASSERT_TRUE(
      bihua::ParseTable(reinterpret_cast<const uint8_t*>(good.data()), good.size(), out, err));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].groups[1][0][0], "\xD6\xD0");

  struct Case {
    const char* what;
    std::string bytes;
    size_t kept;
  };
  std::string hugeLen = good;
  hugeLen[2] = '\xFF';  // first syllable length 0x...FF
  hugeLen[5] = '\x7F';
  std::string badSyllable = good;
  badSyllable[6] = 'Z';
  std::string hugeGroup = good;
  // The first group length of the first record: after N, len, "zhong",
  // noStrokes, first collapse, second collapse.
  hugeGroup[2 + 4 + 5 + 4 + 4 + 4 + 3] = '\x7F';
  const Case cases[] = {
      {"empty", "", 0},
      {"cut in the second record", good.substr(0, good.size() - 3), 1},
      {"syllable length past the end", hugeLen, 0},
      {"not a syllable", badSyllable, 0},
      {"group length past the end", hugeGroup, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(bihua::ParseTable(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(),
                                   out, err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(out.size(), c.kept);
  }
}

class TinyFilters : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("tiny_dict"), lookuptest::PinYinSettings());
  }
  // list = the characters of utf8, one candidate each.
  static void Chars(FatList& list, const char* utf8) {
    list.RemoveAll();
    const CString gbk = ToGbk(utf8);
    for (int i = 0; i + 1 < gbk.GetLength(); i += 2) {
      typCharFatFmt c =
          typCharFatFmt::Char(static_cast<uint8_t>(gbk[i]), static_cast<uint8_t>(gbk[i + 1]));
      list.Add(c);
    }
  }
};

TEST_F(TinyFilters, SyllablesComeFromTheStrokeTable) {
  EXPECT_GT(dictionary.m_mapBiHua.GetCount(), 0);
  EXPECT_EQ(dictionary.IsPYProper("zhong"), 1);
  EXPECT_EQ(dictionary.IsPYProper("zhog"), 1);  // short form of zhong
  EXPECT_EQ(dictionary.IsPYProper("shei"), 1);  // not in the table
  EXPECT_EQ(dictionary.IsPYProper("zhongg"), 0);
  EXPECT_EQ(dictionary.IsPYProper("zhuangg"), 0);  // 7 letters
  EXPECT_EQ(dictionary.IsPYProper(""), 0);
  EXPECT_EQ(dictionary.IsPYProper(nullptr), 0);
}

TEST_F(TinyFilters, ToneFilterKeepsTheTonesOfTheSyllable) {
  FatList list;
  Chars(list, "长中");
  // Key "zhang": 长 is tested by its reading zhang (tone 3); 中 has no
  // reading zhang: undecided, kept.
  EXPECT_EQ(dictionary.ShengDiaoRemoveChar(list, "zhang", '3'), 1);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"长", "中"}));
  // Against all readings: 中 zhong1/zhong4 has no tone 3.
  EXPECT_EQ(dictionary.ShengDiaoRemoveChar(list, "zh", '3'), 1);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"长"});
}

TEST_F(TinyFilters, AFilterThatWouldEmptyTheListReturnsZero) {
  FatList list;
  Chars(list, "中");
  EXPECT_EQ(dictionary.ShengDiaoRemoveChar(list, "zhong", '2'), 0);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"中"});
  // Strokes: 中 starts s z h (classes 1 4 0); "-" removes it: refused.
  char strokes[] = "-";
  EXPECT_EQ(dictionary.BiHuaRemoveChar(list, "zhong", strokes), 0);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"中"});
  // A tone key outside 1..5 and no stroke keys decide nothing.
  EXPECT_EQ(dictionary.ShengDiaoRemoveChar(list, "zhong", '7'), 1);
  char none[] = "";
  EXPECT_EQ(dictionary.BiHuaRemoveChar(list, "zhong", none), 1);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"中"});
}

TEST_F(TinyFilters, StrokeFilterNarrowsAndRetriesWithFewerStrokes) {
  // 中 s z h = "=;-", 长 p h z n = "[-;]".
  FatList list;
  Chars(list, "中长");
  char first[] = "=";
  EXPECT_EQ(dictionary.BiHuaRemoveChar(list, "zhong", first), 1);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"中"});

  // "=;]" fits neither; after dropping the last key "=;" fits 中 only:
  // 长 is removed by the retry, and the result is still 0.
  Chars(list, "中长");
  char three[] = "=;]";
  EXPECT_EQ(dictionary.BiHuaRemoveChar(list, "zhong", three), 0);
  EXPECT_EQ(Texts(list), std::vector<std::string>{"中"});
}

TEST_F(TinyFilters, FirstLetterOfAReading) {
  const CString ch = ToGbk("长");
  EXPECT_EQ(dictionary.ChnCharHasThisPY1stLetter(ch, 'z'), 1);
  EXPECT_EQ(dictionary.ChnCharHasThisPY1stLetter(ch, 'c'), 1);
  EXPECT_EQ(dictionary.ChnCharHasThisPY1stLetter(ch, 'g'), 0);
}

TEST_F(TinyFilters, MissingStrokeTableDecidesNothing) {
  // Answered once with the table: the answer must not outlive the table.
  EXPECT_EQ(dictionary.IsPYProper("zhong"), 1);
  dictionary.m_mapBiHua.RemoveAll();
  FatList list;
  Chars(list, "中长");
  char s[] = "[";
  EXPECT_EQ(dictionary.BiHuaRemoveChar(list, "zhong", s), 1);
  EXPECT_EQ(list.GetSize(), 2);
  EXPECT_EQ(dictionary.IsPYProper("zhong"), 0);
  EXPECT_EQ(dictionary.IsPYProper("tei"), 1);
}

}  // namespace
