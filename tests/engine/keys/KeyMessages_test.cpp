// Key messages: the right-Alt click, the English-letter correction, the
// hot keys and the punctuation row.
#include <gtest/gtest.h>

#include <string>

#include "engine/FrameCommands.h"
#include "tests/engine/TypingFixture.h"

namespace {

using namespace typingtest;
using V = std::vector<std::string>;

class KeyMessages : public Typing {
 protected:
  void SetUp() override { Begin(lookuptest::PinYinSettings()); }
  // Letters typed in English input at the given clock times.
  void EnglishLetters(const char* letters, uint32_t start, uint32_t gap) {
    cfgInputManager.InputMode = kEnglishInput;
    for (const char* p = letters; *p; ++p, start += gap) {
      m_host.nowMs = start;
      EXPECT_EQ(Press(toupper(*p)), 0);
    }
  }
};

TEST_F(KeyMessages, RightAltClickReplays) {
  Type("zh");
  EXPECT_EQ(RightAltClick(), 0);
  EXPECT_EQ(Keys(), "zh");
  Type("o");
  EXPECT_EQ(RightAltClick(), 1);  // Return replayed: phrase building starts
  EXPECT_NE(dictionary.m_nZuCiMode, 0);
}

TEST_F(KeyMessages, EnglishLettersBecomePinyinAfterRightAltClick) {
  EnglishLetters("ni", 10000, 100);
  m_host.nowMs = 12000;
  cfgInputManager.InputMode = kChineseInput;
  dictionary.OnInputMDChange(1);
  EXPECT_EQ(m_host.Calls("beep").size(), 1u);
  m_host.calls.clear();
  const typFwdEventView saved = dictionary.m_fwdEvent;
  EXPECT_EQ(RightAltClick(), 1);
  // Two BackSpace presses with the display's keycode and no modifiers.
  EXPECT_EQ(m_host.Calls("forward"),
            (V{"forward keycode=59 state=0 type=2", "forward keycode=59 state=0 type=2"}));
  EXPECT_EQ(Keys(), "ni");
  EXPECT_EQ(dictionary.m_nInsertPt, 2);
  // The record of the client's key is left as the client sent it.
  EXPECT_EQ(memcmp(&saved, &dictionary.m_fwdEvent, sizeof saved), 0);
}

TEST_F(KeyMessages, NoOfferAfterFiveSeconds) {
  EnglishLetters("ni", 10000, 100);
  m_host.nowMs = 10100 + 5000;
  cfgInputManager.InputMode = kChineseInput;
  dictionary.OnInputMDChange(1);
  EXPECT_TRUE(m_host.Calls("beep").empty());
  EXPECT_EQ(RightAltClick(), 0);
  EXPECT_TRUE(m_host.Calls("forward").empty());
}

// A switch of mode or method keeps the number of candidates the user chose
// in pinyin input (limited to what the options offer); shape code pages by 8.
TEST_F(KeyMessages, ModeSwitchKeepsTheChosenPageSize) {
  struct Case {
    int32_t method, shown, onlyMode, want;
  } const cases[] = {
      {kPinYin, 5, 1, 5},   {kPinYin, 5, 0, 5}, {kPinYin, 1, 1, 2},
      {kPinYin, 40, 1, 10}, {kXingMa, 5, 1, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.method << " " << c.shown << " " << c.onlyMode);
    cfgInputManager.InputMthd = c.method;
    cfgInputManager.NumberOfCandidatesShown = c.shown;
    dictionary.m_nPageSize = 3;
    dictionary.OnInputMDChange(c.onlyMode);
    EXPECT_EQ(dictionary.m_nPageSize, c.want);
  }
}

TEST_F(KeyMessages, LetterRecordRestarts) {
  struct Case {
    const char* letters;
    uint32_t gap;
    const char* want;
  } const cases[] = {{"ab", 999, "AB"},
                     {"ab", 1000, "B"},
                     {"abcdefghijklmnopq", 10, "Q"},
                     {"abcdefghijklmnop", 10, "ABCDEFGHIJKLMNOP"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.letters);
    dictionary.ForgetEnglishLetters();
    EnglishLetters(c.letters, 5000, c.gap);
    EXPECT_EQ(std::string(dictionary.m_strEngKeys), c.want);
  }
}

// The host's record of the mode toggle posted to the main frame.
const std::string kToggleCommand = "command " + std::to_string(framecmd::kToggleInputMode);

TEST_F(KeyMessages, AltEqualsTogglesOrTypes) {
  EXPECT_EQ(Press('=', kRightAlt), 1);
  EXPECT_EQ(m_host.Calls("command"), V{kToggleCommand});
  m_host.calls.clear();
  EXPECT_EQ(Press('=', kLeftAlt), 1);  // an ordinary key, committed directly
  EXPECT_TRUE(m_host.Calls("command").empty());
  EXPECT_EQ(Commits(), V{"commit 3/4 ="});
}

TEST_F(KeyMessages, LoneCtrlClick) {
  cfgInputManager.ChnEnglshSwitchKey = 1;
  Press(keysym::kControlL);
  EXPECT_EQ(Release(keysym::kControlL), 0);
  EXPECT_EQ(m_host.Calls("command"), V{kToggleCommand});
  m_host.calls.clear();
  dictionary.m_nZuCiMode = 1;
  Press(keysym::kControlL);
  Release(keysym::kControlL);
  EXPECT_TRUE(m_host.Calls("command").empty());
  EXPECT_EQ(m_host.Calls("tip").size(), 1u);
}

TEST_F(KeyMessages, CapsLockReleaseEntersIMode) {
  Type("zh");
  EXPECT_EQ(Release(keysym::kCapsLock), 0);
  EXPECT_EQ(dictionary.m_bIMode, 0);
  dictionary.ResetChnInput(0, 0, 1);
  EXPECT_EQ(Release(keysym::kCapsLock, kShift), 0);
  EXPECT_EQ(Release(keysym::kCapsLock), 1);
  EXPECT_EQ(dictionary.m_bIMode, 1);
}

// Keys the main bar hands over with the right Alt held. ShuangPin's Alt+[
// (the i-mode, which the Alt+I tip points to) and Alt+U (the number mode)
// are the engine's; without ShuangPin, Alt+U stays the client's.
TEST_F(KeyMessages, ShuangPinRightAltKeysReachTheEngine) {
  cfgInputManager.ShuangPin = 1;
  Press(keysym::kAltR, kRightAlt, "");
  EXPECT_EQ(Press('I', kRightAlt), 1);
  EXPECT_NE(std::string(dictionary.m_strTip).find("Alt+["), std::string::npos);
  EXPECT_EQ(Press('[', kRightAlt), 1);
  EXPECT_EQ(dictionary.m_bIMode, 1);
  EXPECT_EQ(std::string(dictionary.m_strTip), std::string(gI_ModeStr));
  EXPECT_EQ(Press('N'), 0) << "in the i-mode the client gets the letters";

  dictionary.ResetChnInput(1, 0, 1);
  m_host.calls.clear();
  EXPECT_EQ(Press('U', kRightAlt), 1);
  EXPECT_EQ(dictionary.m_bChnNum, 1);
  EXPECT_EQ(Press('2'), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 二"});

  dictionary.m_bChnNum = 0;
  cfgInputManager.ShuangPin = 0;
  EXPECT_EQ(Press('U', kRightAlt), 0);
  EXPECT_EQ(dictionary.m_bChnNum, 0);
}

TEST_F(KeyMessages, PunctuationRow) {
  EXPECT_EQ(CChnChars::GetKeyCode(11), 0);
  EXPECT_EQ(CChnChars::GetKeyCode(-1), 0);
  EXPECT_EQ(CChnChars::GetKeyCode(0), '`');
  EXPECT_EQ(dictionary.Translate2NormalBiHua(5), ';');
  cfgInputManager.ShuangPin = 1;
  cfgInputManager.ShuangPinScheme = 0;
  EXPECT_EQ(dictionary.Translate2NormalBiHua(5), '/');
  typKeyContext ctx{};
  EXPECT_EQ(CChnChars::GetKeyContext('\\', 0, &ctx, 0), 1);
  EXPECT_EQ(ctx.keyPos, 10);
  EXPECT_EQ(CChnChars::GetKeyContext('a', 0, &ctx, 0), 0);
}

}  // namespace
