// Formatting of message texts: translations from the UI-text file are used
// as formats only when they take the same arguments; the result is bounded.
#include <gtest/gtest.h>

#include <string>

#include "controls/CMsgBox.h"
#include "controls/internal/MsgFormat.h"
#include "framework/UIStrings.h"
#include "tests/controls/RcTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(MsgFormat, SignatureTable) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  } const cases[] = {
      {"Error%d: Cannot open file[%s]!", "\xb4\xed\xce\xf3%d [%s]", true},
      {"%d files", "%x files", true},  // the same int argument in another base
      {"%5.2f%%", "%f percent %%", true},
      {"%ld", "%d", false},       // another width of argument
      {"%d %s", "%s %d", false},  // swapped
      {"%s", "%s %s", false},     // reads one more than passed
      {"%s", "%n", false},        // writes through its argument
      {"%s", "%1$s", false},      // positional
      {"%d", "%*d", false},       // an extra int for the width
      {"abc", "def%", false},     // unfinished
      {"plain", "\xd6\xd0\xce\xc4", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " / " << c.b);
    EXPECT_EQ(msgfmt::SameConversions(c.a, c.b), c.same);
  }
}

class ChMsgTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rctest::WriteFile(dir.File("morvelui.ini"),
                      "[UI_STR]\n"
                      "Error%d: Cannot open file[%s]!=\xb4\xed\xce\xf3%d: [%s]\n"
                      "Count %d=%s%s%s%s\n"
                      "Empty=\n");
    saved = gstrUIINI;
    gstrUIINI = dir.File("morvelui.ini").c_str();
  }
  void TearDown() override { gstrUIINI = saved; }
  kvrtest::ScratchDir dir;
  CString saved;
};

TEST_F(ChMsgTextTest, MatchingTranslationIsTheFormat) {
  EXPECT_STREQ(ChMsgText("Error%d: Cannot open file[%s]!", 0, 5, "a.dic"),
               "\xb4\xed\xce\xf3"
               "5: [a.dic]");
  // literal: the format as it stands
  EXPECT_STREQ(ChMsgText("Error%d: Cannot open file[%s]!", 1, 5, "a.dic"),
               "Error5: Cannot open file[a.dic]!");
}

TEST_F(ChMsgTextTest, TranslationTakingOtherArgumentsIsNotUsed) {
  // The translation would read four strings where one int was passed.
  EXPECT_STREQ(ChMsgText("Count %d", 0, 42), "Count 42");
}

TEST_F(ChMsgTextTest, EmptyTranslationGivesAnEmptyText) { EXPECT_STREQ(ChMsgText("Empty", 0), ""); }

TEST_F(ChMsgTextTest, FormattedTextIsCutAt159Bytes) {
  const std::string longArg(400, 'x');
  const CString text = ChMsgText("[%s]", 1, longArg.c_str());
  EXPECT_EQ(text.GetLength(), 159);
  EXPECT_EQ(text[0], '[');
}

TEST_F(ChMsgTextTest, MissingFileLeavesTheFormat) {
  gstrUIINI = dir.File("none.ini").c_str();
  EXPECT_STREQ(ChMsgText("Count %d", 0, 7), "Count 7");
}

}  // namespace
