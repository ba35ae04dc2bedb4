// The searches over the record index against the walks they replace: on
// the shipped dictionaries and on a fixture, for every list the engine
// searches, the exact lookup, the two record lists of the ranked rows and
// the records that begin with a key's first three bytes come out the same
// both ways, also after phrases were added to the lexicon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lookup/KeyScan.h"
#include "tests/engine/LookupFixture.h"

namespace {

struct NamedList {
  const char* name;
  keyscan::KeyList list;
};

std::vector<NamedList> Lists() {
  std::vector<NamedList> out = {
      {"pinyin characters", keyscan::CharList(dictionary, kPinYin)},
      {"pinyin phrases", keyscan::CiZuList(dictionary, kPinYin)},
      {"initials", keyscan::ShouZiMuList(dictionary)},
      {"shape-code characters", keyscan::CharList(dictionary, kXingMa)},
      {"shape-code phrases", keyscan::CiZuList(dictionary, kXingMa)},
  };
  std::vector<NamedList> loaded;
  for (const NamedList& l : out)
    if (l.list.Loaded()) loaded.push_back(l);
  return loaded;
}

// The same list without its record index: the walks.
keyscan::KeyList Walked(keyscan::KeyList l) {
  l.recs = nullptr;
  l.nRecs = 0;
  return l;
}

std::string KeyOf(const keyscan::KeyList& l, const keyscan::Record& r) {
  return std::string(r.Key(l), r.keyLen);
}

// Keys worth asking a list: a fixed table (a two-letter key that never
// ended its walk, keys whose level fills exactly where a deeper one starts,
// fuzzy and mistyped forms, long sentences), and keys of the list itself,
// cut and extended, from records spread over it.
std::vector<std::string> KeysFor(const keyscan::KeyList& l) {
  std::vector<std::string> keys = {"a",
                                   "sh",
                                   "zh",
                                   "zg",
                                   "azz",
                                   "zz",
                                   "zhongguo",
                                   "zongguo",
                                   "zhonggup",
                                   "zhonghuarenmingongheguo",
                                   "womenshizhongguoren",
                                   "bjing",
                                   "shi",
                                   "xi'an",
                                   "xian",
                                   "zzzz",
                                   "aaaa",
                                   "yiyi",
                                   "wqvb",
                                   "gggg",
                                   "abcd",
                                   "ggll",
                                   "qqqq",
                                   "shishishi",
                                   "chuang",
                                   "e"};
  const std::vector<uint32_t> offsets = keyscan::RecordOffsets(l);
  const size_t step = offsets.size() / 150 + 1;
  for (size_t i = 0; i < offsets.size(); i += step) {
    keyscan::Record r;
    keyscan::ReadRecord(l, offsets[i], r);
    const std::string k = KeyOf(l, r);
    keys.push_back(k);
    if (k.size() > 1) keys.push_back(k.substr(0, k.size() - 1));
    keys.push_back(k + "a");
    keys.push_back(k + "zz");
  }
  return keys;
}

void ExpectSameLists(const keyscan::PrefixLists& a, const keyscan::PrefixLists& b) {
  ASSERT_EQ(a.best, b.best);
  for (int w = 0; w < 2; ++w) {
    ASSERT_EQ(a.list[w].prefix, b.list[w].prefix) << "list " << w;
    ASSERT_EQ(a.list[w].count, b.list[w].count) << "list " << w;
    for (int i = 0; i < a.list[w].count; ++i)
      ASSERT_EQ(a.list[w].pos[i], b.list[w].pos[i]) << "list " << w << " row " << i;
  }
}

// Every search of every loaded list, with the index and by the walk.
void CompareSearches() {
  const std::vector<NamedList> lists = Lists();
  ASSERT_FALSE(lists.empty());
  for (const NamedList& named : lists) {
    SCOPED_TRACE(named.name);
    const keyscan::KeyList& indexed = named.list;
    ASSERT_NE(indexed.recs, nullptr);
    const keyscan::KeyList walked = Walked(indexed);
    const std::vector<uint32_t> offsets = keyscan::RecordOffsets(walked);
    ASSERT_EQ(offsets.size(), indexed.nRecs);
    std::vector<std::string> recordKeys;
    for (uint32_t pos : offsets) {
      keyscan::Record r;
      keyscan::ReadRecord(walked, pos, r);
      recordKeys.push_back(KeyOf(walked, r));
    }
    for (const std::string& key : KeysFor(indexed)) {
      SCOPED_TRACE(key);
      const int L = static_cast<int>(key.size());
      keyscan::Record a, b;
      const bool foundA = keyscan::FindExact(indexed, key.c_str(), L, a);
      ASSERT_EQ(foundA, keyscan::FindExact(walked, key.c_str(), L, b));
      if (foundA) {
        EXPECT_EQ(a.pos, b.pos);
      }
      for (int flags = 0; flags < 4; ++flags) {
        SCOPED_TRACE(flags);
        keyscan::PrefixLists la, lb;
        keyscan::GatherPrefixLists(indexed, key.c_str(), L, flags & 1, flags & 2, la);
        keyscan::GatherPrefixLists(walked, key.c_str(), L, flags & 1, flags & 2, lb);
        ExpectSameLists(la, lb);
      }
      if (L >= 3) {
        // The records that begin with the key's first three bytes.
        std::vector<uint32_t> want, got;
        for (size_t i = 0; i < offsets.size(); ++i)
          if (recordKeys[i].size() >= 3 && recordKeys[i].compare(0, 3, key, 0, 3) == 0)
            want.push_back(offsets[i]);
        const uint32_t end = keyscan::UpperBound(indexed, key.c_str(), 3);
        for (uint32_t i = keyscan::LowerBound(indexed, key.c_str(), 3); i < end; ++i)
          got.push_back(indexed.recs[i]);
        EXPECT_EQ(got, want);
      }
    }
  }
}

class IndexSearch : public lookuptest::Engine, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string DataDir() const {
    const std::string p = GetParam();
    return p == "shipped" ? kvrtest::DistDir() : lookuptest::FixtureDir(GetParam());
  }
};

TEST_P(IndexSearch, SearchesFindWhatTheWalksFind) {
  Start(DataDir(), lookuptest::PinYinSettings());
  CompareSearches();
  // The shape-code lists, loaded by a start in shape code.
  dictionary.CloseDictionary();
  Start(DataDir(), lookuptest::XingMaSettings());
  CompareSearches();
}

TEST_P(IndexSearch, AddedPhrasesAreFoundBothWays) {
  Start(DataDir(), lookuptest::PinYinSettings());
  const std::vector<uint32_t> before =
      keyscan::RecordOffsets(keyscan::CiZuList(dictionary, kPinYin));
  for (const char* phrase : {"中国人民", "北京大学生", "我们的", "爱国者", "阿爸"}) {
    CString gbk = lookuptest::ToGbk(phrase);
    dictionary.AddToCiKu(gbk.GetBuffer(gbk.GetLength()), kPinYin, 0, -1);
    gbk.ReleaseBuffer();
  }
  const keyscan::KeyList l = keyscan::CiZuList(dictionary, kPinYin);
  ASSERT_TRUE(l.Loaded());
  EXPECT_EQ(l.nRecs, keyscan::RecordOffsets(l).size());
  EXPECT_GE(l.nRecs, before.size());
  CompareSearches();
}

INSTANTIATE_TEST_SUITE_P(Dictionaries, IndexSearch,
                         ::testing::Values("shipped", "lookup_dict", "lexicon_dict"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
