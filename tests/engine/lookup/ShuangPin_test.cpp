#include <gtest/gtest.h>

#include "engine/CChnChars.h"

namespace {

struct Case {
  int scheme;
  const char* keys;
  const char* want;
};

std::string Convert(int scheme, const char* keys) {
  cfgInputManager.ShuangPinScheme = scheme;
  CString k(keys);
  dictionary.ShuangPin2FullPinyin(k);
  return k.GetString();
}

}  // namespace

TEST(ShuangPin, ConvertsTypedKeysToFullPinyin) {
  const Case cases[] = {
      // MS
      {0, "vh", "zhang"},
      {0, "ig", "cheng"},
      {0, "olbj", "ai'ban"},
      {0, "ae", "a'e"},
      {0, "a", "a"},
      {0, "o", "o"},
      {0, "b", "b"},
      {0, "or", "er"},
      {0, "oj", "an"},
      {0, "vhl", "zhang'l"},
      {0, "ld", "liang"},
      {0, "hd", "huang"},
      {0, "xs", "xiong"},
      {0, "ks", "kong"},
      {0, "uv", "shui"},
      {0, "lv", "lv"},
      {0, "ky", "kuai"},
      {0, "ny", "nv"},
      {0, "b1", "bian"},
      {0, "b;", "bing"},
      {0, ";", ";"},
      {0, "vs'gl", "zhong'gai"},
      {0, "vs?gl", "vs'gl"},
      // C_Star: i and u swap their initials
      {1, "ig", "shang"},
      {1, "ug", "chang"},
      {1, "bq", "bing"},
      {1, "gq", "ger"},
      {1, "b1", "b"},
      {1, "gx", "guai"},
      {1, "jx", "jue"},
      {1, "xy", "xiong"},
      {1, "bb", "bia"},
      // ZR
      {2, "er", "er"},
      {2, "ee", "ee"},
      {2, "br", "buan"},
      {2, "by", "bing"},
      {2, "ky", "kuai"},
      {2, "ld", "liang"},
  };
  cfgInputManager = typInputSettings{};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.scheme) + " " + c.keys);
    EXPECT_EQ(Convert(c.scheme, c.keys), c.want);
  }
}

TEST(ShuangPin, FinalsOfEachSchemeFunction) {
  struct Final {
    int scheme;
    char ini, key;
    const char* want;
  } const cases[] = {
      {0, 'b', 'r', "er"}, {0, 'g', 'r', "uan"}, {2, 'e', 'r', "r"}, {2, 'g', 'r', "uan"},
      {0, 'b', 'y', "v"},  {2, 'b', 'y', "ing"}, {0, 'b', '?', ""},  {0, 'b', '9', "ian"},
  };
  for (const Final& f : cases) {
    cfgInputManager.ShuangPinScheme = f.scheme;
    CString out("x");
    dictionary.ShuangPinGetYunMu_MS_ZR(f.ini, f.key, out);
    EXPECT_EQ(std::string(out.GetString()), f.want) << f.scheme << f.ini << f.key;
  }
  CString out("x");
  dictionary.ShuangPinGetYunMu_C_Star('b', '9', out);
  EXPECT_EQ(std::string(out.GetString()), "");
  dictionary.ShuangPinGetYunMu_C_Star('b', ';', out);
  EXPECT_EQ(std::string(out.GetString()), "");
}

TEST(ShuangPin, ShortFormOfASyllable) {
  const char* const cases[][2] = {{"zhuang", "zhuag"}, {"ju", "jv"}, {"jun", "jun"},
                                  {"xing", "xig"},     {"yu", "yv"}, {"ma", "ma"}};
  for (const auto& c : cases)
    EXPECT_EQ(std::string(dictionary.MapToUniquePY(c[0]).GetString()), c[1]) << c[0];
}
