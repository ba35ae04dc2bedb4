#include <gtest/gtest.h>

#include <cstring>

#include "controls/RcCmplr.h"

namespace {

TEST(RcText, StripWhitespacesAtEnds) {
  struct Case {
    const char* text;
    int max;
    int result;
    const char* want;
  } const cases[] = {
      {" \t a b \r\n", 10, 1, "a b"}, {"ab", 1, 1, "ab"},
      {"   x", 3, 0, "   x"},         {"   x", 4, 1, "x"},
      {" \r\n\t ", 10, 1, ""},        {"", 5, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buf[32];
    strcpy(buf, c.text);
    EXPECT_EQ(StripWhitespacesAtEnds(buf, c.max), c.result);
    EXPECT_STREQ(buf, c.want);
  }
}

TEST(RcText, CharacterAndWordTests) {
  EXPECT_EQ(IsCSymChar('a'), 1);
  EXPECT_EQ(IsCSymChar('Z'), 1);
  EXPECT_EQ(IsCSymChar('5'), 1);
  EXPECT_EQ(IsCSymChar('_'), 1);
  EXPECT_EQ(IsCSymChar('$'), 1);
  EXPECT_EQ(IsCSymChar('|'), 0);
  EXPECT_EQ(IsCSymChar(0xB0), 0);  // a GBK lead byte
  EXPECT_EQ(IsCSymChar(-1), 0);

  struct Quotes {
    const char* text;
    int result;
  } const quotes[] = {{"\"a", 1},       {"\"a\"", 0},  {"\\\"a", 0},
                      {"\"a\\\" b", 1}, {"\"\"\"", 3}, {"", 0}};
  for (const Quotes& q : quotes) {
    CString text(q.text);
    EXPECT_EQ(HasOddQuotes(text), q.result) << q.text;
  }

  for (const char* w : {"LTEXT", "ICON", "CONTROL", "COMBOBOX", "EDITTEXT", "GROUPBOX",
                        "PUSHBUTTON", "LISTBOX", "RTEXT", "DEFPUSHBUTTON", "CTEXT", "SCROLLBAR"})
    EXPECT_EQ(IsDlgStartTerm(w), 1) << w;
  for (const char* w : {"ltext", "END", "BEGIN", "LTEXT,", ""})
    EXPECT_EQ(IsDlgStartTerm(w), 0) << w;
  for (const char* w : {"BEGIN", "END", "POPUP", "MENUITEM"}) EXPECT_EQ(IsMnuStartTerm(w), 1) << w;
  for (const char* w : {"begin", "SEPARATOR", "MENUITEM\""}) EXPECT_EQ(IsMnuStartTerm(w), 0) << w;
}

}  // namespace
