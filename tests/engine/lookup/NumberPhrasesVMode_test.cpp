// Number phrases (digit keys with the codes of numerals and units) and the
// V-mode keyword file.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/lookup/VModeParser.h"
#include "tests/engine/LookupFixture.h"

using lookuptest::FatList;
using lookuptest::Texts;
using lookuptest::ToUtf8;

namespace {

// The number phrase of keys, "" when there is none.
std::string NumCi(const char* keys) {
  FatList out;
  if (!dictionary.NumCizuMatch(keys, out)) {
    EXPECT_EQ(out.GetSize(), 0) << keys;
    return "";
  }
  EXPECT_EQ(out.GetSize(), 1);
  EXPECT_EQ(out[0].kind, kFatNumCi);
  EXPECT_EQ(dictionary.m_nRows[0], 0);
  EXPECT_EQ(dictionary.m_nRows[1], 1);
  return ToUtf8(dictionary.m_strNumCi);
}

TEST(NumCizuMatch, ReadsNumeralsAndUnits) {
  dictionary.InitNumUnitWords();
  ASSERT_EQ(dictionary.m_arrNumUnitWords.GetSize(), 89);
  struct Case {
    const char* keys;
    const char* want;
  } const cases[] = {
      {"3tb", ""},  // fewer than four keys
      {"3tb5", "三百五"},
      {"21,f", ""},        // 万 (10) then 千 (10)
      {"2tb.", "二百米"},  // a measure word after a big numeral
      {"3rfs5", ""},       // 年 (15) then 个 (13)
      {"3srf", "三个年"},
      {"sl35", "第三五"},  // 第 only at the start
      {"3sl5", ""},
      {"305d", "三十五大"},  // 大 only at the very end
      {"3d55", ""},
      {"o1o5", "Ｏ一Ｏ五"},  // o is Ｏ, 0 is 十
      {"2008rf", "二十十八年"},
      {".345", ""},           // a measure word may not open a phrase
      {"bjwm8n3", "星期三"},  // except 星期
      {"3x55", ""},           // a letter that is no code
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(NumCi(c.keys), c.want);
  }
}

class RealNumCi : public lookuptest::Engine {
 protected:
  void SetUp() override { Start(kvrtest::DistDir(), lookuptest::PinYinSettings()); }
};

TEST_F(RealNumCi, ADoubledLastLetterChecksTheInitial) {
  EXPECT_EQ(NumCi("3tbbb"), "三百");  // 百 bai
  EXPECT_EQ(NumCi("3tbcc"), "");
  EXPECT_EQ(NumCi("3tb55"), "三百五五");  // digits are no check letter
}

// ---- V-mode

TEST(VModeParser, LinesKeysAndRefusals) {
  const std::string longKey(32, 'k');
  const std::string text =
      "; comment\n"
      "\n"
      "   alpha|a||al|,MS1,CS1,ZR1,x,,y\r\n"
      "Upper,a,b,c,w\n"
      "beta,b,b,b\n"    // three commas: ignored
      "gamma,g,g,g,\n"  // nothing after the fourth comma
      "delta|" +
      longKey + ",d,d,d,z\n" + "z" + std::string(520, 'x') + ",a,b,c,w\n";
  const vmode::Parsed p = vmode::Parse(text);
  ASSERT_EQ(p.lines.size(), 2u);
  EXPECT_EQ(p.lines[0], "x,,y");
  EXPECT_EQ(p.lines[1], "z");
  std::vector<std::string> col0;
  for (const vmode::Key& k : p.keys[0]) col0.push_back(k.key + "@" + std::to_string(k.line));
  EXPECT_EQ(col0, (std::vector<std::string>{"@0", "a@0", "al@0", "alpha@0", "delta@1"}));
  EXPECT_EQ(p.keys[1].size(), 2u);
  EXPECT_EQ(p.keys[1][0].key, "MS1");
  EXPECT_EQ(p.nRefused, 2);  // the long key and the long line
  EXPECT_FALSE(p.firstFault.empty());
}

class VMode : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("tiny_dict"), lookuptest::PinYinSettings());
    std::ofstream(Path("vmodewords.dic"), std::ios::binary) << "sanjiao|sj,sjjc,sfjk,sjjc,A,B\n"
                                                               "sanjiao,x,x,x,C\n"
                                                               "sanxig,sx,sx,sx,D,,E\n"
                                                               "xigma|sanxi,xg,xg,xg,F\n";
    ASSERT_EQ(dictionary.InitVModeDic(), 1);
  }
  std::vector<std::string> V(const char* keys) {
    FatList out;
    EXPECT_EQ(dictionary.UnitCiMatch(keys, out), 1);
    std::vector<std::string> got;
    for (int i = 0; i < out.GetSize(); ++i) {
      EXPECT_EQ(out[i].kind, kFatWord);
      got.push_back(lookuptest::Text(out[i]) + "/" + out[i].key);
    }
    return got;
  }
};

TEST_F(VMode, ExactKeyTakesOnlyTheFirstLine) {
  EXPECT_EQ(V("sanjiao"), (std::vector<std::string>{"A/sanjiao", "B/sanjiao"}));
  EXPECT_EQ(V("xigma"), std::vector<std::string>{"F/xigma"});
}

TEST_F(VMode, OtherwiseTheLongestSharedBeginning) {
  // "sanxiao" shares "sanxi" with sanxi (line 3) and sanxig (line 2), in
  // key order; sanjiao only "san".
  EXPECT_EQ(V("sanxiao"), (std::vector<std::string>{"F/sanxi", "D/sanxig", "E/sanxig"}));
  EXPECT_TRUE(V("q").empty());
}

TEST_F(VMode, FullPinyinKeysAreShortened) {
  // "sanxing" is looked up as "sanxig", the key of line 2, whose empty
  // word is skipped.
  EXPECT_EQ(V("sanxing"), (std::vector<std::string>{"D/sanxig", "E/sanxig"}));
}

TEST_F(VMode, ShuangPinUsesItsSchemesColumn) {
  cfgInputManager.ShuangPin = 1;
  cfgInputManager.ShuangPinScheme = 1;
  EXPECT_EQ(V("sfjk"), (std::vector<std::string>{"A/sfjk", "B/sfjk"}));
  cfgInputManager.ShuangPinScheme = 0;
  EXPECT_EQ(V("sjjc"), (std::vector<std::string>{"A/sjjc", "B/sjjc"}));
}

TEST_F(VMode, MissingFileOffersNothing) {
  std::remove(Path("vmodewords.dic").c_str());
  EXPECT_EQ(dictionary.InitVModeDic(), 0);
  EXPECT_TRUE(V("sanjiao").empty());
}

}  // namespace
