// The road of one key through Chinese input, fed as key messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/TypingFixture.h"
#include "tests/support/FileText.h"

namespace {

using namespace typingtest;
using V = std::vector<std::string>;

class KeyTranslation : public Typing {};

struct KeyCase {
  const char* name;
  bool pinyin;
  const char* keys;  // typed first
  unsigned long key;
  int mods;
  int used;
  const char* keysAfter;
};

TEST_F(KeyTranslation, KeyTable) {
  const KeyCase cases[] = {
      {"return on two pinyin keys passes and keeps them", true, "zh", keysym::kReturn, kNone, 0,
       "zh"},
      // The keys typed now are the first segment's; the rest waits unused.
      {"return on three pinyin keys builds a phrase", true, "zho", keysym::kReturn, kNone, 1, "z"},
      {"return on two shape keys resets and passes", false, "ab", keysym::kReturn, kNone, 0, ""},
      {"ctrl with a letter passes", true, "", 'A', kCtrl, 0, ""},
      {"ctrl+left moves the insert point", true, "zhong", keysym::kLeft, kCtrl, 1, "zhong"},
      // The translation passes it, but the Escape left typed keys: used.
      {"escape in pinyin resets", true, "zh", keysym::kEscape, kNone, 1, ""},
      {"escape in shape code with keys is used", false, "ab", keysym::kEscape, kNone, 1, ""},
      {"escape in shape code without keys passes", false, "", keysym::kEscape, kNone, 0, ""},
      {"backspace without keys passes", true, "", keysym::kBackSpace, kNone, 0, ""},
      {"backspace deletes a key", true, "zho", keysym::kBackSpace, kNone, 1, "zh"},
      {"insert on two keys passes", true, "zh", keysym::kInsert, kNone, 0, "zh"},
      {"shift+insert passes", true, "zhong", keysym::kInsert, kShift, 0, "zhong"},
      {"right at the end passes", true, "zh", keysym::kRight, kNone, 0, "zh"},
      {"a letter enters the keys", true, "zh", 'O', kNone, 1, "zho"},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(c.pinyin ? lookuptest::PinYinSettings() : lookuptest::XingMaSettings());
    if (!c.pinyin) UseMethod(kXingMa);
    Type(c.keys);
    ASSERT_EQ(Keys(), c.keys);
    EXPECT_EQ(Press(c.key, c.mods), c.used);
    EXPECT_EQ(Keys(), c.keysAfter);
    EXPECT_TRUE(Commits().empty());
    TearDown();
  }
  Begin(lookuptest::PinYinSettings());
}

// Shape-code input types Tab, Caps Lock and the Shift keys as the key
// names '!', '@', '#' and '$' only when a code of the method uses them. The
// fixture's code list gets one code, z!# for 蓝, that uses the names of Tab
// and the left Shift; a name no code uses leaves its key to the client.
TEST_F(KeyTranslation, ShapeCodeKeyNamesOnlyWhereACodeUsesThem) {
  struct Case {
    const char* keys;
    unsigned long key;
    int used;
    const char* keysAfter;
  } const cases[] = {
      {"", keysym::kTab, 1, "!"},        {"z", keysym::kTab, 1, "z!"},
      {"z!", keysym::kShiftL, 1, "z!#"}, {"", keysym::kCapsLock, 0, ""},
      {"z", keysym::kCapsLock, 0, "z"},  {"z", keysym::kShiftR, 0, "z"},
  };
  Begin(lookuptest::XingMaSettings());
  UseMethod(kXingMa);
  // The code list: codes in order, each followed by its GBK characters,
  // then zeros up to the file's least size.
  std::string list = kvrtest::ReadFileText(m_dir.File("chdicres.bin"));
  list.erase(list.find('\0'));
  list += std::string("z!#") + lookuptest::ToGbk("蓝").GetString();
  list.resize(std::max<size_t>(list.size() + 1, 100), '\0');
  kvrtest::WriteFileText(m_dir.File("chdicres.bin"), list);
  ASSERT_EQ(dictionary.InitKey2ChsDicPX(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << " " << std::hex << c.key);
    Fresh();
    dictionary.m_strKeySeq = c.keys;
    dictionary.m_nInsertPt = static_cast<int16_t>(dictionary.m_strKeySeq.GetLength());
    EXPECT_EQ(Press(c.key, kNone, c.key == keysym::kTab ? "\t" : ""), c.used);
    EXPECT_EQ(Keys(), c.keysAfter);
  }
  Fresh();
  Type("z");
  Press(keysym::kTab, kNone, "\t");
  Press(keysym::kShiftL, kNone, "");
  ASSERT_EQ(Keys(), "z!#");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 蓝"});
}

TEST_F(KeyTranslation, DigitWithoutKeysIsCommittedDigitWithKeysSelects) {
  Begin(lookuptest::PinYinSettings());
  EXPECT_EQ(Press('1'), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 1"});
  m_host.calls.clear();
  Type("zhongguo");
  EXPECT_EQ(Press('1'), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 中国"});
  EXPECT_EQ(Keys(), "");
}

TEST_F(KeyTranslation, TypingSessionCommitsThroughTheSeam) {
  Begin(lookuptest::PinYinSettings());
  Type("zhongguo");
  EXPECT_EQ(Keys(), "zhongguo");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), V{"commit 3/4 中国"});
}

TEST_F(KeyTranslation, RepeatedKeyIsSwallowed) {
  Begin(lookuptest::PinYinSettings());
  Type("zh");
  EXPECT_EQ(Press('O', kNone, nullptr, 0x4000ul << 16), 1);
  EXPECT_EQ(Keys(), "zh");
}

TEST_F(KeyTranslation, ResetFlags) {
  struct Case {
    int resetReSel, keepTip, keepReSel;
    bool reSelOpen, tipCleared;
  } const cases[] = {{0, 0, 0, true, true},
                     {1, 0, 0, false, true},
                     {1, 1, 0, false, false},
                     {1, 0, 1, true, true},
                     {0, 1, 0, true, false}};
  Begin(lookuptest::PinYinSettings());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.resetReSel << c.keepTip << c.keepReSel);
    dictionary.m_nReSelState = 0;
    dictionary.m_bKeepReSelection = c.keepReSel;
    dictionary.m_bIMode = 1;
    Type("zh");
    m_host.calls.clear();
    dictionary.ResetChnInput(c.resetReSel, c.keepTip, 1);
    EXPECT_EQ(Keys(), "");
    EXPECT_EQ(dictionary.m_nInsertPt, 0);
    EXPECT_EQ(dictionary.m_bIMode, 0);
    EXPECT_EQ(dictionary.m_nReSelState >= 0, c.reSelOpen);
    EXPECT_EQ(m_host.Calls("tip").size(), c.tipCleared ? 1u : 0u);
    EXPECT_EQ(m_host.Calls("ungrab").size(), 1u);
    EXPECT_EQ(Last("choicepane"), "choicepane  hl=0 colour=2c2150");
    dictionary.m_bKeepReSelection = 0;
  }
}

}  // namespace
