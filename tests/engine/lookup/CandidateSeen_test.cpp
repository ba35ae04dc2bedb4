// The set of candidates a lookup has gathered: two records are the same
// candidate exactly when their duplicate key strings are equal.
#include "engine/lookup/CandidateSeen.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/CChnChars.h"

namespace {

typCharFatFmt Rec(uint8_t kind, uint8_t b0, uint8_t b1, uint8_t b2) {
  typCharFatFmt r;
  r.kind = kind;
  r.data[0] = b0;
  r.data[1] = b1;
  r.data[2] = b2;
  return r;
}

std::string DupString(typCharFatFmt r) {
  CString s;
  GetFatChnCharHexStr(r, s);
  return std::string(s.GetString());
}

}  // namespace

TEST(CandidateSeen, KeysAreEqualExactlyWhenTheDuplicateStringsAre) {
  // Characters differing only past their first zero byte, one-byte
  // characters, phrases and words sharing data bytes with a character.
  const std::vector<typCharFatFmt> recs = {
      Rec(kFatChar, 0xD6, 0xD0, 0x00),   Rec(kFatChar, 0xD6, 0xD0, 0x55),
      Rec(kFatChar, 0xD6, 0xD1, 0x00),   Rec(kFatChar, 'a', 0x00, 0x00),
      Rec(kFatChar, 'a', 0x00, 0x41),    Rec(kFatChar, 0x00, 0x00, 0x00),
      Rec(kFatChar, 0x00, 0x41, 0x00),   Rec(kFatPhrase, 0xD6, 0xD0, 0x00),
      Rec(kFatPhrase, 0x80, 0x00, 0x01), Rec(kFatPhrase, 0x80, 0x01, 0x00),
      Rec(kFatWord, 0x80, 0x00, 0x01),   Rec(kFatNumCi, 0x00, 0x00, 0x00),
      Rec(kFatPhrase, 0x00, 0x00, 0x00), Rec(kFatPhrase, 0xFF, 0xFF, 0xFF),
  };
  for (size_t i = 0; i < recs.size(); ++i) {
    for (size_t j = 0; j < recs.size(); ++j) {
      SCOPED_TRACE(std::to_string(i) + " against " + std::to_string(j));
      EXPECT_EQ(CandidateSeen::KeyOf(recs[i]) == CandidateSeen::KeyOf(recs[j]),
                DupString(recs[i]) == DupString(recs[j]));
    }
  }
  // The entry and character keys the searches make from stored bytes are
  // the keys of the records made from them.
  const uint8_t entry[3] = {0x81, 0x02, 0x03};
  EXPECT_EQ(CandidateSeen::EntryKey(entry), CandidateSeen::KeyOf(typCharFatFmt::Phrase(entry, 0)));
  EXPECT_EQ(CandidateSeen::CharKey(0xB1, 0xB1),
            CandidateSeen::KeyOf(typCharFatFmt::Char(0xB1, 0xB1)));
}

TEST(CandidateSeen, HoldsWhatWasInsertedThroughGrowth) {
  CandidateSeen seen;
  std::set<uint32_t> model;
  // Enough keys to grow the table several times, with colliding low bits.
  for (uint32_t i = 0; i < 3000; ++i) {
    const uint8_t entry[3] = {static_cast<uint8_t>(0x80 | (i >> 8)), static_cast<uint8_t>(i),
                              static_cast<uint8_t>(i * 7)};
    const uint32_t key = CandidateSeen::EntryKey(entry);
    EXPECT_EQ(seen.Insert(key), model.insert(key).second);
    EXPECT_FALSE(seen.Insert(key));
  }
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t key = CandidateSeen::CharKey(static_cast<uint8_t>(i), 0xA1);
    EXPECT_EQ(seen.Contains(key), model.count(key) > 0);
  }
  for (uint32_t key : model) EXPECT_TRUE(seen.Contains(key));
}
