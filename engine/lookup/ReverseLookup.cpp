// Reverse lookups: from a character to the keys it is typed with, and from
// a syllable to its run in the pinyin character list.
#include "engine/CChnChars.h"
#include "engine/lookup/KeyScan.h"

namespace {

// The characters of a record of a character list as one GBK text.
CString RecordChars(const CChnChars& e, const keyscan::KeyList& l, const keyscan::Record& r) {
  CString chars;
  if (l.pyKeys) {
    const keyscan::PyRun run = keyscan::PyRunOf(e, l, r);
    for (uint32_t i = 0; i < run.count; ++i) {
      const uint8_t* c = keyscan::PyFlatChar(e, run.start + i);
      chars += static_cast<char>(c[0]);
      chars += static_cast<char>(c[1]);
    }
  } else {
    chars.AddChars(reinterpret_cast<const char*>(l.data), static_cast<int>(r.dataPos),
                   static_cast<int>(r.next - r.dataPos));
  }
  return chars;
}

CString RecordKey(const keyscan::KeyList& l, const keyscan::Record& r) {
  CString key;
  key.AddChars(r.Key(l), 0, static_cast<int>(r.keyLen));
  return key;
}

char PairText(const char* ch, char out[3]) {
  out[0] = ch[0];
  out[1] = ch[1];
  out[2] = 0;
  return out[0];
}

uint16_t CharValue(const char* ch) {
  return static_cast<uint16_t>(static_cast<uint8_t>(ch[0]) | (static_cast<uint8_t>(ch[1]) << 8));
}

}  // namespace

int CChnChars::GetKeysByChar(const char* ch, CStringArray& keys, int method) {
  if (!ch || !ch[0] || !ch[1]) return keys.GetSize();
  if (method != 0) {
    MapChnToKeysLookup(CharValue(ch), keys, 1, 1);
    return keys.GetSize();
  }
  char pair[3];
  PairText(ch, pair);
  const keyscan::KeyList l = keyscan::CharList(*this, kXingMa);
  if (!l.Loaded()) return keys.GetSize();
  keyscan::Record r;
  for (uint32_t pos = 0; keyscan::ReadRecord(l, pos, r); pos = r.next) {
    if (RecordChars(*this, l, r).DBCSFind(pair) < 0) continue;
    CString key = RecordKey(l, r);
    key.MakeUpper();
    // Shorter keys first; of equal length the one found later first.
    int at = 0;
    while (at < keys.GetSize() && keys[at].GetLength() < key.GetLength()) ++at;
    keys.InsertTo(at, key);
  }
  return keys.GetSize();
}

CString CChnChars::GetPY1stChar(const char* ch) {
  CString letters;
  if (!ch || !ch[0] || !ch[1]) return letters;
  CStringArray readings;
  MapChnToKeysLookup(CharValue(ch), readings, 1, 0);
  for (int i = 0; i < readings.GetSize(); ++i) {
    if (readings[i].IsEmpty()) continue;
    const char first = readings[i][0];
    if (letters.Find(first) < 0) letters += first;
  }
  return letters;
}

int CChnChars::GetPyCharsCountAndIndexInGbkFlat(const char* syllable, long& count, long& start) {
  const keyscan::KeyList l = keyscan::CharList(*this, kPinYin);
  keyscan::Record r;
  if (!syllable || !keyscan::FindExact(l, syllable, static_cast<int>(strlen(syllable)), r))
    return 0;
  const keyscan::PyRun run = keyscan::PyRunOf(*this, l, r);
  count = static_cast<long>(run.count);
  start = static_cast<long>(run.start);
  return 1;
}

int CChnChars::GetKeyNCharsByChar(const char* ch, CString& key, CString& chars) {
  // The key returned last, so that repeated calls step through the keys of
  // a character. Lives for the whole run.
  static CString strLastKey;
  if (!ch || !ch[0] || !ch[1]) return -1;
  char pair[3];
  PairText(ch, pair);
  const keyscan::KeyList l =
      keyscan::CharList(*this, cfgInputManager.IsPinYinMethod() ? kPinYin : kXingMa);
  if (!l.Loaded()) return -1;
  keyscan::Record r;
  for (uint32_t pos = 0; keyscan::ReadRecord(l, pos, r); pos = r.next) {
    const CString recChars = RecordChars(*this, l, r);
    const int at = recChars.DBCSFind(pair);
    if (at < 0) continue;
    const CString recKey = RecordKey(l, r);
    if (recKey == "8i" || recKey == strLastKey) continue;
    key = recKey;
    chars = recChars;
    strLastKey = recKey;
    return at;
  }
  return -1;
}
