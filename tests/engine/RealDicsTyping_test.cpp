// A typing session on the shipped dictionaries: key messages in, the
// commit out through the seam.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/TypingFixture.h"

namespace {

class RealTyping : public typingtest::Typing {
 protected:
  void SetUp() override {
    Start(kvrtest::DistDir(), lookuptest::PinYinSettings());
    Fresh();
    m_host.focus = typingtest::kFocus;
    memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
    dictionary.m_fwdEvent.connect_id = 1;
    dictionary.m_fwdEvent.icid = 2;
  }
};

TEST_F(RealTyping, ZhongGuoAndSpace) {
  Type("zhongguo");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 中国"});
  EXPECT_EQ(Keys(), "");
}

// V-mode words on the shipped keyword file. A word names its line's key,
// which is shorter than the keys typed (the leading v): the pick must
// commit the word, not take it for a partial match and start phrase
// building (which offered the rest of the keys and learned the symbol).
TEST_F(RealTyping, VModeWordsAreCommittedWhole) {
  struct Case { const char* keys; unsigned long pick; const char* want; } const cases[] = {
      {"vyue", keysym::kSpace, "月"},        // a unit word, the only candidate
      {"vxighao", keysym::kSpace, "★"},     // a symbol name, first of two
      {"vxighao", '2', "☆"},
      {"vsjiao", keysym::kSpace, "▲"},      // a second key of the same line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Fresh();
    m_host.calls.clear();
    Type(c.keys);
    EXPECT_EQ(Press(c.pick), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
    EXPECT_EQ(Keys(), "");
    EXPECT_EQ(dictionary.m_nZuCiMode, 0);
    EXPECT_TRUE(dictionary.m_strPendingCi.IsEmpty()) << "nothing to learn";
  }
}

// Right Alt + '-' re-chooses the last commit: a BackSpace goes to the
// client, then the next candidate of the same list. The right Alt's own
// press does not close the cycle.
TEST_F(RealTyping, RightAltMinusReChoosesTheLastCommit) {
  Type("zhong");
  ASSERT_EQ(Press(keysym::kSpace), 1);
  Press(keysym::kAltR, typingtest::kRightAlt, "");
  EXPECT_EQ(Press('-', typingtest::kRightAlt), 1);
  EXPECT_EQ(Commits(), (std::vector<std::string>{"commit 1/2 中", "commit 1/2 种"}));
  const auto forwarded = m_host.Calls("forward");
  ASSERT_EQ(forwarded.size(), 1u) << "one character to erase";
  EXPECT_EQ(forwarded[0].rfind("forward keycode=" + std::to_string(m_host.backSpaceKeycode), 0), 0u)
      << forwarded[0];
  EXPECT_EQ(Press('-', typingtest::kRightAlt), 1);
  EXPECT_EQ(Commits().back(), "commit 1/2 重");
}

// Right Alt with a digit, or with the grave accent for the first, replaces
// the phrase just committed by one of its characters: BackSpaces for the
// phrase, then the character.
TEST_F(RealTyping, RightAltDigitOrGravePicksACharacterOfTheLastPhrase) {
  struct Case { unsigned long key; const char* want; } const cases[] = {
      {'1', "中"}, {keysym::kGrave, "中"}, {'2', "国"}, {'8', "国"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    Fresh();
    Type("zhongguo");
    ASSERT_EQ(Press(keysym::kSpace), 1);
    Press(keysym::kAltR, typingtest::kRightAlt, "");
    m_host.calls.clear();
    EXPECT_EQ(Press(c.key, typingtest::kRightAlt), 1);
    EXPECT_EQ(m_host.Calls("forward").size(), 2u) << "the phrase is erased";
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
  }
}

// Shape-code input on the shipped Wubi 86 codes, which use the letters
// only: a digit or punctuation key typed on no keys is output at once (as
// in pinyin input), and a digit typed after keys selects from the list,
// instead of entering a key string that can match nothing.
class RealShapeTyping : public RealTyping {
 protected:
  void SetUp() override {
    RealTyping::SetUp();
    cfgInputManager.ExcludeLevel = 10000;
    UseMethod(kXingMa);
    Fresh();
  }
};

TEST_F(RealShapeTyping, KeysNoCodeUsesAreOutputDirectly) {
  struct Case { unsigned long key; int mods; int punct, full; const char* want; } const cases[] = {
      {',', typingtest::kNone, 0, 0, ","},  {',', typingtest::kNone, 1, 0, "，"},
      {'.', typingtest::kNone, 1, 0, "。"}, {'1', typingtest::kNone, 0, 0, "1"},
      {'1', typingtest::kNone, 0, 1, "１"}, {'/', typingtest::kNone, 0, 0, "/"},
      {'6', typingtest::kShift, 1, 0, "…"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    Fresh();
    cfgInputManager.UseChnPunctMark = c.punct;
    cfgInputManager.FullSize = c.full;
    EXPECT_EQ(Press(c.key, c.mods), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
    EXPECT_EQ(Keys(), "");
  }
  Fresh();
  EXPECT_EQ(Press('Z'), 1) << "a letter always enters the keys";
  EXPECT_EQ(Keys(), "z");
  EXPECT_TRUE(Commits().empty());
}

TEST_F(RealShapeTyping, DigitsAfterKeysSelect) {
  for (unsigned long digit : {'1', '2', '9'}) {
    SCOPED_TRACE(static_cast<char>(digit));
    Fresh();
    Type("wqiy");
    const int n = dictionary.m_arrChoices.GetSize();
    ASSERT_GE(n, 2) << "a code with several candidates";
    const std::string want =
        lookuptest::Text(dictionary.m_arrChoices[std::min<int>(static_cast<int>(digit - '1'), n - 1)]);
    EXPECT_EQ(Press(digit), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 " + want});
    EXPECT_EQ(Keys(), "");
  }
}

// The fifth key after a four-key code shows the code as a row; picking the
// row commits its character and keeps the fifth key for the next one.
TEST_F(RealShapeTyping, AKeyTypedAfterACodeStaysAfterThePick) {
  Type("trntw");
  ASSERT_GE(dictionary.m_arrSegChoices.GetSize(), 1);
  const typCharFatFmt row = dictionary.m_arrSegChoices[0];
  ASSERT_EQ(std::string(row.key), "trnt");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 " + lookuptest::Text(row)});
  EXPECT_EQ(Keys(), "w");
  EXPECT_EQ(dictionary.m_nInsertPt, 1);
  EXPECT_GT(dictionary.m_arrChoices.GetSize(), 0) << "the candidates of w are shown";
  EXPECT_GE(dictionary.m_nReSelState, 0) << "the pick can still be re-chosen";
  Type("qiy");
  EXPECT_EQ(Keys(), "wqiy");
}

// The repeated-root tip names a mistake; a code of the shipped shape code
// made of equal keys (the key-name characters of Wubi 86) is none.
TEST_F(RealShapeTyping, RepeatedRootTipSparesRealCodes) {
  struct Case { const char* keys; const char* want; } const cases[] = {
      {"ffff", ""}, {"aaaa", ""}, {"kkkk", ""}, {"jjjf", ""},
      {"aaab", "注意:若字根重复3次,且连在一起,则敲该字根一次,然后敲3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    CString tip;
    dictionary.m_bLookAheadHit = 0;
    dictionary.GetTipMsg(c.keys, tip, 1);
    EXPECT_EQ(lookuptest::ToUtf8(tip), c.want);
  }
}

}  // namespace
