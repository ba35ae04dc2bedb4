#include "engine/lexicon/KeyTableUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lookup/KeyScan.h"

namespace {

using keyscan::kIndexCountSlot;
using keyscan::kIndexFirstSlot;

// The block BuildIdx2KeysInDic makes for the records data[0..len).
std::vector<uint32_t> FreshBlock(const uint8_t* data, size_t len, int entryLen) {
  keyscan::KeyList l;
  l.data = len > 0 ? data : nullptr;
  l.entryLen = entryLen;
  const std::vector<uint32_t> offsets = keyscan::RecordOffsets(l);
  std::vector<uint32_t> block(kIndexFirstSlot + offsets.size());
  block[kIndexCountSlot] = static_cast<uint32_t>(offsets.size());
  std::copy(offsets.begin(), offsets.end(), block.begin() + kIndexFirstSlot);
  if (len > 0)
    chndic::BuildTwoKeyTable(data, len, chndic::KeyListLayout::kEntries, entryLen, block.data());
  return block;
}

struct Outcome {
  bool updated = false;  // planned and applied without a fresh build
  std::vector<uint32_t> block, fresh;
};

// Files keys (sorted) for offset into the image (header byte, records,
// end byte) and updates its fresh block; the block a fresh build of the
// new image gives beside it.
Outcome FileAndUpdate(const std::string& image, uint32_t header, int entryLen,
                      const std::vector<std::string>& keys, uint32_t offset) {
  Outcome o;
  const std::string padded = image + std::string(chndic::kPad, '\0');
  const auto* img = reinterpret_cast<const uint8_t*>(padded.data());
  const auto len = static_cast<uint32_t>(image.size());
  const auto pieces = ciku::PlanInsertions(img, len, header, entryLen, keys, offset);
  std::vector<uint32_t> old = FreshBlock(img + header, len - header, entryLen);
  uint32_t newLen = 0;
  unsigned char* grown = ciku::ApplyInsertions(img, len, pieces, newLen);
  auto* block = static_cast<uint32_t*>(malloc(old.size() * sizeof(uint32_t)));
  std::copy(old.begin(), old.end(), block);
  ciku::TableUpdate u;
  o.updated = ciku::PlanTableUpdate(block, img + header, entryLen, header, pieces, u) &&
              ciku::ApplyTableUpdate(&block, grown + header, u);
  o.block.assign(block, block + kIndexFirstSlot + block[kIndexCountSlot]);
  o.fresh = FreshBlock(grown + header, newLen - header, entryLen);
  free(block);
  free(grown);
  return o;
}

std::string RandomKey(std::mt19937& rng) {
  // Letters, tone digits and the punctuation keys, whose bucket ordinals
  // do not follow their byte order, and bytes below '!', which the table
  // reads as a key's end.
  static const char kBytes[] = "abhiyz0159';,./[]@?ADZ!\" \x01";
  std::string k;
  const size_t n = 1 + rng() % 4;
  for (size_t i = 0; i < n; ++i) k += kBytes[rng() % (sizeof kBytes - 1)];
  return k;
}

TEST(KeyTableUpdate, GivesTheFreshBuildForEveryInsertionIntoSortedIndexes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    const int entryLen = round % 2 ? 4 : 3;
    const bool weighted = entryLen == 4 && round % 4 == 1;
    std::set<std::string> keys;
    const size_t nKeys = rng() % 30;
    while (keys.size() < nKeys) keys.insert(RandomKey(rng));
    std::vector<phrasestore::IndexRecord> records;
    for (const std::string& k : keys) {
      phrasestore::IndexRecord r;
      r.key = k;
      const size_t n = 1 + rng() % 6;
      for (size_t i = 0; i < n; ++i)
        r.entries.push_back(
            {static_cast<uint32_t>(rng() % 5000), static_cast<uint8_t>(rng() % 32)});
      records.push_back(r);
    }
    std::set<std::string> added;
    const size_t nAdded = 1 + rng() % 4;
    while (added.size() < nAdded) {
      // Half of them keys the index holds already.
      if (!keys.empty() && rng() % 2)
        added.insert(*std::next(keys.begin(), static_cast<long>(rng() % keys.size())));
      else
        added.insert(RandomKey(rng));
    }
    const std::string image = phrasestore::WriteIndex(records, entryLen, weighted);
    const Outcome o = FileAndUpdate(image, weighted ? 1 : 0, entryLen,
                                    std::vector<std::string>(added.begin(), added.end()),
                                    static_cast<uint32_t>(rng() % 5000));
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_TRUE(o.updated);
    ASSERT_EQ(o.block, o.fresh);
  }
}

TEST(KeyTableUpdate, ADamagedIndexIsLeftToAFreshBuildOrGivesWhatItGives) {
  // Indexes whose bytes break the format: whatever the update keeps must
  // be what a fresh build gives; where it cannot tell, it says so.
  struct Case {
    const char* what;
    std::string image;
    std::vector<std::string> keys;
  } const cases[] = {
      {"an entry where the first key starts",
       std::string("\x80\x00\x01", 3) + "bb\x80\x00\x02" + '\0',
       {"aa"}},
      {"an entry where a later key starts",
       std::string("aa\x80\x00\x01", 5) + std::string("\x80\x00\x02", 3) + "cc\x80\x00\x03" + '\0',
       {"aa", "bb", "dd"}},
      {"keys out of order",
       std::string("zz\x80\x00\x01", 5) + "aa\x80\x00\x02" + '\0',
       {"bb", "zz"}},
      {"a last entry cut short", std::string("aa\x80\x00\x01", 5) + "bb\x80\x00", {"bb", "cc"}},
      {"no end byte", std::string("aa\x80\x00\x01", 5), {"aa", "ab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome o = FileAndUpdate(c.image, 0, 3, c.keys, 77);
    if (o.updated) {
      EXPECT_EQ(o.block, o.fresh);
    }
  }
}

}  // namespace
