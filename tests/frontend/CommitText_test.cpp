#include <gtest/gtest.h>

#include <string>

#include "frontend/CommitText.h"

namespace {

TEST(CommitText, FormOfClientLocale) {
  struct Case { const char* lang; CommitCharset form; } const cases[] = {
      {"zh_CN", CommitCharset::kGb2312Only},
      {"zh_CN.GB2312", CommitCharset::kGb2312Only},
      {"zh_CN.gb2312", CommitCharset::kGb2312Only},
      {"zh_CN.eucCN", CommitCharset::kGb2312Only},
      {"zh_SG", CommitCharset::kGb2312Only},
      {"zh_CN.GBK", CommitCharset::kWide},
      {"zh_CN.GB18030", CommitCharset::kWide},
      {"zh_CN.UTF-8", CommitCharset::kWide},
      {"zh_CN.utf8@euro", CommitCharset::kWide},
      {"en_US.UTF-8", CommitCharset::kWide},
      {"C", CommitCharset::kWide},
      {"", CommitCharset::kWide},
      {nullptr, CommitCharset::kWide},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommitCharsetOfLocale(c.lang), c.form) << (c.lang ? c.lang : "(null)");
  }
}

TEST(CommitText, Gb2312Text) {
  EXPECT_TRUE(IsGb2312Text("abc"));
  EXPECT_TRUE(IsGb2312Text("\xD6\xD0\xB9\xFA"));    // 中国
  EXPECT_FALSE(IsGb2312Text("\x81\x40"));           // 丂, GBK only
  EXPECT_FALSE(IsGb2312Text("a\xD6\xD0\xA8\x40"));  // a GBK symbol after a GB2312 one
  EXPECT_FALSE(IsGb2312Text("\xD6"));               // a lead byte without its trail
}

TEST(CommitText, Big5ToGbk) {
  std::string gbk;
  ASSERT_TRUE(Big5ToGbk("\xA4\xA4\xB0\xEA", gbk));  // 中國 in Big5
  EXPECT_EQ(gbk, "\xD6\xD0\x87\xF8");               // 中國 in GBK
  ASSERT_TRUE(Big5ToGbk("ab", gbk));
  EXPECT_EQ(gbk, "ab");
  EXPECT_FALSE(Big5ToGbk("\xA4", gbk));  // cut in half
  EXPECT_TRUE(gbk.empty());
  EXPECT_FALSE(Big5ToGbk("\xFF\xFF", gbk));
}

}  // namespace
