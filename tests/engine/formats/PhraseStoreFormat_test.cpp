#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/JiaMiJieMi.h"
#include "engine/formats/PhraseStoreFormat.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

}  // namespace

TEST(PhraseStoreFormat, RefIsBigEndian23BitsMarkedByBit7) {
  struct Case {
    uint32_t offset;
    std::string want;
  } const cases[] = {{0, Bytes({0x80, 0, 0})},
                     {0x123456, Bytes({0x92, 0x34, 0x56})},
                     {0x7FFFFF, Bytes({0xFF, 0xFF, 0xFF})},
                     {0x10000, Bytes({0x81, 0, 0})}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    std::string out;
    phrasestore::AppendRef(out, c.offset);
    EXPECT_EQ(out, c.want);
    EXPECT_EQ(phrasestore::RefOffset(reinterpret_cast<const uint8_t*>(out.data())), c.offset);
  }
}

TEST(PhraseStoreFormat, WriteIndexLaysOutHeaderKeysEntriesAndEnd) {
  const std::vector<phrasestore::IndexRecord> recs = {{"ab", {{0x10, 7}, {0x20, 3}}},
                                                      {"b", {{0x30, 1}}}};
  EXPECT_EQ(phrasestore::WriteIndex(recs, 3, false),
            Bytes({'a', 'b', 0x80, 0, 0x10, 0x80, 0, 0x20, 'b', 0x80, 0, 0x30, 0}));
  EXPECT_EQ(phrasestore::WriteIndex(recs, 4, true),
            Bytes({0x80, 'a', 'b', 0x80, 0, 0x10, 7, 0x80, 0, 0x20, 3, 'b', 0x80, 0, 0x30, 1, 0}));
}

TEST(PhraseStoreFormat, ReadIndexRoundTripsWhatWriteIndexWrote) {
  const std::vector<phrasestore::IndexRecord> recs = {
      {"a", {{5, 2}}}, {"ab", {{0x7FFFF0, 31}, {0, 0}}}, {"zz", {{9, 1}}}};
  for (int width : {3, 4}) {
    std::vector<phrasestore::IndexRecord> back;
    std::string error;
    ASSERT_TRUE(phrasestore::ReadIndex(phrasestore::WriteIndex(recs, width, width == 4), width,
                                       width == 4, back, error))
        << error;
    ASSERT_EQ(back.size(), recs.size());
    for (size_t i = 0; i < recs.size(); ++i) {
      EXPECT_EQ(back[i].key, recs[i].key);
      ASSERT_EQ(back[i].entries.size(), recs[i].entries.size());
      for (size_t k = 0; k < recs[i].entries.size(); ++k) {
        EXPECT_EQ(back[i].entries[k].offset, recs[i].entries[k].offset);
        if (width == 4) {
          EXPECT_EQ(back[i].entries[k].weight, recs[i].entries[k].weight);
        }
      }
    }
  }
}

TEST(PhraseStoreFormat, ReadIndexRefusesDamagedImages) {
  struct Case {
    const char* what;
    std::string image;
    bool header;
  } const cases[] = {{"no end byte", Bytes({'a', 0x80, 0, 1}), false},
                     {"truncated entry", Bytes({'a', 0x80, 0}), false},
                     {"key without entries", Bytes({'a', 0}), false},
                     {"entry where a key starts", Bytes({0x80, 0, 1, 0}), false},
                     {"keys out of order", Bytes({'b', 0x80, 0, 1, 'a', 0x80, 0, 2, 0}), false},
                     {"same key twice", Bytes({'a', 0x80, 0, 1, 'a', 0x80, 0, 2, 0}), false},
                     {"missing header", Bytes({'a', 0x80, 0, 1, 1, 0}), true},
                     {"empty", "", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<phrasestore::IndexRecord> recs;
    std::string error;
    EXPECT_FALSE(phrasestore::ReadIndex(c.image, c.header ? 4 : 3, c.header, recs, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(PhraseStoreFormat, ScramblingRestartsTheKeyAtEveryBlock) {
  const std::string plain(513, 'x');
  std::string out(plain.size(), '\0');
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(plain.data()),
                              reinterpret_cast<uint8_t*>(&out[0]), plain.size());
  EXPECT_EQ(static_cast<unsigned char>(out[0]), 'x' ^ pattern[0]);
  EXPECT_EQ(static_cast<unsigned char>(out[511]), 'x' ^ pattern[511 % 55]);
  // Byte 512 starts the second block, XORed with key byte 0 again.
  EXPECT_EQ(static_cast<unsigned char>(out[512]), 'x' ^ pattern[0]);
  std::string back(out.size(), '\0');
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(out.data()),
                              reinterpret_cast<uint8_t*>(&back[0]), out.size());
  EXPECT_EQ(back, plain);
}

TEST(PhraseStoreFormat, ValidKeysAreAsciiWithoutZeroAndBelow100Bytes) {
  EXPECT_TRUE(phrasestore::IsValidKey("zhongguo"));
  EXPECT_TRUE(phrasestore::IsValidKey(std::string(99, 'a')));
  EXPECT_FALSE(phrasestore::IsValidKey(std::string(100, 'a')));
  EXPECT_FALSE(phrasestore::IsValidKey(""));
  EXPECT_FALSE(phrasestore::IsValidKey(std::string("a\0b", 3)));
  EXPECT_FALSE(phrasestore::IsValidKey("a\x80"));
}
