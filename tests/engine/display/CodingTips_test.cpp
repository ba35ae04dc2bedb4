// Coding tips: the general, pinyin and shape-code rules in their order,
// the first match winning, and the computed repeated-root rule.
#include <gtest/gtest.h>

#include <string>

#include "engine/CChnChars.h"
#include "tests/engine/LookupFixture.h"

namespace {

std::string Tip(const char* keys) {
  CString tip;
  const int r = dictionary.GetTipMsg(keys, tip, 1);
  EXPECT_EQ(r, tip.IsEmpty() ? 0 : 1) << keys;
  return lookuptest::ToUtf8(tip);
}

struct Case {
  int method, shuangPin, useCizu;
  const char* keys;
  const char* want;  // without "注意:"; "" for no tip
};

}  // namespace

TEST(CodingTips, RulesInOrder) {
  const Case cases[] = {
      // General rules, before any other.
      {kXingMa, 0, 1, "aaaaaaaaaaaaaaaaaaaaaaaaa", "你也许应按<ESC>重开始输入."},
      {kXingMa, 0, 0, "abcdefghijkl", "你也许应按<ESC>重开始输入."},
      {kXingMa, 0, 0, "abcdefghijk", ""},
      {kXingMa, 0, 1, "!!!!!", "输<Tab> 请同时按<Shift>键"},
      {kXingMa, 0, 1, "!!", "输<Tab> 请同时按<Shift>键"},
      {kXingMa, 0, 1, "?", "左<Alt>键为任意匹配键,称为<神键>; 可用来代替不会输的拼音或字根."},
      {kPinYin, 1, 1, "?",
       "左<Alt>键为首字母匹配键,称<神键>;只要敲入它便可按只敲每字首字母方式输词组."},
      {kPinYin, 0, 1, "?", "左<Alt>键为任意匹配键,称为<神键>; 可用来代替不会输的拼音或字根."},
      {kXingMa, 0, 1, "???", "编码中不能全是左<Alt>键."},
      // Pinyin rules.
      {kPinYin, 0, 1, "a?", "若使用了<任意匹配键>(即神键)则总键数至少要有四键."},
      {kPinYin, 0, 1, "xvan", "“van”应为“uan”"},
      {kPinYin, 0, 1, "vanx", ""},
      {kPinYin, 0, 1, "jvn", "“vn”应为“un”"},
      {kPinYin, 0, 1, "lue", "吕输为“lv”而非“lu”"},
      {kPinYin, 0, 1, "nuren", "女输为“nv”而非“nu”"},
      // Pinyin input gets no shape-code tip.
      {kPinYin, 0, 1, "xu", ""},
      // Shape-code rules.
      {kXingMa, 0, 1, "61-", "“帝”输为 6- "},
      {kXingMa, 0, 1, "8n", "“内”在 - 键上"},
      {kXingMa, 0, 1, "8nn", ""},
      {kXingMa, 0, 1, "39", "“兴，光”都在 X 键上"},
      {kXingMa, 0, 1, "atgh", "“面”输为 TG"},
      {kXingMa, 0, 1, "xu", "“凶”为 U 键上的字根"},
      {kXingMa, 0, 1, "aroc", "“免”--->  RC   “兔”--->  RC1"},
      {kXingMa, 0, 1, "ag@", "“果”输为 B@"},
      {kXingMa, 0, 1, "qg@", ""},
      {kXingMa, 0, 1, "a88n", "“肉”可输为 -8"},
      {kXingMa, 0, 1, "v88nc", ""},
      {kXingMa, 0, 1, "1t2a", "“疒”输为 1T"},
      {kXingMa, 0, 1, "1t2w", ""},
      {kXingMa, 0, 1, "a,j", "“匆”为 ，键上的成字根"},
      {kXingMa, 0, 1, "1,j", ""},
      {kXingMa, 0, 1, "atn8", "“页”可输为  T8            （略去 N）"},
      {kXingMa, 0, 1, "tn8i", ""},
      {kXingMa, 0, 1, "a18n", "“丙”输为 TN"},
      {kXingMa, 0, 1, "f18n", ""},
      {kXingMa, 0, 1, "a,1", "“乌”输为 J/，“勺”为“勿”键上字根"},
      {kXingMa, 0, 1, "v,1", "“乌”输为 J/，“勺”为“勿”键上字根    “考”可输为 V5"},
      {kXingMa, 0, 1, "1,1", "“乌”输为 J/，“勺”为“勿”键上字根    “与”可输为 51"},
      // The computed last rule.
      {kXingMa, 0, 1, "abbbc", "若字根重复3次,且连在一起,则敲该字根一次,然后敲3"},
      {kXingMa, 0, 1, "abbbb", "若字根重复4次,且连在一起,则敲该字根一次,然后敲4"},
      {kXingMa, 0, 1, "a???", ""},
      {kXingMa, 0, 1, "mmm", ""},
      // Keys at which a link stops the search without a tip of its own.
      {kXingMa, 0, 1, "n2n2bbb", ""},
      {kXingMa, 0, 1, "hq", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMthd = c.method;
    cfgInputManager.StdPinYin = 1;
    cfgInputManager.ShuangPin = c.shuangPin;
    cfgInputManager.useCizu = c.useCizu;
    dictionary.m_bLookAheadHit = 0;
    const std::string want = c.want[0] ? std::string("注意:") + c.want : "";
    EXPECT_EQ(Tip(c.keys), want);
  }
}

TEST(CodingTips, RepeatedRootRuleWaitsForTheLookAhead) {
  cfgInputManager = typInputSettings{};
  cfgInputManager.InputMthd = kXingMa;
  dictionary.m_bLookAheadHit = 1;
  EXPECT_EQ(Tip("abbbc"), "");
  dictionary.m_bLookAheadHit = 0;
}
