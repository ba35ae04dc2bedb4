// The forecast rule compiler: the text form, the bounds and keys it
// computes, its refusals, the fortunes-zh import and the shipped file.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

#include "engine/forecast/ForecastRuleBase.h"
#include "tests/support/TestPaths.h"
#include "tools/datagen/Text.h"
#include "tools/fccgen/FccRules.h"

namespace {

using namespace fccgen;

struct Loaded : OwnedForecastTables {
  bool Read(const std::string& image) {
    std::string error;
    const bool ok = ReadForecastTables(reinterpret_cast<const uint8_t*>(image.data()), image.size(),
                                       Tables(), error);
    EXPECT_TRUE(ok) << error;
    return ok;
  }
  std::vector<uint32_t> Keyed(int group, const char* utf8) {
    const std::string g = datagen::ToGbk(datagen::DecodeUtf8(utf8));
    const uint16_t key =
        static_cast<uint16_t>(static_cast<uint8_t>(g[0]) | static_cast<uint8_t>(g[1]) << 8);
    return KeyedBy(group, key);
  }
  std::vector<uint32_t> KeyedBy(int group, uint16_t key) {
    CDWordArray list;
    std::vector<uint32_t> out;
    if (keys[group].Lookup(key, list))
      for (int i = 0; i < list.GetSize(); ++i) out.push_back(list[i]);
    return out;
  }
};

bool Compile(const std::string& text, std::string& image, std::vector<std::string>& errors) {
  RuleBase base;
  if (!ParseRules(text, "t", base, errors)) return false;
  return CompileRules(base, image, errors);
}

TEST(FccRules, BoundsAndKeysFollowTheRules) {
  const char* text =
      "set0 城市: 北京 上海\n"
      "group 1\n"
      "seq{reverse}: 你好 ?(吗|呀) / ， / *1-3 再见\n"  // rule 0
      "seq: @城市{X} 欢迎 / ， / \"\"{X}\n"             // rule 1
      "seq: #1-2{X} 天 / \"\" / \"\"{X} 夜\n"           // rule 2
      "group 3\n"
      "cycle{any,end=.}: 一二三, 四五六七, 八九.\n";
  std::string image;
  std::vector<std::string> errors;
  ASSERT_TRUE(Compile(text, image, errors)) << (errors.empty() ? "" : errors[0]);
  Loaded t;
  ASSERT_TRUE(t.Read(image));
  const typForecastCell* r0 = t.rules[1][0];
  EXPECT_EQ(r0->split, 2);
  EXPECT_EQ(r0->minLen, 2);  // the condition's least, and the reversed one's (*1-3 再见 = 3)
  EXPECT_EQ(r0->maxLen, 9);  // 2 + 1 + 1 + 3 + 2
  EXPECT_EQ(r0->children[1]->minLen, 0);
  EXPECT_EQ(r0->children[1]->maxLen, 1);
  EXPECT_EQ(t.Keyed(1, "你"), std::vector<uint32_t>({0}));
  EXPECT_EQ(t.KeyedBy(1, fcc::kKeyAny),
            std::vector<uint32_t>({0}));  // the reversed form begins with free text
  EXPECT_EQ(t.Keyed(1, "北"), std::vector<uint32_t>({1}));
  EXPECT_EQ(t.Keyed(1, "上"), std::vector<uint32_t>({1}));
  EXPECT_EQ(t.rules[1][1]->children[3]->maxLen, 2);  // a repeat as long as its capture
  EXPECT_EQ(t.KeyedBy(1, fcc::kKeyDigits), std::vector<uint32_t>({2}));
  // A cycle with "any" is keyed by every sentence but its last.
  EXPECT_EQ(t.Keyed(3, "一"), std::vector<uint32_t>({0}));
  EXPECT_EQ(t.Keyed(3, "四"), std::vector<uint32_t>({0}));
  EXPECT_TRUE(t.Keyed(3, "八").empty());
  EXPECT_EQ(t.rules[3][0]->minLen, 2);
  EXPECT_EQ(t.rules[3][0]->maxLen, 4);
  EXPECT_STREQ(t.rules[3][0]->children[1]->endChars, ",");
}

TEST(FccRules, BrokenRulesAreRefusedWithTheirLine) {
  struct Case {
    const char* text;
    const char* says;
  } const cases[] = {
      {"seq: 你好 / ， \n", "t:1:"},
      {"group 1\nseq: =nowhere 好 / ， / 吗\n", "no rule named"},
      {"seq: @无 好 / ， / 吗\n", "no entry"},
      {"pattern 甲: =甲\nseq: =甲 / ， / 吗\n", "refers to itself"},
      {"seq: 一二三四五六七八九十一二三四五六七八九十 / ， / 吗\n", "condition longer"},
      {"cycle: 一二三四五六七八九十一二三四五六七八九十.\n", "sentence longer"},
      {"seq: <甲> / ， / 吗\n", "two cells"},
      {"seq: 甲{bogus} / ， / 吗\n", "unknown attribute"},
      {"seq: ab / ， / 吗\n", "not double-byte"},
      {"group 9\n", "groups are 0 to 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string image;
    std::vector<std::string> errors;
    EXPECT_FALSE(Compile(c.text, image, errors));
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find(c.says), std::string::npos) << errors[0];
  }
}

TEST(FccRules, FortunesBecomeRuleText) {
  const std::string poems =
      "\x1b[32m《静夜思》\x1b[m\n\x1b[33m作者：李白\x1b["
      "m\n床前明月光，疑是地上霜。\n举头望明月，低头思故乡。\n%\n"
      "\x1b[32m《长》\x1b[m\n一二三四五六七八九十一二三四五六七八九十，短句。\n%\n"
      "\x1b[32m《二首》\x1b[m\n   其一\n春眠不觉晓，处处闻啼鸟。\n   "
      "其二\n夜来风雨声，花落知多少。\n";
  int dropped = 0;
  EXPECT_EQ(PoemRules(poems, dropped),
            "cycle{any,end=.}: 床前明月光, 疑是地上霜. 举头望明月, 低头思故乡.\n"
            "cycle{any,end=.}: 春眠不觉晓, 处处闻啼鸟.\n"
            "cycle{any,end=.}: 夜来风雨声, 花落知多少.\n");
  EXPECT_EQ(dropped, 1);
  const std::string sayings =
      "不怕路长，只怕志短。\n\x1b[33m    --\x1b[32m《谚语》\x1b[m\x1b[m\n%\n"
      "两行的\n文字，不算。\n%\n"
      "有 English，不算。\n%\n"
      "不怕路长，又一句。\n";
  EXPECT_EQ(SayingRules(sayings), "seq{addend,end=.}: 不怕路长 / ， / 只怕志短\n");
  // A couplet of a poem is left to the poem.
  EXPECT_EQ(SayingRules(sayings, {"不怕路长"}), "");
}

TEST(FccRules, TheShippedFileHoldsEveryCellType) {
  std::ifstream f(kvrtest::DistDir() + "/fccdic.bin", std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  Loaded t;
  ASSERT_TRUE(t.Read(image));
  std::set<int> types;
  std::function<void(const typForecastCell*)> walk = [&](const typForecastCell* c) {
    types.insert(c->type);
    for (int i = 0; i < c->children.GetSize(); ++i) walk(c->children[i]);
  };
  for (int g = 0; g < 6; ++g)
    for (int r = 0; r < t.rules[g].GetSize(); ++r) walk(t.rules[g][r]);
  for (int type = fcc::kCycle; type <= fcc::kSetMember1; ++type)
    EXPECT_TRUE(types.count(type)) << type;
  EXPECT_GT(t.rules[3].GetSize(), 300);  // poems
  EXPECT_GT(t.rules[2].GetSize(), 300);  // sayings
  EXPECT_GT(t.rules[0].GetSize(), 20);   // allegorical sayings
}

}  // namespace
