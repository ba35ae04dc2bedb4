// The lexicon's add against the way it worked before it kept its caches:
// a walk of the whole store for the phrase and its two-character halves,
// the insertions made into copies of the indexes, the store scrambled whole
// for the file, the two-key tables built again. Every add of a table of
// adds must leave the same store, indexes, files, association maps, tables
// and lookups as that reference.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/formats/PhraseStoreFormat.h"
#include "engine/lexicon/IndexInsert.h"
#include "tests/engine/LexiconFixture.h"

namespace {

using lexicontest::CharValue;
using lexicontest::ReadFile;
using lexicontest::ToGbk;

constexpr uint32_t kRefMark = 0x80000000u;

// The store walk of the old add: whether text is stored, and the first
// offsets (0 counting as none) of its halves when it has three characters.
struct Walk {
  bool found = false;
  uint32_t ab = 0, bc = 0;
};
Walk WalkStore(const std::string& store, const std::string& text) {
  Walk w;
  const bool three = text.size() == 6;
  for (size_t pos = 0; pos < store.size();) {
    const size_t n = strnlen(store.data() + pos, store.size() - pos);
    if (n > 0) {
      const std::string stored = store.substr(pos, n);
      if (stored == text) {
        w.found = true;
        return w;
      }
      if (three && stored == text.substr(0, 4) && w.ab == 0) w.ab = static_cast<uint32_t>(pos);
      if (three && stored == text.substr(2) && w.bc == 0) w.bc = static_cast<uint32_t>(pos);
    }
    pos += n + 1;
  }
  return w;
}

std::string Image(const unsigned char* p, uint32_t n) {
  return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
}

// The index image after filing the phrase at offset under keys, on a copy.
std::string FiledImage(const std::string& img, uint32_t header, int entryLen,
                       std::vector<std::string> keys, uint32_t offset) {
  std::sort(keys.begin(), keys.end());
  std::string padded = img + std::string(kPadBytes, '\0');
  const auto* p = reinterpret_cast<const uint8_t*>(padded.data());
  const auto len = static_cast<uint32_t>(img.size());
  const auto pieces = ciku::PlanInsertions(p, len, header, entryLen, keys, offset);
  if (pieces.empty()) return img;
  uint32_t newLen = 0;
  unsigned char* out = ciku::ApplyInsertions(p, len, pieces, newLen);
  std::string result = Image(out, newLen);
  free(out);
  return result;
}

std::string Scrambled(std::string store) {
  auto* b = reinterpret_cast<uint8_t*>(store.data());
  phrasestore::ScrambleBlocks(b, b, store.size());
  return store;
}

std::vector<uint32_t> Block(const uint32_t* block) {
  if (!block) return {};
  return std::vector<uint32_t>(block,
                               block + keyscan::kIndexFirstSlot + block[keyscan::kIndexCountSlot]);
}

// The list of key in an association map; empty when it has none.
template <class Map, class Key>
std::vector<uint32_t> ListOf(const Map& map, Key key) {
  CDWordArray list;
  std::vector<uint32_t> out;
  if (!map.Lookup(key, list)) return out;
  for (int i = 0; i < list.GetSize(); ++i) out.push_back(list[i]);
  return out;
}

struct Step {
  const char* phrase;  // UTF-8
  int method;
  int want;  // AddToCiKu's result
  const char* why;
};

class LexiconAddDiff : public lexicontest::Lexicon {
 protected:
  // One add checked against the reference.
  void AddAndCompare(const Step& s) {
    SCOPED_TRACE(std::string(s.phrase) + ": " + s.why);
    const std::string gbk(ToGbk(s.phrase).GetString());
    const auto m = static_cast<typInputMethod>(s.method);
    const std::string store = Image(dictionary.m_pCiZuFlat, dictionary.m_nCiZuFlatLen);
    const Walk walk = WalkStore(store, gbk);
    std::vector<std::string> initials;
    const std::vector<std::string> keys = Keys(s.phrase, s.method, &initials);
    const std::string idxFile = ReadFile(dictionary.m_strCiZuIdxPath[m].GetString());
    const std::string index = dictionary.m_pCiZuIdx[m]
                                  ? Image(dictionary.m_pCiZuIdx[m], dictionary.m_nCiZuIdxLen[m])
                                  : idxFile;
    const bool weighted = !index.empty() && (static_cast<uint8_t>(index[0]) & 0x80) && m == kPinYin;
    const std::string shou = Image(dictionary.m_pShouZiMuIdx, dictionary.m_nShouZiMuIdxLen);
    const uint16_t a =
        static_cast<uint16_t>(static_cast<uint8_t>(gbk[0]) | static_cast<uint8_t>(gbk[1]) << 8);
    std::vector<uint32_t> dep1 = ListOf(dictionary.m_mapDepend1, a);
    std::vector<uint32_t> dep2 = ListOf(dictionary.m_mapDepend2, walk.ab | kRefMark);

    ASSERT_EQ(Add(s.phrase, s.method), s.want);
    ASSERT_EQ(walk.found, s.want == -1) << "the reference walk disagrees";
    if (s.want != 1) {
      EXPECT_EQ(Image(dictionary.m_pCiZuFlat, dictionary.m_nCiZuFlatLen), store);
      return;
    }
    // The store and its file.
    const uint32_t at = store.empty() ? 1 : static_cast<uint32_t>(store.size());
    const std::string wantStore = (store.empty() ? std::string(1, '\0') : store) + gbk + '\0';
    EXPECT_EQ(Image(dictionary.m_pCiZuFlat, dictionary.m_nCiZuFlatLen), wantStore);
    EXPECT_EQ(ReadFile(Path("CiZuFlat.igb")), Scrambled(wantStore));
    // The indexes and their files.
    const std::string wantIndex = FiledImage(index, weighted ? 1 : 0, weighted ? 4 : 3, keys, at);
    EXPECT_EQ(Image(dictionary.m_pCiZuIdx[m], dictionary.m_nCiZuIdxLen[m]), wantIndex);
    EXPECT_EQ(ReadFile(dictionary.m_strCiZuIdxPath[m].GetString()),
              wantIndex == index ? idxFile : wantIndex);
    if (m == kPinYin && !shou.empty()) {
      const std::string wantShou = initials.empty() ? shou : FiledImage(shou, 0, 4, initials, at);
      EXPECT_EQ(Image(dictionary.m_pShouZiMuIdx, dictionary.m_nShouZiMuIdxLen), wantShou);
      if (wantShou != shou) {
        EXPECT_EQ(ReadFile(Path("py2_3ZiCi1stZuMu.idx")), wantShou);
      }
    }
    // The association maps.
    if (gbk.size() == 4) {
      dep1.push_back(CharValue(s.phrase + 3));
    } else if (gbk.size() == 6) {
      if (walk.bc) dep1.push_back(walk.bc | kRefMark);
      if (walk.ab) dep2.push_back(CharValue(s.phrase + 6));
    }
    EXPECT_EQ(ListOf(dictionary.m_mapDepend1, a), dep1);
    if (walk.ab) {
      EXPECT_EQ(ListOf(dictionary.m_mapDepend2, walk.ab | kRefMark), dep2);
    }
    CompareTablesWithFreshBuilds(keys);
  }

