// CString searches and double-byte-aware cuts. GBK text is written as hex
// escapes: "\xD6\xD0" is one character, "\xB9\xFA" another.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/CString.h"

namespace {

std::string Str(const CString& s) { return std::string(s.GetString(), s.GetLength()); }

// An independent oracle for "is a cut at p inside a character": mark every
// byte that starts a character, walking the text by the GBK rule.
bool OracleInside(const std::string& t, int p) {
  std::vector<bool> starts(t.size() + 1, false);
  size_t i = 0;
  while (i < t.size()) {
    starts[i] = true;
    const auto c = static_cast<unsigned char>(t[i]);
    const bool lead = c >= 0x81 && c <= 0xFE;
    const bool pair = lead && i + 1 < t.size() && static_cast<unsigned char>(t[i + 1]) >= 0x40 &&
                      static_cast<unsigned char>(t[i + 1]) != 0x7F &&
                      static_cast<unsigned char>(t[i + 1]) != 0xFF;
    i += pair ? 2 : 1;
  }
  starts[t.size()] = true;
  return p > 0 && p < static_cast<int>(t.size()) && !starts[static_cast<size_t>(p)];
}

}  // namespace

TEST(CStringSearch, ByteSearches) {
  const CString s("hello");
  struct Case {
    const char* name;
    int got, want;
  } const cases[] = {
      {"Find char", s.Find('l'), 2},
      {"Find char from", s.Find('l', 3), 3},
      {"Find char past", s.Find('h', 5), -1},
      {"Find text", s.Find("lo"), 3},
      {"Find text missing", s.Find("xy"), -1},
      {"Find CString", s.Find(CString("ll"), 1), 2},
      {"ReverseFind before 3", s.ReverseFind('l', 3), 2},
      {"ReverseFind all", s.ReverseFind('l', -1), 3},
      {"ReverseFind past", s.ReverseFind('h', 99), 0},
      {"FindOneOf", s.FindOneOf("ol"), 2},
      {"FindOneOf from", s.FindOneOf("ol", 4), 4},
      {"FindOneOf empty text", CString().FindOneOf("a", 0), -1},
      {"RvsFindOneOf", s.RvsFindOneOf("hl", 10), 3},
      {"RvsFindOneOf pos", s.RvsFindOneOf("hl", 1), 0},
      {"RvsFindOneOf neg", s.RvsFindOneOf("hl", -1), -1},
      {"FindNoCase", s.FindNoCase("LL", 0), 2},
      {"FindNoCase empty", s.FindNoCase("", 2), 2},
      {"FindNoCase neg start", s.FindNoCase("HE", -4), 0},
      {"FindNoCase too long", s.FindNoCase("HELLOS", 0), -1},
      {"RvsFind", s.RvsFind("lo", -1), 4},
      {"RvsFind pos", s.RvsFind("l", 2), 2},
      {"RvsFind pos cuts", s.RvsFind("lo", 3), -1},
      {"RvsFind empty", s.RvsFind("", -1), -1},
      {"RvsFind 1-arg empty", s.RvsFind(""), 4},
      {"RvsFind 1-arg", s.RvsFind("h"), 0},
      {"RvsFind empty text", CString().RvsFind(""), -1},
      {"FindInChnStr odd", CString("xabc").FindInChnStr("ab"), -1},
      {"FindInChnStr even", CString("xyab").FindInChnStr("ab"), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
  CString t("Hello");
  CString u(t);
  EXPECT_EQ(t.RvsFindNoCase("L", -1), 3);
  EXPECT_NE(t.GetData(), u.GetData());  // it makes the string private
  EXPECT_EQ(t.RvsFindNoCase(t.GetString() + 3, -1), 4);
}

TEST(CStringSearch, DoubleByteCuts) {
  // 'A' 'B' then one double-byte character.
  const CString ab("AB\xD6\xD0");
  EXPECT_EQ(Str(ab.LeftDBCS(3)), "AB\xD6\xD0");
  EXPECT_EQ(Str(ab.LeftDBCS(2)), "AB");
  EXPECT_EQ(Str(ab.LeftDBCS(9)), "AB\xD6\xD0");
  EXPECT_EQ(Str(ab.RightDBCS(1)), "\xD6\xD0");
  EXPECT_EQ(Str(ab.RightDBCS(3)), "B\xD6\xD0");

  // 'A', two characters, 'B': "A" D6 D0 B9 FA "B"
  const CString t(
      "A\xD6\xD0\xB9\xFA"
      "B");
  struct Case {
    int start, count;
    std::string want;
  } const cases[] = {
      {0, 2, "A\xD6\xD0"},         // end inside the first character
      {2, 2, "\xD6\xD0\xB9\xFA"},  // start and end inside: both widen
      {2, 1, "\xD6\xD0"},          // start inside, end on a boundary
      {1, 2, "\xD6\xD0"},          // on boundaries: unchanged
      {4, 2,
       "\xB9\xFA"
       "B"},  // start inside, range keeps its end
      {-2, 1, "A"},
      {6, 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.count);
    EXPECT_EQ(Str(t.MidDBCS(c.start, c.count)), c.want);
  }
}

// Every cut position of every text made of a few interesting bytes: a
// DBCS cut never starts or ends inside a character, and never drops a byte
// of the range asked for.
TEST(CStringSearch, DoubleByteCutsSweep) {
  const unsigned char alphabet[] = {'a', 0x81, 0xFE, 0x40, 0x7F, 0xA1};
  const int n = sizeof alphabet;
  for (int code = 0; code < n * n * n * n; ++code) {
    std::string text;
    for (int k = 0, c = code; k < 4; ++k, c /= n) text += static_cast<char>(alphabet[c % n]);
    const CString s(text.c_str());
    const int len = static_cast<int>(text.size());
    for (int start = 0; start <= len; ++start) {
      for (int count = 0; start + count <= len; ++count) {
        const int wantStart = OracleInside(text, start) ? start - 1 : start;
        int wantEnd = start + count;
        if (OracleInside(text, wantEnd)) ++wantEnd;
        const std::string want = start >= len
                                     ? ""
                                     : text.substr(static_cast<size_t>(wantStart),
                                                   static_cast<size_t>(wantEnd - wantStart));
        ASSERT_EQ(Str(s.MidDBCS(start, count)), want) << code << " " << start << "," << count;
      }
      const int l = OracleInside(text, start) ? start + 1 : start;
      ASSERT_EQ(Str(s.LeftDBCS(start)), text.substr(0, static_cast<size_t>(l))) << code;
      const int r = OracleInside(text, len - start) ? start + 1 : start;
      ASSERT_EQ(Str(s.RightDBCS(start)), text.substr(static_cast<size_t>(len - r))) << code;
    }
  }
}

TEST(CStringSearch, DoubleByteFinds) {
  // D6 D0 B9 FA: the pair D0 B9 occurs only across the boundary.
  const CString t("\xD6\xD0\xB9\xFA");
  EXPECT_EQ(t.FindDBCS("\xD0\xB9"), -1);
  EXPECT_EQ(t.Find("\xD0\xB9"), 1);
  EXPECT_EQ(t.FindDBCS("\xB9\xFA"), 2);
  EXPECT_EQ(t.DBCSFind("\xB9\xFA"), 2);
  EXPECT_EQ(t.DBCSFind("\xD0\xB9"), -1);
  // A trail-byte match first, then a real one further on.
  const CString u(
      "\xC1"
      "a"
      "xa"
      "\xC1"
      "a");
  EXPECT_EQ(u.FindDBCS("a"), 3);
  EXPECT_EQ(u.FindNoCaseDBCS("A"), 3);
  EXPECT_EQ(u.FindNoCaseDBCS("XA", 1), 2);
  EXPECT_EQ(u.FindDBCS("a", 9), -1);
  EXPECT_EQ(u.DBCSFind("\xC1"
                       "a"),
            0);
  // A lead byte in the last position ends the walk.
  EXPECT_EQ(CString("ab\xC1").DBCSFind("\xC1"
                                       "a"),
            -1);
  // A lead byte without a trail is a one-byte character: the match counts.
  EXPECT_EQ(CString("\xC1"
                    "\x7F"
                    "z")
                .FindDBCS("\x7F"),
            1);
}

TEST(CStringSearch, SixteenBitUnits) {
  auto units = [](std::initializer_list<uint16_t> u) {
    CString s;
    for (uint16_t v : u) s.AddChars(reinterpret_cast<const char*>(&v), 0, 2);
    return s;
  };
  CString text = units({'a', 'B', 0x4E2D, 'c', 'b', 0x4E2D});
  text.AddChar('x');  // an odd last byte is ignored
  EXPECT_EQ(text.FindW(units({'b', 0x4E2D}), 0, 0), 4);
  EXPECT_EQ(text.FindW(units({'b', 0x4E2D}), 0, 1), 1);
  EXPECT_EQ(text.FindW(units({'b', 0x4E2D}), 2, 1), 4);
  EXPECT_EQ(text.FindW(units({0x4E2D - 0x20}), 0, 1), -1);  // units >= 256 never fold
  EXPECT_EQ(text.RvsFindW(units({'B', 0x4E2D}), -1, 1), 5);
  EXPECT_EQ(text.RvsFindW(units({'b', 0x4E2D}), 4, 0), -1);
  EXPECT_EQ(text.RvsFindW(units({'B', 0x4E2D}), 4, 0), 2);
  EXPECT_EQ(text.RvsFindW(CString(), -1, 0), -1);
}
