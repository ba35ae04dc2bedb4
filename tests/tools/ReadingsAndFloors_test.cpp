// What the generator leaves out: the syllables only interjections read, and
// phrases that only the essay word list holds below its floor. Built from
// sources given in memory, so each case shows its own cause.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/TestPaths.h"
#include "tests/tools/GeneratedData.h"
#include "tools/datagen/Text.h"

namespace {

bool Has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

// A few characters read by pinyin_simp and luna_pinyin as the packages
// read them (嗯 n/ng/en, 呣 m in one and mu in the other), two dictionary
// phrases and essay words of several frequencies.
datagen::Inputs SmallSources() {
  datagen::Inputs in;
  in.pinyinSimp = {{"中", "zhong", "900"}, {"国", "guo", "800"},        {"里", "li", "700"},
                   {"有", "you", "700"},   {"人", "ren", "600"},        {"嗯", "n", "300"},
                   {"嗯", "ng", "300"},    {"嗯", "en", "300"},         {"呣", "m", "8"},
                   {"很", "hen", "500"},   {"中国", "zhong guo", "40"}, {"嗯嗯", "n n", "50"}};
  in.luna = {{"呣", "mu", ""}, {"国人", "guo ren", ""}};
  in.essay = {{"中国", 90000}, {"国人", 100}, {"里有", 300}, {"有人", 800}, {"人里", 20}};
  return in;
}

struct Generated {
  datagen::FileSet files;
  datagen::Report report;
  std::string store;
};

Generated Build(const datagen::PhraseFloors& floors) {
  static const datagen::Inputs in = SmallSources();
  datagen::Model m;
  std::string error;
  Generated g;
  EXPECT_TRUE(m.Build(in, error)) << error;
  datagen::BuildPinyinCharFiles(m, g.files, g.report);
  datagen::BuildPhraseFiles(m, floors, g.files, g.report);
  EXPECT_TRUE(g.report.errors.empty()) << g.report.errors.front();
  g.store = gentest::Unscramble(g.files["CiZuFlat.igb"]);
  return g;
}

std::string Gbk(const char* utf8) { return datagen::ToGbk(datagen::DecodeUtf8(utf8)); }

}  // namespace

TEST(InterjectionSyllables, AreNoSyllableOfTheList) {
  const Generated g = Build({0, 0});
  const std::vector<std::string> syl = gentest::Syllables(g.files.at("pykeys.dic"));
  for (const char* s : {"m", "n", "ng", "hm", "hng", "eh"}) {
    EXPECT_TRUE(datagen::IsInterjectionSyllable(s)) << s;
    EXPECT_FALSE(Has(syl, s)) << s;
  }
  // Their characters keep their other readings: 嗯 en, 呣 mu (which only
  // luna_pinyin gives); "hen" stays whole.
  for (const char* s : {"en", "mu", "hen"}) EXPECT_TRUE(Has(syl, s)) << s;
  // A phrase read with them is filed under its other reading.
  const auto py = gentest::DecodeIndex(g.files.at("pycizudic.idx"), 4, true, g.store);
  EXPECT_TRUE(gentest::HasPhrase(py, "enen", Gbk("嗯嗯")));
  EXPECT_FALSE(py.count("nn"));
}

TEST(EssayOnlyFloor, LeavesOutRarePhrasesNoDictionaryLists) {
  struct Case {
    const char* text;
    const char* keys;
    bool kept;  // with the floors {30, 500}
  } const cases[] = {
      {"中国", "zhongguo", true},  // common: a dictionary lists it
      {"国人", "guoren", true},    // below the essay floor, but a dictionary lists it
      {"有人", "youren", true},    // essay only, above the floor
      {"里有", "liyou", false},    // essay only, below the floor
      {"人里", "renli", false},    // below the floor of every phrase
  };
  const Generated g = Build({30, 500});
  const auto py = gentest::DecodeIndex(g.files.at("pycizudic.idx"), 4, true, g.store);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(gentest::HasPhrase(py, c.keys, Gbk(c.text)), c.kept);
  }
  // Without the essay floor the rare essay phrase is there.
  const Generated all = Build({30, 0});
  const auto pyAll = gentest::DecodeIndex(all.files.at("pycizudic.idx"), 4, true, all.store);
  EXPECT_TRUE(gentest::HasPhrase(pyAll, "liyou", Gbk("里有")));
}
