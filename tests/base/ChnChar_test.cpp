#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <string>

#include "base/ChnChar.h"

namespace {

constexpr int GBK = 0, BIG5 = 1;

TEST(ChnChar, LeadAndTrailBoundaries) {
  struct Case {
    unsigned c;
    int gbkLead, gbkTrail, big5Lead, big5Trail;
  } const cases[] = {
      {0x00, 0, 0, 0, 0}, {0x3F, 0, 0, 0, 0}, {0x40, 0, 1, 0, 1}, {0x7E, 0, 1, 0, 1},
      {0x7F, 0, 0, 0, 1}, {0x80, 0, 1, 0, 1}, {0x81, 1, 1, 0, 1}, {0xA0, 1, 1, 0, 1},
      {0xA1, 1, 1, 1, 1}, {0xFA, 1, 1, 1, 1}, {0xFB, 1, 1, 0, 1}, {0xFE, 1, 1, 0, 1},
      {0xFF, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.c);
    const auto b = static_cast<unsigned char>(c.c);
    EXPECT_EQ(IsChnChar(b, 1, GBK), c.gbkLead);
    EXPECT_EQ(IsChnChar(b, 0, GBK), c.gbkTrail);
    EXPECT_EQ(IsChnChar(b, 1, BIG5), c.big5Lead);
    EXPECT_EQ(IsChnChar(b, 0, BIG5), c.big5Trail);
    // Any nonzero flag selects Big5, any nonzero lead asks for a lead byte.
    EXPECT_EQ(IsChnChar(b, 7, -3), c.big5Lead);
  }
}

TEST(ChnChar, PairClassesTable) {
  struct Case {
    unsigned code;
    int big5, white, space, opener;
  } const cases[] = {
      {0xA1A1, GBK, 1, 1, 1},  // ideographic space
      {0xA1A2, GBK, 1, 0, 0},  // 、
      {0xA1EC, GBK, 1, 0, 1},  // §
      {0xA1ED, GBK, 1, 0, 0},  {0xA1EE, GBK, 1, 0, 1},  {0xA1F9, GBK, 1, 0, 1},
      {0xA1FA, GBK, 1, 0, 0},  {0xA2A1, GBK, 1, 0, 1},  {0xA2AA, GBK, 1, 0, 1},
      {0xA2AB, GBK, 1, 1, 1},  {0xA2B0, GBK, 1, 1, 1},  {0xA2B1, GBK, 1, 0, 1},
      {0xA2E3, GBK, 1, 1, 1},  {0xA2E4, GBK, 1, 1, 1},  {0xA2E5, GBK, 1, 0, 1},
      {0xA2EE, GBK, 1, 1, 1},  {0xA2EF, GBK, 1, 1, 1},  {0xA2F5, GBK, 1, 1, 1},
      {0xA2FC, GBK, 1, 1, 1},  {0xA2FE, GBK, 1, 1, 1},  {0xA3AA, GBK, 1, 0, 1},
      {0xA3AB, GBK, 1, 0, 0},  {0xA4F3, GBK, 1, 0, 0},  {0xA4F4, GBK, 1, 1, 1},
      {0xA5F6, GBK, 1, 0, 0},  {0xA5F7, GBK, 1, 1, 1},  {0xA6B8, GBK, 1, 0, 0},
      {0xA6B9, GBK, 1, 1, 1},  {0xA6C0, GBK, 1, 1, 1},  {0xA6C1, GBK, 1, 0, 0},
      {0xA6D9, GBK, 1, 1, 1},  {0xA6F3, GBK, 1, 1, 1},  {0xA7C1, GBK, 1, 0, 0},
      {0xA7C2, GBK, 1, 1, 1},  {0xA7D0, GBK, 1, 1, 1},  {0xA7D1, GBK, 1, 0, 0},
      {0xA7F2, GBK, 1, 1, 1},  {0xAFFE, GBK, 1, 0, 0},  {0xB0A0, GBK, 1, 0, 0},
      {0xB0A1, GBK, 0, 0, 0},                           // 啊
      {0x8140, GBK, 1, 0, 0},  {0xA17F, GBK, 0, 0, 0},  // invalid trail
      {0xA140, BIG5, 1, 1, 1}, {0xA141, BIG5, 1, 0, 0}, {0xA1B1, BIG5, 1, 0, 1},
      {0xA1B2, BIG5, 1, 0, 0}, {0xA1B3, BIG5, 1, 0, 1}, {0xA1BF, BIG5, 1, 0, 1},
      {0xA1C0, BIG5, 1, 0, 0}, {0xA3FE, BIG5, 1, 0, 0}, {0xA440, BIG5, 0, 0, 0},
      {0xF9DC, BIG5, 0, 0, 0}, {0xF9DD, BIG5, 1, 0, 0}, {0xFAFE, BIG5, 1, 0, 0},
      {0xA1A1, BIG5, 1, 0, 0}, {0xFB40, BIG5, 0, 0, 0},  // lead out of range
      {0xA17F, BIG5, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.code << (c.big5 ? " big5" : " gbk"));
    const auto lead = static_cast<unsigned char>(c.code >> 8);
    const auto trail = static_cast<unsigned char>(c.code);
    EXPECT_EQ(IsChnWhiteChar(lead, trail, c.big5), c.white);
    EXPECT_EQ(IsChnSpace(lead, trail, c.big5), c.space);
    EXPECT_EQ(IsChnParagraph1stChar(lead, trail, c.big5), c.opener);
  }
}

// Over all 65,536 pairs in both encodings: spaces are paragraph openers,
// openers and white characters are valid pairs, and white and non-white split
// the valid pairs between them.
TEST(ChnChar, ClassesNestOverEveryPair) {
  for (int big5 = 0; big5 < 2; ++big5) {
    int spaces = 0;
    for (unsigned code = 0; code < 0x10000; ++code) {
      const auto lead = static_cast<unsigned char>(code >> 8);
      const auto trail = static_cast<unsigned char>(code);
      const bool valid = IsChnChar(lead, 1, big5) && IsChnChar(trail, 0, big5);
      const bool space = IsChnSpace(lead, trail, big5);
      spaces += space;
      if (space) {
        ASSERT_TRUE(IsChnParagraph1stChar(lead, trail, big5)) << code;
      }
      if (IsChnParagraph1stChar(lead, trail, big5)) {
        ASSERT_TRUE(valid) << code;
      }
      if (valid) {
        ASSERT_NE(IsChnWhiteChar(lead, trail, big5), IsChnNonWhiteChar(lead, trail, big5)) << code;
      } else {
        ASSERT_FALSE(IsChnWhiteChar(lead, trail, big5)) << code;
      }
    }
    // GBK: 1 + 6 + 2 + 18 + 11 + 8 + 8 + 7 + 12 + 15 + 13 cells.
    EXPECT_EQ(spaces, big5 ? 1 : 101);
  }
}

// Every two-byte character the C library's GBK and BIG5 converters know
// starts with a lead byte and ends with a trail byte of these tests.
TEST(ChnChar, EveryCharacterIconvKnowsIsAValidPair) {
  for (const char* enc : {"GBK", "BIG5"}) {
    iconv_t cd = iconv_open("UTF-8", enc);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << enc;
    const int big5 = std::strcmp(enc, "BIG5") == 0;
    int known = 0;
    for (unsigned code = 0x8000; code < 0x10000; ++code) {
      char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code)};
      char out[8];
      char* ip = in;
      char* op = out;
      size_t il = 2, ol = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) continue;
      int codePoints = 0;  // one character, not two single bytes
      for (char* q = out; q < op; ++q)
        codePoints += (static_cast<unsigned char>(*q) & 0xC0) != 0x80;
      if (codePoints != 1) continue;
      ++known;
      EXPECT_TRUE(IsChnChar(static_cast<unsigned char>(in[0]), 1, big5)) << std::hex << code;
      EXPECT_TRUE(IsChnChar(static_cast<unsigned char>(in[1]), 0, big5)) << std::hex << code;
    }
    iconv_close(cd);
    EXPECT_GT(known, 13000) << enc;
  }
}

