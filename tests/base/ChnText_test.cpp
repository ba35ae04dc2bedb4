#include <gtest/gtest.h>

#include "base/ChnText.h"

namespace {

TEST(ChnText, RestoreCompletePYTable) {
  struct Case {
    const char *in, *out;
  } const cases[] = {
      {"zhag", "zhang"},
      {"zhang", "zhang"},
      {"jv", "ju"},
      {"qvxvyv", "quxuyu"},
      {"beg", "beng"},
      {"xig", "xing"},
      {"hog", "hong"},
      {"", ""},
      {"agag", "angang"},
      // Replacements run in order over the whole text: "ag" first, then "eg".
      {"gaeg", "gaeng"},
      {"nv", "nv"},
  };
  for (const Case& c : cases) {
    CString py(c.in);
    EXPECT_EQ(RestoreCompletePY(py), 1);
    EXPECT_STREQ(py, c.out) << c.in;
  }
}

TEST(ChnText, StrBig5ToGbBySys) {
  CString out("old");
  // 中文 in Big5 (A4A4 A4E5) and GBK (D6D0 CEC4).
  ASSERT_EQ(StrBig5ToGbBySys("a\xA4\xA4\xA4\xE5", out, 0), 1);
  EXPECT_STREQ(out, "a\xD6\xD0\xCE\xC4");
  ASSERT_EQ(StrBig5ToGbBySys("\xD6\xD0\xCE\xC4z", out, 1), 1);
  EXPECT_STREQ(out, "\xA4\xA4\xA4\xE5z");
  // A byte that is no Big5 becomes '?', and the rest still converts.
  ASSERT_EQ(StrBig5ToGbBySys("\xFF"
                             "b\xA4\xA4",
                             out, 0),
            1);
  EXPECT_STREQ(out, "?b\xD6\xD0");
  ASSERT_EQ(StrBig5ToGbBySys("", out, 0), 1);
  EXPECT_STREQ(out, "");
  // A long text goes through in pieces.
  CString big;
  for (int i = 0; i < 500; ++i) big += "\xA4\xA4";
  ASSERT_EQ(StrBig5ToGbBySys(big, out, 0), 1);
  EXPECT_EQ(out.GetLength(), 1000);
}

}  // namespace
