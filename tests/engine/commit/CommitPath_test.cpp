// The commit path: output conversion and routing to an edit control, to
// the XIM client, or nowhere.
#include <gtest/gtest.h>

#include "engine/commit/CommitText.h"
#include "tests/engine/TypingFixture.h"

namespace {

using namespace typingtest;
using V = std::vector<std::string>;

class CommitPath : public Typing {
 protected:
  void SetUp() override { Begin(lookuptest::PinYinSettings()); }
  void Send(const std::string& gbk, unsigned long window = 0) {
    dictionary.SendChnChar2HwndDirect(window, gbk.c_str(), static_cast<int>(gbk.size()), 0, 0);
  }
};

TEST_F(CommitPath, Conversion) {
  struct Case {
    const char* in;
    bool addSpace;
    const char* want;
  } const cases[] = {{"中文", true, "中 文 "},
                     {"Ａ", true, "Ａ"},
                     {"ab", true, "ab"},
                     {"中文", false, "中文"},
                     {"a", false, "a"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    const std::string in(lookuptest::ToGbk(c.in));
    EXPECT_EQ(
        lookuptest::ToUtf8(CString(ConvertCommitText(dictionary, in, false, c.addSpace).c_str())),
        c.want);
  }
  // A lead byte without its trail byte is dropped, with and without options.
  EXPECT_EQ(ConvertCommitText(dictionary, "a\xD6", false, false), "a");
  EXPECT_EQ(ConvertCommitText(dictionary, "\xD6\xD0\xD6", false, true), "\xD6\xD0 ");
  // Traditional output keeps the length: two bytes per character.
  EXPECT_EQ(ConvertCommitText(dictionary,
                              "\xD6\xD0"
                              "a",
                              true, false)
                .size(),
            3u);
}

TEST_F(CommitPath, EditControlKeepsItsTargetForEveryText) {
  m_host.commitTarget = 9;
  Send("\xD6\xD0");
  Send(
      "\x08\x08"
      "a");
  EXPECT_EQ(m_host.Calls("edit"), (V{"edit 9 \xD6\xD0",
                                     "edit 9 \x08\x08"
                                     "a"}));
  EXPECT_TRUE(m_host.Calls("commit").empty());
  EXPECT_TRUE(m_host.Calls("forward").empty());
}

TEST_F(CommitPath, BackSpacesGoToTheClientAsPresses) {
  const typFwdEventView saved = dictionary.m_fwdEvent;
  Send("\x08\x08\x08");
  EXPECT_EQ(m_host.Calls("forward").size(), 3u);
  EXPECT_EQ(m_host.Calls("forward")[0], "forward keycode=59 state=0 type=2");
  EXPECT_TRUE(m_host.Calls("commit").empty());
  Send(
      "\x08"
      "ab");
  EXPECT_EQ(m_host.Calls("commit"), V{"commit 3/4 ab"});
  EXPECT_EQ(memcmp(&saved, &dictionary.m_fwdEvent, sizeof saved), 0);
}

TEST_F(CommitPath, NoTargetDropsTheText) {
  m_host.focus = 0;
  Send("ab");
  EXPECT_TRUE(m_host.Calls("commit").empty());
  Send("ab", 5);  // a window given: the commit follows the last forwarded key
  EXPECT_EQ(m_host.Calls("commit"), V{"commit 3/4 ab"});
  m_host.calls.clear();
  Send("");
  dictionary.SendChnChar2HwndDirect(5, nullptr, 3, 0, 0);
  dictionary.SendChnChar2HwndDirect(5, "ab", 0, 0, 0);
  EXPECT_TRUE(m_host.calls.empty());
}

TEST_F(CommitPath, DisplayWithoutBackSpaceKeycodeSendsNone) {
  m_host.backSpaceKeycode = 0;
  Send(
      "\x08"
      "a");
  EXPECT_TRUE(m_host.Calls("forward").empty());
  EXPECT_EQ(m_host.Calls("commit"), V{"commit 3/4 a"});
}

}  // namespace
