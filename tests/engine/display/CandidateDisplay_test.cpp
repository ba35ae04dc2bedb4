// The candidate display: paging, labels, highlight, the row display and
// the fuzzy merge, seen through the pane globals and the recording host.
#include <gtest/gtest.h>

#include <set>

#include "tests/engine/ChoiceFixture.h"

using choicetest::Column;
using choicetest::NthText;

namespace {

class PinYinDisplay : public choicetest::Engine {
 protected:
  void SetUp() override { StartPinYin(choicetest::TipsOn(lookuptest::PinYinSettings())); }
};

class XingMaDisplay : public choicetest::Engine {
 protected:
  void SetUp() override { StartXingMa(choicetest::TipsOn(lookuptest::XingMaSettings())); }
};

const char kPagingHint[] = "用 < 和 > 键看其他选项.";

}  // namespace

TEST_F(PinYinDisplay, PagesAndLabels) {
  struct Case {
    int curPage, wantPage, items;
  } const cases[] = {{0, 0, 10}, {1, 1, 10}, {2, 2, 3}, {5, 2, 3}, {-1, 0, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.curPage);
    Keys("ab");
    FoundChars(23);
    dictionary.m_nCurPage = c.curPage;
    dictionary.ShowChoiceList(1, 0);
    // A page that is not positive is shown as the first and keeps its value.
    EXPECT_EQ(dictionary.m_nCurPage, c.curPage > 0 ? c.wantPage : c.curPage);
    EXPECT_EQ(dictionary.m_nLeadChoices, c.items);
    const auto labels = Column(0);
    const auto texts = Column(1);
    ASSERT_EQ(static_cast<int>(labels.size()), c.items);
    std::string pane;
    for (int i = 0; i < c.items; ++i) {
      const std::string want = i == 0 ? "< >" : " " + std::to_string((i + 1) % 10) + " ";
      EXPECT_EQ(labels[i], want);
      EXPECT_EQ(texts[i], NthText(c.wantPage * 10 + i));
      pane += labels[i] + texts[i];
    }
    EXPECT_EQ(choicetest::ToUtf8(dictionary.m_strPane2), pane);
    EXPECT_EQ(Last("choicepane "), "choicepane " + pane + " hl=0 colour=2c2150");
    EXPECT_NE(Last("tip ").find(kPagingHint), std::string::npos);
    EXPECT_EQ(dictionary.m_strKeySeq, "ab");
  }
}

TEST_F(PinYinDisplay, VModeKeysGetNoPagingHint) {
  Keys("vab");
  FoundChars(23);
  dictionary.ShowChoiceList(1, 0);
  EXPECT_EQ(Last("tip ").find(kPagingHint), std::string::npos);
}

TEST_F(PinYinDisplay, OneCandidateHasNoLabel) {
  Keys("ab");
  FoundChars(1);
  dictionary.ShowChoiceList(1, 0);
  EXPECT_EQ(Column(0), std::vector<std::string>{""});
  EXPECT_EQ(Column(1), std::vector<std::string>{NthText(0)});
  EXPECT_EQ(Last("choicepane "), "choicepane " + NthText(0) + " hl=0 colour=2c2150");
}

TEST_F(PinYinDisplay, EmptyKeysClearThePanes) {
  m_host.focus = 77;
  Keys("");
  dictionary.ShowChoiceList(0, 0);
  EXPECT_EQ(Last("choicepane "), "choicepane  hl=0 colour=2c2150");
  // An all-blank tip: the status window hides.
  EXPECT_EQ(Last("tip "), "tip   ");
  EXPECT_TRUE(m_host.Calls("grab").empty());
}

TEST_F(PinYinDisplay, FreshLookupShowsAndGrabs) {
  m_host.focus = 77;
  Keys("zhong");
  dictionary.ShowChoiceList(0, 0);
  ASSERT_FALSE(Column(1).empty());
  EXPECT_EQ(Column(1)[0], "中");
  EXPECT_EQ(Column(0)[0], "< >");
  EXPECT_EQ(m_host.Calls("grab 77").size(), 1u);
  EXPECT_EQ(dictionary.m_strKeySeq, "zhong");
  EXPECT_EQ(m_host.Calls("keypane").size(), 1u);
}

