// Choosing and committing candidates: page arithmetic, the selection
// keys of each input method, the lone wildcard, a partial pick that starts
// phrase building, picking one character of the last commit and the
// doubled shape-code key.
#include <gtest/gtest.h>

#include "framework/KeySyms.h"
#include "tests/engine/ChoiceFixture.h"

using choicetest::NthText;

namespace {

using namespace keysym;
constexpr unsigned long kWindow = 5;

class Selection : public choicetest::Engine {
 protected:
  std::vector<std::string> Commits() {
    std::vector<std::string> out;
    for (const std::string& c : m_host.Calls("commit "))
      out.push_back(choicetest::ToUtf8(CString(c.c_str())));
    return out;
  }
  // Shows a list of n characters for the keys.
  void Show(const char* keys, int n) {
    Keys(keys);
    FoundChars(n);
    dictionary.ShowChoiceList(1, 0);
  }
};

}  // namespace

TEST_F(Selection, DigitOnTheLastPagePicksThroughThePage) {
  StartPinYin();
  struct Case {
    int curPage;
    unsigned long key;
    int want;
  } const cases[] = {
      {2, kF1 + 4, 22},  // page 2 holds 3: F5 is lowered to the third
      {5, kF1 + 4, 22},  // a page past the end is lowered to the last
      {1, kF1 + 9, 19},  // F10 is the tenth of the page
      {0, kSpace, 0},   {0, kF1 + 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.curPage);
    Fresh();
    Show("ab", 23);
    dictionary.m_nCurPage = c.curPage;
    EXPECT_EQ(dictionary.SelectChoiceKey(c.key, kWindow, 0), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{"commit 0/0 " + NthText(c.want)});
    EXPECT_TRUE(dictionary.m_strKeySeq.IsEmpty());
    EXPECT_EQ(dictionary.m_nReSelState, 0);
    EXPECT_EQ(dictionary.m_nReSelIndex, c.want);
  }
}

TEST_F(Selection, OneAndTwoBothPickTheSecond) {
  typInputSettings s = lookuptest::PinYinSettings();
  s.PinYinSelectionNum1SameAsNum2 = 1;
  StartPinYin(s);
  Show("ab", 5);
  dictionary.SelectChoiceKey(kF1, kWindow, 0);
  EXPECT_EQ(Commits().back(), "commit 0/0 " + NthText(1));
  EXPECT_EQ(dictionary.m_nTipCountdown, -1);
  EXPECT_NE(Last("tip ").find("数字1,2都选第二项"), std::string::npos);
  Show("ab", 5);
  dictionary.SelectChoiceKey(kSpace, kWindow, 0);
  EXPECT_EQ(Commits().back(), "commit 0/0 " + NthText(0));
}

