// The COMPOUND_TEXT bytes a client receives for committed text, in the
// GB18030 locale kvr serves in.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <clocale>
#include <string>

#include "frontend/CommitText.h"

namespace {

class CommitTextX : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_CTYPE, "zh_CN.GB18030"), nullptr);
    dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
  }
  void TearDown() override {
    if (dpy) XCloseDisplay(dpy);
    std::setlocale(LC_CTYPE, "C");
  }
  Display* dpy = nullptr;
};

TEST_F(CommitTextX, BytesByForm) {
  const std::string zhongguo = "\x1b$(AVP9z";  // 中国 as a GB2312 segment
  struct Case {
    const char* gbk;
    CommitCharset form;
    bool ok;
    std::string bytes;
  } const cases[] = {
      {"\xD6\xD0\xB9\xFA", CommitCharset::kWide, true, zhongguo},
      {"\xD6\xD0\xB9\xFA", CommitCharset::kGb2312Only, true, zhongguo},
      {"a\xD6\xD0\xB9\xFA", CommitCharset::kWide, true, "a" + zhongguo},
      // 丂 exists only in GBK: a UTF-8 segment for the wide clients, nothing
      // for a GB2312 client.
      {"\x81\x40", CommitCharset::kWide, true, "\x1b%G\xe4\xb8\x82\x1b%@"},
      {"\x81\x40", CommitCharset::kGb2312Only, false, ""},
      // A four-byte GB18030 sequence the conversion drops: nothing is sent.
      {"\x81\x30\x81\x30", CommitCharset::kWide, false, ""},
      {"", CommitCharset::kWide, false, ""},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    EXPECT_EQ(GbkToCompoundText(dpy, c.gbk, c.form, out), c.ok) << c.gbk;
    EXPECT_EQ(out, c.bytes) << c.gbk;
  }
}

TEST_F(CommitTextX, TraditionalOutputArrivesAsTheChosenCharacters) {
  // 中國 in Big5, as the engine commits it under traditional output.
  std::string gbk;
  ASSERT_TRUE(Big5ToGbk("\xA4\xA4\xB0\xEA", gbk));
  std::string out;
  ASSERT_TRUE(GbkToCompoundText(dpy, gbk.c_str(), CommitCharset::kWide, out));
  // 中 as GB2312, 國 (U+570B) as UTF-8.
  EXPECT_EQ(out, "\x1b$(AVP\x1b%G\xe5\x9c\x8b\x1b%@");
}

}  // namespace
