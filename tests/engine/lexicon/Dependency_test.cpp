#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "engine/lexicon/DependMaps.h"
#include "tests/engine/ChoiceFixture.h"
#include "tests/engine/LexiconFixture.h"
#include "tests/support/FileText.h"

namespace {

using lexicontest::CharValue;
using lexicontest::Lexicon;
using lexicontest::ToGbk;

TEST(DependMaps, RoundTripIsByteExactAndCountsNeverLie) {
  const std::vector<dependmap::Record> records = {
      {0xD0D6, {0xFAB9, 0x80000123u}}, {0xCBC8, {}}, {0xB5C3, {1, 2, 3}}};
  for (bool wide : {false, true}) {
    const std::string img = dependmap::Write(records, wide);
    std::vector<dependmap::Record> back;
    std::string error;
    ASSERT_TRUE(dependmap::Read(reinterpret_cast<const uint8_t*>(img.data()), img.size(), wide,
                                back, error));
    EXPECT_EQ(back, records);
    EXPECT_EQ(dependmap::Write(back, wide), img);
  }
  // A list longer than a 16-bit count is cut to what the count says.
  const std::vector<dependmap::Record> huge = {{7, std::vector<uint32_t>(70000, 5)}};
  const std::string img = dependmap::Write(huge, false);
  EXPECT_EQ(img.size(), 4u + 2 + 2 + 4u * kMaxDependValues);
  std::vector<dependmap::Record> back;
  std::string error;
  ASSERT_TRUE(dependmap::Read(reinterpret_cast<const uint8_t*>(img.data()), img.size(), false, back,
                              error));
  EXPECT_EQ(back[0].second.size(), static_cast<size_t>(kMaxDependValues));
}

TEST(DependMaps, ADamagedMapKeepsTheRecordsBeforeTheDamage) {
  const std::string whole = dependmap::Write({{1, {10, 11}}, {2, {20}}, {3, {30, 31, 32}}}, false);
  struct Case {
    const char* what;
    std::string img;
    size_t kept;
  } const cases[] = {
      {"cut in the last record", whole.substr(0, whole.size() - 3), 2},
      {"cut after the count", whole.substr(0, 4), 0},
      {"too short for the count", whole.substr(0, 3), 0},
      {"count past the end", std::string("\xFF\xFF\xFF\x7F", 4) + whole.substr(4), 3},
      {"empty", std::string(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<dependmap::Record> out;
    std::string error;
    EXPECT_FALSE(dependmap::Read(reinterpret_cast<const uint8_t*>(c.img.data()), c.img.size(),
                                 false, out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.size(), c.kept);
  }
}

TEST_F(Lexicon, LearnedPhrasesMoveTheirNextCharacterForward) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("中文"), 1);
  dictionary.m_lastCommit = choicetest::CharOf("中");
  dictionary.m_strKeySeq = "";
  lookuptest::FatList list;
  for (const char* c : {"人", "国", "民", "文", "华"}) {
    typCharFatFmt f = choicetest::CharOf(c);
    list.Add(f);
  }
  dictionary.m_nExactHits = 4;  // 华 is past the exact hits
  EXPECT_EQ(dictionary.BasicLianXianAdjustOrder(list), 2);
  EXPECT_EQ(lookuptest::Texts(list), (std::vector<std::string>{"国", "文", "人", "民", "华"}));
  EXPECT_EQ(list[0].lianXianMark, 1);
  EXPECT_EQ(list[1].lianXianMark, 1);
  EXPECT_EQ(list[2].lianXianMark, 0);
  // The next lookup after committing a moved candidate moves nothing.
  dictionary.m_lastCommit = list[0];
  EXPECT_EQ(dictionary.BasicLianXianAdjustOrder(list), 0);
  dictionary.m_lastCommit = choicetest::CharOf("中");
  dictionary.m_nExactHits = 1;
  EXPECT_EQ(dictionary.BasicLianXianAdjustOrder(list), 0) << "a single exact hit";
}

TEST_F(Lexicon, ThreeCharacterPhrasesLinkTheirStoredParts) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("国人"), 1);
  ASSERT_EQ(Add("中国人"), 1);
  const uint32_t ab = static_cast<uint32_t>(OffsetOf("中国")) | 0x80000000u;
  const uint32_t bc = static_cast<uint32_t>(OffsetOf("国人")) | 0x80000000u;
  CDWordArray list;
  ASSERT_TRUE(dictionary.m_mapDepend2.Lookup(ab, list));
  ASSERT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list[0], CharValue("人"));
  ASSERT_TRUE(dictionary.m_mapDepend1.Lookup(CharValue("中"), list));
  EXPECT_EQ(list[list.GetSize() - 1], bc);
  // After the phrase 中国, 人 comes forward.
  dictionary.m_lastCommit = typCharFatFmt::PhraseAt(ab & 0x7FFFFF);
  dictionary.m_strKeySeq = "";
  lookuptest::FatList next;
  for (const char* c : {"民", "人"}) {
    typCharFatFmt f = choicetest::CharOf(c);
    next.Add(f);
  }
  dictionary.m_nExactHits = 2;
  EXPECT_EQ(dictionary.BasicLianXianAdjustOrder(next), 1);
  EXPECT_EQ(lookuptest::Texts(next), (std::vector<std::string>{"人", "民"}));
}