TEST_F(Selection, ShapeCodeSpaceWithSeveralCandidatesDoesNothing) {
  StartXingMa();
  Show("abcd", 3);
  EXPECT_EQ(dictionary.SelectChoiceKey(kSpace, kWindow, 0), 1);
  EXPECT_TRUE(Commits().empty());
  EXPECT_EQ(std::string(dictionary.m_strKeySeq), "abcd");
  EXPECT_EQ(dictionary.SelectChoiceKey(kF1 + 1, kWindow, 0), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 0/0 " + NthText(1)});
}

TEST_F(Selection, NothingFoundBeepsUnlessASegmentRowIsPicked) {
  StartPinYin();
  Keys("ab");
  dictionary.m_bChoicesFound = 0;
  EXPECT_EQ(dictionary.SelectChoiceKey(kF1, kWindow, 0), 1);
  EXPECT_EQ(m_host.Calls("beep").size(), 1u);
  for (int i = 0; i < 3; ++i) {
    typCharFatFmt c = choicetest::NthChar(i);
    dictionary.m_arrSegChoices.Add(c);
  }
  EXPECT_EQ(dictionary.SelectChoiceKey(kF8, kWindow, 0), 1);  // lowered to the last
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 0/0 " + NthText(2)});
}

TEST_F(Selection, LoneWildcardInShapeCodeIsTypedAsKG) {
  StartXingMa(choicetest::TipsOn(lookuptest::XingMaSettings()));
  Keys("?");
  dictionary.ShowChoiceList(0, 0);
  ASSERT_EQ(dictionary.m_arrChoices.GetSize(), 1);
  EXPECT_EQ(dictionary.SelectChoiceKey(kSpace, kWindow, 1), 1);
  ASSERT_EQ(Commits().size(), 1u);
  EXPECT_NE(Last("tip ").find("输为 KG"), std::string::npos);
}

TEST_F(Selection, PartialPinyinPickStartsPhraseBuilding) {
  StartPinYin();
  Keys("zhongguo");
  dictionary.m_arrChoices.RemoveAll();
  typCharFatFmt zhong = choicetest::CharOf("中", "zhong");
  dictionary.m_arrChoices.Add(zhong);
  dictionary.m_bChoicesFound = 1;
  EXPECT_EQ(dictionary.SelectChoiceKey(kSpace, kWindow, 0), 1);
  EXPECT_TRUE(Commits().empty());
  EXPECT_EQ(dictionary.m_nZuCiMode, 2);
  ASSERT_GE(dictionary.m_arrZuCiSegs.GetSize(), 1);
  EXPECT_EQ(dictionary.m_arrZuCiSegs[0].keyEnd, 5);
  // A pick that used every key commits.
  Fresh();
  Keys("zhong");
  dictionary.m_arrChoices.RemoveAll();
  dictionary.m_arrChoices.Add(zhong);
  dictionary.m_bChoicesFound = 1;
  dictionary.SelectChoiceKey(kSpace, kWindow, 0);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 0/0 中"});
  EXPECT_EQ(dictionary.m_nZuCiMode, 0);
}

TEST_F(Selection, RightAltDigitPicksOneCharacterOfTheLastCommit) {
  struct Case {
    int addSpace;
    std::string first, second;
    size_t backSpaces;  // sent to the client before the two commits
  } const cases[] = {
      {0, "北", "中", 4 + 1},
      // With a blank after every character the client holds twice as many.
      {1, "北 ", "中 ", 8 + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.addSpace);
    typInputSettings s = lookuptest::PinYinSettings();
    s.AddSpaceInOutput = c.addSpace;
    StartPinYin(s);
    dictionary.m_strNumCi = choicetest::ToGbk("中国北京");
    typCharFatFmt phrase;
    phrase.kind = kFatNumCi;
    dictionary.m_arrChoices.Add(phrase);
    typCharFatFmt other = choicetest::NthChar(0);
    dictionary.m_arrChoices.Add(other);
    Keys("zgbj");
    dictionary.CommitChoice(kWindow, phrase, kChosenCandidate, 0, 1, 0);
    ASSERT_EQ(dictionary.m_nReSelState, 0);
    m_host.calls.clear();

    unsigned long key = '3';
    EXPECT_EQ(dictionary.PickCharOfLastCommit(key, kWindow), 1);
    key = '1';
    EXPECT_EQ(dictionary.PickCharOfLastCommit(key, kWindow), 1);
    EXPECT_EQ(Commits(),
              (std::vector<std::string>{"commit 0/0 " + c.first, "commit 0/0 " + c.second}));
    EXPECT_EQ(m_host.Calls("forward").size(), c.backSpaces);
    EXPECT_EQ(dictionary.m_nReSelState, 5);
    // Another window's key goes on to the client.
    key = '2';
    EXPECT_EQ(dictionary.PickCharOfLastCommit(key, kWindow + 1), 0);
    TearDown();
  }
}

TEST_F(Selection, RightAltDigitWithoutACommitBecomesASelectionKey) {
  StartPinYin();
  Show("ab", 5);
  struct Case {
    unsigned long key, want;
  } const cases[] = {{'1', kF1}, {kGrave, kF1}, {'8', kF1 + 7}, {'9', kF9}, {'0', kF10}};
  for (const Case& c : cases) {
    unsigned long key = c.key;
    EXPECT_EQ(dictionary.PickCharOfLastCommit(key, kWindow), kGoOnWithKey);
    EXPECT_EQ(key, c.want);
  }
}

TEST_F(Selection, DoubledKeyPicksByPinyinInitial) {
  StartXingMa();
  // The last key b again: the characters of the code bbbb, of which only
  // 不 is read with a 'b'.
  Keys("bbbbb");
  EXPECT_EQ(dictionary.DoubledKeyPick('b', kWindow, 0), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 0/0 不"});
  // No character of the code is read with a 'q'.
  Fresh();
  Keys("bbbbq");
  EXPECT_EQ(dictionary.DoubledKeyPick('q', kWindow, 0), kGoOnWithKey);
  EXPECT_TRUE(Commits().empty());
  // An exception never picks.
  Fresh();
  Keys("dd");
  EXPECT_EQ(dictionary.DoubledKeyPick('d', kWindow, 0), kGoOnWithKey);
}
