// The CLIPBOARD exchange between the program (the kernel's connection, its
// main window) and a peer client on a second connection of the same Xvfb:
// pasting from UTF-8, STRING-only, incremental and absent owners, serving
// the program's text, and losing the selection.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "framework/Clipboard.h"
#include "tests/framework/ClipboardPeer.h"
#include "tests/framework/FrameworkTestApp.h"

// The peer answers from a thread of its own while the program waits for it.
static const bool kXThreads = XInitThreads() != 0;
static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";

class Clipboard : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kXThreads);
    m_win = CreateWin(0, 0, CRect(0, 0, 10, 10), 0, nullptr, &m_obj, 1, nullptr);
    theApp.InitMainWindows(m_win, &m_obj);
    Drain();
  }
  void TearDown() override {
    ClearMyClipboard();
    theApp.InitMainWindows(0, nullptr);
    DestroyWin(m_win);
  }
  // GetClipbrdText as a string; "<none>" when it gives nothing.
  static std::string Paste() {
    char* text = nullptr;
    if (!GetClipbrdText(&text, 0)) return "<none>";
    std::string s = text;
    delete[] text;  // the callers free it this way
    return s;
  }
  RecordingWnd m_obj;
  unsigned long m_win = 0;
};

TEST_F(Clipboard, PasteTable) {
  struct Case {
    const char* name;
    std::map<std::string, ClipboardPeer::Offer> offers;
    std::string want;
  };
  const std::string longUtf8 = Repeat(kZhongWenUtf8, 100) + "abc";
  const Case cases[] = {
      {"UTF-8, more than 64 Chinese characters",
       {{"UTF8_STRING", {"UTF8_STRING", longUtf8}}, {"STRING", {"STRING", "wrong"}}},
       Repeat(kZhongWenGbk, 100) + "abc"},
      {"STRING only: bytes come unconverted",
       {{"STRING", {"STRING", "abc\xB0\xA1"}}},
       "abc\xB0\xA1"},
      {"a character GBK lacks ends the text",
       {{"UTF8_STRING",
         {"UTF8_STRING",
          "ab\xED\x95\x9C"
          "cd"}}},
       "ab"},  // ab한cd
      {"incremental answers are refused",
       {{"UTF8_STRING", {"INCR", ""}}, {"STRING", {"INCR", ""}}},
       "<none>"},
      {"incremental UTF-8, plain STRING",
       {{"UTF8_STRING", {"INCR", ""}}, {"STRING", {"STRING", "plain"}}},
       "plain"},
      {"empty text", {{"UTF8_STRING", {"UTF8_STRING", ""}}}, "<none>"},
      {"owner refuses everything", {}, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClipboardPeer peer;
    peer.Own(c.offers);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Paste(), c.want);
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(Clipboard, NoOwnerGivesNothing) {
  XSetSelectionOwner(dsply, ClpbrdAtom(), None, CurrentTime);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Paste(), "<none>");
  // Two attempts of about 40 ms each, not an endless wait.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(GetClipbrdText(nullptr, 0), 0);
}

TEST_F(Clipboard, CopyAndPasteInsideTheProgram) {
  char text[] = "copy \xD6\xD0";
  ASSERT_EQ(SetClipbrdText(text, 0), 1);
  EXPECT_EQ(XGetSelectionOwner(dsply, ClpbrdAtom()), m_win);
  EXPECT_EQ(Paste(), "copy \xD6\xD0");
  EXPECT_EQ(SetClipbrdText(nullptr, 0), 0);
  EXPECT_STREQ(g_myClipboardStr, "copy \xD6\xD0");  // a refused copy keeps the old text
}

TEST_F(Clipboard, ServesUtf8AndString) {
  std::string gbk = Repeat(kZhongWenGbk, 100) + "xyz";
  ASSERT_EQ(SetClipbrdText(gbk.data(), 0), 1);
  ClipboardPeer peer;
  std::string bytes, type;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(peer.Request("UTF8_STRING", &bytes, &type));
  EXPECT_EQ(bytes, Repeat(kZhongWenUtf8, 100) + "xyz");
  EXPECT_EQ(type, "UTF8_STRING");
  ASSERT_TRUE(peer.Request("STRING", &bytes, &type));
  EXPECT_EQ(bytes, gbk);
  EXPECT_EQ(type, "STRING");
  // A request without a property is answered in the target's property,
  // not with an X error.
  bytes.clear();
  ASSERT_TRUE(peer.Request("STRING", &bytes, &type, true));
  EXPECT_EQ(bytes, gbk);
  EXPECT_FALSE(peer.Request("TARGETS", &bytes));
  EXPECT_FALSE(peer.Request("COMPOUND_TEXT", &bytes));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("prop:"), std::string::npos);
}

TEST_F(Clipboard, LosingTheSelectionEmptiesTheText) {
  char text[] = "mine";
  ASSERT_EQ(SetClipbrdText(text, 0), 1);
  ClipboardPeer peer;
  peer.Own({{"UTF8_STRING", {"UTF8_STRING", "theirs"}}});
  ASSERT_TRUE(RunUntil([] { return g_myClipboardStr.IsEmpty(); }));
  // The next paste asks the new owner.
  EXPECT_EQ(Paste(), "theirs");
  EXPECT_EQ(ClearMyClipboard(), 0);
}

TEST(ClipboardAtoms, InternedAtStart) {
  EXPECT_NE(atmClpbrd, 0UL);
  EXPECT_EQ(ClpbrdAtom(), atmClpbrd);
  EXPECT_EQ(atmStrg, XA_STRING);
  EXPECT_EQ(atmUtf8, XInternAtom(dsply, "UTF8_STRING", False));
  EXPECT_EQ(atmSlctnDat, XInternAtom(dsply, "SELECTION_DATA", False));
  for (unsigned long a : {atmTgts, atmTxt, atmCmpndTxt}) EXPECT_NE(a, 0UL);
}

}  // namespace
