// The compact character tables against the hash maps they replaced: the
// maps of before are rebuilt here as the engine filled them (a record per
// character, the last one listed winning, every text through a CString),
// and both must answer every one of the 65,536 characters alike.
#include "engine/dics/CharCodeMaps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AMap.h"
#include "engine/dics/CharDicParsers.h"
#include "engine/formats/CharDictFormat.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using CodeOracle = AMap<unsigned short, unsigned short, CStringArray, CStringArray&>;
template <class Rec>
using ReadingOracle = AMap<unsigned short, unsigned short, Rec, Rec&>;

constexpr unsigned long kOracleBlock = 10;

void FillOracle(CodeOracle& map, const std::vector<chndic::CodeEntry>& entries) {
  for (const chndic::CodeEntry& e : entries) {
    CStringArray& codes = map[e.ch];
    codes.RemoveAll();
    for (const std::string& c : e.codes) codes.Add(CString(c.c_str()));
  }
}

template <class Rec>
void FillOracle(ReadingOracle<Rec>& map, const std::vector<chndic::ReadingEntry>& entries) {
  for (const chndic::ReadingEntry& e : entries) {
    Rec& rec = map[e.ch];
    rec.readings.RemoveAll();
    for (auto& t : rec.tones) t = 0;
    for (size_t j = 0; j < e.readings.size(); ++j) {
      rec.readings.Add(CString(e.readings[j].c_str()));
      rec.tones[j] = static_cast<std::remove_reference_t<decltype(rec.tones[0])>>(e.tones[j]);
    }
    rec.flags = e.flags;
  }
}

std::string Joined(const CStringArray& a) {
  std::string s = std::to_string(a.GetSize()) + ":";
  for (int i = 0; i < a.GetSize(); ++i) s += std::string(a[i].GetString()) + "|";
  return s;
}

template <class Rec>
std::string Described(const Rec& r) {
  std::string s = Joined(r.readings) + " flags " + std::to_string(r.flags) + " tones";
  for (const auto t : r.tones) s += " " + std::to_string(t);
  return s;
}

// Every character looked up in both; a missing one must leave the output
// as it was, so the output starts with a marker in it.
void ExpectSameCodes(const CodeOracle& oracle, const CharCodeMap& map) {
  EXPECT_EQ(map.GetCount(), oracle.GetCount());
  for (unsigned ch = 0; ch <= 0xFFFF; ++ch) {
    CStringArray want, got;
    want.Add("untouched");
    got.Add("untouched");
    const auto c = static_cast<unsigned short>(ch);
    const int wantFound = oracle.Lookup(c, want);
    ASSERT_EQ(map.Lookup(c, got), wantFound) << "character 0x" << std::hex << ch;
    ASSERT_EQ(Joined(got), Joined(want)) << "character 0x" << std::hex << ch;
  }
}

template <class Rec>
void ExpectSameReadings(const ReadingOracle<Rec>& oracle, const CharReadingMap<Rec>& map) {
  EXPECT_EQ(map.GetCount(), oracle.GetCount());
  for (unsigned ch = 0; ch <= 0xFFFF; ++ch) {
    Rec want, got;
    want.flags = got.flags = 0xEE;
    const auto c = static_cast<unsigned short>(ch);
    const int wantFound = oracle.Lookup(c, want);
    ASSERT_EQ(map.Lookup(c, got), wantFound) << "character 0x" << std::hex << ch;
    ASSERT_EQ(Described(got), Described(want)) << "character 0x" << std::hex << ch;
    uint8_t flags = 0xEE;
    EXPECT_EQ(map.LookupFlags(c, flags), wantFound);
    EXPECT_EQ(flags, want.flags);
  }
}

void CompareCodeFile(const std::string& file, size_t bufBytes) {
  std::vector<chndic::CodeEntry> entries;
  std::string err;
  chndic::ParseCh2Codes(std::vector<uint8_t>(file.begin(), file.end()), bufBytes, entries, err);
  CodeOracle oracle(kOracleBlock);
  FillOracle(oracle, entries);
  CharCodeMap map;
  map.Assign(entries);
  ExpectSameCodes(oracle, map);
}