TEST_F(PinYinDisplay, ToneKeysAreCutBeforeTheLookup) {
  // The tone key is cut before the lookup and then filters: 种 (zhong3)
  // stays, 中 (zhong1, zhong4) goes.
  Keys("zhong3");
  dictionary.ShowChoiceList(0, 0);
  ASSERT_FALSE(Column(1).empty());
  EXPECT_EQ(Column(1)[0], "种");
  for (const auto& c : Column(1)) EXPECT_NE(c, "中");
  EXPECT_EQ(dictionary.m_strKeySeq, "zhong3");
}

TEST_F(XingMaDisplay, ExactHitsGetFunctionKeysAndTheHighlight) {
  Keys("abcd");
  dictionary.m_arrChoices.RemoveAll();
  for (int i = 0; i < 8; ++i) {
    typCharFatFmt c = choicetest::NthChar(i);
    c.SetKey(i < 3 ? "abcd" : (std::string("abcd") + static_cast<char>('e' + i - 3)).c_str());
    dictionary.m_arrChoices.Add(c);
  }
  dictionary.m_bChoicesFound = 1;
  dictionary.m_nSegOutcome = 0;
  dictionary.m_nExactHits = 3;
  dictionary.ShowChoiceList(1, 0);
  const std::vector<std::string> want = {" F1 ",    " F2 ",    " F3 ",    " ABCDE ",
                                         " ABCDF ", " ABCDG ", " ABCDH ", " ABCDI "};
  EXPECT_EQ(Column(0), want);
  EXPECT_EQ(highlightClrLenCountOfItems, 3);
  // The highlight covers the three exact hits: labels plus two-byte texts.
  const int hl = 3 * (4 + 2);
  EXPECT_EQ(Last("choicepane ").substr(Last("choicepane ").find(" hl=")),
            " hl=" + std::to_string(hl) + " colour=aa0a0c");
}

TEST_F(XingMaDisplay, OneBestCodeIsLabelledLikeSpace) {
  Keys("abcd");
  FoundChars(3);
  dictionary.m_nExactHits = 0;
  dictionary.m_bOneBestSplit = 1;
  dictionary.ShowChoiceList(1, 0);
  ASSERT_EQ(Column(0).size(), 3u);
  EXPECT_EQ(Column(0)[0], "< >");
  // The others have no key of their own and no ranked row: two blanks.
  EXPECT_EQ(Column(0)[1], "  ");
}

TEST_F(XingMaDisplay, PageSizeOfZeroDoesNotDivideByZero) {
  Keys("abcd");
  FoundChars(5);
  dictionary.m_nPageSize = 0;
  dictionary.ShowChoiceList(1, 0);
  EXPECT_EQ(Column(0).size(), 1u);
}

TEST_F(XingMaDisplay, ExactCodeLooksUp) {
  Keys("aaaa");
  dictionary.ShowChoiceList(0, 0);
  const auto texts = Column(1);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], "中");
}

TEST_F(PinYinDisplay, FuzzyMergeListsEachCandidateOnceExactFirst) {
  cfgInputManager.fuzziPY = 1;
  cfgInputManager.zhz_fuzzy = 1;
  // No phrase is typed "zongguo"; its fuzzy form "zhongguo" is one.
  Keys("zongguo");
  dictionary.ShowChoiceList(0, 0);
  const auto all = lookuptest::Texts(dictionary.m_arrChoices);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all[0], "中国");
  EXPECT_EQ(dictionary.m_nExactHits, 1);
  std::set<std::string> seen(all.begin(), all.end());
  EXPECT_EQ(seen.size(), all.size()) << "a candidate listed twice";
  EXPECT_EQ(Column(1)[0], "中国");
}
