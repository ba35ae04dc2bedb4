#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/BiHuaFormat.h"
#include "engine/formats/Big5TableFormat.h"
#include "engine/formats/CharDictFormat.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

const std::string kZhong = "\xd6\xd0";  // 中
const std::string kGuo = "\xb9\xfa";    // 国

}  // namespace

TEST(CharDictFormat, PyKeysRecordsCarryABigEndianCountAndALittleEndianStart) {
  const std::vector<chardict::SyllableRun> runs = {{"a", 3, 0}, {"zhong", 0x1234, 0xABCD}};
  EXPECT_EQ(chardict::WritePyKeys(runs),
            Bytes({'a', 0x80, 3, 0, 0, 'z', 'h', 'o', 'n', 'g', 0x92, 0x34, 0xCD, 0xAB, 0}));
}

TEST(CharDictFormat, ShapeCodeListIsKeysThenCharacters) {
  EXPECT_EQ(chardict::WriteShapeCodeList({{"k", {kZhong}}, {"lg", {kGuo, kZhong}}}),
            "k" + kZhong + "lg" + kGuo + kZhong + std::string(1, '\0'));
}

TEST(CharDictFormat, ToneMaskAndOrderedToneSequence) {
  struct Case {
    std::vector<int> tones;
    uint8_t mask;
    uint16_t seq;
  } const cases[] = {{{2, 3}, 0x06, 2 | 3 << 3},
                     {{3, 2}, 0x06, 3 | 2 << 3},
                     {{5}, 0x10, 5},
                     {{1, 2, 3, 4, 5}, 0x1F, 1 | 2 << 3 | 3 << 6 | 4 << 9 | 5 << 12},
                     {{}, 0, 0},
                     {{0, 6}, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(chardict::ToneMask(c.tones), c.mask);
    EXPECT_EQ(chardict::ToneSequence(c.tones), c.seq);
  }
}

TEST(CharDictFormat, ToneReadingRecords) {
  const std::vector<chardict::ToneRecord> recs = {{kZhong, {{"zhong", {1, 4}}}, true},
                                                  {kGuo, {{"guo", {2}}, {"gu", {3}}}, false}};
  const std::string head = Bytes({7, 0, 0, 0, 2, 0});
  EXPECT_EQ(chardict::WriteToneReadings(recs, false, 7),
            head + kZhong + Bytes({1, 5}) + "zhong" + Bytes({0x09, 0x01}) + kGuo + Bytes({2, 3}) +
                "guo" + Bytes({0x02, 2}) + "gu" + Bytes({0x04, 0x00}));
  EXPECT_EQ(chardict::WriteToneReadings(recs, true, 7),
            head + kZhong + Bytes({1, 5}) + "zhong" + Bytes({1 | 4 << 3, 0, 0x01}) + kGuo +
                Bytes({2, 3}) + "guo" + Bytes({2, 0, 2}) + "gu" + Bytes({3, 0, 0x00}));
}

TEST(CharDictFormat, CodeRecordsAndStringMap) {
  EXPECT_EQ(chardict::WriteCharCodes({{kZhong, {"khk", "k"}}}),
            Bytes({1, 0}) + kZhong + Bytes({2, 0, 3, 0, 0, 0}) + "khk" + Bytes({1, 0, 0, 0}) + "k");
  EXPECT_EQ(chardict::WriteStringMap({{"kh", kZhong}}),
            Bytes({1, 0, 2}) + "kh" + Bytes({2}) + kZhong);
  EXPECT_EQ(chardict::SortDicLine(kGuo, 42), kGuo + "42\n");
}

TEST(BiHuaFormat, TableIsNestedFirstSecondThirdStroke) {
  bihua::Distribution d;
  d.syllable = "zhong";
  d.groups[1][4][0] = kZhong;
  const std::string img = bihua::WriteTable({d});
  // u16 N, u32 len, syllable, u32 flag, then per s1: u32, per s2: u32 and
  // five groups of u32 length each, plus the one character.
  EXPECT_EQ(img.size(), 2u + 4 + 5 + 4 + 5 * (4 + 5 * (4 + 5 * 4)) + 2);
  // Group [1][4][0] sits after s1 = 0 whole, s1 = 1's collapse word, four
  // s2 blocks of s1 = 1, s2 = 4's collapse word, then its first length.
  const size_t s1Block = 4 + 5 * (4 + 5 * 4);
  const size_t at = 2 + 4 + 5 + 4 + s1Block + 4 + 4 * (4 + 5 * 4) + 4;
  EXPECT_EQ(img.substr(at, 6), Bytes({2, 0, 0, 0}) + kZhong);
  EXPECT_EQ(bihua::ClassOfStrokeLetter('h'), 0);
  EXPECT_EQ(bihua::ClassOfStrokeLetter('z'), 4);
  EXPECT_EQ(bihua::ClassOfStrokeLetter('x'), -1);
}

TEST(Big5TableFormat, CellsAndSizes) {
  EXPECT_EQ(big5table::kGbk2Big5Bytes, 48132u);
  EXPECT_EQ(big5table::kBig52GbkBytes, 34380u);
  EXPECT_EQ(big5table::GbkCell(0x8140), 0);
  EXPECT_EQ(big5table::GbkCell(0xFEFE), 126 * 191 - 1);
  EXPECT_EQ(big5table::GbkCell(0x8130), -1);
  EXPECT_EQ(big5table::Big5Cell(0xA140), 0);
  EXPECT_EQ(big5table::Big5Cell(0xFB40), -1);
}
