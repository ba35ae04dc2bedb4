// kvr as a user meets it, end to end: kvr runs from a copy of the
// distribution directory under an XIM name of its own; real clients select
// it through XMODIFIERS (our Xlib client in three locales, xterm running
// "cat > file" in UTF-8 and GBK, a Tk entry, a GTK 3 entry), get keys
// through XTEST, stroke by stroke or in bursts that reach the client
// before it reads any, and the test compares the bytes they received with
// the table. One kvr serves every case of a profile; kvr is stopped by its
// process id.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"

namespace {

using kvrtest::ClientKind;

// Ctrl+Space (its Control_L press starts the client's forwarding, the
// space reaches the bar) switches to Chinese input and shows the bar; the
// Chinese cases end with it, so that the next case finds English input.

struct Case {
  const char* name;
  ClientKind client;
  const char* keys;      // key script (tests/support/XTestKeys.h)
  const char* expect;    // what the client receives, written in UTF-8
  const char* profile;   // [Config] lines the profile starts with; "" default
  const char* waitsFor;  // null: runs
  bool ownKvr = false;   // a kvr of its own (the case changes the lexicon)
  kvrtest::Pace pace = kvrtest::Pace::Strokes;
};

constexpr kvrtest::Pace kBurst = kvrtest::Pace::Burst;

const Case kCases[] = {
    // English input (kvr starts in it): every key comes back, in order.
    {"EnglishXlibGbk", ClientKind::XlibGbk, "abc", "abc", "", nullptr},
    {"EnglishXlibUtf8", ClientKind::XlibUtf8, "abc", "abc", "", nullptr},
    {"EnglishXlibGb2312", ClientKind::XlibGb2312, "abc", "abc", "", nullptr},
    {"EnglishXtermUtf8", ClientKind::XtermUtf8, "abc", "abc", "", nullptr},
    {"EnglishXtermGbk", ClientKind::XtermGbk, "abc", "abc", "", nullptr},
    {"EnglishTkEntry", ClientKind::TkEntry, "abc", "abc", "", nullptr},
    {"EnglishShiftAndPunctuation", ClientKind::XlibUtf8, "aB,c.D!", "aB,c.D!", "", nullptr},
    // Keys kvr does not use come back to the client.
    {"UnusedKeysComeBackXlib", ClientKind::XlibGbk, "a<Tab>b<BackSpace>c", "a\tb\bc", "", nullptr},
    {"UnusedKeysComeBackXterm", ClientKind::XtermUtf8, "a<Tab>b", "a\tb", "", nullptr},
    // Full pinyin: the first candidate with Space, another by its digit.
    {"PinyinXlibGbk", ClientKind::XlibGbk, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinXlibUtf8", ClientKind::XlibUtf8, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinXlibGb2312", ClientKind::XlibGb2312, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinXtermUtf8", ClientKind::XtermUtf8, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinXtermGbk", ClientKind::XtermGbk, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinTkEntry", ClientKind::TkEntry, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr},
    {"PinyinWordsInARow", ClientKind::XtermGbk, "<C-space>women<space>beijing<space><C-space>",
     "我们北京", "", nullptr},
    {"PinyinDigitSelects", ClientKind::XlibGbk, "<C-space>beijing1<C-space>", "北京", "", nullptr},
    // Traditional output (Ctrl+J): the traditional characters arrive.
    {"TraditionalUtf8", ClientKind::XlibUtf8, "<C-space><C-j>zhongguo<space><C-j><C-space>", "中國",
     "", nullptr},
    {"TraditionalGbk", ClientKind::XtermGbk, "<C-space><C-j>zhongguo<space><C-j><C-space>", "中國",
     "", nullptr},
    // Chinese punctuation after a word.
    {"ChinesePunctuation", ClientKind::XlibUtf8, "<C-space>zhongguo<space>,<C-space>", "中国，", "",
     nullptr},
    // Fuzzy pinyin: z for zh.
    {"FuzzyPinyin", ClientKind::XlibUtf8, "<C-space>zongguo<space><C-space>", "中国",
     "fuzziPY=1\nzhz_fuzzy=1\n", nullptr},
    // The shape code (Wubi 86): khk is 中.
    {"ShapeCode", ClientKind::XlibGbk, "<C-space>khk<space><C-space>", "中", "InputMthd=0\n",
     nullptr},
    // Wubi 86 codes use letters only: Tab goes back, with or without keys.
    {"ShapeCodeHandsBackTab", ClientKind::XlibGbk, "<C-space><Tab>khk<Tab><space><C-space>",
     "\t\t中", "InputMthd=0\n", nullptr},
    // The left Alt and Space give the keys typed as English.
    {"ShapeCodeLeftAltSpaceGivesTheKeys", ClientKind::XlibGbk, "<C-space>wq<A-space><C-space>",
     "wq", "InputMthd=0\n", nullptr},
    // ShuangPin, Microsoft scheme: vs zhong, go guo.
    {"ShuangPin", ClientKind::XlibUtf8, "<C-space>vsgo<space><C-space>", "中国",
     "ShuangPin=1\nShuangPinScheme=0\n", nullptr},
    // Shift+Space gives the typed letters as English.
    {"ShiftSpaceGivesTheLetters", ClientKind::XtermUtf8, "<C-space>nihao<S-space><C-space>",
     "nihao ", "", nullptr},
    // Full width (on by default): a digit and a Shift letter with nothing
    // typed arrive in their full-width forms.
    {"FullWidthDigit", ClientKind::XlibUtf8, "<C-space>1<C-space>", "１", "", nullptr},
    {"FullWidthLetter", ClientKind::XtermGbk, "<C-space><S-a><C-space>", "Ａ", "", nullptr},
    // V-mode (v then a key of the keyword file): a symbol by its name, a
    // unit word by its pinyin.
    {"VModeSymbol", ClientKind::XlibUtf8, "<C-space>vxighao<space><C-space>", "★", "", nullptr},
    {"VModeUnitWord", ClientKind::XtermGbk, "<C-space>vyue<space><C-space>", "月", "", nullptr},
    // Re-choosing (right Alt + '-'): a BackSpace erases the commit, the next
    // candidate follows; xterm's terminal erases the character itself. The
    // re-chosen 种 is learned, so the second case gets a kvr of its own.
    {"ReChooseXlib", ClientKind::XlibGbk, "<C-space>zhong<space><R-minus><C-space>", "中\b种", "",
     nullptr},
    {"ReChooseXterm", ClientKind::XtermUtf8, "<C-space>zhong<space><R-minus><C-space>", "种", "",
     nullptr, true},
    // A phrase the lexicon lacks: Space on "wokuai" starts phrase building
    // and commits nothing; Return does the same, Space picks 我 and 快 and
    // the phrase is committed and learned, so that "wokuai" Space then
    // finds it. Its own kvr, since the lexicon changes.
    {"UnknownPhraseIsNotCommitted", ClientKind::XlibGbk, "<C-space>wokuai<space><C-space>", "", "",
     nullptr, true},
    {"PhraseBuiltIsFoundAsAPhrase", ClientKind::XlibGbk,
     "<C-space>wokuai<Return><space><space>wokuai<space><C-space>", "我快我快", "", nullptr, true},
    // In Chinese input, a key with nothing typed goes back.
    {"ChineseHandsBackTab", ClientKind::XlibGbk, "<C-space><Tab><C-space>", "\t", "", nullptr},
    // Escape and BackSpace: they edit the typed keys; with nothing typed
    // they go back to the client.
    {"EscapeWithNothingTypedComesBack", ClientKind::XlibGbk, "<C-space><Escape><C-space>", "\x1b",
     "", nullptr},
    {"EscapeDropsTheTypedKeys", ClientKind::XlibGbk,
     "<C-space>zhong<Escape>beijing<space><C-space>", "北京", "", nullptr},
    {"SecondEscapeComesBack", ClientKind::XtermUtf8, "<C-space>zhong<Escape><Escape><C-space>",
     "\x1b", "", nullptr},
    {"BackSpaceWithNothingTypedComesBack", ClientKind::XlibGbk, "<C-space><BackSpace><C-space>",
     "\b", "", nullptr},
    {"BackSpaceEditsTheTypedKeys", ClientKind::XlibGbk,
     "<C-space>zhongx<BackSpace>guo<space><C-space>", "中国", "", nullptr},
    {"BackSpacePastTheTypedKeysComesBack", ClientKind::XlibGbk,
     "<C-space>ni<BackSpace><BackSpace><BackSpace><C-space>", "\b", "", nullptr},
    // The bar's hot keys.
    {"F12TogglesTheInputMode", ClientKind::XlibUtf8,
     "<C-space><F12>abc<F12>beijing<space><C-space>", "abc北京", "", nullptr},
    {"RightAltBTogglesFullWidth", ClientKind::XlibUtf8, "<C-space><R-b>1<R-b>1<C-space>", "1１", "",
     nullptr},
    {"RightAltCommaTogglesChinesePunctuation", ClientKind::XlibUtf8,
     "<C-space>\\<R-comma>\\<R-comma>\\<C-space>", "、＼、", "", nullptr},
    {"RightAltRRepeatsTheLastWord", ClientKind::XlibUtf8, "<C-space>beijing<space><R-r><C-space>",
     "北京北京", "", nullptr},
    // A lone Ctrl press as the mode key: English, then Chinese again.
    {"LoneCtrlTogglesTheInputMode", ClientKind::XlibUtf8,
     "<C-space><Control_L>abc<Control_L>beijing<space><C-space>", "abc北京",
     "ChnEnglshSwitchKey=1\n", nullptr},
    // The i-mode (keys go to the client as typed) lasts until it is left:
    // entered by Shift+Space after letters, or by a Shift letter.
    {"IModeAfterShiftSpaceLasts", ClientKind::XlibUtf8, "<C-space>nihao<S-space>ma<C-space>",
     "nihao ma", "", nullptr},
    {"ShiftLetterStartsTheIMode", ClientKind::XlibUtf8, "<C-space><S-a>bc<C-space>", "bc",
     "ChnEnglshSwitchByShiftAlpha=1\n", nullptr},
    // A GTK 3 application through GTK's XIM input module.
    {"PinyinGtkEntry", ClientKind::GtkEntry, "<C-space>nihao<space><C-space>", "你好", "", nullptr},
    // Bursts: every key is made before the client reads the first, so the
    // client forwards them back to back and its long messages pile up in
    // the properties kvr reads. Each key counts once, in order.
    {"BurstShortXlibUtf8", ClientKind::XlibUtf8, "<C-space>nihao<space><C-space>", "你好", "",
     nullptr, false, kBurst},
    {"BurstShortXlibGbk", ClientKind::XlibGbk, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr, false, kBurst},
    {"BurstShortXtermUtf8", ClientKind::XtermUtf8, "<C-space>nihao<space><C-space>", "你好", "",
     nullptr, false, kBurst},
    {"BurstShortXtermGbk", ClientKind::XtermGbk, "<C-space>zhongguo<space><C-space>", "中国", "",
     nullptr, false, kBurst},
    {"BurstLongXlibUtf8", ClientKind::XlibUtf8,
     "<C-space>women<space>beijing<space>zhongguo<space>nihao<space>women<space><C-space>",
     "我们北京中国你好我们", "", nullptr, false, kBurst},
    {"BurstLongXtermGbk", ClientKind::XtermGbk,
     "<C-space>women<space>beijing<space>zhongguo<space>nihao<space>women<space><C-space>",
     "我们北京中国你好我们", "", nullptr, false, kBurst},
    // English input inside Chinese (F12): every letter goes to kvr and back.
    {"BurstEnglishRoundTripXlib", ClientKind::XlibGbk,
     "<C-space><F12>thequickbrownfoxjumpsoverthelazydog<F12><C-space>",
     "thequickbrownfoxjumpsoverthelazydog", "", nullptr, false, kBurst},
    {"BurstEnglishRoundTripXterm", ClientKind::XtermUtf8,
     "<C-space><F12>thequickbrownfoxjumpsoverthelazydog<F12><C-space>",
     "thequickbrownfoxjumpsoverthelazydog", "", nullptr, false, kBurst},
    // Switched off and on again inside one burst.
    {"SwitchOffAndOnStrokes", ClientKind::XlibUtf8,
     "<C-space>nihao<space><C-space><C-space>women<space><C-space>", "你好我们", "", nullptr},
    {"SwitchOffAndOnBurst", ClientKind::XlibUtf8,
     "<C-space>nihao<space><C-space><C-space>women<space><C-space>", "你好我们", "", nullptr, false,
     kBurst},
    {"BurstGtkEntry", ClientKind::GtkEntry, "<C-space>women<space>beijing<space><C-space>",
     "我们北京", "", nullptr, false, kBurst},
};

class Typing : public testing::TestWithParam<Case> {
 protected:
  static void TearDownTestSuite() { s_servers.clear(); }
  // A case that failed may leave kvr in another state (Chinese input, a
  // half-typed key sequence): the next case of its profile gets a new kvr.
  void TearDown() override {
    if (HasFailure() || GetParam().ownKvr) s_servers.erase(ServerKey(GetParam()));
  }

  static std::string ServerKey(const Case& c) { return c.ownKvr ? c.name : c.profile; }

  // The kvr for a case's profile, started on first use.
  static kvrtest::KvrProcess* Server(const Case& c, std::string* why) {
    const std::string profile = c.profile;
    auto& slot = s_servers[ServerKey(c)];
    if (slot && slot->Running()) return slot.get();
    slot = std::make_unique<kvrtest::KvrProcess>();
    if (!slot->Prepare()) {
      *why = slot->Log();
      return nullptr;
    }
    if (!profile.empty()) kvrtest::WriteFileText(slot->File("kvr.ini"), "[Config]\n" + profile);
    if (!slot->Start(kvrtest::UniqueImName("KvrE2E"))) {
      *why = slot->Log();
      return nullptr;
    }
    return slot.get();
  }

  static std::map<std::string, std::unique_ptr<kvrtest::KvrProcess>> s_servers;
};
std::map<std::string, std::unique_ptr<kvrtest::KvrProcess>> Typing::s_servers;

TEST_P(Typing, ClientReceivesTheText) {
  const Case& c = GetParam();
  if (c.waitsFor) GTEST_SKIP() << c.waitsFor;
  std::string why;
  kvrtest::KvrProcess* kvr = Server(c, &why);
  ASSERT_NE(kvr, nullptr) << why;
  const kvrtest::Typed got = kvrtest::TypeInto(c.client, kvr->Name(), c.keys, c.pace);
  ASSERT_TRUE(got.ok) << got.diagnosis << "\nkvr: " << kvr->Log();
  const std::string want = kvrtest::Recode(c.expect, kvrtest::ClientCharset(c.client));
  ASSERT_FALSE(want.empty() && *c.expect) << "the expectation does not convert";
  EXPECT_EQ(kvrtest::Escaped(got.bytes), kvrtest::Escaped(want)) << kvrtest::ClientName(c.client);
}

// Failures name the case, not the bytes of the record.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

INSTANTIATE_TEST_SUITE_P(Kvr, Typing, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

// The end of a session (TERM) saves the settings from the running program.
TEST(KvrSession, TermSavesTheSettings) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrSession"))) << kvr.Log();
  const kvrtest::Typed got = kvrtest::TypeInto(ClientKind::XlibGbk, kvr.Name(), "ab");
  ASSERT_TRUE(got.ok) << got.diagnosis;
  EXPECT_EQ(got.bytes, "ab");
  std::remove(kvr.File("kvr.ini").c_str());
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string profile = kvrtest::ReadFileText(kvr.File("kvr.ini"));
  EXPECT_NE(profile.find("InputMode=1"), std::string::npos) << profile;
  EXPECT_NE(profile.find("[Mainframe]"), std::string::npos) << profile;
}

// A phrase built in one session is in the lexicon of the next.
TEST(KvrSession, ALearnedPhraseOutlivesKvr) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrLearn"))) << kvr.Log();
  kvrtest::Typed got = kvrtest::TypeInto(ClientKind::XlibUtf8, kvr.Name(),
                                         "<C-space>wokuai<Return><space><space><C-space>");
  ASSERT_TRUE(got.ok) << got.diagnosis;
  EXPECT_EQ(got.bytes, "我快");
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrLearn"))) << kvr.Log();
  got = kvrtest::TypeInto(ClientKind::XlibUtf8, kvr.Name(), "<C-space>wokuai<space><C-space>");
  ASSERT_TRUE(got.ok) << got.diagnosis;
  EXPECT_EQ(got.bytes, "我快") << kvr.Log();
}

}  // namespace
