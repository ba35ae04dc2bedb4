#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/formats/PhraseKeyRule.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/lexicon/IndexInsert.h"
#include "tests/engine/LexiconFixture.h"

namespace {

using lexicontest::Lexicon;
using lexicontest::ToGbk;

TEST_F(Lexicon, NewPhraseIsFiledUnderEveryKeyOfBothMethodsAndSurvivesARestart) {
  ASSERT_EQ(Add("中国人"), 1);
  const int at = OffsetOf("中国人");
  ASSERT_GT(at, 0);
  std::vector<std::string> initials;
  const std::vector<std::string> pinyin = Keys("中国人", kPinYin, &initials);
  ASSERT_FALSE(pinyin.empty());
  EXPECT_TRUE(lookuptest::Contains(pinyin, "zhongguoren"));
  EXPECT_TRUE(lookuptest::Contains(initials, "zgr"));
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    for (const std::string& k : pinyin)
      EXPECT_TRUE(Filed(keyscan::CiZuList(dictionary, kPinYin), k, at)) << k;
    for (const std::string& k : initials)
      EXPECT_TRUE(Filed(keyscan::ShouZiMuList(dictionary), k, at)) << k;
    EXPECT_TRUE(lookuptest::Contains(Lookup("zhongguoren"), "中国人"));
  };
  check("after the add");
  Restart();  // the close files the queue under the shape codes too
  check("after a restart");
  UseMethod(kXingMa);
  const std::vector<std::string> shape = Keys("中国人", kXingMa);
  ASSERT_FALSE(shape.empty());
  for (const std::string& k : shape)
    EXPECT_TRUE(Filed(keyscan::CiZuList(dictionary, kXingMa), k, at)) << k;
}

TEST_F(Lexicon, ASecondAddOfTheSamePhraseChangesNothing) {
  ASSERT_EQ(Add("中文"), 1);
  const auto files = Files();
  const uint32_t len = dictionary.m_nCiZuFlatLen;
  const int queued = dictionary.m_arrNewCiQueue.GetSize();
  const uint32_t pyLen = dictionary.m_nCiZuIdxLen[kPinYin];
  EXPECT_EQ(Add("中文"), -1);
  EXPECT_EQ(Add("人民"), -1) << "a phrase of the shipped lexicon";
  EXPECT_EQ(dictionary.m_nCiZuFlatLen, len);
  EXPECT_EQ(dictionary.m_arrNewCiQueue.GetSize(), queued);
  EXPECT_EQ(dictionary.m_nCiZuIdxLen[kPinYin], pyLen);
  EXPECT_EQ(Files(), files);
}

TEST_F(Lexicon, TheQueueIsFiledIntoALoadedIndexOfTheOtherMethodAndFoundThroughItsTable) {
  ASSERT_EQ(dictionary.LoadKey2IdxIntoCizuDic(kXingMa, 1), 1);  // loaded, not current
  ASSERT_EQ(Add("中文"), 1);
  ASSERT_EQ(Add("国人"), 1);
  ASSERT_EQ(Add("华民"), 1);
  EXPECT_EQ(dictionary.AddNewCiArrayToCiKu(), 1);
  EXPECT_EQ(dictionary.m_arrNewCiQueue.GetSize(), 0);
  ASSERT_NE(dictionary.m_pCiZuIdx[kXingMa], nullptr) << "kept: it was loaded before";
  for (const char* p : {"中文", "国人", "华民"}) {
    for (const std::string& k : Keys(p, kXingMa))
      EXPECT_TRUE(Filed(keyscan::CiZuList(dictionary, kXingMa), k, OffsetOf(p))) << p << " " << k;
  }
  EXPECT_EQ(dictionary.m_bCiZuIdxDirty[kXingMa], 0) << "saved";
  // The two-key table and the record index follow the index they were
  // built for.
  const uint32_t* block = dictionary.m_pCiZuIdx2Keys[kXingMa];
  const std::vector<uint32_t> table(
      block, block + keyscan::kIndexFirstSlot + block[keyscan::kIndexCountSlot]);
  dictionary.BuildIdx2KeysInDic(kIdxCiZu, kXingMa);
  block = dictionary.m_pCiZuIdx2Keys[kXingMa];
  ASSERT_EQ(block[keyscan::kIndexCountSlot], table[keyscan::kIndexCountSlot]);
  EXPECT_TRUE(std::equal(table.begin(), table.end(), block));
}

TEST_F(Lexicon, RefusalsChangeNothing) {
  const uint32_t len = dictionary.m_nCiZuFlatLen;
  EXPECT_EQ(Add("中"), 0) << "one character";
  EXPECT_EQ(Add("中a"), 0) << "not whole characters";
  dictionary.m_nEngineMissing = kXingMaMissing;
  EXPECT_EQ(Add("中国", kXingMa), 0) << "method not installed";
  dictionary.m_nEngineMissing = kBothInstalled;
  EXPECT_EQ(dictionary.m_nCiZuFlatLen, len);
  EXPECT_EQ(dictionary.m_arrNewCiQueue.GetSize(), 0);
}

TEST_F(Lexicon, AnIndexThatCannotBeLoadedRefusesTheAddBeforeTheStoreChanges) {
  dictionary.ReleaseCiZuIdx(kXingMa);
  ASSERT_EQ(unlink(Path("pxcizudic.idx").c_str()), 0);
  const uint32_t len = dictionary.m_nCiZuFlatLen;
  EXPECT_EQ(Add("中国", kXingMa), 0);
  EXPECT_EQ(dictionary.m_nCiZuFlatLen, len);
  EXPECT_EQ(OffsetOf("中国"), -1);
  EXPECT_EQ(dictionary.m_arrNewCiQueue.GetSize(), 0);
  EXPECT_EQ(dictionary.m_tmCiKuChanged, 0u);
}

