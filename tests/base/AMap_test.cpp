#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/AMap.h"
#include "base/CString.h"

namespace {

using DWordMap = AMap<uint32_t, const uint32_t&, int, const int&>;
using StrMap = AMap<CString, const CString&, long, const long&>;

template <class M, class K, class V>
std::vector<std::pair<K, V>> Iterate(M& m) {
  std::vector<std::pair<K, V>> out;
  long pos = m.GetStartPosition();
  while (pos) {
    K k{};
    V v{};
    m.GetNextMapRec(pos, k, v);
    out.emplace_back(k, v);
  }
  return out;
}

TEST(AMap, IterationIsByBucketThenNewestFirst) {
  DWordMap m(16);
  // 1, 65 and 257 all fall in bucket 1 (low byte 1, 65 and 1, modulo 64).
  for (uint32_t k : {1u, 2u, 65u, 257u, 0u, 63u}) m[k] = static_cast<int>(k) * 10;
  auto got = Iterate<DWordMap, uint32_t, int>(m);
  std::vector<std::pair<uint32_t, int>> want = {{0, 0},  {257, 2570}, {65, 650},
                                                {1, 10}, {2, 20},     {63, 630}};
  EXPECT_EQ(got, want);
}

TEST(AMap, LookupAndInsert) {
  DWordMap m(16);
  int v = 77;
  EXPECT_EQ(m.Lookup(5, v), 0);
  EXPECT_EQ(v, 77);
  EXPECT_EQ(m.GetStartPosition(), 0);
  m.SetAt(5, 50);
  m.SetAt(5, 55);
  EXPECT_EQ(m.GetCount(), 1);
  EXPECT_EQ(m.Lookup(5, v), 1);
  EXPECT_EQ(v, 55);
  EXPECT_EQ(m[6], 0);  // inserted with a new value
  EXPECT_EQ(m.GetCount(), 2);
  unsigned long bucket = 0;
  EXPECT_NE(m.GetMapRecAt(6, bucket), nullptr);
  EXPECT_EQ(bucket, 6u);
}

TEST(AMap, StringKeysMeetByText) {
  StrMap m(16);
  m.m_nTextHash = 1;
  CString a("ab");
  m[a] = 1;
  CString b("a");
  b += "b";  // same text, another buffer
  long v = 0;
  EXPECT_EQ(m.Lookup(b, v), 1);
  EXPECT_EQ(v, 1);
  unsigned long bucket = 0;
  m.GetMapRecAt(b, bucket);
  EXPECT_EQ(bucket, 35u);  // 97 * 33 + 98 = 3299, modulo 64
  // Even without the flag equal texts meet.
  StrMap plain(16);
  plain[a] = 2;
  EXPECT_EQ(plain.Lookup(b, v), 1);
  EXPECT_EQ(v, 2);
}

TEST(AMap, HighBytesHashAsSignedChars) {
  // 0xB0 as a signed char is -80: h = (uint32)(-80) for the one-byte text.
  StrMap m(16);
  unsigned long bucket = 0;
  m.GetMapRecAt(CString("\xB0"), bucket);
  EXPECT_EQ(bucket, (0x100000000ull - 80) % 64);
  EXPECT_EQ(TextHash("\xB0\xA1"), static_cast<uint32_t>(-80 * 33 - 95));
}

TEST(AMap, RemoveAllDestroysEverythingAndTheMapIsReusable) {
  CString outside("value");
  AMap<CString, const CString&, CString, const CString&> m(16);
  m.m_nTextHash = 1;
  for (int i = 0; i < 40; ++i) {
    CString k;
    k.Format("key%d", i);
    m[k] = outside;
  }
  EXPECT_EQ(m.GetCount(), 40);
  m.RemoveAll();
  EXPECT_EQ(m.GetCount(), 0);
  EXPECT_EQ(outside.GetData()->refs, 1u);
  m[CString("x")] = outside;
  CString got;
  EXPECT_EQ(m.Lookup(CString("x"), got), 1);
  EXPECT_STREQ(got, "value");
}

TEST(AMap, InitHashTableChangesTheBucketCount) {
  DWordMap m(4);
  m.InitHashTable(7, 0);
  for (uint32_t k = 0; k < 20; ++k) m[k] = static_cast<int>(k);
  unsigned long bucket = 0;
  m.GetMapRecAt(15, bucket);
  EXPECT_EQ(bucket, 1u);
  auto got = Iterate<DWordMap, uint32_t, int>(m);
  ASSERT_EQ(got.size(), 20u);
  EXPECT_EQ(got[0].first, 14u);  // bucket 0: 14, 7, 0
  EXPECT_EQ(got[2].first, 0u);
  // No table of 0 buckets (a division by zero): one bucket holds everything.
  DWordMap one(4);
  one.InitHashTable(0, 1);
  for (uint32_t k = 0; k < 5; ++k) one[k] = 1;
  EXPECT_EQ((Iterate<DWordMap, uint32_t, int>(one).front().first), 4u);
}

// The event kernel's image map: 32-bit keys and values with CString argument
// types, constructed and destroyed, never filled.
TEST(AMap, ImageMapInstantiationConstructsAndDestroys) {
  AMap<uint32_t, CString, uint32_t, CString> idToBmp(16);
  EXPECT_EQ(idToBmp.GetCount(), 0);
  EXPECT_EQ(idToBmp.GetStartPosition(), 0);
}

enum TestMode { kModeA, kModeB };
TEST(AMap, EnumInequality) {
  TestMode a = kModeA, b = kModeB;
  EXPECT_TRUE(a != b);
  EXPECT_FALSE(a != kModeA);
}

}  // namespace
