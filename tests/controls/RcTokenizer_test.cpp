#include <gtest/gtest.h>

#include <string>

#include "controls/RcCmplr.h"

namespace {

std::string Terms(CRcCmplr& rc, const char* text, int* count) {
  CString line(text);
  CString terms[CRcCmplr::kMaxTerms];
  *count = rc.GetTermsInLine_RC(line, terms);
  std::string out;
  for (int i = 0; i < *count; ++i) out += (i ? "|" : "") + std::string(terms[i]);
  return out;
}

TEST(RcTokenizer, SplitsLinesIntoTerms) {
  struct Case {
    const char* line;
    int count;
    const char* terms;
  } const cases[] = {
      {"CONTROL \"Check\",1001,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7,7,50,10", 11,
       "CONTROL|Check|1001|Button|BS_AUTOCHECKBOX|||WS_TABSTOP|7|7|50|10"},
      {"FONT 9, \"MS Sans Serif\"", 3, "FONT|9|MS Sans Serif"},
      {"CAPTION \"a, (b)\"", 2, "CAPTION|a, (b)"},
      {"LTEXT \"\",1127,64,40,30,10", 7, "LTEXT||1127|64|40|30|10"},
      {"word ()", 2, "word|()"},
      {"#pragma code_page(936)", 3, "#pragma|code_page|936"},
      {"MENUITEM \"&Open\\tCtrl+O\", 57601", 3, "MENUITEM|&Open\\tCtrl+O|57601"},
      {"a;b~c@d`e", 5, "a|b|c|d|e"},
      {"#define IDC_A 1001", 3, "#define|IDC_A|1001"},
      {"#define A 1, 2", 0, ""},
      {"#undef A B", 0, ""},
      {"#undef", 0, ""},
      {"#define", 0, ""},
      {"IDD_X DIALOG 0, 0, 10", 0, ""},
      {"IDD_X DIALOGEX 0, 0, 10, 20", 6, "IDD_X|DIALOGEX|0|0|10|20"},
      {"1 ICON", 0, ""},
      {"CAPTION", 0, ""},
      {"a (b", 0, ""},
      {"a ( x )", 0, ""},
      {"{ x", 2, "{|x"},
      {"{ a, b", 0, ""},
  };
  CRcCmplr rc;
  rc.EchoReports(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    int n = -1;
    const std::string got = Terms(rc, c.line, &n);
    EXPECT_EQ(n, c.count);
    EXPECT_EQ(got, c.terms);
  }
}

TEST(RcTokenizer, QuoteInsideAWordSplitsIt) {
  CRcCmplr rc;
  int n = 0;
  EXPECT_EQ(Terms(rc, "ab\"cd\"", &n), "ab|cd");
  EXPECT_EQ(n, 2);
}

TEST(RcTokenizer, EmptyLineLeavesTheTermsAlone) {
  CRcCmplr rc;
  CString line;
  CString terms[CRcCmplr::kMaxTerms];
  terms[0] = "kept";
  EXPECT_EQ(rc.GetTermsInLine_RC(line, terms), 0);
  EXPECT_STREQ(terms[0], "kept");
}

TEST(RcTokenizer, NeverWritesPastSixtyFourTerms) {
  for (int nTerms : {63, 64, 65, 200}) {
    SCOPED_TRACE(nTerms);
    std::string text;
    for (int i = 0; i < nTerms; ++i) text += "t" + std::to_string(i) + " ";
    CRcCmplr rc;
    rc.EchoReports(false);
    int n = -1;
    Terms(rc, text.c_str(), &n);
    EXPECT_EQ(n, nTerms <= CRcCmplr::kMaxTerms ? nTerms : 0);
  }
  // Quotes raise the count without text of their own.
  std::string quotes;
  for (int i = 0; i < 100; ++i) quotes += "\"\"";
  CRcCmplr rc;
  rc.EchoReports(false);
  int n = -1;
  Terms(rc, quotes.c_str(), &n);
  EXPECT_EQ(n, 0);
}

}  // namespace
