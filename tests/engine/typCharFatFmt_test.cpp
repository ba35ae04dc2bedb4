#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/CChnChars.h"
#include "engine/typCharFatFmt.h"

namespace {

// Gives the engine a phrase store of its own for the test's lifetime.
class WithStore {
 public:
  explicit WithStore(const std::string& plain) {
    dictionary.ReleaseCiZuFlat();
    dictionary.m_pCiZuFlat = static_cast<unsigned char*>(calloc(plain.size() + kPadBytes, 1));
    memcpy(dictionary.m_pCiZuFlat, plain.data(), plain.size());
    dictionary.m_nCiZuFlatLen = static_cast<uint32_t>(plain.size());
  }
  ~WithStore() { dictionary.ReleaseCiZuFlat(); }
};

std::string Text(const typCharFatFmt& rec) {
  CString s;
  FatFmt2NmlChar(rec, s);
  return std::string(s.GetString());
}

}  // namespace

TEST(typCharFatFmt, ConstructionClearsAllButTheKind) {
  typCharFatFmt r;
  EXPECT_EQ(r.keyLen, 0);
  EXPECT_EQ(r.usedKeys, 0);
  EXPECT_EQ(r.lianXianMark, 0);
  EXPECT_EQ(r.score, 0);
  EXPECT_EQ(r.key[0], 0);
  for (uint8_t b : r.data) EXPECT_EQ(b, 0);
}

TEST(typCharFatFmt, TextByKind) {
  const std::string store = std::string("\xD6\xD0\xB9\xFA") + '\0' + "\xC8\xCB\xC3\xF1" + '\0';
  WithStore with(store);
  cfgInputManager.useCizu = 1;
  dictionary.m_strNumCi = "\xC8\xFD\xB0\xD9";
  dictionary.m_arrWords.RemoveAll();
  dictionary.m_arrWords.Add(CString("w0"));
  dictionary.m_arrWords.Add(CString("w1"));

  typCharFatFmt word;
  word.kind = kFatWord;
  word.data[0] = 1;
  typCharFatFmt farWord = word;
  farWord.data[0] = 2;
  typCharFatFmt numCi;
  numCi.kind = kFatNumCi;
  typCharFatFmt none;
  none.kind = kFatNone;
  struct Case {
    const char* what;
    typCharFatFmt rec;
    std::string want;
  } const cases[] = {
      {"two-byte char", typCharFatFmt::Char(0xD6, 0xD0), "\xD6\xD0"},
      {"one byte", typCharFatFmt::Char('!', 0), "!"},
      {"zero lead", typCharFatFmt::Char(0, 0xD0), ""},
      {"phrase at 0", typCharFatFmt::PhraseAt(0), "\xD6\xD0\xB9\xFA"},
      {"phrase at 5", typCharFatFmt::PhraseAt(5), "\xC8\xCB\xC3\xF1"},
      {"phrase at the store's length", typCharFatFmt::PhraseAt(10), ""},
      {"phrase far past the store", typCharFatFmt::PhraseAt(0x7FFFFF), ""},
      {"number phrase", numCi, "\xC8\xFD\xB0\xD9"},
      {"word 1", word, "w1"},
      {"word past the list", farWord, ""},
      {"none", none, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.rec), c.want) << c.what;

  cfgInputManager.useCizu = 0;
  EXPECT_EQ(Text(typCharFatFmt::PhraseAt(0)), "") << "phrases off";
  EXPECT_EQ(Text(numCi), "") << "phrases off";
  dictionary.m_arrWords.RemoveAll();
  EXPECT_EQ(Text(word), "") << "empty word list";
  cfgInputManager.useCizu = 1;
}

TEST(typCharFatFmt, SameFatCharComparesByTheFirstRecordsKind) {
  typCharFatFmt ch = typCharFatFmt::Char(0x80, 0x01);
  typCharFatFmt phrase = typCharFatFmt::PhraseAt(0x000123);  // 80 01 23
  EXPECT_TRUE(SameFatChar(ch, phrase));                      // 2 bytes compared
  EXPECT_FALSE(SameFatChar(phrase, ch));                     // 3 bytes: 23 != 00
  typCharFatFmt samePhrase = typCharFatFmt::PhraseAt(0x000123);
  samePhrase.score = 7;
  samePhrase.SetKey("abc");
  EXPECT_TRUE(SameFatChar(phrase, samePhrase));
}

TEST(typCharFatFmt, ExcludeRemovesEveryCopyAndKeepsOrder) {
  AArray<typCharFatFmt, typCharFatFmt&> list;
  typCharFatFmt a = typCharFatFmt::Char(0xB0, 0xA1);
  typCharFatFmt b = typCharFatFmt::Char(0xB0, 0xA2);
  typCharFatFmt c = typCharFatFmt::PhraseAt(7);
  ExcludeChnChars(list, a);
  EXPECT_EQ(list.GetSize(), 0);
  for (typCharFatFmt* r : {&a, &b, &a, &c, &a}) list.Add(*r);
  ExcludeChnChars(list, a);
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_TRUE(SameFatChar(list[0], b));
  EXPECT_TRUE(SameFatChar(list[1], c));
  AArray<typCharFatFmt, typCharFatFmt&> copies;
  copies.Add(c);
  copies.Add(c);
  ExcludeChnChars(copies, c);
  EXPECT_EQ(copies.GetSize(), 0);
}

TEST(typCharFatFmt, DuplicateKey) {
  struct Case {
    typCharFatFmt rec;
    std::string want;
  } const cases[] = {
      {typCharFatFmt::Char(0xD6, 0xD0), "\xD6\xD0"},
      {typCharFatFmt::PhraseAt(0x000123), "800123"},
      {typCharFatFmt::PhraseAt(0x7FFFFF), "FFFFFF"},
      {typCharFatFmt::PhraseAt(0), "800000"},
  };
  for (Case c : cases) {
    CString key;
    GetFatChnCharHexStr(c.rec, key);
    EXPECT_EQ(std::string(key.GetString()), c.want);
  }
}

TEST(typCharFatFmt, PhraseOffsetHasAnInvalidValueApartFromZero) {
  EXPECT_EQ(typCharFatFmt::PhraseAt(0).PhraseOffset(), 0u);
  EXPECT_EQ(typCharFatFmt::PhraseAt(0x123456).PhraseOffset(), 0x123456u);
  EXPECT_EQ(typCharFatFmt::Char(0xB0, 0xA1).PhraseOffset(), kNoPhraseOffset);
  EXPECT_NE(kNoPhraseOffset, 0u);
}

TEST(typCharFatFmt, KeysConsumedByAChoice) {
  struct Case {
    int usedKeys, score, keyLen;
    const char* key;
    int want;
  } const cases[] = {
      {3, 0, 0, "abcdef", 3},  // usedKeys wins
      {0, 0, 2, "abcd", 4},    // exact: the key's length
      {0, 5, 2, "abcd", 2},    // inexact: keyLen
  };
  for (const Case& c : cases) {
    typCharFatFmt r = typCharFatFmt::Char(0xB0, 0xA1);
    r.usedKeys = static_cast<uint8_t>(c.usedKeys);
    r.score = static_cast<int16_t>(c.score);
    r.keyLen = static_cast<uint8_t>(c.keyLen);
    r.SetKey(c.key);
    EXPECT_EQ(r.UsedKeyCount(), c.want) << c.key;
  }
  typCharFatFmt longKey;
  longKey.SetKey(std::string(40, 'a').c_str());
  EXPECT_EQ(strlen(longKey.key), 31u);
}
