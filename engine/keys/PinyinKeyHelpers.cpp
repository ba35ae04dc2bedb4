// Small helpers over typed pinyin keys: whether a string is one syllable,
// where the tone and stroke keys are, trimming apostrophes, and whether a
// character has a reading with a given initial letter.
#include "engine/CChnChars.h"

#include <cstring>

#include "base/ChnText.h"
#include "engine/internal/CharReadings.h"

namespace {

constexpr int kMaxSyllableLetters = 6;
// Syllables of the spoken language that the stroke table has no characters
// for, but that users type.
constexpr const char* kSpokenSyllables[] = {"shei", "tei", "zhei"};

bool IsToneKey(char c) { return c >= '1' && c <= '5'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int CChnChars::IsPYProper(const char* py) {
  if (!py) return 0;
  const size_t n = strnlen(py, static_cast<size_t>(kMaxSyllableLetters) + 1);
  if (n == 0 || n > kMaxSyllableLetters) return 0;
  uint64_t memoKey = n;
  for (size_t i = 0; i < n; ++i)
    memoKey |= static_cast<uint64_t>(static_cast<uint8_t>(py[i])) << (8 * (i + 1));
  if (m_nPyProperMemoSyllables != m_mapBiHua.GetCount()) {
    m_pyProperMemo.clear();
    m_nPyProperMemoSyllables = m_mapBiHua.GetCount();
  }
  const auto hit = m_pyProperMemo.find(memoKey);
  if (hit != m_pyProperMemo.end()) return hit->second ? 1 : 0;
  CString full(py);
  RestoreCompletePY(full);
  bool proper = false;
  for (const char* s : kSpokenSyllables)
    if (full == s) proper = true;
  unsigned long bucket;
  if (!proper) proper = m_mapBiHua.GetMapRecAt(full, bucket) != nullptr;
  if (m_pyProperMemo.size() >= kMaxPyProperMemo) m_pyProperMemo.clear();
  m_pyProperMemo.emplace(memoKey, proper);
  return proper ? 1 : 0;
}

char CChnChars::GetPingZeMa(char* keys) {
  if (!keys) return 0;
  // The first key is never a tone: a tone follows a syllable.
  for (int i = static_cast<int>(strlen(keys)) - 1; i >= 1; --i) {
    if (IsToneKey(keys[i])) return keys[i];
    if (IsLetter(keys[i])) return 0;
  }
  return 0;
}

int CChnChars::GetCountOfBiHuaMa(char* keys, int* start, char* out) {
  const int n = keys ? static_cast<int>(strlen(keys)) : 0;
  int i = n;
  while (i > 0 && strchr(gszBiHuaMa, keys[i - 1])) --i;
  const int count = n - i;
  if (out) {
    if (count) memcpy(out, keys + i, static_cast<size_t>(count));
    out[count] = 0;
  }
  if (start) *start = (i > 0 && IsToneKey(keys[i - 1])) ? i - 1 : i;
  return count;
}

void CChnChars::RemvFenHaoAtEnds(CString& keys) {
  int lead = 0;
  while (lead < keys.GetLength() && keys[lead] == '\'') ++lead;
  if (lead) keys.DeleteLeft(lead);
  int trail = 0;
  while (trail < keys.GetLength() && keys[keys.GetLength() - 1 - trail] == '\'') ++trail;
  if (trail) keys.DeleteRight(trail);
}

int CChnChars::ChnCharHasThisPY1stLetter(const char* ch, char letter) {
  if (!ch || !ch[0] || !ch[1]) return 0;
  CStringArray readings;
  if (!chnreadings::Of(*this, ch, readings)) return 0;
  for (int i = 0; i < readings.GetSize(); ++i)
    if (!readings[i].IsEmpty() && readings[i][0] == letter) return 1;
  return 0;
}
