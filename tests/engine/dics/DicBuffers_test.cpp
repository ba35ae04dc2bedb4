#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/formats/CharDictFormat.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/DicBuffers.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

// An independent statement of the ordinal rules.
int OracleOrdinal(unsigned char c) {
  if (c >= 'a' && c <= 'z') return 24 + (c - 'a');
  if (c == '`') return 23;
  if (c >= '0' && c <= '9') return 8 + (c - '0');
  switch (c) {
    case '#': return 1;
    case '$': return 2;
    case '%': return 3;
    case '\'': return 3;
    case '&': return 4;
    case ',': return 4;
    case '-': return 5;
    case '(': return 6;
    case '.': return 6;
    case ')': return 7;
    case '/': return 7;
    case '*': return 8;
    case '+': return 9;
    case ':': return 18;
    case ';': return 18;
    case '=': return 19;
    case '<': return 20;
    case '@': return 20;
    case '[': return 21;
    case '>': return 22;
    case ']': return 22;
    case '?': return 23;
  }
  if (c >= 'A' && c <= 'X') return 25 + (c - 'A');
  if (c >= 0x59 && c <= 0x7F) return 49;  // 'Y' onward, except the above
  return 0;                               // controls, blanks, '!', '"', 0x80 up
}

// The offset of the record whose key is `key`, found by walking from the
// key's bucket as a lookup does; -1 when a greater key or the end comes
// first.
long ScanFromBucket(const std::vector<uint8_t>& data, const uint32_t* table,
                    chndic::KeyListLayout layout, int entryLen, const std::string& key) {
  size_t pos = table[chndic::KeyBucket(key.c_str())];
  while (pos < data.size() && data[pos] != 0) {
    const size_t start = pos;
    while (pos < data.size() && data[pos] && data[pos] < 0x80) ++pos;
    const std::string k(data.begin() + static_cast<long>(start),
                        data.begin() + static_cast<long>(pos));
    if (k == key) return static_cast<long>(start);
    if (k > key) return -1;
    if (layout == chndic::KeyListLayout::kPinYinKeys)
      pos += 4;
    else
      while (pos < data.size() && (data[pos] & 0x80)) pos += static_cast<size_t>(entryLen);
  }
  return -1;
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

}  // namespace

TEST(DicBuffers, KeyOrdinalsOfAllBytes) {
  for (int b = 0; b < 256; ++b) {
    const unsigned char c = static_cast<unsigned char>(b);
    if (c >= 'Y' && c <= 0x7F && c != '[' && c != ']' && c != '`' && !(c >= 'a' && c <= 'z')) {
      EXPECT_EQ(chndic::KeyOrdinal(static_cast<char>(c)), 49) << b;
      continue;
    }
    EXPECT_EQ(chndic::KeyOrdinal(static_cast<char>(c)), OracleOrdinal(c)) << b;
  }
  EXPECT_EQ(chndic::KeyBucket("a"), 24 * 50);
  EXPECT_EQ(chndic::KeyBucket("ab"), 24 * 50 + 25);
  EXPECT_EQ(chndic::KeyBucket("abc"), 24 * 50 + 25);
  EXPECT_EQ(chndic::KeyBucket(""), 0);
}

TEST(DicBuffers, TwoKeyTableFindsEveryKeyOfAGeneratedIndex) {
  std::vector<phrasestore::IndexRecord> recs;
  const char* keys[] = {"'a", "1",  "a",  "ab",  "abc", "abd", "b",  "ba",    "bzz",
                        "c",  "ca", "cb", "cz;", "d",   "z",   "zh", "zhong", "zz"};
  uint32_t off = 0;
  for (const char* k : keys) recs.push_back({k, {{off++, 3}, {off++, 4}}});
  for (int width : {3, 4}) {
    SCOPED_TRACE(width);
    const std::vector<uint8_t> data = Bytes(phrasestore::WriteIndex(recs, width, false));
    uint32_t table[2500];
    chndic::BuildTwoKeyTable(data.data(), data.size(), chndic::KeyListLayout::kEntries, width,
                             table);
    for (int i = 0; i + 1 < 2500; ++i) ASSERT_LE(table[i], table[i + 1]) << i;
    for (const char* k : keys)
      EXPECT_GE(ScanFromBucket(data, table, chndic::KeyListLayout::kEntries, width, k), 0) << k;
    // "ab" and "abc" share a bucket, which holds "ab".
    EXPECT_EQ(ScanFromBucket(data, table, chndic::KeyListLayout::kEntries, width, "ab"),
              static_cast<long>(table[chndic::KeyBucket("abc")]));
    // A one-character key has its own bucket even after "'a" began bucket 3*50+24.
    EXPECT_EQ(table[chndic::KeyBucket("a")],
              static_cast<uint32_t>(
                  ScanFromBucket(data, table, chndic::KeyListLayout::kEntries, width, "a")));
  }
}

