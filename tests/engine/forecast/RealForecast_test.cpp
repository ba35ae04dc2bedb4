// Phrase forecasting on the shipped rule base (build/dist/fccdic.bin, made
// from the hand-written rules and fortunes-zh), through the commit path.
#include <gtest/gtest.h>

#include "tests/engine/ForecastFixture.h"

namespace {

using namespace forecasttest;

class RealForecast : public Forecast {
 protected:
  void SetUp() override { Begin(ShippedFile()); }
  V After(std::initializer_list<const char*> commits) {
    for (const char* c : commits) Commit(c);
    return Forecasts();
  }
};

TEST_F(RealForecast, APoemLineAndACommaForecastTheNextLine) {
  EXPECT_EQ(After({"床前明月光", "，"}), V{"疑是地上霜"});
  EXPECT_EQ(After({"疑是地上霜", "。"}), V{"举头望明月"});
}

TEST_F(RealForecast, TypingTheStartOfALineForecastsTheRest) {
  After({"白日依山尽", "，"});
  EXPECT_EQ(After({"黄河"}), V{"入海流"});
  EXPECT_EQ(After({"入海流", "，", "欲穷"}), V{"千里目"});
}

TEST_F(RealForecast, AnyLineOfAPoemStartsIt) {
  EXPECT_EQ(After({"举头望明月", "，"}), V{"低头思故乡"});
}

TEST_F(RealForecast, SayingsPatternsAndAllegoricalSayings) {
  struct Case {
    std::vector<const char*> commits;
    V want;
  } const cases[] = {
      {{"泥菩萨过河", "—"}, {"自身难保。"}},
      {{"不怕路长"}, {"，只怕志短。"}},
      {{"东奔"}, {"西走"}},
      {{"我爱北京"}, {"，北京欢迎你"}},
      {{"秋天到了"}, {"，秋高气爽"}},
      {{"想来想去"}, {"，还是"}},
      {{"三天"}, {"三夜"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commits[0]);
    Fresh();
    for (const char* t : c.commits) Commit(t);
    EXPECT_EQ(Forecasts(), c.want);
  }
}

TEST_F(RealForecast, TheForecastKeyEntersTheLine) {
  After({"床前明月光", "，"});
  ASSERT_EQ(dictionary.EnterForecast(0, 0), 1);
  EXPECT_EQ(ToUtf8(CString(m_host.Calls("commit ").back().c_str())), "commit 3/4 疑是地上霜");
  // The committed line continues the poem after its punctuation.
  EXPECT_EQ(After({"。"}), V{"举头望明月"});
}

}  // namespace
