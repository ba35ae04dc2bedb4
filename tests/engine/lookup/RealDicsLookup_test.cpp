// The lookups on the dictionaries the build ships (build/dist), as a user
// types them.
#include <gtest/gtest.h>

#include "tests/engine/LookupFixture.h"

using lookuptest::Contains;

namespace {

class RealPinYin : public lookuptest::Engine {
 protected:
  void SetUp() override { Start(kvrtest::DistDir(), lookuptest::PinYinSettings()); }
  // The first n candidates of keys.
  std::vector<std::string> First(const char* keys, size_t n) {
    std::vector<std::string> all = Lookup(keys);
    if (all.size() > n) all.resize(n);
    return all;
  }
};

}  // namespace

TEST_F(RealPinYin, WholePinyinGivesTheWordFirst) {
  struct Case {
    const char* keys;
    const char* first;
  } const cases[] = {{"zhongguo", "中国"}, {"beijing", "北京"}, {"women", "我们"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const auto got = First(c.keys, 1);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0], c.first);
  }
}

TEST_F(RealPinYin, InitialsFindTheWordAmongTheFirst) {
  EXPECT_TRUE(Contains(First("zg", 10), "中国"));
  EXPECT_TRUE(Contains(First("bj", 10), "北京"));
  EXPECT_TRUE(Contains(First("bjing", 10), "北京"));
}

TEST_F(RealPinYin, ACommonTypoStillFindsItsPhrase) {
  // o and p are neighbours, and so are m and n.
  EXPECT_TRUE(Contains(First("zhonggup", 10), "中国"));
  EXPECT_TRUE(Contains(First("beijimg", 10), "北京"));
}

TEST_F(RealPinYin, FuzzyPinyinFindsTheOtherInitial) {
  dictionary.CloseDictionary();
  typInputSettings s = lookuptest::PinYinSettings();
  s.fuzziPY = 1;
  Start(kvrtest::DistDir(), s);
  // "zong" also lists the characters of "zhong" once the pairs merged.
  EXPECT_TRUE(Contains(Lookup("zong"), "中"));
  EXPECT_TRUE(Contains(Lookup("zhong"), "总"));
}

TEST_F(RealPinYin, ShapeCodeFindsItsCharacters) {
  UseMethod(kXingMa);
  // Wubi 86: k is 口, khk 中.
  EXPECT_TRUE(Contains(Lookup("khk"), "中"));
  // A phrase by the full codes of its characters (the generator's keys).
  EXPECT_TRUE(Contains(Lookup("khklgyi"), "中国"));
}
