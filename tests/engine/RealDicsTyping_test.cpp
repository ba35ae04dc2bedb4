// A typing session on the shipped dictionaries: key messages in, the
// commit out through the seam.
#include <gtest/gtest.h>

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

}  // namespace
