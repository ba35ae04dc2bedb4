#include <gtest/gtest.h>

#include <string>

#include "frontend/CommitText.h"

namespace {

TEST(CommitText, FormOfClientLocale) {
  struct Case {
    const char* lang;
    CommitCharset form;
  } const cases[] = {
      // What Xlib sends: zh_CN.UTF-8 clients name "zh_CN", zh_CN (GB2312)
      // ones "zh_CN.gb2312".
      {"zh_CN", CommitCharset::kWide},
      {"zh_SG", CommitCharset::kWide},
      {"zh_CN.GB2312", CommitCharset::kGb2312Only},
      {"zh_CN.gb2312", CommitCharset::kGb2312Only},
      {"zh_CN.eucCN", CommitCharset::kGb2312Only},
      {"zh_CN.GBK", CommitCharset::kGbkSegment},
      {"zh_CN.gbk", CommitCharset::kGbkSegment},
      {"zh_TW.CP936", CommitCharset::kGbkSegment},
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

// What kvr's own edit controls receive as message 1400: GBK always, the
// BackSpace bytes of a re-selection kept in front.
TEST(CommitText, EditControlsTakeGbk) {
  struct Case {
    const char* text;
    bool big5;
    bool ok;
    const char* want;
  } cases[] = {
      {"\xD6\xD0\xB9\xFA", false, true, "\xD6\xD0\xB9\xFA"},                 // 中国 as it is
      {"\xA4\xA4\xB0\xEA", true, true, "\xD6\xD0\x87\xF8"},                  // 中國 from Big5
      {"\x08\x08\xA4\xA4\xB0\xEA", true, true, "\x08\x08\xD6\xD0\x87\xF8"},  // BackSpaces kept
      {"\x08", true, true, "\x08"},
      {"\xFF\xFF", true, false, ""},  // no Big5: refused whole
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    std::string gbk = "stale";
    EXPECT_EQ(CommitGbk(k.text, k.big5, gbk), k.ok);
    EXPECT_EQ(gbk, k.want);
  }
  std::string gbk;
  EXPECT_FALSE(CommitGbk(nullptr, false, gbk));
}

TEST(CommitText, GbkSegments) {
  const std::string head = "\x1b%/2";  // an extended segment, two bytes a character
  struct Case {
    const char* gbk;
    bool ok;
    std::string bytes;
  } const cases[] = {
      // 10 bytes follow the length: "GBK-0", STX and 中国.
      {"\xD6\xD0\xB9\xFA", true, head + "\x80\x8aGBK-0\x02\xD6\xD0\xB9\xFA"},
      // ASCII stays outside the segments; 丂 (GBK only) travels as it is.
      {"a\x81\x40 b\xD6\xD0", true,
       "a" + head + "\x80\x88GBK-0\x02\x81\x40" + " b" + head + "\x80\x88GBK-0\x02\xD6\xD0"},
      {"abc", true, "abc"},
      {"", true, ""},
      {"\xD6", false, ""},       // a lead byte without its trail
      {"\xFF\x40", false, ""},   // no GBK lead byte
      {"a\xD6\x30", false, ""},  // no GBK trail byte
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    EXPECT_EQ(GbkToGbkSegments(c.gbk, out), c.ok) << c.gbk;
    EXPECT_EQ(out, c.bytes) << c.gbk;
  }
}

TEST(CommitText, LongGbkTextIsSplitIntoSegmentsItsLengthsCanCount) {
  std::string text;
  for (int i = 0; i < 9000; ++i) text += "\xD6\xD0";
  std::string out;
  ASSERT_TRUE(GbkToGbkSegments(text.c_str(), out));
  // 16376 text bytes fill the first segment (16382 counted: 0xFF 0xFE), the
  // other 1624 the second (1630: 0x8C 0xDE).
  ASSERT_EQ(out.size(), 2 * (4 + 2 + 6) + text.size());
  EXPECT_EQ(out.substr(0, 12), std::string("\x1b%/2\xff\xfeGBK-0\x02"));
  EXPECT_EQ(out.substr(12 + 16376, 12), std::string("\x1b%/2\x8c\xdeGBK-0\x02"));
}

}  // namespace