  // The tables the add kept up against tables built afresh, and the
  // lookups through both.
  void CompareTablesWithFreshBuilds(const std::vector<std::string>& keys) {
    std::vector<std::vector<std::string>> before;
    for (const std::string& k : keys) before.push_back(Lookup(k.c_str()));
    for (int m = 0; m < 2; ++m) {
      if (!dictionary.m_pCiZuIdx2Keys[m]) continue;
      const std::vector<uint32_t> kept = Block(dictionary.m_pCiZuIdx2Keys[m]);
      dictionary.BuildIdx2KeysInDic(kIdxCiZu, static_cast<typInputMethod>(m));
      EXPECT_EQ(kept, Block(dictionary.m_pCiZuIdx2Keys[m])) << "phrase index " << m;
    }
    if (dictionary.m_pShouZiMuIdx2Keys) {
      const std::vector<uint32_t> kept = Block(dictionary.m_pShouZiMuIdx2Keys);
      dictionary.BuildIdx2KeysInDic(kIdxShouZiMu, kPinYin);
      EXPECT_EQ(kept, Block(dictionary.m_pShouZiMuIdx2Keys)) << "initials index";
    }
    for (size_t i = 0; i < keys.size(); ++i)
      EXPECT_EQ(Lookup(keys[i].c_str()), before[i]) << keys[i];
  }

