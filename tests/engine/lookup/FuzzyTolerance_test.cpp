// The tolerance setting of the edit-distance search in the segment search
// of pinyin keys: "More" keeps every typo correction, "Less" half of the
// distance, "None" only equal keys (fixtures/tolerance_dict).
#include <gtest/gtest.h>

#include "engine/lookup/CandidateSeen.h"
#include "tests/engine/LookupFixture.h"

using lookuptest::FatList;
using lookuptest::Texts;

namespace {

class FuzzyTolerance : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("tolerance_dict"), lookuptest::PinYinSettings());
  }
  // The phrases the segment search finds for seg, with their distances.
  std::vector<std::string> Segment(const char* seg, std::vector<int>* scores = nullptr) {
    FatList list;
    CandidateSeen seen, mine;
    dictionary.LookupFuzzySegment(seg, list, seen, mine, kPinYin);
    if (scores)
      for (int i = 0; i < list.GetSize(); ++i) scores->push_back(list[i].score);
    return Texts(list);
  }
};

}  // namespace

TEST_F(FuzzyTolerance, TheSettingBoundsTheSegmentDistance) {
  // "zhongguojue" has 11 keys: "More" takes distances below 4, "Less"
  // below 2, "None" 0 only.
  struct Case {
    int degree;
    std::vector<std::string> segment;  // the phrases of "zhongguojue"
    std::vector<int> scores;
  } const cases[] = {
      {0, {"中国结", "中国军"}, {1, 3}},
      {1, {"中国结"}, {1}},
      {2, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degree);
    cfgInputManager.generalFuzzyMatchDegree = c.degree;
    std::vector<int> scores;
    EXPECT_EQ(Segment("zhongguojue", &scores), c.segment);
    EXPECT_EQ(scores, c.scores);
  }
}

TEST_F(FuzzyTolerance, EqualKeysAreFoundAtEverySetting) {
  // Up to eight keys only equal keys count; halving must not lose them.
  for (int degree : {0, 1, 2, 3}) {
    SCOPED_TRACE(degree);
    cfgInputManager.generalFuzzyMatchDegree = degree;
    EXPECT_EQ(Segment("zhongguo"), std::vector<std::string>{"中国"});
    EXPECT_EQ(Segment("zhongguojun"), std::vector<std::string>{"中国军"});
  }
}

TEST_F(FuzzyTolerance, NoneListsTheExactReadingFirst) {
  // A user typing "zhongguojueding" (中国决定) sees the typo corrections
  // first with "More", only the nearer one with "Less", none with "None".
  struct Case {
    int degree;
    std::vector<std::string> first;
  } const cases[] = {
      {0, {"中国结", "中国军", "中国"}},
      {1, {"中国结", "中国"}},
      {2, {"中国"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degree);
    cfgInputManager.generalFuzzyMatchDegree = c.degree;
    std::vector<std::string> got = Lookup("zhongguojueding");
    if (got.size() > c.first.size()) got.resize(c.first.size());
    EXPECT_EQ(got, c.first);
  }
}
