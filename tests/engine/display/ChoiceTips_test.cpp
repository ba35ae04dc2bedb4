// The status tip of each candidate display: the help line that rotates
// over twelve displays, the fixed help lines that come first, and the
// coding tip.
#include <gtest/gtest.h>

#include "tests/engine/ChoiceFixture.h"

namespace {

const char kZuCiLine[] = "☆按<右Alt>或回车键可进入自动组词.";
const char kZuCiInsertLine[] = "☆按<右Alt>或回车键或插入键Insert可进入自动组词.";
const char* const kRotating[] = {
    kZuCiLine,
    kZuCiLine,
    kZuCiLine,
    "☆按Shift+空格或<左Alt>+空格或<右Alt>+E可将已输字母按英文处理.",
    "☆按Shift+空格 可将已输字母按英文输入(并加一空格)。",
    "☆按<左Alt>+空格 可将已输字母按英文输入.",
    "☆按Shift+空格或<左Alt>+空格将已输字母按英文处理,并进入英数状态.",
    "☆按<右Alt>+E 或<右Alt>+[ 将已输字母按英文处理(但不进英数状态).",
    "☆按左右和上下箭头可移动输入字母串时的插入点. 上下箭头每次走一个字.",
    kZuCiLine,
    kZuCiLine,
    kZuCiLine,
};

class StatusTips : public choicetest::Engine {
 protected:
  void SetUp() override { StartPinYin(choicetest::TipsOn(lookuptest::PinYinSettings())); }
  std::string Display(const char* keys) {
    Keys(keys);
    dictionary.ShowChoiceList(0, 0);
    return Last("tip ");
  }
};

}  // namespace

TEST_F(StatusTips, HelpLineRotatesOverTwelveDisplays) {
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 12; ++i) {
      SCOPED_TRACE(testing::Message() << round << "/" << i);
      const std::string tip = Display("qqq");
      EXPECT_NE(tip.find(kRotating[i]), std::string::npos) << tip;
    }
  EXPECT_EQ(nRotate, 0);
}

TEST_F(StatusTips, TwoKeysGetNoHelpLine) {
  const std::string tip = Display("qq");
  EXPECT_EQ(tip.find("☆"), std::string::npos) << tip;
  EXPECT_EQ(nRotate, 0);
}

TEST_F(StatusTips, InsertPointBeforeTheEndNamesInsert) {
  Keys("qqq");
  dictionary.m_nInsertPt = 1;
  dictionary.ShowChoiceList(0, 0);
  EXPECT_NE(Last("tip ").find(kZuCiInsertLine), std::string::npos);
}

TEST_F(StatusTips, ShuangPinLeavesOutTheBracketKey) {
  cfgInputManager.ShuangPin = 1;
  nRotate = 7;
  const std::string tip = Display("qqq");
  EXPECT_NE(tip.find("☆按<右Alt>+E 将已输字母按英文处理(但不进英数状态)."), std::string::npos)
      << tip;
}

TEST_F(StatusTips, FixedHelpLinesComeFirst) {
  dictionary.m_nZuCiMode = 1;
  EXPECT_NE(Display("qqq").find("☆按<右Alt>或上页键PageUp或\\键缩小配字窗口"), std::string::npos);
  EXPECT_NE(Display("q").find("☆按下页键PageDown或右箭头扩大配字窗口."), std::string::npos);
  dictionary.m_nZuCiMode = 0;
  EXPECT_NE(Display("v").find("v符号模式."), std::string::npos);
  EXPECT_EQ(nRotate, 0);
}

TEST_F(StatusTips, CodingTipIsWrapped) {
  EXPECT_NE(Display("nuren").find(" (注意:女输为“nv”而非“nu”)"), std::string::npos);
}

TEST_F(StatusTips, NothingWithTipsOff) {
  cfgInputManager.ShowTip = 0;
  Display("nuren");
  EXPECT_TRUE(m_host.Calls("tip ").empty());
  EXPECT_EQ(nRotate, 0);
}
