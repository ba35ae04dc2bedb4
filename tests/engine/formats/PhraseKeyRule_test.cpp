#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/PhraseKeyRule.h"

using phrasekey::BuildKeys;
using phrasekey::Keys;
using Codes = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

TEST(PhraseKeyRule, TwoPinyinCharactersGiveTheJoinedKeyAndInitials) {
  Keys k;
  EXPECT_TRUE(BuildKeys({{"zhong"}, {"guo"}}, phrasekey::kPinyin, "", true, k));
  EXPECT_EQ(k.keys, Strings({"zhongguo"}));
  EXPECT_EQ(k.initialKeys, Strings({"zg"}));
  // Without the initials index nothing goes to the initials.
  EXPECT_TRUE(BuildKeys({{"zhong"}, {"guo"}}, phrasekey::kPinyin, "", false, k));
  EXPECT_TRUE(k.initialKeys.empty());
}

TEST(PhraseKeyRule, EveryCombinationOnceFirstCharacterSlowest) {
  Keys k;
  EXPECT_TRUE(BuildKeys({{"chang", "zhang"}, {"cheng", "zheng"}}, phrasekey::kPinyin, "", true, k));
  EXPECT_EQ(k.keys, Strings({"changcheng", "changzheng", "zhangcheng", "zhangzheng"}));
  EXPECT_EQ(k.initialKeys, Strings({"cc", "cz", "zc", "zz"}));
}

TEST(PhraseKeyRule, ShortShapeCodesAreLengthenedByPinyinFirstLetters) {
  struct Case {
    Codes codes;
    std::string letters;
    Strings want;
  } const cases[] = {{{{"a"}, {"bc"}}, "zc", {"abcz", "abcc"}},  // 3 letters: one letter added
                     {{{"a"}, {"b"}}, "z", {"abzz"}},            // 2 letters: the letter twice
                     {{{"ab"}, {"cd"}}, "z", {"abcd"}},          // 4 letters: as it is
                     {{{"a"}, {"b"}, {"c"}}, "xy", {"abcx", "abcy"}},
                     {{{"a"}, {"b"}}, "", {}}};  // no pinyin: no key
  for (const Case& c : cases) {
    Keys k;
    EXPECT_EQ(BuildKeys(c.codes, phrasekey::kShapeCode, c.letters, true, k), !c.want.empty());
    EXPECT_EQ(k.keys, c.want);
    EXPECT_TRUE(k.initialKeys.empty());
  }
}

TEST(PhraseKeyRule, LongPhrasesAddFirstLetterKeys) {
  Keys k;
  EXPECT_TRUE(BuildKeys({{"zhong"}, {"guo"}, {"ren"}, {"min"}}, phrasekey::kPinyin, "", true, k));
  EXPECT_EQ(k.keys, Strings({"zhongguorenmin", "zgrm"}));
  EXPECT_TRUE(k.initialKeys.empty());
  // Five characters: letters of 1, 2, 3 and the last, then of all five.
  EXPECT_TRUE(BuildKeys({{"a"}, {"b"}, {"c"}, {"d"}, {"e"}}, phrasekey::kPinyin, "", true, k));
  EXPECT_EQ(k.keys, Strings({"abcde", "abce"}));  // "abcde" twice is filed once
  // Seven characters: no four-letter key, only all letters.
  EXPECT_TRUE(BuildKeys({{"ab"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}, {"h"}}, phrasekey::kPinyin, "",
                        true, k));
  EXPECT_EQ(k.keys, Strings({"abcdefgh", "acdefgh"}));
}

TEST(PhraseKeyRule, ACharacterWithoutCodeGivesNoKey) {
  Keys k;
  EXPECT_FALSE(BuildKeys({{"a"}, {}, {"c"}, {"d"}}, phrasekey::kPinyin, "", true, k));
  EXPECT_TRUE(k.keys.empty());
  EXPECT_FALSE(BuildKeys({{"zhong"}, {}}, phrasekey::kPinyin, "", true, k));
  EXPECT_FALSE(BuildKeys({{"zhong"}}, phrasekey::kPinyin, "", true, k));
}

TEST(PhraseKeyRule, DistinctFirstLettersKeepFirstAppearanceOrder) {
  EXPECT_EQ(phrasekey::DistinctFirstLetters({"zhong", "chong", "zhuang", ""}), "zc");
}