TEST_F(Lexicon, MapsAreSavedWithTheLexiconAndLoadAgain) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("中文"), 1);
  const std::string one = lexicontest::ReadFile(Path("depend1.map"));
  const std::string two = lexicontest::ReadFile(Path("depend2.map"));
  ASSERT_NE(one, "<missing>");
  Restart();
  CDWordArray list;
  ASSERT_TRUE(dictionary.m_mapDepend1.Lookup(CharValue("中"), list));
  EXPECT_EQ(list.GetSize(), 2);
  EXPECT_EQ(dictionary.SaveCharDependencyFiles(), 1);
  EXPECT_EQ(lexicontest::ReadFile(Path("depend1.map")), one) << "byte-exact";
  EXPECT_EQ(lexicontest::ReadFile(Path("depend2.map")), two);
  // A truncated depend1.map keeps what it holds whole, and depend2.map is
  // read all the same.
  {
    std::ofstream out(Path("depend1.map"), std::ios::binary | std::ios::trunc);
    out << one.substr(0, one.size() - 1);
  }
  Restart();
  EXPECT_FALSE(dictionary.m_mapDepend1.Lookup(CharValue("中"), list));
  EXPECT_FALSE(m_host.Calls("diag ").empty());
}

TEST_F(Lexicon, AMissingDepend1LeavesDepend2ReadAndKept) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("中国人"), 1);
  const uint32_t ab = static_cast<uint32_t>(OffsetOf("中国")) | 0x80000000u;
  const std::string two = lexicontest::ReadFile(Path("depend2.map"));
  ASSERT_EQ(unlink(Path("depend1.map").c_str()), 0);
  Restart();
  CDWordArray list;
  EXPECT_TRUE(dictionary.m_mapDepend2.Lookup(ab, list));
  ASSERT_EQ(Add("中文"), 1);  // saves the maps again
  EXPECT_NE(lexicontest::ReadFile(Path("depend2.map")).find(two.substr(4)), std::string::npos)
      << "depend2.map keeps what it held";
}

// A map that is there but cannot be read (a bad sector, a mode that allows
// no reading) holds associations memory lacks: saves leave it as it is and
// still write everything else.
TEST_F(Lexicon, AMapThatCannotBeReadIsLeftAsItIs) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("中国人"), 1);
  // The engine runs as an ordinary user below: the files must be open to it.
  ASSERT_EQ(chmod(m_dir.Path().c_str(), 0777), 0);
  DIR* d = opendir(m_dir.Path().c_str());
  ASSERT_NE(d, nullptr);
  while (dirent* e = readdir(d))
    if (e->d_name[0] != '.') chmod(Path(e->d_name).c_str(), 0666);
  closedir(d);
  const struct {
    const char* map;
    const char* phrase;  // a new phrase: its add saves
  } cases[] = {{"depend1.map", "中文"}, {"depend2.map", "文中"}};
  for (const auto& [map, phrase] : cases) {
    SCOPED_TRACE(map);
    const std::string path = Path(map);
    const std::string old = lexicontest::ReadFile(path);
    ASSERT_NE(old, "<missing>");
    ASSERT_EQ(chmod(path.c_str(), 0222), 0);
    EXPECT_TRUE(kvrtest::RunAsOrdinaryUser([this, phrase = phrase] {
      Restart();
      // The save writes the store, the indexes and the map that could be
      // read.
      return Add(phrase) == 1 && dictionary.m_tmCiKuChanged == 0 && !m_host.Calls("diag ").empty();
    }));
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    EXPECT_EQ(lexicontest::ReadFile(path), old) << "written over";
    Restart();
  }
}

}  // namespace