TEST(DicBuffers, TwoKeyTableOfPinYinKeysAndOfAnEmptyList) {
  std::vector<chardict::SyllableRun> runs;
  const char* syl[] = {"a", "ai", "ba", "bai", "zhong", "zhuo"};
  uint32_t start = 0;
  for (const char* s : syl) {
    runs.push_back({s, 3, start});
    start += 3;
  }
  const std::vector<uint8_t> data = Bytes(chardict::WritePyKeys(runs));
  uint32_t table[2500];
  chndic::BuildTwoKeyTable(data.data(), data.size(), chndic::KeyListLayout::kPinYinKeys, 4, table);
  for (const char* s : syl)
    EXPECT_GE(ScanFromBucket(data, table, chndic::KeyListLayout::kPinYinKeys, 4, s), 0) << s;

  const uint8_t empty[1] = {0};
  chndic::BuildTwoKeyTable(empty, 1, chndic::KeyListLayout::kEntries, 3, table);
  for (uint32_t v : table) ASSERT_EQ(v, 0u);
}

TEST(DicBuffers, TwoKeyTableSurvivesGarbage) {
  std::vector<uint8_t> junk(300);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>((i * 151 + 7) % 256);
  uint32_t table[2500];
  for (size_t n = 0; n <= junk.size(); n += 37) {
    chndic::BuildTwoKeyTable(junk.data(), n, chndic::KeyListLayout::kEntries, 4, table);
    for (uint32_t v : table) ASSERT_LE(v, n);
  }
}

