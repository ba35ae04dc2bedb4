#include "engine/lookup/KeyScan.h"

namespace keyscan {

namespace {

// The record index of a list's table, when it has one.
void AttachIndex(KeyList& l) {
  if (!l.table || !l.data) return;
  l.nRecs = l.table[kIndexCountSlot];
  l.recs = l.table + kIndexFirstSlot;
}

// How the key of the record at pos compares with key, both cut to n bytes.
int ComparePrefix(const KeyList& l, uint32_t pos, const uint8_t* key, int n) {
  const uint8_t* rk = l.data + pos;
  for (int i = 0; i < n; ++i) {
    const uint8_t b = rk[i] != 0 && rk[i] < kEntryMark ? rk[i] : 0;  // 0: the key ended
    if (b != key[i]) return b < key[i] ? -1 : 1;
  }
  return 0;
}

}  // namespace

KeyList CharList(const CChnChars& e, int method) {
  KeyList l;
  l.data = e.m_pKey2Chs[method];
  l.table = e.m_pZiIdx2Keys[method];
  l.pyKeys = method == kPinYin;
  l.entryLen = l.pyKeys ? kPyBlockBytes : kShapeCharBytes;
  // The pinyin syllables are useless without the list they point into.
  if (l.pyKeys && !e.m_pPyFlat) l.data = nullptr;
  AttachIndex(l);
  return l;
}

KeyList CiZuList(const CChnChars& e, int method) {
  KeyList l;
  // A weighted pinyin index keeps its header byte in the buffer; records
  // start after it.
  const int header = e.m_nCiZuIdxEntryLen[method] == 4 ? 1 : 0;
  l.data = e.m_pCiZuIdx[method] && e.m_nCiZuIdxLen[method] > 0
               ? e.m_pCiZuIdx[method] +
                     (e.m_nCiZuIdxLen[method] > static_cast<uint32_t>(header) ? header : 0)
               : nullptr;
  l.table = e.m_pCiZuIdx2Keys[method];
  l.entryLen = e.m_nCiZuIdxEntryLen[method];
  AttachIndex(l);
  return l;
}

KeyList ShouZiMuList(const CChnChars& e) {
  KeyList l;
  l.data = e.m_nShouZiMuIdxLen > 0 ? e.m_pShouZiMuIdx : nullptr;
  l.table = e.m_pShouZiMuIdx2Keys;
  l.entryLen = kShouZiMuEntryBytes;
  AttachIndex(l);
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
  if (run.start >= nChars)
    run.count = 0;
  else if (run.count > nChars - run.start)
    run.count = nChars - run.start;
  return run;
}

std::vector<uint32_t> RecordOffsets(const KeyList& l) {
  std::vector<uint32_t> out;
  if (!l.Loaded()) return out;
  Record r;
  for (uint32_t pos = 0; ReadRecord(l, pos, r); pos = r.next) out.push_back(pos);
  return out;
}

namespace {

// The first index whose record compares after key (upper) or not before it.
uint32_t Bound(const KeyList& l, const char* key, int n, bool upper) {
  const auto* k = reinterpret_cast<const uint8_t*>(key);
  uint32_t lo = 0, hi = l.nRecs;
  while (lo < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    const int c = ComparePrefix(l, l.recs[mid], k, n);
    if (c < 0 || (upper && c == 0))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

}  // namespace

uint32_t LowerBound(const KeyList& l, const char* key, int n) { return Bound(l, key, n, false); }

uint32_t UpperBound(const KeyList& l, const char* key, int n) { return Bound(l, key, n, true); }

bool FindExact(const KeyList& l, const char* key, int keyLen, Record& hit) {
  if (!l.Loaded() || keyLen <= 0) return false;
  const auto* k = reinterpret_cast<const uint8_t*>(key);
  if (l.recs) {
    // The first record not before key, cut to its length plus the end.
    uint32_t i = LowerBound(l, key, keyLen);
    for (; i < l.nRecs; ++i) {
      Record r;
      ReadRecord(l, l.recs[i], r);
      if (static_cast<int>(r.keyLen) < keyLen) continue;  // not a key byte: only on damage
      if (static_cast<int>(r.keyLen) != keyLen || memcmp(l.data + r.pos, k, keyLen) != 0)
        return false;
      hit = r;
      return true;
    }
    return false;
  }
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

namespace {

int CommonPrefix(const char* a, int na, const char* b, int nb) {
  const int n = na < nb ? na : nb;
  int c = 0;
  while (c < n && a[c] == b[c]) ++c;
  return c;
}

// What one record of the walk does to the lists.
enum class Step { kNext, kStop };

Step TakeRecord(PrefixLists& lists, const Record& r, int c, bool skipWholeRecordKeys,
                bool wholeKeyOnly, int L) {
  PrefixList& b = lists.list[lists.best];
  PrefixList& s = lists.list[1 - lists.best];
  if (skipWholeRecordKeys && c == static_cast<int>(r.keyLen)) return Step::kNext;
  if (c < 2) return c < s.prefix ? Step::kStop : Step::kNext;
  if (wholeKeyOnly && c < L) return Step::kNext;
  if (c > b.prefix) {
    s.prefix = c;
    s.count = 0;
    s.pos[s.count++] = r.pos;
    lists.best = 1 - lists.best;
  } else if (c == b.prefix) {
    if (b.count < kMaxRows) b.pos[b.count++] = r.pos;
  } else if (c > s.prefix) {
    s.prefix = c;
    s.count = 0;
    s.pos[s.count++] = r.pos;
  } else if (c == s.prefix) {
    if (s.count >= kMaxRows) return Step::kStop;
    s.pos[s.count++] = r.pos;
  } else {
    return Step::kStop;
  }
  return Step::kNext;
}

}  // namespace

void GatherPrefixLists(const KeyList& l, const char* key, int L, bool skipWholeRecordKeys,
                       bool wholeKeyOnly, PrefixLists& lists) {
  lists = PrefixLists();
  Record r;
  if (!l.recs) {
    for (uint32_t pos = StartOf(l, key); ReadRecord(l, pos, r); pos = r.next) {
      const int c = CommonPrefix(r.Key(l), static_cast<int>(r.keyLen), key, L);
      if (TakeRecord(lists, r, c, skipWholeRecordKeys, wholeKeyOnly, L) == Step::kStop) break;
    }
    return;
  }
  // Only records that begin with the key's first two bytes can enter a
  // list; they follow one another in the sorted list. A record that shares
  // exactly as much as a full best list changes nothing: such a run ends at
  // the first record sharing one byte more, or at the end of those sharing
  // that many, both found by binary search.
  if (L < 2) return;
  uint32_t i = LowerBound(l, key, 2);
  const uint32_t end = UpperBound(l, key, 2);
  while (i < end) {
    ReadRecord(l, l.recs[i], r);
    const int c = CommonPrefix(r.Key(l), static_cast<int>(r.keyLen), key, L);
    if (TakeRecord(lists, r, c, skipWholeRecordKeys, wholeKeyOnly, L) == Step::kStop) return;
    ++i;
    const PrefixList& b = lists.list[lists.best];
    if (c != b.prefix || b.count < kMaxRows || i >= end) continue;
    // Records from i on share at least c bytes until UpperBound(key, c).
    const uint32_t runEnd = UpperBound(l, key, c);
    uint32_t next = runEnd;
    if (c < L) {
      const uint32_t deeper = LowerBound(l, key, c + 1);
      if (deeper >= i && deeper < UpperBound(l, key, c + 1)) next = deeper;
    }
    if (next > i) i = next;
  }
}

int TextChars(const typCharFatFmt& rec) {
  CString text;
  FatFmt2NmlChar(rec, text);
  return text.GetLength() / 2;
}

}  // namespace keyscan
