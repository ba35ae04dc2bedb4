// The COMPOUND_TEXT bytes a client receives for committed text, in the
// GB18030 locale kvr serves in.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// What a client in a GBK locale reads from the bytes of each form: with
// XmbLookupString only the GBK segment, with Xutf8LookupString only the
// standard ones; the GBK clients' form carries both, and each reads the
// text once.
TEST_F(CommitTextX, AGbkClientReadsItsTextOnceWhicheverLookupItCalls) {
  const char* text =
      "a\xD6\xD0\xB9\xFA"
      "b\x81\x40";  // a中国b丂
  const std::string utf8 =
      "a\xE4\xB8\xAD\xE5\x9B\xBD"
      "b\xE4\xB8\x82";
  std::string gbkForm, wide;
  ASSERT_TRUE(GbkToCompoundText(dpy, text, CommitCharsetOfLocale("zh_CN.GBK"), gbkForm));
  ASSERT_TRUE(GbkToCompoundText(dpy, text, CommitCharset::kWide, wide));
  ASSERT_NE(std::setlocale(LC_CTYPE, "zh_CN.GBK"), nullptr);
  auto decode = [&](const std::string& bytes, bool asUtf8) {
    XTextProperty prop{};
    prop.value = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
    prop.encoding = XInternAtom(dpy, "COMPOUND_TEXT", False);
    prop.format = 8;
    prop.nitems = bytes.size();
    char** list = nullptr;
    int count = 0;
    std::string got;
    const int r = asUtf8 ? Xutf8TextPropertyToTextList(dpy, &prop, &list, &count)
                         : XmbTextPropertyToTextList(dpy, &prop, &list, &count);
    if (r >= 0 && list) {
      for (int i = 0; i < count; ++i) got += list[i];
      XFreeStringList(list);
    }
    return got;
  };
  EXPECT_EQ(decode(gbkForm, false), text);
  EXPECT_EQ(decode(gbkForm, true), utf8);
  // The form of the other clients reaches only a GBK client's UTF-8 lookup.
  EXPECT_EQ(decode(wide, false), "ab");
  EXPECT_EQ(decode(wide, true), utf8);
}

}  // namespace