// The key bytes of a shape-code list are told from its entries by
// stepping over whole entries: a GBK trail byte below 0x80 (here '@') is
// not a key.
TEST(DicBuffers, KeyListUsesKeyByteOnlyInKeys) {
  const std::string list = std::string("8n\xC4\xDA") + "ab\x81\x40\xB0\xA2" + "cd\xB0\xA1" + '\0';
  const std::vector<uint8_t> data = Bytes(list);
  struct Case {
    uint8_t key;
    bool want;
  } const cases[] = {{'8', true},  {'n', true},  {'a', true}, {'d', true},  {'@', false},
                     {',', false}, {'z', false}, {0, false},  {0xC4, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(chndic::KeyListUsesKeyByte(data.data(), data.size(), 2, c.key), c.want);
  }
  EXPECT_FALSE(chndic::KeyListUsesKeyByte(nullptr, 0, 2, 'a'));
  EXPECT_FALSE(chndic::KeyListUsesKeyByte(data.data(), 2, 2, 'a')) << "past the given length";
  std::vector<uint8_t> junk(300);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>((i * 151 + 7) % 256);
  for (size_t n = 0; n <= junk.size(); n += 37) chndic::KeyListUsesKeyByte(junk.data(), n, 2, '~');
}

TEST(DicBuffers, WideningAddsAWeightByteAndAnEnd) {
  struct Case {
    std::string in, want;
  } const cases[] = {
      {"\xB0\xA1\xB0\xA2", std::string("\xB0\xA1\0\xB0\xA2\0\0", 7)},
      {"\xB0\xA1\xB0", std::string("\xB0\xA1\0\0", 4)},  // lone last byte dropped
      {std::string("\xB0\xA1\0\0\xB0\xA2", 6), std::string("\xB0\xA1\0\0", 4)},
      {"", std::string("\0", 1)},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> got =
        chndic::WidenPyFlat(reinterpret_cast<const uint8_t*>(c.in.data()), c.in.size());
    EXPECT_EQ(std::string(got.begin(), got.end()), c.want);
  }
  // A full list: exactly 1.5 times plus the end byte.
  std::string flat;
  for (int i = 0; i < 1000; ++i) flat += "\xB0\xA1";
  EXPECT_EQ(chndic::WidenPyFlat(reinterpret_cast<const uint8_t*>(flat.data()), flat.size()).size(),
            3001u);
}

TEST(DicBuffers, PyKeysRunsAreBoundedByTheList) {
  std::vector<chardict::SyllableRun> runs = {
      {"a", 3, 0}, {"ba", 5, 3}, {"ca", 2, 9}, {"da", 4, 100}};
  std::string image = chardict::WritePyKeys(runs);
  std::vector<uint8_t> data(image.begin(), image.end());
  data.resize(data.size() + chndic::kPad);
  const std::string err = chndic::BoundPyKeys(data.data(), image.size(), 10);
  EXPECT_NE(err, "");
  auto countOf = [&](const char* syl) {
    const std::string img(data.begin(), data.end());
    const size_t p = img.find(syl) + strlen(syl);
    return ((data[p] & 0x7F) << 8) | data[p + 1];
  };
  EXPECT_EQ(countOf("a"), 3);
  EXPECT_EQ(countOf("ba"), 5);  // 3 + 5 <= 10
  EXPECT_EQ(countOf("ca"), 1);  // 9 + 2 > 10: cut to 1
  EXPECT_EQ(countOf("da"), 0);  // starts past the list

  // A record cut off by the end of the file ends the list there.
  std::string cut = chardict::WritePyKeys({{"a", 1, 0}, {"bang", 1, 1}});
  cut.resize(cut.size() - 3);
  std::vector<uint8_t> cutData(cut.begin(), cut.end());
  cutData.resize(cutData.size() + chndic::kPad);
  EXPECT_NE(chndic::BoundPyKeys(cutData.data(), cut.size(), 10), "");
  EXPECT_EQ(cutData[5], 0) << "the broken record's first byte becomes the end";
}

// Both whole-file readers on files of every kind of size, and on a file
// whose size the directory does not tell (/proc), against the bytes read
// another way.
TEST(DicBuffers, WholeFileReadersReadEveryByte) {
  kvrtest::ScratchDir dir;
  std::string big(3 * 8192 + 7, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + 1);
  struct Case {
    const char* name;
    std::string bytes;
  } const cases[] = {{"empty", ""}, {"one", "x"}, {"block", std::string(8192, 'b')}, {"big", big}};
  std::vector<std::string> paths;
  for (const Case& c : cases) {
    paths.push_back(dir.File(c.name));
    kvrtest::WriteFileText(paths.back(), c.bytes);
  }
  paths.push_back("/proc/self/maps");  // size 0 in the directory
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const std::string want = kvrtest::ReadFileText(path);
    if (path.rfind("/proc", 0) == 0) {
      ASSERT_FALSE(want.empty());
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(chndic::ReadWholeFile(path.c_str(), bytes));
      EXPECT_GT(bytes.size(), 0u);  // the maps of this process change as it reads
      continue;
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(chndic::ReadWholeFile(path.c_str(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), want);
    for (const size_t extra : {size_t{0}, size_t{1}}) {
      unsigned char* buf = nullptr;
      size_t n = 99;
      ASSERT_EQ(chndic::ReadWholeFilePadded(path.c_str(), extra, buf, n),
                chndic::PaddedRead::kRead);
      ASSERT_NE(buf, nullptr);
      EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), want);
      for (size_t i = 0; i < extra + chndic::kPad; ++i) EXPECT_EQ(buf[n + i], 0) << i;
      free(buf);
    }
  }
  unsigned char* buf = reinterpret_cast<unsigned char*>(&big);
  size_t n = 99;
  EXPECT_EQ(chndic::ReadWholeFilePadded(dir.File("absent").c_str(), 0, buf, n),
            chndic::PaddedRead::kCannotOpen);
  EXPECT_EQ(buf, nullptr);
  EXPECT_EQ(chndic::ReadWholeFilePadded(dir.Path().c_str(), 0, buf, n),
            chndic::PaddedRead::kReadFailed);  // a directory opens but does not read
  EXPECT_EQ(buf, nullptr);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(chndic::ReadWholeFile(dir.File("absent").c_str(), bytes));
}
