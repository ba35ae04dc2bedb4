#include <gtest/gtest.h>

#include "tools/datagen/Sources.h"
#include "tools/datagen/Text.h"

using datagen::ParseSyllable;
using datagen::Syllable;

TEST(DataGenText, ParsesTonedAndUntonedSpellings) {
  struct Case {
    const char* in;
    const char* text;
    int tone;
  } const cases[] = {{"zhōng", "zhong", 1},  {"cháng", "chang", 2}, {"zhǎng", "zhang", 3},
                     {"hòu", "hou", 4},      {"lǜ", "lv", 4},       {"lü", "lv", 0},
                     {"nüè", "nve", 4},      {"lue", "lve", 0},     {"nue4", "nve", 4},
                     {"zhong1", "zhong", 1}, {"de5", "de", 5},      {"Zhang", "zhang", 0},
                     {"lu:e", "lve", 0},     {"ê̄", "e", 1},         {"ń", "n", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    Syllable s;
    ASSERT_TRUE(ParseSyllable(c.in, s));
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.tone, c.tone);
  }
  Syllable s;
  for (const char* bad : {"", "zh ong", "中", "12", "a-b"})
    EXPECT_FALSE(ParseSyllable(bad, s)) << bad;
}

TEST(DataGenText, GbkAndBig5Conversion) {
  EXPECT_EQ(datagen::ToGbk(U'中'), "\xd6\xd0");
  EXPECT_EQ(datagen::ToGbk(U'a'), "");
  EXPECT_EQ(datagen::ToGbk(U'😀'), "");
  EXPECT_EQ(datagen::ToGbk(std::u32string(U"中国")), "\xd6\xd0\xb9\xfa");
  EXPECT_EQ(datagen::ToGbk(std::u32string(U"中a")), "");
  EXPECT_EQ(datagen::FromGbk(0xD6D0), U'中');
  EXPECT_EQ(datagen::FromGbk(0x8130), 0u);
  EXPECT_EQ(datagen::ToBig5(U'國'), 0xB0EA);
  EXPECT_EQ(datagen::ToBig5(U'国'), 0);
  EXPECT_EQ(datagen::FromBig5(0xA4A4), U'中');
  EXPECT_TRUE(datagen::IsHan(U'中'));
  EXPECT_FALSE(datagen::IsHan(U'〇'));
  EXPECT_FALSE(datagen::IsHan(U'，'));
}

TEST(DataGenText, Utf8RoundTripAndBrokenBytes) {
  const std::u32string s = U"a中😀";
  EXPECT_EQ(datagen::DecodeUtf8(datagen::EncodeUtf8(s)), s);
  EXPECT_EQ(datagen::DecodeUtf8("\xe4\xb8"), std::u32string(U"\uFFFD\uFFFD"));
  EXPECT_EQ(datagen::DecodeUtf8("\xff"
                                "a"),
            std::u32string(U"\uFFFDa"));
}

TEST(DataGenSources, UnihanFieldsAndCanonicalSingletons) {
  std::map<char32_t, datagen::UnihanChar> u;
  datagen::ParseUnihan(
      "# comment\nU+957F\tkXHC1983\t0121.040:cháng 1456.020:zhǎng\n"
      "U+957F\tkTraditionalVariant\tU+9577\nU+957F\tkDefinition\tlong\n",
      u);
  ASSERT_EQ(u.count(U'长'), 1u);
  EXPECT_EQ(u[U'长'].xhc1983, "0121.040:cháng 1456.020:zhǎng");
  EXPECT_EQ(u[U'长'].traditional, std::vector<char32_t>({U'長'}));
  std::map<char32_t, char32_t> c;
  datagen::ParseCanonicalSingletons(
      "F92C;CJK COMPATIBILITY IDEOGRAPH-F92C;Lo;0;L;90CE;;;;N;;;;;\n"
      "00C0;LATIN CAPITAL LETTER A WITH GRAVE;Lu;0;L;0041 0300;;;;N;;;;00E0;\n"
      "00A0;NO-BREAK SPACE;Zs;0;CS;<noBreak> 0020;;;;N;;;;;\n",
      c);
  EXPECT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0xF92C], 0x90CEu);
}