template <class Rec>
void CompareReadingFile(const std::string& file, int toneBytes) {
  std::vector<chndic::ReadingEntry> entries;
  std::string err;
  chndic::ParseCh2PyPz(std::vector<uint8_t>(file.begin(), file.end()), toneBytes, entries, err);
  ReadingOracle<Rec> oracle(kOracleBlock);
  FillOracle(oracle, entries);
  CharReadingMap<Rec> map;
  map.Assign(entries);
  ExpectSameReadings(oracle, map);
}

const std::string kZhong = "\xD6\xD0";
const std::string kGuo = "\xB9\xFA";
const std::string kHang = "\xD0\xD0";  // many readings

// Characters listed twice (the last wins), without codes, with a NUL inside
// a code, and a last character in the table's top corner.
const std::vector<chardict::CodeRecord> kCodeRecords = {
    {kZhong, {"khk", "kh"}}, {kGuo, {}},
    {kZhong, {"zhong"}},     {kHang, {"xing", "hang", "heng", "hng"}},
    {"\xFF\xFF", {"last"}},  {kGuo, {std::string("g\0uo", 4), "guo"}},
};

}  // namespace

TEST(CharCodeMaps, CodesAnswerAsTheHashMap) {
  CompareCodeFile(chardict::WriteCharCodes(kCodeRecords), chardict::kCh2KeyCodeBuffer);
}

TEST(CharCodeMaps, ReadingsAnswerAsTheHashMap) {
  const std::vector<chardict::ToneRecord> records = {
      {kHang,
       {{"xing", {2}}, {"hang", {2, 4}}, {"heng", {4}}, {"a", {1}}, {"b", {5}}, {"c", {3, 1}}},
       true},
      {kZhong, {{"zhong", {1, 4}}}, false},
      {kHang, {{"hang", {2}}}, false},  // listed again: this record wins
      {kGuo, {}, true},
  };
  for (const bool ordered : {false, true}) {
    SCOPED_TRACE(ordered ? "ch2pypz2.bin" : "ch2pypz1.bin");
    const std::string file = chardict::WriteToneReadings(records, ordered, 1);
    if (ordered)
      CompareReadingFile<typArrPYsDiaoInOrder>(file, 2);
    else
      CompareReadingFile<typArrPYs>(file, 1);
  }
}

// A damaged file keeps what the parser could read before the fault; the
// tables must hold exactly that, at every length the file is cut to.
TEST(CharCodeMaps, CutFilesKeepTheRecordsBeforeTheCut) {
  const std::string codes = chardict::WriteCharCodes(kCodeRecords);
  for (size_t n = 0; n < codes.size(); ++n) {
    SCOPED_TRACE(n);
    CompareCodeFile(codes.substr(0, n), chardict::kCh2KeyCodeBuffer);
    if (HasFatalFailure()) return;
  }
}

// The shipped dictionaries, every character of each.
TEST(CharCodeMaps, ShippedTablesAnswerAsTheHashMap) {
  const std::string dir = kvrtest::DistDir() + "/";
  const std::string ch2key = kvrtest::ReadFileText(dir + "ch2key.bin");
  const std::string ch2py = kvrtest::ReadFileText(dir + "ch2py.bin");
  const std::string pz1 = kvrtest::ReadFileText(dir + "ch2pypz1.bin");
  const std::string pz2 = kvrtest::ReadFileText(dir + "ch2pypz2.bin");
  ASSERT_FALSE(ch2key.empty() || ch2py.empty() || pz1.empty() || pz2.empty())
      << "the shipped data is missing in " << dir;
  CompareCodeFile(ch2key, chardict::kCh2KeyCodeBuffer);
  CompareCodeFile(ch2py, chardict::kCh2PyCodeBuffer);
  CompareReadingFile<typArrPYs>(pz1, 1);
  CompareReadingFile<typArrPYsDiaoInOrder>(pz2, 2);
}
