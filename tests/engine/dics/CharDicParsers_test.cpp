#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/dics/CharDicParsers.h"
#include "engine/formats/CharDictFormat.h"

using chndic::CodeEntry;
using chndic::ReadingEntry;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

const std::string kZhong = "\xD6\xD0";
const std::string kGuo = "\xB9\xFA";

}  // namespace

TEST(CharDicParsers, CodesRoundTripTheGeneratorsWriter) {
  const std::string file = chardict::WriteCharCodes({{kZhong, {"khk", "kh"}}, {kGuo, {"lgyi"}}});
  std::vector<CodeEntry> out;
  std::string err;
  chndic::ParseCh2Codes(Bytes(file), chardict::kCh2KeyCodeBuffer, out, err);
  EXPECT_EQ(err, "");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].ch, 0xD0D6);  // lead byte low
  EXPECT_EQ(out[0].codes, (std::vector<std::string>{"khk", "kh"}));
  EXPECT_EQ(out[1].codes, (std::vector<std::string>{"lgyi"}));
}

TEST(CharDicParsers, CodesRefuseOverlongCodesAndCountsPastTheEnd) {
  const std::string longCode(chardict::kCh2KeyCodeBuffer, 'a');  // no room for the NUL
  const std::string fits(chardict::kCh2KeyCodeBuffer - 1, 'b');
  std::string file = chardict::WriteCharCodes({{kZhong, {longCode, "ok"}}, {kGuo, {fits}}});
  std::vector<CodeEntry> out;
  std::string err;
  chndic::ParseCh2Codes(Bytes(file), chardict::kCh2KeyCodeBuffer, out, err);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].codes, (std::vector<std::string>{"ok"}));
  EXPECT_EQ(out[1].codes, (std::vector<std::string>{fits}));
  EXPECT_NE(err.find("over-long"), std::string::npos) << err;

  // The same file read with ch2py.bin's smaller buffer drops the second too.
  chndic::ParseCh2Codes(Bytes(file), chardict::kCh2PyCodeBuffer, out, err);
  EXPECT_TRUE(out[1].codes.empty());

  struct Case {
    const char* what;
    std::string bytes;
    size_t kept;
  } const cases[] = {
      {"empty", "", 0},
      {"count only", std::string("\x05\x00", 2), 0},
      {"huge code length",
       std::string("\x01\x00", 2) + kZhong + std::string("\x01\x00", 2) +
           std::string("\xff\xff\xff\x7f", 4) + "ab",
       0},
      {"code count past end",
       std::string("\x02\x00", 2) + kZhong + std::string("\x01\x00", 2) +
           std::string("\x01\x00\x00\x00", 4) + "a" + kGuo + std::string("\xff\xff", 2),
       1},
  };
  for (const Case& c : cases) {
    chndic::ParseCh2Codes(Bytes(c.bytes), chardict::kCh2KeyCodeBuffer, out, err);
    EXPECT_EQ(out.size(), c.kept) << c.what;
    EXPECT_NE(err, "") << c.what;
  }
}

TEST(CharDicParsers, ReadingsDropARecordWithMoreThanSix) {
  std::vector<chardict::ToneRecord> recs(2);
  recs[0].ch = kZhong;
  recs[0].readings = {{"zhong", {1, 4}}};
  recs[0].common = true;
  recs[1].ch = kGuo;
  recs[1].readings = {{"guo", {2}}};
  for (bool ordered : {false, true}) {
    const std::string file = chardict::WriteToneReadings(recs, ordered, 7);
    std::vector<ReadingEntry> out;
    std::string err;
    chndic::ParseCh2PyPz(Bytes(file), ordered ? 2 : 1, out, err);
    EXPECT_EQ(err, "");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].readings, (std::vector<std::string>{"zhong"}));
    EXPECT_EQ(out[0].tones[0],
              ordered ? chardict::ToneSequence({1, 4}) : chardict::ToneMask({1, 4}));
    EXPECT_EQ(out[0].flags & chardict::kCommonMask, chardict::kCommonFlag);
  }
  // Seven readings, written by hand: the generator refuses to.
  std::string file = std::string("\0\0\0\0\x02\x00", 6) + kZhong + "\x07";
  for (int i = 0; i < 7; ++i) file += std::string("\x02") + "ab" + "\x01";
  file += std::string("\x01") + kGuo + "\x01" + "\x03" + "guo" + "\x02" + "\x00";
  file.push_back('\0');
  std::vector<ReadingEntry> out;
  std::string err;
  chndic::ParseCh2PyPz(Bytes(file), 1, out, err);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].ch, 0xFAB9);
  EXPECT_NE(err.find("more than 6"), std::string::npos) << err;

  // Truncated anywhere: never more than was whole, never a crash.
  const std::string whole = chardict::WriteToneReadings(recs, true, 1);
  for (size_t n = 0; n < whole.size(); ++n) {
    chndic::ParseCh2PyPz(Bytes(whole.substr(0, n)), 2, out, err);
    EXPECT_LE(out.size(), 1u) << n;
    EXPECT_NE(err, "") << n;
  }
}

TEST(CharDicParsers, SortDic) {
  using Ranks = std::vector<std::pair<uint16_t, int32_t>>;
  struct Case {
    const char* what;
    std::string bytes;
    Ranks want;
  } const cases[] = {
      {"two ranks with line ends", kZhong + "12\r\n" + kGuo + "7", {{0xD0D6, 12}, {0xFAB9, 7}}},
      {"two characters in a row end it", kZhong + kGuo + "5", {}},
      {"text before the first character", "abc\n" + kZhong + "3\n", {{0xD0D6, 3}}},
      {"lead byte alone at the end", kZhong + "3\n" + "\xB9", {{0xD0D6, 3}}},
      {"long rank text is cut to 15 bytes",
       kZhong + "123456789012345678901234567890\n" + kGuo + "2",
       {{0xD0D6, static_cast<int32_t>(123456789012345L)}, {0xFAB9, 2}}},
      {"empty", "", {}},
  };
  for (const Case& c : cases) {
    Ranks out;
    std::string err;
    chndic::ParseSortDic(Bytes(c.bytes), out, err);
    EXPECT_EQ(out, c.want) << c.what;
  }
}

TEST(CharDicParsers, OneKeyLists) {
  std::array<std::string, 25> out;
  chndic::ParseOneKeyPy(Bytes("; comment\nb\n" + kZhong + "\t\r\n" + kGuo + "\na\n" +
                              "c\n;not a comment here\nx\nz\n" + kGuo),
                        out);
  EXPECT_EQ(out[0], kZhong + kGuo) << "b";
  EXPECT_EQ(out['c' - 'b'], ";not a comment here")
      << "c takes the comment line, and 'x' is too short";
  EXPECT_EQ(out['z' - 'b'], kGuo);
  EXPECT_EQ(out['x' - 'b'], "") << "'x' was a character line of 'c'";

  // A line longer than 63 bytes is read in pieces, as the reader does.
  std::string longLine(70, 'q');
  chndic::ParseOneKeyPy(Bytes("d\n" + longLine + "\n"), out);
  EXPECT_EQ(out['d' - 'b'], std::string(63, 'q') + std::string(7, 'q'));
}