  void Run(const std::vector<Step>& steps) {
    for (const Step& s : steps) AddAndCompare(s);
  }
};

// The shipped fixture holds 人民 (renmin); 中, 种 and 钟 all read zhong, 国
// and 过 guo, so several phrases share one key.
const std::vector<Step> kSteps = {
    {"中国", kPinYin, 1, "new phrase, new keys in an empty bucket"},
    {"中国", kPinYin, -1, "the same phrase again"},
    {"人民", kPinYin, -1, "a phrase of the shipped store"},
    {"人文", kPinYin, 1, "a new key in the bucket of renmin"},
    {"华人", kPinYin, 1, "keys before every key: at the start of the index"},
    {"中文", kPinYin, 1, "keys after every key: at the end of the index"},
    {"钟国", kPinYin, 1, "only entries for keys that are there"},
    {"种过", kPinYin, 1, "a third entry"},
    {"中过", kPinYin, 1, "a fourth"},
    {"钟过", kPinYin, 1, "a fifth: after the first four"},
    {"种国", kPinYin, 1, "a sixth"},
    {"民文", kPinYin, 1, "a half for the next"},
    {"人民文", kPinYin, 1, "both halves stored: the association maps"},
    {"中国人", kPinYin, 1, "one half stored"},
    {"中文人民", kPinYin, 1, "four characters"},
    {"华民", kXingMa, 1, "the shape-code index, loaded for the add"},
    {"国文", kXingMa, 1, "the shape-code index again"},
    {"华民", kPinYin, -1, "stored by the other method"},
};

TEST_F(LexiconAddDiff, EveryAddLeavesWhatTheFullRebuildLeft) {
  Run(kSteps);
  // The queue into the pinyin index (the offset path), then the tables.
  ASSERT_EQ(dictionary.AddNewCiArrayToCiKu(), 1);
  EXPECT_EQ(ReadFile(Path("pycizudic.idx")),
            Image(dictionary.m_pCiZuIdx[kPinYin], dictionary.m_nCiZuIdxLen[kPinYin]));
  CompareTablesWithFreshBuilds({"huamin", "guowen", "zhongguo"});
}

TEST_F(LexiconAddDiff, AStoreStartedByTheUserGrowsAsBefore) {
  ASSERT_EQ(unlink(Path("CiZuFlat.igb").c_str()), 0);
  Restart();
  Run({{"中国", kPinYin, 1, "the first phrase of an empty store"},
       {"国人", kPinYin, 1, "the second"},
       {"中国", kPinYin, -1, "again"},
       {"中国人", kPinYin, 1, "its first half at offset 1"}});
}

TEST_F(LexiconAddDiff, AStoreWithoutItsLastZeroByteGrowsAsBefore) {
  // A damaged store: the last phrase lacks its zero byte, so a new phrase
  // is glued to it and is not found as itself afterwards.
  std::string store = Image(dictionary.m_pCiZuFlat, dictionary.m_nCiZuFlatLen);
  while (!store.empty() && store.back() == '\0') store.pop_back();
  ASSERT_FALSE(store.empty());
  {
    std::ofstream out(Path("CiZuFlat.igb"), std::ios::binary | std::ios::trunc);
    out << Scrambled(store);
  }
  Restart();
  ASSERT_EQ(dictionary.m_nCiZuFlatLen, store.size());
  Run({{"中国", kPinYin, 1, "glued to the last phrase"},
       {"中国", kPinYin, 1, "so not found: added again"},
       {"中国", kPinYin, -1, "now stored on its own"}});
}

}  // namespace
