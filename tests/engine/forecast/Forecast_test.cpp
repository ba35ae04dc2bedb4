// Phrase forecasting on the fixture rule base (fixtures/forecast/rules.txt):
// matching, results, firing and continuing rules, the history, the pane
// and the entry of a forecast item.
#include <gtest/gtest.h>

#include "tests/engine/ForecastFixture.h"

namespace {

using namespace forecasttest;

// Rule numbers of the fixture (group 1 counts its pattern first).
enum { kPoem = 0, kOneSentence = 1, kXieHouYu = 2 };

class ForecastOnFixture : public Forecast {
 protected:
  void SetUp() override { Begin(FixtureFile()); }
  // The forecast after committing each text in turn, as the commit path
  // runs it.
  V After(std::initializer_list<const char*> commits) {
    for (const char* c : commits) Commit(c);
    return Forecasts();
  }
};

TEST_F(ForecastOnFixture, SequenceRulesFireOnTheirCondition) {
  struct Case {
    const char* history;
    V want;
  } const cases[] = {
      {"早上好", {"，吃了吗"}},  // a reference to a pattern rule
      {"晚上好", {}},
      {"东奔", {"西走"}},              // pair member named by its partner
      {"北走", {"南奔"}},              // the reversed form
      {"虽然下雨", {"，但是"}},        // free text
      {"虽然，雨", {}},                // punctuation in free text
      {"虽然但是好", {}},              // a bad word inside free text
      {"虽然下雨啊啊", {}},            // free text longer than allowed
      {"我爱北京", {"，北京欢迎你"}},  // a captured set member, through "(城市)"
      {"我爱东京", {}},
      {"秋天", {"，叶落"}},    // the alternative chosen in the condition
      {"青山绿水", {"常在"}},  // a switchable pair either way round
      {"绿水青山", {"常在"}},
      {"三天", {"三夜"}},                  // captured numerals repeated
      {"一寸光阴", {"，一寸金。"}},        // the rule's end character
      {"一寸光阴，一寸", {"金。"}},        // the forecast begun by the user
      {"天气", {"很好", "不错", "晴朗"}},  // one forecast per alternative
      {"只要努力", {"，就行"}},            // an optional part left out
      {"只要我们努力", {"，就行"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.history);
    Fresh();
    CString gbk = ToGbk(c.history);
    dictionary.m_strForecastHistory = gbk;
    dictionary.ZiCiForecasting(nullptr);
    EXPECT_EQ(Forecasts(), c.want);
  }
}

TEST_F(ForecastOnFixture, APoemIsForecastLineByLine) {
  EXPECT_EQ(After({"白日依山尽", "，"}), V{"黄河入海流"});
  // The continuation: the next line after the next comma.
  EXPECT_EQ(After({"黄河入海流", "，"}), V{"欲穷千里目"});
  // Typing the forecast line itself offers its rest.
  EXPECT_EQ(After({"欲穷"}), V{"千里目"});
  EXPECT_EQ(After({"千里目", "，"}), V{"更上一层楼。"});  // the last line ends the poem
}

TEST_F(ForecastOnFixture, APoemFiresFreshOnlyOnItsFirstLine) {
  EXPECT_EQ(After({"欲穷千里目", "，"}), V{});
  // A Backspace after a line is no end punctuation.
  Fresh();
  dictionary.ZiCiForecastAddString("\xB0\xD7\xC8\xD5\xD2\xC0\xC9\xBD\xBE\xA1");  // 白日依山尽
  dictionary.ZiCiForecastAddString("\x08");
  EXPECT_EQ(dictionary.ZiCiForecasting(nullptr), 0);
}

TEST_F(ForecastOnFixture, AOneSentenceCycleUsesItsOwnEnd) {
  EXPECT_EQ(Fire("独句。", 0, kOneSentence), V{"独句"});
  EXPECT_EQ(Fire("独句，", 0, kOneSentence), V{});
}

TEST_F(ForecastOnFixture, ATwoSentenceCycleFiresFromEitherSentenceButNotTwiceInARow) {
  EXPECT_EQ(Fire("泥菩萨过河—", 0, kXieHouYu), V{"自身难保。"});
  EXPECT_EQ(Fire("泥菩萨过河—", 0, kXieHouYu), V{});  // still the remembered rule
  Fresh();
  EXPECT_EQ(Fire("自身难保—", 0, kXieHouYu), V{"泥菩萨过河。"});
}

TEST_F(ForecastOnFixture, AScanFindsTheRuleThatEndsTheHistory) {
  // "天气" lies in the history but its rule does not reach the end.
  EXPECT_EQ(After({"今天天气不错，早上好"}), V{"，吃了吗"});
}

TEST_F(ForecastOnFixture, NothingFiresWhileAForecastIsCommitted) {
  dictionary.m_bForecastCommitting = 1;
  EXPECT_EQ(After({"早上好"}), V{});
  dictionary.m_bForecastCommitting = 0;
}

TEST_F(ForecastOnFixture, ThePaneAndTheTip) {
  Commit("天气");
  EXPECT_EQ(dictionary.m_bForecastShown, 1);
  EXPECT_EQ(m_host.Calls("forecast ").back(), "forecast show");
  EXPECT_EQ(ToUtf8(CString(m_host.Calls("tip ").back().c_str() + 4)),
            "☆用 F8或<右Alt>+P 选预测词语. 用 <右Alt>+I 改变选项.");
  Commit("啊");
  EXPECT_EQ(dictionary.m_bForecastShown, 0);
  EXPECT_EQ(m_host.Calls("forecast ").back(), "forecast hide");
  // The commit keeps the previous list for a later pick.
  EXPECT_EQ(Forecasts(), (V{"很好", "不错", "晴朗"}));
}

TEST_F(ForecastOnFixture, EnteringAForecastCommitsItAndPreparesReChoosing) {
  Commit("天气");
  m_host.calls.clear();
  ASSERT_EQ(dictionary.EnterForecast(0, 1), 1);
  EXPECT_EQ(ToUtf8(CString(m_host.Calls("commit ").back().c_str())), "commit 3/4 不错");
  EXPECT_EQ(dictionary.m_arrForecastReSel.GetSize(), 3);
  EXPECT_EQ(dictionary.m_nReSelState, 99);
  EXPECT_EQ(dictionary.m_nReSelIndex, 1);
  // An index past the end takes the last string.
  Fresh();
  Commit("天气");
  ASSERT_EQ(dictionary.EnterForecast(0, 7), 1);
  EXPECT_EQ(ToUtf8(CString(m_host.Calls("commit ").back().c_str())), "commit 3/4 晴朗");
  Fresh();
  EXPECT_EQ(dictionary.EnterForecast(0, 0), 0);
}

TEST_F(ForecastOnFixture, HistoryRecordsWidenedCharacters) {
  struct Case {
    const char* in;
    const char* want;
  } const cases[] = {{"abc", "ａｂｃ"}, {" ", ""}, {"中 文", "中文"}, {"．", "。"}, {",", "，"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    Fresh();
    dictionary.ZiCiForecastAddString(ToGbk(c.in));
    EXPECT_EQ(ToUtf8(dictionary.m_strForecastHistory), c.want);
  }
  Fresh();
  dictionary.ZiCiForecastAddString("\x08");
  EXPECT_EQ(dictionary.m_strForecastHistory.GetLength(), 2);
  EXPECT_EQ(dictionary.m_strForecastHistory[0], 0);
}

TEST_F(ForecastOnFixture, HistoryKeepsTwentyCharacters) {
  dictionary.ZiCiForecastAddString(ToGbk("一二三四五"));
  dictionary.m_nForecastMatchEnd = 4;
  dictionary.ZiCiForecastAddString(ToGbk("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳"));
  EXPECT_EQ(ToUtf8(dictionary.m_strForecastHistory), "二三四五甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳");
  EXPECT_EQ(dictionary.m_nForecastMatchEnd, 2);
  dictionary.ZiCiForecastAddString(ToGbk("午"));
  EXPECT_EQ(dictionary.m_nForecastMatchEnd, 0);
  dictionary.ZiCiForecastAddString(ToGbk("未"));
  EXPECT_EQ(dictionary.m_nForecastMatchEnd, -1);  // dropped with its character
  // A commit over 200 bytes starts afresh.
  dictionary.ZiCiForecastAddString(std::string(201, 'a').c_str());
  EXPECT_EQ(dictionary.m_strForecastHistory.GetLength(), 0);
}

TEST_F(ForecastOnFixture, TheWordSearchGetsWholeCycles) {
  CStringArray out;
  ASSERT_EQ(dictionary.GetForecastResult(dictionary.m_forecastRules[0][kPoem], 0, out, 0), 1);
  ASSERT_EQ(out.GetSize(), 1);
  EXPECT_EQ(ToUtf8(out[0]), "白日依山尽，黄河入海流，欲穷千里目，更上一层楼。");
  out.RemoveAll();
  ASSERT_EQ(dictionary.GetForecastResult(dictionary.m_forecastRules[0][kXieHouYu], 0, out, 0), 1);
  EXPECT_EQ(ToUtf8(out[0]), "泥菩萨过河—自身难保。");
}

TEST_F(ForecastOnFixture, TheMatcherStopsAtItsBounds) {
  // A rule that refers to itself through a cell built in memory (the loader
  // refuses such files) fails instead of recursing without end.
  auto* loop = new typForecastCell;
  loop->type = 2;
  loop->maxLen = 10;
  loop->ref = static_cast<uint32_t>(dictionary.m_forecastRules[5].GetSize());
  dictionary.m_forecastRules[5].Add(loop);
  CString gbk = ToGbk("早上好");
  EXPECT_EQ(dictionary.ForecastMatchHelper(gbk.GetBuffer(6), 0, 6, loop, 5), 0);
  gbk.ReleaseBuffer();
  // A back-reference longer than the span left cannot take the span below
  // zero.
  std::strcpy(dictionary.m_priorIds[4].text, "\xD4\xE7\xC9\xCF\xBA\xC3\xB0\xA1");  // 早上好啊
  dictionary.m_priorIds[4].kind = 4;
  typForecastCell x, tail;
  x.type = 3;
  x.id = 'X';
  tail.type = 3;
  ForecastCellList run;
  run.Add(&x);
  run.Add(&tail);
  char text[] = "\xD4\xE7\xC9\xCF\xBA\xC3";  // 早上好
  EXPECT_EQ(dictionary.Group2GroupMatch(text, 0, 6, run, 0, 2, 1), 0);
  run.RemoveAll();
}

TEST_F(ForecastOnFixture, AChoiceTheCellDoesNotHaveGivesNoText) {
  typForecastCell oneOf;
  oneOf.type = 6;
  oneOf.id = 'M';
  for (const char* t : {"\xB4\xBA", "\xC7\xEF"}) {  // 春 秋
    auto* k = new typForecastCell;
    k->type = 3;
    k->text = t;
    oneOf.children.Add(k);
  }
  dictionary.m_priorIds[1].kind = 6;  // M
  dictionary.m_priorIds[1].index = 1;
  CString out;
  EXPECT_EQ(dictionary.GetForecastResultHelper(&oneOf, out), 1);
  EXPECT_STREQ(out, "\xC7\xEF");
  dictionary.m_priorIds[1].index = 5;
  EXPECT_EQ(dictionary.GetForecastResultHelper(&oneOf, out), 0);
  EXPECT_TRUE(out.IsEmpty());
}

}  // namespace
