// CString::Format: the framework's directives, and no overrun whatever the
// width, precision or argument.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "base/CString.h"

namespace {

std::string Str(const CString& s) { return std::string(s.GetString(), s.GetLength()); }

}  // namespace

TEST(CStringFormat, Directives) {
  const CString t("T");
  const CString empty;
  CString s;
  struct Case {
    const char* name;
    std::string got, want;
  } const cases[] = {
      {"every kind at once", Str(s.Format("%5d|%-3s|%.2s|%%|%!", 42, "x", "hello", &t)),
       "   42|x|he|%|T"},
      {"%n stops", Str(s.Format("a%nb%d", 1)), "ab%d"},
      {"%S stops", Str(s.Format("%d%S%d|%s", 1, 2)), "1%d|%s"},
      {"cut directive", Str(s.Format("ab%")), "ab"},
      {"cut after flags", Str(s.Format("ab%-5")), "ab"},
      {"unknown conversion", Str(s.Format("%5q|%d", 3)), "q|3"},
      {"unknown takes no star", Str(s.Format("%*q|%d", 3)), "q|3"},
      {"width ignored for s", Str(s.Format("[%10s]", "ab")), "[ab]"},
      {"precision 0", Str(s.Format("[%.0s]", "ab")), "[]"},
      {"precision long", Str(s.Format("[%.9s]", "ab")), "[ab]"},
      {"dot alone", Str(s.Format("[%.s]", "ab")), "[ab]"},
      {"integers", Str(s.Format("%i %o %u %x %X %c", -1, 8, 3u, 255, 255, 'z')), "-1 10 3 ff FF z"},
      {"floats", Str(s.Format("%.2f %e %g", 1.5, 1.0, 0.25)), "1.50 1.000000e+00 0.25"},
      {"%ld takes a long", Str(s.Format("%ld|%d", 1L << 40, 7)), "1099511627776|7"},
      {"%lx takes a long", Str(s.Format("%lx", -1L)), "ffffffffffffffff"},
      {"%lld", Str(s.Format("%lld|%d", -(1LL << 62), 5)), "-4611686018427387904|5"},
      {"%hd", Str(s.Format("%hd", 65537)), "1"},
      {"star takes an int", Str(s.Format("[%*d|%.*s]", 4, 7, 2, "abc")), "[   7|ab]"},
      {"%Lf", Str(s.Format("%.1Lf|%d", static_cast<long double>(2.5), 9)), "2.5|9"},
      {"%! empty", Str(s.Format("<%!>", &empty)), "<>"},
      {"text only", Str(s.Format("plain")), "plain"},
      {"null %s", Str(s.Format("%s", static_cast<const char*>(nullptr))), "(null)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
}

TEST(CStringFormat, PointerIsAPointer) {
  int x = 0;
  char want[64];
  std::snprintf(want, sizeof want, "%p|%d", static_cast<void*>(&x), 3);
  CString s;
  s.Format("%p|%d", static_cast<void*>(&x), 3);
  EXPECT_STREQ(s, want);
}

TEST(CStringFormat, HugeWidthsDoNotOverrun) {
  CString s;
  s.Format("%300d|", 5);
  EXPECT_EQ(s.GetLength(), 301);
  s.Format("%.300f", 1.0);
  EXPECT_EQ(s.GetLength(), 302);
  s.Format("%f", 1e300);  // 301 integer digits
  EXPECT_EQ(s.GetLength(), 301 + 7);
  s.Format("%-1000p", static_cast<void*>(nullptr));
  EXPECT_EQ(s.GetLength(), 1000);
  // A directive far longer than 64 bytes.
  const std::string longSpec = "%" + std::string(100, '0') + "5d";
  s.Format(longSpec.c_str(), 12);
  EXPECT_STREQ(s, "00012");
  // A width snprintf cannot produce appends nothing and goes on.
  s.Format("a%9999999999db", 1);
  EXPECT_STREQ(s, "ab");
}

TEST(CStringFormat, ArgumentsMayBeTheStringItself) {
  CString s("abc");
  s.Format("%s-%s", s.GetString(), s.GetString());
  EXPECT_STREQ(s, "abc-abc");
  s.Format("[%!]", &s);
  EXPECT_STREQ(s, "[abc-abc]");
  CString shared(s);
  s.Format("%d", 1);
  EXPECT_STREQ(shared, "[abc-abc]");
}
