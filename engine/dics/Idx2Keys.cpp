// Two-key tables: for each ordered pair of leading key characters, the
// offset of the first record of a sorted key list whose key starts with
// that pair, so that a lookup starts near its key.
#include "engine/CChnChars.h"

#include <cstdlib>

#include "engine/internal/DicBuffers.h"

namespace {

constexpr int kShapeCodeCharBytes = 2;
constexpr int kShouZiMuEntryBytes = 4;

}  // namespace

short CChnChars::GetKeyOrdinalNum(char c) { return static_cast<short>(chndic::KeyOrdinal(c)); }

int CChnChars::GetArrPosForIndexVal(const char* key) { return chndic::KeyBucket(key); }

int CChnChars::BuildIdx2KeysInDic(int kind, typInputMethod method) {
  uint32_t** table;
  const uint8_t* data;
  size_t len;
  chndic::KeyListLayout layout = chndic::KeyListLayout::kEntries;
  int entryLen;
  switch (kind) {
    case kIdxCiZu: {
      table = &m_pCiZuIdx2Keys[method];
      // The records of a weighted index start after its header byte.
      const size_t header = m_nCiZuIdxEntryLen[method] == 4 ? 1 : 0;
      data = m_pCiZuIdx[method] ? m_pCiZuIdx[method] + header : nullptr;
      len = m_nCiZuIdxLen[method] > header ? m_nCiZuIdxLen[method] - header : 0;
      entryLen = m_nCiZuIdxEntryLen[method];
      break;
    }
    case kIdxShouZiMu:
      table = &m_pShouZiMuIdx2Keys;
      data = m_pShouZiMuIdx;
      len = m_nShouZiMuIdxLen;
      entryLen = kShouZiMuEntryBytes;
      break;
    default:
      table = &m_pZiIdx2Keys[method];
      data = m_pKey2Chs[method];
      len = m_nKey2ChsLen[method];
      entryLen = kShapeCodeCharBytes;
      if (method == kPinYin) layout = chndic::KeyListLayout::kPinYinKeys;
      break;
  }
  if (!*table) {
    *table = static_cast<uint32_t*>(calloc(kTwoKeyBuckets, sizeof(uint32_t)));
    if (!*table) return 0;
  }
  for (int i = 0; i < kTwoKeyBuckets; ++i) (*table)[i] = 0;
  if (!data) return 0;
  chndic::BuildTwoKeyTable(data, len, layout, entryLen, *table);
  return 1;
}
