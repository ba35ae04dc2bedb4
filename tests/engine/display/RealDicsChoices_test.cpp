// The candidate display and selection on the shipped dictionaries.
#include <gtest/gtest.h>

#include <set>

#include "framework/KeySyms.h"
#include "tests/engine/ChoiceFixture.h"
#include "tests/support/TestPaths.h"

namespace {

class RealChoices : public choicetest::Engine {
 protected:
  void SetUp() override {
    Start(kvrtest::DistDir(), lookuptest::PinYinSettings());
    Fresh();
  }
};

}  // namespace

TEST_F(RealChoices, FuzzyRowsStopAtSixtyFourWithoutDuplicates) {
  cfgInputManager.fuzziPY = 1;
  cfgInputManager.zhz_fuzzy = cfgInputManager.chc_fuzzy = cfgInputManager.shs_fuzzy = 1;
  // No exact hit under any of the sixteen forms: only ranked rows, merged.
  Keys("sisisisi");
  dictionary.ShowChoiceList(0, 0);
  EXPECT_GT(dictionary.m_arrFuzzyForms.GetSize(), 2);
  EXPECT_EQ(dictionary.m_nExactHits, 0);
  const auto all = lookuptest::Texts(dictionary.m_arrChoices);
  EXPECT_EQ(all.size(), 64u);
  EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
}

TEST_F(RealChoices, ZhongGuoAndSpaceCommits) {
  Keys("zhongguo");
  dictionary.ShowChoiceList(0, 0);
  ASSERT_FALSE(choicetest::Column(1).empty());
  EXPECT_EQ(choicetest::Column(1)[0], "中国");
  EXPECT_EQ(dictionary.SelectChoiceKey(keysym::kSpace, 5, 0), 1);
  EXPECT_EQ(Last("commit "), "commit 0/0 中国");
  EXPECT_TRUE(dictionary.m_strKeySeq.IsEmpty());
}
