// The word search's matching and its two sources: the lexicon's phrase
// store and the forecast rule base, on the word search fixture.
#include "frontend/WordSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/frontend/DialogEngine.h"

namespace {

using dialogtest::ToGbk;
using dialogtest::ToUtf8;
using V = std::vector<std::string>;

V Utf8(const CStringArray& lines) {
  V out;
  for (int i = 0; i < lines.GetSize(); ++i) out.push_back(ToUtf8(lines[i]));
  return out;
}

// Lines given as GBK bytes, so that straddling byte pairs are spelled out.
TEST(WordSearchMatch, MatchesStartOnCharacters) {
  const std::string zhong = ToGbk("中").GetString();  // D6 D0
  const std::string guo = ToGbk("国").GetString();    // B9 FA
  const std::string xu = ToGbk("恤").GetString();     // D0 F4
  // The trail byte of 中 and the lead byte of 恤 are both D0: "D0 D0"
  // straddles 中 and the next character in 中中 (D6 D0 D6 D0) as D0 D6,
  // and "D0 F4" is 恤 itself.
  struct Case {
    std::string line, text;
    bool want;
    const char* why;
  } const cases[] = {
      {zhong + guo, zhong + guo, true, "the whole line"},
      {guo + zhong + guo, zhong + guo, true, "after one character"},
      {zhong + zhong, "\xD0\xD6", false, "straddling two characters"},
      {"T" + xu, xu, true, "after a single-byte character (T恤)"},
      {"T" + zhong + xu, "\xD0\xD0", false, "straddling after a single-byte character"},
      {"OK" + xu, xu, true, "after two single-byte characters"},
      {zhong + "\xD0\xF4" + xu, xu, true, "an odd hit, then a good one"},
      {"\xD6\xD0\xF4", xu, false, "only an odd hit"},
      {std::string("\xD6"), zhong, false, "text longer than the line"},
      {"T" + zhong, "T", true, "a single-byte text"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wordsearch::MatchAtCharacter(c.line.data(), static_cast<int>(c.line.size()),
                                           c.text.data(), static_cast<int>(c.text.size())),
              c.want)
        << c.why;
  }
}

TEST(WordSearchStore, PhrasesInStoreOrderAndNeverPastTheEnd) {
  const std::string a = ToGbk("中国").GetString(), b = ToGbk("人民").GetString(),
                    c = ToGbk("中国人").GetString();
  const CString text = ToGbk("中国");
  struct Case {
    std::string store;
    V want;
    const char* why;
  } const cases[] = {
      {'\0' + a + '\0' + b + '\0' + c + '\0', {"中国", "中国人"}, "opened by an empty phrase"},
      {a + '\0' + b + '\0' + c, {"中国", "中国人"}, "no NUL after the last phrase"},
      {a + '\0' + '\0' + c + '\0' + '\0', {"中国", "中国人"}, "empty phrases between"},
      {std::string(), {}, "an empty store"},
  };
  for (const Case& k : cases) {
    // A copy of exactly the store's bytes, so a walk past them is seen by
    // the sanitizer.
    std::vector<unsigned char> bytes(k.store.begin(), k.store.end());
    CStringArray out;
    const int n = wordsearch::FindInPhraseStore(bytes.empty() ? nullptr : bytes.data(),
                                                static_cast<uint32_t>(bytes.size()), text, out);
    EXPECT_EQ(Utf8(out), k.want) << k.why;
    EXPECT_EQ(n, static_cast<int>(k.want.size())) << k.why;
  }
}

class WordSearchRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialogtest::StartDialogEngine(m_dir, m_host, enginetest::PinYinSettings()));
  }
  void TearDown() override { dialogtest::StopDialogEngine(); }
  V Find(int kind, const char* utf8, int* count = nullptr) {
    CStringArray out;
    const int n = wordsearch::GetAllLinkedRules(dictionary, out, kind, ToGbk(utf8));
    if (count) *count = n;
    return Utf8(out);
  }
  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

TEST_F(WordSearchRules, EachKindListsItsMatchingLines) {
  int n = -1;
  // Sayings: every rule of the group; the line is the whole rule.
  EXPECT_EQ(Find(wordsearch::kSayings, "中国", &n), (V{"中国人民，站起来了", "中国，人民"}));
  EXPECT_EQ(n, 2);
  // Poems and xiehouyu: cycles only (the sequence of group 0 is left out).
  EXPECT_EQ(Find(wordsearch::kPoems, "中国", &n), (V{"中国山河美，人民幸福长。"}));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Find(wordsearch::kXiehouyu, "中国", &n).size(), 1u);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Find(wordsearch::kPoems, "山河").size(), 2u);
  EXPECT_TRUE(Find(wordsearch::kSayings, "黄河").empty());
}

}  // namespace