TEST_F(Lexicon, AStoreAtTheEndOfItsOffsetsRefusesTheAdd) {
  // A store whose next phrase would pass the 23-bit offsets.
  const uint32_t len = phrasestore::kOffsetLimit - 4;
  auto* big = static_cast<unsigned char*>(calloc(len + kPadBytes, 1));
  ASSERT_NE(big, nullptr);
  free(dictionary.m_pCiZuFlat);
  dictionary.m_pCiZuFlat = big;
  dictionary.m_nCiZuFlatLen = len;
  const uint32_t pyLen = dictionary.m_nCiZuIdxLen[kPinYin];
  EXPECT_EQ(Add("中国"), 0);
  EXPECT_EQ(dictionary.m_nCiZuFlatLen, len);
  EXPECT_EQ(dictionary.m_nCiZuIdxLen[kPinYin], pyLen);
  EXPECT_EQ(dictionary.m_bCiZuFlatDirty, 0);
}

TEST_F(Lexicon, AStoreStartedByTheUserIsSavedAndLoadedAgain) {
  // A fresh lexicon: no phrase store at all. The first phrase does not get
  // the offset 0, which the association maps read as "none".
  ASSERT_EQ(unlink(Path("CiZuFlat.igb").c_str()), 0);
  Restart();
  ASSERT_EQ(dictionary.m_nCiZuFlatLen, 0u);
  ASSERT_EQ(Add("中国"), 1);
  EXPECT_EQ(OffsetOf("中国"), 1);
  EXPECT_LT(lexicontest::ReadFile(Path("CiZuFlat.igb")).size(), phrasestore::kMinFileBytes);
  Restart();
  EXPECT_EQ(OffsetOf("中国"), 1) << "a store under 100 bytes loads";
}

TEST(IndexInsert, NewEntriesGoAfterFourEntriesOrAtTheEndAndNewKeysWhereTheySort) {
  using phrasestore::IndexEntry;
  const std::vector<phrasestore::IndexRecord> old = {
      {"aa", {{10, 31}, {11, 30}, {12, 29}, {13, 20}, {14, 9}, {15, 3}}},
      {"bb", {{20, 7}, {21, 5}}},
      {"dd", {{30, 1}, {999, 4}}},
  };
  const std::string img = phrasestore::WriteIndex(old, 4, true) + std::string(kPadBytes, '\0');
  const uint32_t len = static_cast<uint32_t>(img.size()) - kPadBytes;
  const auto pieces = ciku::PlanInsertions(reinterpret_cast<const uint8_t*>(img.data()), len, 1, 4,
                                           {"aa", "b", "bb", "cc", "dd", "zz"}, 999);
  uint32_t newLen = 0;
  unsigned char* out =
      ciku::ApplyInsertions(reinterpret_cast<const uint8_t*>(img.data()), len, pieces, newLen);
  ASSERT_NE(out, nullptr);
  std::vector<phrasestore::IndexRecord> got;
  std::string error;
  ASSERT_TRUE(phrasestore::ReadIndex(std::string(reinterpret_cast<char*>(out), newLen), 4, true,
                                     got, error))
      << error;
  free(out);
  struct Want {
    const char* key;
    size_t at;
    uint8_t weight;
    size_t size;
  } const wants[] = {
      {"aa", 4, 20, 7},  // after the first four, weighted as the fourth
      {"b", 0, 1, 1},    // a new key sorting before bb
      {"bb", 2, 5, 3},   // fewer than four: at the end
      {"cc", 0, 1, 1},   // between bb and dd
      {"dd", 1, 4, 2},   // already names the phrase: unchanged
      {"zz", 0, 1, 1},   // past every key
  };
  ASSERT_EQ(got.size(), std::size(wants));
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(wants[i].key);
    EXPECT_EQ(got[i].key, wants[i].key);
    ASSERT_EQ(got[i].entries.size(), wants[i].size);
    EXPECT_EQ(got[i].entries[wants[i].at].offset, 999u);
    EXPECT_EQ(got[i].entries[wants[i].at].weight, wants[i].weight);
  }
}

TEST(PhraseKeys, LongPolyphonicPhrasesAreCappedAndKeepOnlyKeysAnIndexHolds) {
  struct Case {
    size_t chars, readings, letters;
  } const cases[] = {
      {10, 4, 3},  // 4^10 combinations
      {20, 2, 6},  // every full key is 120 bytes long
      {4, 3, 2},   // 81 combinations, a few past the cap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chars);
    std::vector<std::vector<std::string>> codes(c.chars);
    for (size_t i = 0; i < c.chars; ++i)
      for (size_t r = 0; r < c.readings; ++r)
        codes[i].push_back(std::string(1, static_cast<char>('a' + r)) +
                           std::string(c.letters - 1, 'x'));
    phrasekey::Limits limits;
    limits.maxKeys = kMaxKeysPerPhrase;
    limits.validOnly = true;
    phrasekey::Keys out;
    EXPECT_TRUE(phrasekey::BuildKeys(codes, phrasekey::kPinyin, "", true, out, limits));
    EXPECT_LE(out.keys.size(), static_cast<size_t>(kMaxKeysPerPhrase));
    for (const std::string& k : out.keys) EXPECT_TRUE(phrasestore::IsValidKey(k)) << k.size();
  }
}

}  // namespace
