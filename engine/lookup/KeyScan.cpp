#include "engine/lookup/KeyScan.h"

namespace keyscan {

KeyList CharList(const CChnChars& e, int method) {
  KeyList l;
  l.data = e.m_pKey2Chs[method];
  l.table = e.m_pZiIdx2Keys[method];
  l.pyKeys = method == kPinYin;
  l.entryLen = l.pyKeys ? kPyBlockBytes : kShapeCharBytes;
  // The pinyin syllables are useless without the list they point into.
  if (l.pyKeys && !e.m_pPyFlat) l.data = nullptr;
  return l;
}

KeyList CiZuList(const CChnChars& e, int method) {
  KeyList l;
  // A weighted pinyin index keeps its header byte in the buffer; records
  // start after it.
  const int header = e.m_nCiZuIdxEntryLen[method] == 4 ? 1 : 0;
  l.data = e.m_pCiZuIdx[method] && e.m_nCiZuIdxLen[method] > 0
               ? e.m_pCiZuIdx[method] + (e.m_nCiZuIdxLen[method] > static_cast<uint32_t>(header)
                                             ? header
                                             : 0)
               : nullptr;
  l.table = e.m_pCiZuIdx2Keys[method];
  l.entryLen = e.m_nCiZuIdxEntryLen[method];
  return l;
}

KeyList ShouZiMuList(const CChnChars& e) {
  KeyList l;
  l.data = e.m_nShouZiMuIdxLen > 0 ? e.m_pShouZiMuIdx : nullptr;
  l.table = e.m_pShouZiMuIdx2Keys;
  l.entryLen = kShouZiMuEntryBytes;
  return l;
}

PyRun PyRunOf(const CChnChars& e, const KeyList& l, const Record& r) {
  const uint8_t* b = l.data + r.dataPos;
  PyRun run;
  run.count = ((b[0] & 0x7Fu) << 8) | b[1];
  run.start = b[2] | (static_cast<uint32_t>(b[3]) << 8);
  // The loader bounds every run to the list; a list replaced since (the
  // character-order dialog) is bounded again here.
  const uint32_t nChars = e.PyFlatChars();
  if (run.start >= nChars) run.count = 0;
  else if (run.count > nChars - run.start) run.count = nChars - run.start;
  return run;
}

bool FindExact(const KeyList& l, const char* key, int keyLen, Record& hit) {
  if (!l.Loaded() || keyLen <= 0) return false;
  const auto* k = reinterpret_cast<const uint8_t*>(key);
  Record r;
  for (uint32_t pos = StartOf(l, key); ReadRecord(l, pos, r); pos = r.next) {
    const uint8_t* rk = l.data + r.pos;
    if (static_cast<int>(r.keyLen) == keyLen) {
      int i = 0;
      while (i < keyLen && k[i] == rk[i]) ++i;
      if (i == keyLen) {
        hit = r;
        return true;
      }
      if (k[i] < rk[i]) return false;
      continue;
    }
    // Another length: only the first three bytes decide whether the walk
    // has passed the key.
    int n = keyLen < static_cast<int>(r.keyLen) ? keyLen : static_cast<int>(r.keyLen);
    if (n > 3) n = 3;
    for (int i = 0; i < n; ++i) {
      if (k[i] == rk[i]) continue;
      if (k[i] < rk[i]) return false;
      break;
    }
  }
  return false;
}

int TextChars(const typCharFatFmt& rec) {
  CString text;
  FatFmt2NmlChar(rec, text);
  return text.GetLength() / 2;
}

CString HexKey(const uint8_t* entry) {
  static const char kHex[] = "0123456789ABCDEF";
  char buf[7];
  for (int i = 0; i < 3; ++i) {
    buf[2 * i] = kHex[entry[i] >> 4];
    buf[2 * i + 1] = kHex[entry[i] & 15];
  }
  buf[6] = 0;
  return CString(buf);
}

}  // namespace keyscan
