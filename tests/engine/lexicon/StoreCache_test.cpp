#include "engine/lexicon/StoreCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/formats/PhraseStoreFormat.h"

namespace {

// The store's readers' walk: phrases start at 0 and after every zero byte.
// Whether text is stored, and the first offset above 0 it is stored at.
struct Walked {
  bool found = false;
  uint32_t first = 0;
};
Walked Walk(const std::string& store, const std::string& text) {
  Walked w;
  for (size_t pos = 0; pos < store.size();) {
    const size_t n = strnlen(store.data() + pos, store.size() - pos);
    if (n > 0 && store.compare(pos, n, text) == 0) {
      w.found = true;
      if (pos > 0 && w.first == 0) w.first = static_cast<uint32_t>(pos);
    }
    pos += n + 1;
  }
  return w;
}

// A growing store in a malloc'ed buffer, as the engine keeps it.
struct Store {
  std::string bytes;
  uint8_t* buf = nullptr;
  ~Store() { free(buf); }
  void Append(const std::string& more, ciku::StoreCache& cache) {
    bytes += more;
    buf = static_cast<uint8_t*>(realloc(buf, bytes.size() + 1));
    memcpy(buf, bytes.data(), bytes.size());
    cache.Appended(buf, Len());
  }
  uint32_t Len() const { return static_cast<uint32_t>(bytes.size()); }
};

TEST(StoreCache, AnswersAsTheWalkOfTheWholeStoreWhileTheStoreGrows) {
  // Short phrases of few letters, so that texts repeat; stores that start
  // with a phrase at offset 0 or with a zero byte, runs of zero bytes, a
  // last phrase without its zero byte.
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    ciku::StoreCache cache;
    Store s;
    auto phrase = [&rng]() {
      std::string p;
      const size_t n = 1 + rng() % 3;
      for (size_t i = 0; i < n; ++i) p += static_cast<char>('a' + rng() % 3);
      return p;
    };
    for (int step = 0; step < 60; ++step) {
      std::string more;
      const int kind = static_cast<int>(rng() % 8);
      if (kind == 0)
        more = std::string(1 + rng() % 3, '\0');
      else if (kind == 1)
        more = phrase();  // no zero byte: glued to the next
      else
        more = phrase() + '\0';
      s.Append(more, cache);
      for (int q = 0; q < 4; ++q) {
        const std::string text = phrase();
        const Walked w = Walk(s.bytes, text);
        EXPECT_EQ(cache.Find(s.buf, s.Len(), text), w.found) << text;
        EXPECT_EQ(cache.FirstOffset(s.buf, s.Len(), text), w.first) << text;
      }
    }
  }
}

TEST(StoreCache, ScramblesAsTheWholeStoreIsScrambled) {
  // Appends that end inside a block, on a block's end and several blocks on.
  ciku::StoreCache cache;
  Store s;
  for (size_t grow : {1u, 510u, 1u, 512u, 3u, 1500u, 0u, 7u}) {
    SCOPED_TRACE(grow);
    std::string more;
    for (size_t i = 0; i < grow; ++i) more += static_cast<char>(i * 7 + s.bytes.size());
    s.Append(more, cache);
    std::string want = s.bytes;
    auto* b = reinterpret_cast<uint8_t*>(want.data());
    phrasestore::ScrambleBlocks(b, b, want.size());
    EXPECT_EQ(std::string(cache.Scrambled(s.buf, s.Len())), want);
  }
}

TEST(StoreCache, ABufferPutInThePlaceOfTheStoreIsReadAfresh) {
  ciku::StoreCache cache;
  std::string a("\0ab\0cd\0", 7), b("\0cd\0ab\0xy", 9);
  EXPECT_EQ(cache.FirstOffset(reinterpret_cast<const uint8_t*>(a.data()), 7, "cd"), 4u);
  // Another buffer, another length: the cache starts afresh.
  EXPECT_EQ(cache.FirstOffset(reinterpret_cast<const uint8_t*>(b.data()), 9, "cd"), 1u);
  EXPECT_TRUE(cache.Find(reinterpret_cast<const uint8_t*>(b.data()), 9, "xy"));
  // The same buffer changed in place is the caller's to Clear.
  b[7] = 'q';
  cache.Clear();
  EXPECT_FALSE(cache.Find(reinterpret_cast<const uint8_t*>(b.data()), 9, "xy"));
  EXPECT_TRUE(cache.Find(reinterpret_cast<const uint8_t*>(b.data()), 9, "qy"));
}

}  // namespace
