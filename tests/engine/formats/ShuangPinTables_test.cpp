#include <gtest/gtest.h>

#include <string>

#include "engine/formats/ShuangPinTables.h"

using namespace shuangpin;

namespace {

// One syllable typed as an initial key and a final key.
std::string Syllable(int scheme, char a, char b) {
  const std::string head = InitialKindOf(scheme, a) == InitialKind::kZero ? "" : Initial(scheme, a);
  return head + Final(scheme, a, b);
}

}  // namespace

TEST(ShuangPinTables, TwoKeySyllables) {
  struct Case {
    int scheme;
    const char* keys;
    const char* want;
  } const cases[] = {
      {kMS, "vh", "zhang"},    {kMS, "ig", "cheng"}, {kMS, "or", "er"},      {kZR, "er", "er"},
      {kMS, "oj", "an"},       {kMS, "yt", "yue"},   {kCStar, "yx", "yue"},  {kMS, "ii", "chi"},
      {kCStar, "ui", "chi"},   {kMS, "jd", "jiang"}, {kMS, "gd", "guang"},   {kZR, "ky", "kuai"},
      {kZR, "by", "bing"},     {kMS, "by", "bv"},    {kCStar, "jq", "jing"}, {kMS, "xs", "xiong"},
      {kCStar, "xy", "xiong"}, {kMS, "lv", "lv"},    {kMS, "dv", "dui"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(Syllable(c.scheme, c.keys[0], c.keys[1]), c.want);
  }
}

TEST(ShuangPinTables, UnlistedFinalKeys) {
  EXPECT_EQ(Final(kMS, 'b', '['), "ian");
  EXPECT_EQ(Final(kZR, 'b', '['), "ian");
  EXPECT_EQ(Final(kCStar, 'b', '['), "");
  EXPECT_EQ(Final(kMS, 'b', '?'), "");
  EXPECT_EQ(Final(kCStar, 'b', ';'), "");
  EXPECT_EQ(Final(kMS, 'b', ';'), "ing");
}

TEST(ShuangPinTables, InitialKinds) {
  EXPECT_EQ(InitialKindOf(kMS, 'a'), InitialKind::kSyllable);
  EXPECT_EQ(InitialKindOf(kMS, 'e'), InitialKind::kSyllable);
  EXPECT_EQ(InitialKindOf(kZR, 'e'), InitialKind::kEWithFinal);
  EXPECT_EQ(InitialKindOf(kCStar, 'o'), InitialKind::kZero);
  EXPECT_EQ(InitialKindOf(kMS, ';'), InitialKind::kSyllable);
  EXPECT_EQ(Initial(kMS, ';'), "ing");
  EXPECT_EQ(InitialKindOf(kMS, '\''), InitialKind::kSeparator);
  EXPECT_EQ(Initial(kCStar, 'i'), "sh");
  EXPECT_EQ(Initial(kCStar, 'u'), "ch");
  EXPECT_EQ(Initial(kZR, 'u'), "sh");
}

TEST(ShuangPinTables, ShortForm) {
  struct Case {
    const char* in;
    const char* want;
  } const cases[] = {{"zhuang", "zhuag"},   {"ju", "jv"},        {"jun", "jun"},
                     {"xinghao", "xighao"}, {"gongli", "gogli"}, {"yuanquan", "yuanquan"},
                     {"quxu", "quxv"},      {"zheng", "zheg"},   {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(ShortForm(c.in), c.want) << c.in;
}
