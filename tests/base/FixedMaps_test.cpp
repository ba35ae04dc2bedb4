#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/FixedMaps.h"

namespace {

// Opens the internals a test needs to see: the pool blocks.
template <class M>
struct Peek : M {
  Peek() : M(16) {}
  typMemBlk* Blocks() const { return this->m_pBlocks; }
};

template <class M, class K>
std::vector<K> Keys(M& m) {
  std::vector<K> out;
  long pos = m.GetStartPosition();
  while (pos) {
    K k{};
    typename M::Value v{};
    m.GetNextMapRec(pos, k, v);
    out.push_back(k);
  }
  return out;
}

TEST(FixedMaps, WordKeysSharingABucketComeNewestFirst) {
  AMapWordToPtr m(16);
  int cells[4];
  for (uint16_t k : {3, 19, 35}) m.SetAt(k, &cells[k % 4]);
  m.SetAt(2, &cells[0]);
  m.SetAt(16, &cells[0]);  // bucket 0
  EXPECT_EQ((Keys<AMapWordToPtr, uint16_t>(m)), (std::vector<uint16_t>{16, 2, 35, 19, 3}));
  unsigned long bucket = 99;
  EXPECT_NE(m.GetMapRecAt(35, bucket), nullptr);
  EXPECT_EQ(bucket, 3u);
}

TEST(FixedMaps, DWordKeysUseTheLow5Bits) {
  AMapDWordToPtr m(16);
  int a, b, c;
  m.SetAt(0x20, &a);
  m.SetAt(0x40, &b);
  m.SetAt(0x21, &c);
  unsigned long bucket = 99;
  m.GetMapRecAt(0x40, bucket);
  EXPECT_EQ(bucket, 0u);
  EXPECT_EQ((Keys<AMapDWordToPtr, uint32_t>(m)), (std::vector<uint32_t>{0x40, 0x20, 0x21}));
  void* v = nullptr;
  EXPECT_EQ(m.Lookup(0x20, v), 1);
  EXPECT_EQ(v, &a);
  // X window ids are above 16 bits: the whole key counts, not the bucket.
  m.SetAt(0x1e00020, &c);
  EXPECT_EQ(m.Lookup(0x20, v), 1);
  EXPECT_EQ(v, &a);
}

TEST(FixedMaps, StringKeysHashTheirTextAsSignedChars) {
  AMapStringToPtr m(16);
  unsigned long bucket = 0;
  m.GetMapRecAt("ab", bucket);
  EXPECT_EQ(m.GetHashKey("ab"), 3299u);
  EXPECT_EQ(bucket, 35u);
  EXPECT_EQ(m.GetHashKey("\xB0"), static_cast<uint32_t>(-80));
  m.GetMapRecAt("\xB0", bucket);
  EXPECT_EQ(bucket, 48u);  // 2^32 - 80 = 64k + 48
}

TEST(FixedMaps, RemoveKey) {
  Peek<AMapWordToPtr> m;
  EXPECT_EQ(m.RemoveKey(7), 0) << "a map that never held a record";
  int x;
  for (uint16_t k = 0; k < 5; ++k) m.SetAt(k, &x);
  EXPECT_EQ(m.RemoveKey(9), 0);
  unsigned long bucket;
  auto* rec = m.GetMapRecAt(2, bucket);
  EXPECT_EQ(m.RemoveKey(2), 1);
  EXPECT_EQ(m.GetCount(), 4);
  void* v = &x;
  EXPECT_EQ(m.Lookup(2, v), 0);
  // The freed record is handed out again first.
  m.SetAt(40, &x);
  EXPECT_EQ(m.GetMapRecAt(40, bucket), rec);
  for (uint16_t k : {0, 1, 3, 4, 40}) EXPECT_EQ(m.RemoveKey(k), 1) << k;
  EXPECT_EQ(m.GetCount(), 0);
  EXPECT_EQ(m.Blocks(), nullptr) << "the last removal gives every block back";
  EXPECT_EQ(m.GetStartPosition(), 0);
  m.SetAt(1, &x);
  EXPECT_NE(m.Blocks(), nullptr);
  EXPECT_EQ(m.Lookup(1, v), 1);
}

TEST(FixedMaps, LookupInAnEmptyMapLeavesTheValue) {
  AMapStringToString m(16);
  CString v("unchanged");
  EXPECT_EQ(m.Lookup("x", v), 0);
  EXPECT_STREQ(v, "unchanged");
  long pos = -1;  // iterating a map without buckets does nothing
  CString k;
  m.GetNextMapRec(pos, k, v);
  EXPECT_EQ(pos, 0);
}

TEST(FixedMaps, StringMapOwnsKeysAndValues) {
  CString value("shared value");
  {
    AMapStringToString m(16);
    for (int i = 0; i < 50; ++i) {
      CString key;
      key.Format("k%d", i);
      m.SetAt(key, value);
      m[key] = value;  // assignment shares the descriptor
    }
    EXPECT_EQ(m.GetCount(), 50);
    EXPECT_EQ(m.RemoveKey("k7"), 1);
    CString got;
    EXPECT_EQ(m.Lookup("k8", got), 1);
    EXPECT_STREQ(got, "shared value");
  }
  EXPECT_EQ(value.GetData()->refs, 1u);
}

// Iteration visits every record exactly once across many buckets and
// collisions, ascending by bucket.
TEST(FixedMaps, IterationVisitsEveryRecordOnce) {
  AMapStringToString m(16);
  for (int i = 0; i < 300; ++i) {
    CString k;
    k.Format("word%d", i);
    m.SetAt(k, "v");
  }
  std::vector<uint32_t> buckets;
  long pos = m.GetStartPosition();
  int n = 0;
  while (pos) {
    CString k, v;
    m.GetNextMapRec(pos, k, v);
    buckets.push_back(m.GetHashKey(k) % 64);
    ++n;
  }
  EXPECT_EQ(n, 300);
  EXPECT_TRUE(std::is_sorted(buckets.begin(), buckets.end()));
}

// ---- File form

std::vector<std::pair<std::string, std::string>> LoadBytes(const std::string& bytes, int* rc) {
  FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  if (bytes.empty()) f = fopen("/dev/null", "rb");
  AMapStringToString m(16);
  *rc = m.DiskIO(1, f);
  fclose(f);
  std::vector<std::pair<std::string, std::string>> out;
  long pos = m.GetStartPosition();
  while (pos) {
    CString k, v;
    m.GetNextMapRec(pos, k, v);
    out.emplace_back(std::string(k), std::string(v));
  }
  std::sort(out.begin(), out.end());
  return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(FixedMaps, DiskIOTable) {
  const std::string b = "\x01";
  struct Case {
    std::string bytes;
    int rc;
    Pairs want;
  } const cases[] = {
      {std::string("\x02\x00\x01"
                   "a\x01"
                   "b\x00\x01"
                   "c",
                   9),
       1,
       {{"a", "b"}}},
      {std::string("\x00\x00", 2), 1, {}},
      {std::string("\x02\x00\x01"
                   "a\x01"
                   "b\x01"
                   "a\x01"
                   "c",
                   10),
       1,
       {{"a", "c"}}},
      {std::string("\x01\x00\x01"
                   "k\x00",
                   5),
       1,
       {}},  // empty value: skipped
      // Cut short: what came before stays, nothing is read past the end.
      {std::string("\x02\x00\x01"
                   "a\x01"
                   "b\x01",
                   7),
       0,
       {{"a", "b"}}},
      {std::string("\x02\x00\x01"
                   "a\x01"
                   "b\x05"
                   "xy",
                   9),
       0,
       {{"a", "b"}}},
      {std::string("\xFF\xFF\x01"
                   "a\x01"
                   "b",
                   6),
       0,
       {{"a", "b"}}},
      {std::string("\x01\x00\xFF", 3), 0, {}},
      {std::string("\x01", 1), 0, {}},
      {std::string(), 0, {}},
      // An embedded NUL ends the text.
      {std::string("\x01\x00\x03"
                   "a\0z\x01"
                   "b",
                   8),
       1,
       {{"a", "b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    int rc = -1;
    EXPECT_EQ(LoadBytes(c.bytes, &rc), c.want);
    EXPECT_EQ(rc, c.rc);
  }
}

// Every prefix of a valid file loads without reading past its end and keeps
// exactly the entries that are complete in it.
TEST(FixedMaps, DiskIOEveryTruncation) {
  std::string file("\x03\x00", 2);
  Pairs all;
  for (int i = 0; i < 3; ++i) {
    std::string k(static_cast<size_t>(i + 1), static_cast<char>('a' + i));
    std::string v(static_cast<size_t>(200 + i), 'v');
    file += static_cast<char>(k.size()) + k + static_cast<char>(v.size()) + v;
    all.emplace_back(k, v);
  }
  int rc = 0;
  EXPECT_EQ(LoadBytes(file, &rc), all);
  EXPECT_EQ(rc, 1);
  for (size_t n = 0; n < file.size(); ++n) {
    const std::string cut = file.substr(0, n);
    Pairs got = LoadBytes(cut, &rc);
    EXPECT_EQ(rc, 0) << n;
    ASSERT_LE(got.size(), all.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), all.begin())) << n;
  }
}

TEST(FixedMaps, OtherMapsHaveNoFileForm) {
  AMapDWordToPtr m(16);
  EXPECT_EQ(m.DiskIO(1, nullptr), 1);
  EXPECT_EQ(m.DiskIO(0, nullptr), 1);
  AMapStringToString s(16);
  EXPECT_EQ(s.DiskIO(0, nullptr), 1) << "writing is not part of the form";
}

TEST(FixedMaps, HashKeyTable) {
  struct Case {
    const char* text;
    int want;
  } const cases[] = {{"ab", 195}, {"\xB0", -80}, {"", 0}, {"\xB0\xA1", -175}};
  for (const Case& c : cases) EXPECT_EQ(HashKey(CString(c.text)), c.want) << c.text;
  CString big('z', 100);  // 12200 = 7168 + 5032
  EXPECT_EQ(HashKey(big), 5032);
}

}  // namespace
