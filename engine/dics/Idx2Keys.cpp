// Two-key tables: for each ordered pair of leading key characters, the
// offset of the first record of a sorted key list whose key starts with
// that pair, so that a lookup starts near its key.
#include "engine/CChnChars.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/internal/DicBuffers.h"
#include "engine/lookup/KeyScan.h"

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
  m_segMatches.clear();  // offsets into the list that changes
  // The table, then the record index (KeyScan.h) in one block.
  keyscan::KeyList l;
  l.data = data && len > 0 ? data : nullptr;
  l.pyKeys = layout == chndic::KeyListLayout::kPinYinKeys;
  l.entryLen = entryLen;
  const std::vector<uint32_t> offsets = keyscan::RecordOffsets(l);
  const size_t slots = keyscan::kIndexFirstSlot + offsets.size();
  auto* block = static_cast<uint32_t*>(realloc(*table, slots * sizeof(uint32_t)));
  if (!block) {
    free(*table);
    *table = nullptr;
    return 0;
  }
  *table = block;
  for (int i = 0; i < kTwoKeyBuckets; ++i) block[i] = 0;
  block[keyscan::kIndexCountSlot] = static_cast<uint32_t>(offsets.size());
  if (!offsets.empty())
    memcpy(block + keyscan::kIndexFirstSlot, offsets.data(), offsets.size() * sizeof(uint32_t));
  if (!data) return 0;
  chndic::BuildTwoKeyTable(data, len, layout, entryLen, block);
  return 1;
}
