// Direct output, the i-mode and the number modes, fed as key messages.
#include <gtest/gtest.h>

#include "tests/engine/TypingFixture.h"

namespace {

using namespace typingtest;
using V = std::vector<std::string>;

class DirectOutput : public Typing {
 protected:
  void SetUp() override { Begin(lookuptest::PinYinSettings()); }
};

TEST_F(DirectOutput, ShiftDigitAndFunctionKeys) {
  EXPECT_EQ(Press('1', kShift, "1"), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 !"});
  m_host.calls.clear();
  EXPECT_EQ(Press(keysym::kF1, kNone, ""), 0);  // nothing to commit: the client's key
  EXPECT_TRUE(Commits().empty());
  Type("zh");
  EXPECT_EQ(Press(keysym::kF1, kNone, ""), 0);
}

// A key without text has nothing to output directly: it goes back to the
// client (F5 reloads, the Super key opens the menu), and the keys typed and
// the last commit stay, instead of the key being swallowed with a reset.
TEST_F(DirectOutput, KeysWithoutTextGoBackToTheClient) {
  struct Case {
    unsigned long key;
    int mods;
    const char* typed;
  } const cases[] = {
      {0xFFC2, kNone, ""},      // F5
      {0xFFEB, kNone, ""},      // Super_L
      {0x1008FF13, kNone, ""},  // a volume key
      {0xFFC2, kShift, ""},
      {0xFFC2, kShift, "zh"},  // Shift sends a key to the direct output
      {keysym::kAltL, kLeftAlt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::hex << c.key << " mods " << c.mods << " on '" << c.typed << "'");
    Fresh();
    Type(c.typed);
    dictionary.m_lastCommit = typCharFatFmt::Char(0xD6, 0xD0);
    m_host.calls.clear();
    EXPECT_EQ(Press(c.key, c.mods, ""), 0);
    EXPECT_TRUE(Commits().empty());
    EXPECT_EQ(Keys(), c.typed);
    EXPECT_EQ(dictionary.m_lastCommit.kind, kFatChar) << "the last commit is kept";
  }
}

// Chinese punctuation and full-width symbols arrive as the characters the
// tables name, lead byte first.
TEST_F(DirectOutput, ChinesePunctuationAndFullWidthSymbols) {
  cfgInputManager.UseChnPunctMark = 1;
  EXPECT_EQ(Press(',', kNone, ","), 1);
  EXPECT_EQ(Press('1', kShift, "1"), 1);
  cfgInputManager.UseChnPunctMark = 0;
  cfgInputManager.FullSize = 1;
  EXPECT_EQ(Press('5', kShift, "5"), 1);
  EXPECT_EQ(Commits(), (V{"commit 3/4 ，", "commit 3/4 ！", "commit 3/4 ％"}));
}

TEST_F(DirectOutput, IModeInAndOut) {
  cfgInputManager.UseIKey4IMode = 1;
  EXPECT_EQ(Press('I'), 1);
  EXPECT_EQ(dictionary.m_bIMode, 1);
  EXPECT_EQ(Press('A'), 0);
  EXPECT_EQ(Keys(), "");
  EXPECT_EQ(Press(keysym::kEscape), 1);
  EXPECT_EQ(dictionary.m_bIMode, 0);
  EXPECT_EQ(Press(keysym::kEscape), 0);
}

TEST_F(DirectOutput, ShiftSpaceCommitsLettersAsEnglish) {
  Type("nihao1");
  EXPECT_EQ(Press(keysym::kSpace, kShift, " "), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 nihao "});
  EXPECT_EQ(dictionary.m_bIMode, 1);
  m_host.calls.clear();
  EXPECT_EQ(Press(keysym::kSpace, kShift, " "), 0);  // leaves; the client gets the space
  EXPECT_EQ(dictionary.m_bIMode, 0);
  EXPECT_TRUE(Commits().empty());
}

TEST_F(DirectOutput, NumberModes) {
  dictionary.m_bChnNum = 1;
  Press('2');
  Press('0');
  Press('O');
  EXPECT_EQ(Commits(), (V{"commit 3/4 二", "commit 3/4 十", "commit 3/4 Ｏ"}));
  m_host.calls.clear();
  dictionary.m_bChnNum = 0;
  dictionary.m_bChnNumFanTi = 1;
  Press('2');
  Press('0');
  Press('O');
  EXPECT_EQ(Commits(), (V{"commit 3/4 贰", "commit 3/4 拾", "commit 3/4 零"}));
  EXPECT_EQ(Press('Z'), 1);  // ends the mode, then an ordinary key
  EXPECT_EQ(dictionary.m_bChnNumFanTi, 0);
  EXPECT_EQ(Keys(), "z");
}

// The number mode says how its keys type while it is on; the tip goes when
// the mode is switched off. English input has no number mode.
TEST_F(DirectOutput, NumberModeTip) {
  cfgInputManager.UseUKey4ChnNum = 1;
  EXPECT_EQ(Press('U'), 1);
  EXPECT_EQ(dictionary.m_bChnNum, 1);
  const std::string tip = " u-中数模式. 请敲数字键.字母 O 输 Ｏ；数字 0 输 十。";
  EXPECT_EQ(Last("tip"), "tip " + tip);
  EXPECT_EQ(lookuptest::ToUtf8(dictionary.m_strTip), tip);
  dictionary.SetChnNumMode();
  EXPECT_EQ(dictionary.m_bChnNum, 0);
  EXPECT_EQ(Last("tip"), "tip ");
  EXPECT_TRUE(dictionary.m_strTip.IsEmpty());
  m_host.calls.clear();
  cfgInputManager.InputMode = kEnglishInput;
  dictionary.SetChnNumMode();
  EXPECT_EQ(dictionary.m_bChnNum, 0);
  EXPECT_TRUE(m_host.Calls("tip").empty());
}

TEST_F(DirectOutput, RepeatWithoutCommitClosesReSelection) {
  dictionary.m_nReSelState = 0;
  dictionary.Repeatlastchnchar(kFocus);
  EXPECT_TRUE(Commits().empty());
  EXPECT_LT(dictionary.m_nReSelState, 0);
  dictionary.m_lastCommit = choicetest::CharOf("中");
  dictionary.Repeatlastchnchar(kFocus);
  EXPECT_EQ(Commits(), V{"commit 3/4 中"});
}

}  // namespace
