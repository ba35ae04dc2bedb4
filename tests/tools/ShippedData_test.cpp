// The data files the build generated into the distribution directory from
// the installed open data: every invariant holds, and spot checks on words
// every user types.
#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"
#include "tests/tools/GeneratedData.h"

namespace {

class ShippedData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_files = new datagen::FileSet(gentest::ReadAll(kvrtest::DistDir()));
    s_store = new std::string(gentest::Unscramble((*s_files)["CiZuFlat.igb"]));
  }
  static void TearDownTestSuite() {
    delete s_files;
    delete s_store;
  }
  const std::string& File(const char* name) { return (*s_files)[name]; }
  static datagen::FileSet* s_files;
  static std::string* s_store;
};
datagen::FileSet* ShippedData::s_files = nullptr;
std::string* ShippedData::s_store = nullptr;

const std::string kZhongGuo = "\xd6\xd0\xb9\xfa";  // 中国

}  // namespace

TEST_F(ShippedData, EveryInvariantHolds) {
  datagen::Report report;
  datagen::CheckInvariants(*s_files, report);
  for (const std::string& e : report.errors) ADD_FAILURE() << e;
}

TEST_F(ShippedData, ZhongguoOffersZhongGuoFirst) {
  const auto py = gentest::DecodeIndex(File("pycizudic.idx"), 4, true, *s_store);
  ASSERT_TRUE(py.count("zhongguo"));
  EXPECT_EQ(py.at("zhongguo").front().first, kZhongGuo);
}

TEST_F(ShippedData, InitialsZgIncludeZhongGuoWithinTheCap) {
  const auto ini = gentest::DecodeIndex(File("py2_3ZiCi1stZuMu.idx"), 4, false, *s_store);
  EXPECT_TRUE(gentest::HasPhrase(ini, "zg", kZhongGuo));
  EXPECT_LE(ini.at("zg").size(), datagen::kMaxInitialsPerKey);
}

TEST_F(ShippedData, ChangHasTonesTwoAndThree) {
  const auto pz1 = gentest::ToneReadings(File("ch2pypz1.bin"), false);
  const auto& chang = pz1.at("\xb3\xa4");  // 长
  int tones = 0;
  for (const auto& r : chang) tones |= r.second;
  EXPECT_EQ(tones, 0x02 | 0x04);
  EXPECT_EQ(chang.at("chang"), 0x02);
  EXPECT_EQ(chang.at("zhang"), 0x04);
}

TEST_F(ShippedData, Big5SpotChecks) {
  struct Case {
    uint16_t gbk, big5;
    const char* what;
  } const cases[] = {{0xBAF3, 0xA65A, "后 stays itself"},
                     {0xB9FA, 0xB0EA, "国 -> 國"},
                     {0xCEAA, 0xACB0, "为 -> 為"},
                     {0xD6D0, 0xA4A4, "中 -> 中"},
                     {0xA3AC, 0xA141, "， -> ，"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(gentest::Gbk2Big5(File("gbk2b5.bin"), c.gbk), c.big5);
  }
  // And back: Big5 中 is GBK 中.
  EXPECT_EQ(gentest::Be16(File("b5gbk.bin"), static_cast<size_t>(big5table::Big5Cell(0xA4A4)) * 2),
            0xD6D0);
}

TEST_F(ShippedData, WubiGgllIsYi) {
  const std::string yi = "\xd2\xbb";  // 一
  EXPECT_EQ(gentest::ShapeCodeChars(File("chdicres.bin"), "ggll").substr(0, 2), yi);
  EXPECT_EQ(gentest::ShapeCodeChars(File("chdicres.bin"), "g").substr(0, 2), yi);
}

TEST_F(ShippedData, FrequentCharactersComeFirst) {
  const std::string de = "\xb5\xc4";  // 的
  EXPECT_EQ(File("sort.dic").find(de + "1\n") != std::string::npos, true);
  EXPECT_NE(File("py_1key.dic").find("\nd\n" + de), std::string::npos);
  // The syllable list covers the GBK Han characters (all but the few that
  // no source gives a reading) in about 420 syllables.
  EXPECT_GT(File("gbkflat.dic").size() / 2, 27000u);
}

TEST_F(ShippedData, VModeKeysTheTipsPromise) {
  const std::string& v = File("vmodewords.dic");
  struct Case {
    const char* keyStart;
    const char* word;
  } const cases[] = {
      {"\nxighao|", "\xa1\xef"},            // ★
      {"\nsanjiao|", "\xa1\xf8"},           // ▲
      {"\ngogli|gl,", "\xb9\xab\xc0\xef"},  // 公里
      {"\nyue,", "\xd4\xc2"},               // 月
      {"\nchi,", "\xb3\xdf"},               // 尺
      {"\ngama|", "\xa6\xc3"},              // γ
      {"\nhoutou|", "\xa3\xc0"},            // ＠
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyStart + 1);
    const size_t at = v.find(c.keyStart);
    ASSERT_NE(at, std::string::npos);
    const std::string line = v.substr(at + 1, v.find('\n', at + 1) - at - 1);
    EXPECT_NE(line.find(c.word), std::string::npos);
  }
  EXPECT_NE(v.find("|rmbfh,"), std::string::npos);
  EXPECT_NE(v.find("|rmb,"), std::string::npos);
}

TEST_F(ShippedData, NoInterjectionSyllableAndCommonWordsStay) {
  for (const std::string& s : gentest::Syllables(File("pykeys.dic")))
    EXPECT_FALSE(datagen::IsInterjectionSyllable(s)) << s;
  // Everyday and technical words survive the essay-only floor.
  const auto py = gentest::DecodeIndex(File("pycizudic.idx"), 4, true, *s_store);
  struct Word {
    const char* keys;
    const char* gbk;
  } const words[] = {{"women", "\xce\xd2\xc3\xc7"},                           // 我们
                     {"ruanjianbao", "\xc8\xed\xbc\xfe\xb0\xfc"},             // 软件包
                     {"wenjianxitong", "\xce\xc4\xbc\xfe\xcf\xb5\xcd\xb3"}};  // 文件系统
  for (const Word& w : words) EXPECT_TRUE(gentest::HasPhrase(py, w.keys, w.gbk)) << w.keys;
}
