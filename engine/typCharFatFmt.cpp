#include "engine/typCharFatFmt.h"

#include <cstring>
#include <string>

#include "engine/CChnChars.h"
#include "engine/formats/PhraseStoreFormat.h"

typCharFatFmt::typCharFatFmt() : keyLen(0), usedKeys(0), lianXianMark(0), score(0) {
  memset(data, 0, sizeof data);
  key[0] = 0;
}

typCharFatFmt typCharFatFmt::Char(uint8_t lead, uint8_t trail) {
  typCharFatFmt r;
  r.kind = kFatChar;
  r.data[0] = lead;
  r.data[1] = trail;
  return r;
}

typCharFatFmt typCharFatFmt::Phrase(const uint8_t* entry, uint8_t weight) {
  typCharFatFmt r;
  r.kind = kFatPhrase;
  r.data[0] = entry[0];
  r.data[1] = entry[1];
  r.data[2] = entry[2];
  r.data[3] = weight;
  return r;
}

typCharFatFmt typCharFatFmt::PhraseAt(uint32_t offset) {
  std::string ref;
  phrasestore::AppendRef(ref, offset);
  return Phrase(reinterpret_cast<const uint8_t*>(ref.data()), 0);
}

uint32_t typCharFatFmt::PhraseOffset() const {
  if (kind != kFatPhrase) return kNoPhraseOffset;
  return phrasestore::RefOffset(data);
}

void typCharFatFmt::SetKey(const char* text) {
  strncpy(key, text, kFatKeyBytes - 1);
  key[kFatKeyBytes - 1] = 0;
}

int typCharFatFmt::UsedKeyCount() const {
  if (usedKeys) return usedKeys;
  if (score == 0) return static_cast<int>(strnlen(key, kFatKeyBytes));
  return keyLen;
}

void FatFmt2NmlChar(typCharFatFmt rec, CString& text) {
  text.Empty();
  switch (rec.kind) {
    case kFatChar: {
      const char s[3] = {static_cast<char>(rec.data[0]), static_cast<char>(rec.data[1]), 0};
      text = s;
      break;
    }
    case kFatPhrase: {
      const uint32_t offset = rec.PhraseOffset();
      if (cfgInputManager.useCizu && dictionary.m_pCiZuFlat && offset < dictionary.m_nCiZuFlatLen)
        text = reinterpret_cast<const char*>(dictionary.m_pCiZuFlat + offset);
      break;
    }
    case kFatNumCi:
      if (cfgInputManager.useCizu) text = dictionary.m_strNumCi;
      break;
    case kFatWord: {
      const int index = rec.data[0] | (rec.data[1] << 8);
      if (index < dictionary.m_arrWords.GetSize()) text = dictionary.m_arrWords[index];
      break;
    }
    default: break;
  }
}

int SameFatChar(typCharFatFmt a, typCharFatFmt b) {
  const size_t n = a.kind == kFatPhrase ? 3 : 2;
  return memcmp(a.data, b.data, n) == 0;
}

void ExcludeChnChars(AArray<typCharFatFmt, typCharFatFmt&>& list, typCharFatFmt& rec) {
  for (int i = list.GetSize() - 1; i >= 0; --i)
    if (SameFatChar(rec, list[i])) list.RemoveAt(i, 1);
}

void GetFatChnCharHexStr(typCharFatFmt& rec, CString& key) {
  if (rec.kind == kFatChar) {
    const char s[3] = {static_cast<char>(rec.data[0]), static_cast<char>(rec.data[1]), 0};
    key = s;
    return;
  }
  static const char kHex[] = "0123456789ABCDEF";
  char s[7];
  for (int i = 0; i < 3; ++i) {
    s[2 * i] = kHex[rec.data[i] >> 4];
    s[2 * i + 1] = kHex[rec.data[i] & 0x0F];
  }
  s[6] = 0;
  key = s;
}
