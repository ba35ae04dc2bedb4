// Editing of the typed keys: key sequences to (keys, insert point), the
// limits, the page keys, the cursor keys and the trailing wildcard.
#include <gtest/gtest.h>

#include <cctype>
#include <initializer_list>

#include "framework/KeySyms.h"
#include "tests/engine/ChoiceFixture.h"

namespace {

using namespace keysym;

class KeyEditing : public choicetest::Engine {
 public:
  // One key along the insertion road of the key handler.
  void Type(unsigned long key) {
    const char c = key < 0x80 ? static_cast<char>(tolower(static_cast<int>(key))) : 0;
    const char ch = dictionary.KeyToKeySeqChar(key, c);
    if (dictionary.RefuseKeyOverLimits(ch)) return;
    if (dictionary.IsPinyinPageKey(key, ch))
      dictionary.TurnPinyinPage(ch);
    else
      dictionary.InsertKeySeqChar(ch);
  }
  void TypeAll(std::initializer_list<unsigned long> keys) {
    for (unsigned long k : keys) Type(k);
  }
  size_t Beeps() { return m_host.Calls("beep").size(); }
};

struct SeqCase {
  std::initializer_list<unsigned long> keys;
  const char* want;
  int insertPt;
};

void RunTable(KeyEditing& t, std::initializer_list<SeqCase> cases) {
  for (const SeqCase& c : cases) {
    SCOPED_TRACE(c.want);
    dictionary.m_strKeySeq.Empty();
    dictionary.m_nInsertPt = 0;
    t.TypeAll(c.keys);
    EXPECT_EQ(std::string(dictionary.m_strKeySeq), c.want);
    EXPECT_EQ(dictionary.m_nInsertPt, c.insertPt);
    EXPECT_EQ(dictionary.m_strKeySeqBak, dictionary.m_strKeySeq);
  }
}

}  // namespace

TEST_F(KeyEditing, PinyinSequences) {
  StartPinYin();
  RunTable(*this, {
                      // A letter after a tone drops the tone.
                      {{'Z', 'H', 'O', 'N', 'G', kCapsLock, 'G'}, "zhongg", 6},
                      // The second tone replaces the first.
                      {{'M', 'A', kCapsLock, kShiftL}, "ma4", 3},
                      {{'M', 'A', kGrave}, "ma1", 3},
                      {{'M', 'A', kTab}, "ma2", 3},
                      // Never more than three strokes: the fourth replaces the last.
                      {{'M', 'A', '-', '=', '['}, "ma-=[", 5},
                      {{'M', 'A', '-', '=', '[', ']'}, "ma-=]", 5},
                      // A tone goes before the strokes.
                      {{'M', 'A', '-', kShiftR}, "ma5-", 3},
                      // Tones and strokes need letters first.
                      {{kCapsLock, '-'}, "", 0},
                      {{'X', 'I', '\'', 'A', 'N'}, "xi'an", 5},
                      {{kAltL, 'A'}, "?a", 2},
                      // ',' and '.' are page keys in pinyin input.
                      {{'A', ',', '.'}, "a", 1},
                  });
  EXPECT_EQ(Beeps(), 0u);
}

TEST_F(KeyEditing, ShapeCodeSequences) {
  StartXingMa();
  RunTable(*this, {
                      {{kTab, kCapsLock, kShiftL, kShiftR, kAltR}, "!@#$?", 5},
                      {{'A', ',', '.', kGrave, '1'}, "a,.`1", 5},
                      // A key with no text (F10 here) enters nothing.
                      {{'A', kF10, 'B'}, "ab", 2},
                  });
}

TEST_F(KeyEditing, InsertPointInsideTheToneTailMovesToTheLetters) {
  StartPinYin();
  TypeAll({'M', 'A', kCapsLock});
  dictionary.m_nInsertPt = 1;
  Type('N');
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "mna3");
  EXPECT_EQ(dictionary.m_nInsertPt, 2);
}

TEST_F(KeyEditing, TenthEqualKeyIsRefusedWithOneBeep) {
  StartXingMa();
  cfgInputManager.useCizu = 1;
  for (int i = 0; i < 10; ++i) Type('A');
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "aaaaaaaaa");
  EXPECT_EQ(Beeps(), 1u);
}