TEST(ChnChar, IsCSym) {
  for (int c = 0; c < 256; ++c) {
    const bool want =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    EXPECT_EQ(IsCSym(static_cast<unsigned char>(c)), want) << c;
  }
}

TEST(ChnChar, HasChnChar) {
  struct Case {
    const char* s;
    int big5, want;
  } const cases[] = {
      {"abc", GBK, 0},       {"", GBK, 0},         {"ab\xB0", GBK, 0},  // lead byte last
      {"a\xB0\xA1", GBK, 1}, {"\x81\x40", GBK, 1}, {"\x81\x40", BIG5, 0},
      {"\xA1\x7F", BIG5, 1}, {"\xA1\x7F", GBK, 0}, {"\xFF\xA1", GBK, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s);
    EXPECT_EQ(HasChnChar(c.s, c.big5), c.want);
  }
}

TEST(ChnChar, ChnCharBeforeTable) {
  struct Case {
    const char* s;
    long len;
    int lang;
    std::string want;  // offsets, comma separated
  } const cases[] = {
      {"ab\xB0\xA1", 4, 1000, "0,1,2"},
      {"abcd", 4, 0, "0,1,2,3"},
      {"\xB0\xA1"
       "ab",
       4, 0, "0,2,3"},
      {"a\xB0\xA1"
       "b",
       3, 0, "0,1"},                             // the pair would end at len
      {"ab\xB0\xA1", 3, 0, "0,1,2"},             // a pair starting at len - 1 is stored
      {"\x81\x40\x81\x40", 4, 1001, "0,1,2,3"},  // not Big5
      {"\xA4\x40\xA4\x40", 4, 1001, "0,2"},
      {"a\0bc", 4, 0, "0,1"},  // stops at a NUL
      {"x", 1, 0, "0"},
      {"", 0, 0, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.len << " " << c.want);
    long starts[8];
    std::fill(std::begin(starts), std::end(starts), -7);
    const long n = ChnCharBefore(c.s, c.len, starts, c.lang);
    std::string got;
    for (long i = 0; i < n; ++i) got += (i ? "," : "") + std::to_string(starts[i]);
    EXPECT_EQ(got, c.want);
    EXPECT_LE(n, std::max(c.len, 1L));
    EXPECT_EQ(starts[n], -7) << "nothing written past the result";
  }
}

TEST(ChnChar, IsUnicodeStrDistortedChn) {
  auto check = [](std::initializer_list<uint16_t> units) {
    unsigned char bytes[32] = {};
    size_t i = 0;
    for (uint16_t u : units) {
      bytes[i++] = static_cast<unsigned char>(u);
      bytes[i++] = static_cast<unsigned char>(u >> 8);
    }
    wchar_t text[8];
    std::memcpy(text, bytes, sizeof text);
    return IsUnicodeStrDistortedChn(text, units.size());
  };
  EXPECT_EQ(check({0x0041, 0x00B0, 0x00A1}), 1);
  EXPECT_EQ(check({0x00B0, 0x007F}), 0);  // 0x7F is no GBK trail byte
  EXPECT_EQ(check({0x554A, 0x0041}), 0);  // a real character
  EXPECT_EQ(check({0x01B0, 0x00A1}), 0);
  EXPECT_EQ(check({0x00B0}), 0);
}

}  // namespace
