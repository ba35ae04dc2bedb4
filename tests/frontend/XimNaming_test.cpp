#include <gtest/gtest.h>

#include <string>

#include "frontend/XimNaming.h"

namespace {

TEST(XimNaming, NameFromModifiers) {
  struct Case {
    const char* value;
    const char* name;
  } const cases[] = {
      {"@im=Kivra", "Kivra"},
      {"@im=fcitx", "fcitx"},
      {"@im=Mine@other=1", "Mine@other=1"},  // everything after the first "@im="
      {nullptr, ""},
      {"@im=", ""},
      {"@im=none", ""},
      {"@im=Nonesuch", "Nonesuch"},  // the test is case-sensitive
      {"@im=xnonex", ""},            // "none" anywhere
      {"im=Kivra", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(XimNameFromModifiers(c.value)), c.name) << (c.value ? c.value : "(null)");
  }
}

TEST(XimNaming, LocaleList) {
  const std::string base(XimLocaleList(""));
  EXPECT_EQ(base,
            "zh_CN.GB18030,zh_CN.GBK,zh_CN.GB2312,zh_CN,zh_CN.UTF8,zh_CN.eucCN,zh_CN.UTF-8,"
            "en_US.UTF8,en_US.UTF-8,zh_TW.Big5,zh_TW,zh_TW.eucTW,zh_TW.UTF8,zh_TW.UTF-8");
  struct Case {
    const char* sys;
    const char* added;
  } const cases[] = {
      {"zh_CN.GB2312", ""},
      {"zh_CN", ""},
      {"ja_JP.eucJP", ",ja_JP.eucJP"},
      {"zh_CN.gbk", ",zh_CN.gbk"},  // the search is a plain, case-sensitive one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(XimLocaleList(c.sys)), base + c.added) << c.sys;
  }
}

}  // namespace