TEST_F(KeyEditing, FullKeyStringBeepsTwiceExceptForKeyNames) {
  struct Case {
    int useCizu, full;
  } const cases[] = {{1, 46}, {0, 10}};
  StartXingMa();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.full);
    cfgInputManager.useCizu = c.useCizu;
    m_host.calls.clear();
    dictionary.m_strKeySeq.Empty();
    dictionary.m_nInsertPt = 0;
    for (int i = 0; i < c.full; ++i) Type('A' + i % 5);
    ASSERT_EQ(dictionary.m_strKeySeq.GetLength(), c.full);
    Type('Z');
    EXPECT_EQ(Beeps(), 2u);
    Type(kAltL);
    Type(kCapsLock);
    EXPECT_EQ(Beeps(), 2u);
    EXPECT_EQ(dictionary.m_strKeySeq.GetLength(), c.full);
  }
}

TEST_F(KeyEditing, PageKeysWrapAround) {
  StartPinYin();
  dictionary.m_strKeySeq = "ab";
  FoundChars(23);  // three pages of ten
  struct Case {
    char key;
    int from, to;
  } const cases[] = {{'>', 0, 1}, {'>', 2, 0}, {'<', 0, 2}, {'<', 2, 1}};
  for (const Case& c : cases) {
    dictionary.m_nCurPage = c.from;
    dictionary.TurnPinyinPage(c.key);
    EXPECT_EQ(dictionary.m_nCurPage, c.to) << c.key << c.from;
  }
}

TEST_F(KeyEditing, CursorKeysMoveBySyllable) {
  StartPinYin();
  Keys("zhongguo");
  struct Case {
    unsigned long key;
    int from, to, result;
  } const cases[] = {
      {kDown, 0, 5, 1}, {kDown, 5, 8, 1}, {kUp, 8, 5, 1},   {kUp, 5, 0, 1},
      {kLeft, 5, 4, 1}, {kHome, 5, 0, 1}, {kEnd, 2, 8, 1},  {kRight, 8, 8, 0},
      {kLeft, 0, 0, 0}, {kDown, 8, 8, 0}, {kNext, 0, 5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.key << std::dec << " from " << c.from);
    dictionary.m_nInsertPt = static_cast<int16_t>(c.from);
    dictionary.m_bCtrl = 0;
    EXPECT_EQ(dictionary.AdjustInsertPt(c.key), c.result);
    EXPECT_EQ(dictionary.m_nInsertPt, c.to);
  }
}

TEST_F(KeyEditing, DeleteAndBackSpace) {
  StartPinYin();
  Keys("zhong");
  EXPECT_EQ(dictionary.AdjustInsertPt(kDelete), 0);  // at the end
  dictionary.m_nInsertPt = 0;
  EXPECT_EQ(dictionary.AdjustInsertPt(kDelete), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "hong");
  dictionary.m_nInsertPt = 2;
  EXPECT_EQ(dictionary.BackSpaceKeySeq(), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "hng");
  EXPECT_EQ(dictionary.m_nInsertPt, 1);
  dictionary.m_nInsertPt = 0;
  EXPECT_EQ(dictionary.BackSpaceKeySeq(), 0);
  // An insert point beyond the keys is lowered first.
  dictionary.m_nInsertPt = 40;
  EXPECT_EQ(dictionary.BackSpaceKeySeq(), 1);
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "hn");
}

TEST_F(KeyEditing, ProperPrefixes) {
  StartPinYin();
  int found = 7;
  EXPECT_EQ(dictionary.FindMatchingKeySeqEndingPt("zhongguo", 0, 1, &found), 5);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(dictionary.FindMatchingKeySeqEndingPt("qqq", 0, 1, &found), 1);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(dictionary.FindMatchingKeySeqEndingPt("", 0, 1, &found), 0);
  EXPECT_EQ(dictionary.IsProperMatches("zhong", 0, nullptr), 1);
  EXPECT_EQ(dictionary.IsProperMatches("zhongguo", 0, nullptr), 0);
  EXPECT_EQ(dictionary.IsProperMatches("zhongguo", 1, nullptr), 1);
  EXPECT_EQ(dictionary.IsCombinationOfProperMatches("zhongguo", 0), 1);
  EXPECT_EQ(dictionary.IsCombinationOfProperMatches("zhongqq", 0), 0);
}

TEST_F(KeyEditing, TrailingWildcard) {
  StartPinYin();
  struct Case {
    const char* keys;
    int all;
    const char* want;
  } const cases[] = {
      {"??", 1, ""},
      {"???", 1, ""},
      {"a?", 1, "a"},
      {"ab?", 0, "ab"},
      {"??", 0, "?"},
      // Keys after the wildcards stay.
      {"?a", 1, "?a"},
      {"ab", 1, "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Keys(c.keys);
    dictionary.RemoveTrailingQuestionMark(c.all);
    EXPECT_EQ(std::string(dictionary.m_strKeySeq), c.want);
    EXPECT_LE(dictionary.m_nInsertPt, dictionary.m_strKeySeq.GetLength());
  }
}
