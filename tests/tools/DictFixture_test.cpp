// The data generator run on the tiny text fixture (tests/engine/fixtures/
// tiny_dict): record layouts, strcmp order, counts and starts, scrambling
// and weights, byte for byte.
#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"
#include "tests/tools/GeneratedData.h"

namespace {

const std::string kZhong = "\xd6\xd0", kZhong4 = "\xd6\xd6", kGuo = "\xb9\xfa", kGuo4 = "\xb9\xfd",
                  kRen = "\xc8\xcb", kMin = "\xc3\xf1", kChang = "\xb3\xa4";

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

class DictFixture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_files = new datagen::FileSet(
        gentest::ReadAll(kvrtest::BinaryDir() + "/tests/engine/fixtures/tiny_dict"));
  }
  static void TearDownTestSuite() { delete s_files; }
  const std::string& File(const char* name) { return (*s_files)[name]; }
  static datagen::FileSet* s_files;
};
datagen::FileSet* DictFixture::s_files = nullptr;

}  // namespace

TEST_F(DictFixture, PassesTheInvariantCheck) {
  datagen::Report report;
  datagen::CheckInvariants(*s_files, report);
  EXPECT_TRUE(report.errors.empty()) << report.errors.front();
}

TEST_F(DictFixture, SyllablesSortedWithCountsAndStartsIntoTheFlatList) {
  const std::string want = Bytes(
      {'c', 'h',  'a',  'n', 'g', 0x80, 1,   0,   0,   'g',  'u',  'o', 0x80, 2,   1,   0,   'm',
       'i', 'n',  0x80, 1,   3,   0,    'r', 'e', 'n', 0x80, 1,    4,   0,    'z', 'h', 'a', 'n',
       'g', 0x80, 1,    5,   0,   'z',  'h', 'o', 'n', 'g',  0x80, 2,   6,    0,   0});
  EXPECT_EQ(File("pykeys.dic").substr(0, want.size()), want);
  EXPECT_EQ(File("pykeys.dic").size(), 100u);  // grown to the loader's minimum with zeros
  // Within a syllable the more used reading comes first: 国 (800) before 过 (600).
  EXPECT_EQ(File("gbkflat.dic").substr(0, 16),
            kChang + kGuo + kGuo4 + kMin + kRen + kChang + kZhong + kZhong4);
}

TEST_F(DictFixture, PhraseStoreIsScrambledPhrasesByFrequency) {
  const std::string store = gentest::Unscramble(File("CiZuFlat.igb"));
  // An empty phrase at offset 0 (offset 0 means "none" to the lexicon),
  // 中国 (700: essay 中國 converted), then 国民 (50, composed pinyin) and
  // 中国人民 (50) in GBK order, 过人 (10).
  const std::string want = std::string(1, '\0') + kZhong + kGuo + '\0' + kGuo + kMin + '\0' +
                           kZhong + kGuo + kRen + kMin + '\0' + kGuo4 + kRen + '\0';
  EXPECT_EQ(store.substr(0, want.size()), want);
  EXPECT_EQ(store.size(), 100u);
  EXPECT_NE(File("CiZuFlat.igb").substr(1, 4), want.substr(1, 4));
}

TEST_F(DictFixture, WeightedPinyinIndexBytes) {
  const std::string want =
      Bytes({0x80, 'g', 'u',  'o',  'm',  'i', 'n', 0x80, 0x00, 0x06, 5,    'g',  'u',  'o', 'r',
             'e',  'n', 0x80, 0x00, 0x14, 3,   'z', 'g',  'r',  'm',  0x80, 0x00, 0x0b, 5,   'z',
             'h',  'o', 'n',  'g',  'g',  'u', 'o', 0x80, 0x00, 0x01, 9,    'z',  'h',  'o', 'n',
             'g',  'g', 'u',  'o',  'r',  'e', 'n', 'm',  'i',  'n',  0x80, 0x00, 0x0b, 5,   0});
  EXPECT_EQ(File("pycizudic.idx"), want);
}

TEST_F(DictFixture, InitialsAndShapeCodeIndexBytes) {
  EXPECT_EQ(File("py2_3ZiCi1stZuMu.idx"), Bytes({'g', 'm', 0x80, 0, 0x06, 5, 'g', 'r', 0x80, 0,
                                                 0x14, 3, 'z', 'g', 0x80, 0, 1, 9, 0}));
  // Shape-code keys are the full codes joined (the engine's rule), and for
  // four characters also the first letters of characters 1-3 and the last.
  EXPECT_EQ(File("pxcizudic.idx"), std::string("fpiwwww") + Bytes({0x80, 0, 0x14}) + "khklgyi" +
                                       Bytes({0x80, 0, 1}) + "khklgyiwwwwnav" +
                                       Bytes({0x80, 0, 0x0b}) + "klwn" + Bytes({0x80, 0, 0x0b}) +
                                       "lgyinav" + Bytes({0x80, 0, 0x06, 0}));
}

TEST_F(DictFixture, ShapeCodeListByWeightAndFullCodes) {
  EXPECT_EQ(gentest::ShapeCodeChars(File("chdicres.bin"), "k"), kZhong);
  EXPECT_EQ(gentest::ShapeCodeChars(File("chdicres.bin"), "lgyi"), kGuo);
  EXPECT_EQ(File("ch2key.bin").substr(0, 2), Bytes({7, 0}));
  EXPECT_EQ(File("ch2key.bin").substr(2, 12), kChang + Bytes({1, 0, 4, 0, 0, 0}) + "tayi");
  // chndic2.bin: 16 prefixes that only one full code continues, sorted.
  EXPECT_EQ(File("chndic2.bin").substr(0, 9), Bytes({16, 0, 1, 'f', 2}) + kGuo4 + Bytes({2, 'f'}));
}

TEST_F(DictFixture, TonesFromTerraAndUnihanAndTheCommonFlag) {
  const auto pz1 = gentest::ToneReadings(File("ch2pypz1.bin"), false);
  EXPECT_EQ(pz1.at(kChang).at("chang"), 0x02);     // tone 2 from Unihan
  EXPECT_EQ(pz1.at(kChang).at("zhang"), 0x04);     // tone 3 from terra and Unihan
  EXPECT_EQ(pz1.at(kZhong).at("zhong"), 0x09);     // tones 1 and 4
  EXPECT_EQ(File("ch2pypz1.bin").back(), '\x01');  // 中, the last record, is common
}

TEST_F(DictFixture, OneKeyListsPutChShZhUnderIUV) {
  const std::string& f = File("py_1key.dic");
  EXPECT_NE(f.find("\ni\n" + kChang + "\n"), std::string::npos);
  EXPECT_NE(f.find("\nv\n" + kZhong + kZhong4 + "\n"), std::string::npos);
  EXPECT_NE(f.find("\ng\n" + kGuo + kGuo4 + "\n"), std::string::npos);
}

TEST_F(DictFixture, VModeColumnsSpellTheKeysOfEachScheme) {
  const std::string& v = File("vmodewords.dic");
  // Full pinyin in short form, then MS, C_Star and ZR keys; words of several
  // syllables also by their initials.
  for (const char* line : {"\nyue,yt,yx,yt,\xd4\xc2\n", "\nchi,ii,ui,ii,\xb3\xdf\n",
                           "\nxighao|xh,x;hk|xh,xqhd|xh,xyhk|xh,\xa1\xef,\xa1\xee\n",
                           "\ngogli|gl,gsli|gl,gyli|gl,gsli|gl,\xb9\xab\xc0\xef\n"})
    EXPECT_NE(v.find(line), std::string::npos) << line + 1;
}

TEST_F(DictFixture, TraditionalFormsPreferTheCharacterItself) {
  const std::string& t = File("gbk2b5.bin");
  EXPECT_EQ(gentest::Gbk2Big5(t, 0xBAF3), 0xA65A);  // 后 stays 后 though s2t lists 後 first
  EXPECT_EQ(gentest::Gbk2Big5(t, 0xB9FA), 0xB0EA);  // 国 -> 國
  EXPECT_EQ(gentest::Gbk2Big5(t, 0xB3A4), 0xAAF8);  // 长 -> 長
  EXPECT_EQ(gentest::Gbk2Big5(t, 0xA1A3), 0xA143);  // 。 by code conversion
}
