// The stroke and tone tests of a character and the filters that narrow a
// candidate list by them, plus the filter that keeps only characters with
// a traditional form. A test answers 1 (passes), 0 (fails) or -1
// (undecided: no keys, no data); only a 0 removes a candidate, and a filter
// that would remove every candidate leaves the list as it was.
#include "engine/CChnChars.h"

#include <cstring>
#include <vector>

#include "base/ChnText.h"
#include "engine/formats/Big5TableFormat.h"
#include "engine/internal/CharReadings.h"

namespace {

constexpr int kMaxStrokeKeys = 3;  // only the first three strokes count
constexpr char kToneFirst = '1', kToneLast = '5';
constexpr int kToneBits = 3;  // ordered tone words: 3 bits a tone
constexpr int kMaxOrderedTones = 5;

bool InGroup(const CString& group, const char* ch) { return group.DBCSFind(ch) >= 0; }

// The last character of a candidate's text (two GBK bytes) into ch; false
// when the text does not end in a double-byte character.
bool LastCharOf(const typCharFatFmt& c, char ch[3]) {
  CString text;
  FatFmt2NmlChar(c, text);
  const int n = text.GetLength();
  if (n < 2 || !(static_cast<uint8_t>(text[n - 2]) & 0x80)) return false;
  ch[0] = text[n - 2];
  ch[1] = text[n - 1];
  ch[2] = 0;
  return true;
}

bool IsOneLetterSyllable(const CString& key) {
  return key.GetLength() == 1 && (key[0] == 'a' || key[0] == 'e' || key[0] == 'o');
}

}  // namespace

int CChnChars::GetBiHuaIndex(char key) {
  switch (key) {
    case '-':
    case 'H': return 0;
    case '=':
    case 'I': return 1;
    case '[':
    case 'J': return 2;
    case ']':
    case 'K': return 3;
    case ';':
    case 'L': return 4;
    case '/':
      return cfgInputManager.IsPinYinMethod() && cfgInputManager.ShuangPin &&
                     cfgInputManager.ShuangPinScheme == 0
                 ? 4
                 : -1;
    default: return -1;
  }
}

int CChnChars::IsBiHuaOKHelper(char* ch, char* strokes, typBiHuaDistribution& dist) {
  if (dist.noStrokes) return -1;
  const int n = static_cast<int>(strlen(strokes));
  if (n == 0) return -1;
  const int s1 = GetBiHuaIndex(strokes[0]);
  if (s1 < 0) return -1;  // an unknown stroke key decides nothing
  if (dist.firstCollapse[s1]) return InGroup(dist.groups[s1][0][0], ch) ? 1 : 0;
  if (n == 1) {
    for (auto& row : dist.groups[s1])
      for (const CString& g : row)
        if (InGroup(g, ch)) return 1;
    return 0;
  }
  const int s2 = GetBiHuaIndex(strokes[1]);
  if (s2 < 0) return -1;
  if (dist.secondCollapse[s1][s2]) return InGroup(dist.groups[s1][s2][0], ch) ? 1 : 0;
  if (n == 2) {
    for (const CString& g : dist.groups[s1][s2])
      if (InGroup(g, ch)) return 1;
    return 0;
  }
  const int s3 = GetBiHuaIndex(strokes[2]);
  if (s3 < 0) return -1;
  return InGroup(dist.groups[s1][s2][s3], ch) ? 1 : 0;
}

int CChnChars::IsBiHuaOK(CString py, char* ch, char* strokes) {
  if (!strokes || !strokes[0]) return -1;
  RestoreCompletePY(py);
  typBiHuaDistribution dist;
  if (!m_mapBiHua.Lookup(py, dist)) return -1;
  return IsBiHuaOKHelper(ch, strokes, dist);
}

int CChnChars::IsBiHuaOK(char* ch, char* strokes) {
  if (!strokes || !strokes[0]) return -1;
  CStringArray readings;
  if (!chnreadings::Of(*this, ch, readings)) return 0;
  // Undecided only when no reading could decide; one pass decides 1.
  int result = 0;
  bool decided = false;
  for (int i = 0; i < readings.GetSize(); ++i) {
    const int r = IsBiHuaOK(readings[i], ch, strokes);
    if (r == 1) return 1;
    if (r == 0) decided = true;
  }
  if (!decided && readings.GetSize() > 0) result = -1;
  return result;
}

int CChnChars::FindShengDiao(CString py, char* ch, CString& tones, int) {
  tones.Empty();
  RestoreCompletePY(py);
  const unsigned short v = chnreadings::MemoryOrder(ch);
  auto findReading = [&py](const CStringArray& readings) {
    for (int i = 0; i < readings.GetSize() && i < kMaxReadings; ++i) {
      CString r = readings[i];
      RestoreCompletePY(r);
      if (r == py) return i;
    }
    return -1;
  };
  typArrPYs a;
  if (m_mapCh2PYs.Lookup(v, a)) {
    const int i = findReading(a.readings);
    if (i < 0) return 0;
    for (int t = 0; t < kMaxOrderedTones; ++t)
      if (a.tones[i] & (1u << t)) tones += static_cast<char>(kToneFirst + t);
    return 1;
  }
  typArrPYsDiaoInOrder b;
  if (m_mapCh2PYsDiaoInOrder.Lookup(v, b)) {
    const int i = findReading(b.readings);
    if (i < 0) return 0;
    for (int k = 0; k < kMaxOrderedTones; ++k) {
      const int t = (b.tones[i] >> (k * kToneBits)) & 7;
      if (t == 0) break;
      tones += static_cast<char>('0' + t);
    }
    return 1;
  }
  return 0;
}

int CChnChars::IsShengDiaoOK(CString py, char* ch, char tone) {
  if (tone < kToneFirst || tone > kToneLast) return -1;
  CString tones;
  if (!FindShengDiao(py, ch, tones, 0)) return -1;
  return tones.Find(tone) >= 0 ? 1 : 0;
}

int CChnChars::IsShengDiaoOK(char* ch, char tone) {
  if (tone < kToneFirst || tone > kToneLast) return -1;
  CStringArray readings;
  if (!chnreadings::Of(*this, ch, readings)) return 0;
  for (int i = 0; i < readings.GetSize(); ++i) {
    if (IsShengDiaoOK(readings[i], ch, tone) == 1) return 1;
    if (cfgInputManager.fuzziPY) {
      CStringArray forms;
      GetFuzziPyAllPossibleForms(readings[i], forms);
      for (int f = 0; f < forms.GetSize(); ++f)
        if (IsShengDiaoOK(forms[f], ch, tone) == 1) return 1;
    }
  }
  return 0;
}

int CChnChars::ShengDiaoOrBiHuaRemoveCharHelper(AArray<typCharFatFmt, typCharFatFmt&>& list,
                                                CString key, int isTone, char tone, char* strokes) {
  if (list.GetSize() == 0) return 1;
  if (!isTone && (!strokes || !strokes[0])) return 1;
  const bool bySyllable = (key.GetLength() > 1 || IsOneLetterSyllable(key)) && IsPYProper(key) &&
                          !(isTone && cfgInputManager.fuzziPY);
  std::vector<bool> marked(static_cast<size_t>(list.GetSize()), false);
  int nMarked = 0;
  for (int i = 0; i < list.GetSize(); ++i) {
    const typCharFatFmt& c = list[i];
    char ch[3] = {0, 0, 0};
    bool wholeReadings = true;
    if (c.kind == kFatChar) {
      ch[0] = static_cast<char>(c.data[0]);
      ch[1] = static_cast<char>(c.data[1]);
      wholeReadings = !bySyllable;
    } else if (!LastCharOf(c, ch)) {
      continue;  // no Chinese character to test: keep it
    }
    int r;
    if (isTone)
      r = wholeReadings ? IsShengDiaoOK(ch, tone) : IsShengDiaoOK(key, ch, tone);
    else
      r = wholeReadings ? IsBiHuaOK(ch, strokes) : IsBiHuaOK(key, ch, strokes);
    if (r == 0) {
      marked[static_cast<size_t>(i)] = true;
      ++nMarked;
    }
  }
  if (nMarked == 0) return 1;
  if (nMarked == list.GetSize()) {
    const int n = isTone ? 0 : static_cast<int>(strlen(strokes));
    if (n >= 2) {
      char fewer[kMaxStrokeKeys + 1] = {0};
      const int keep = (n > kMaxStrokeKeys ? kMaxStrokeKeys : n) - 1;
      memcpy(fewer, strokes, static_cast<size_t>(keep));
      ShengDiaoOrBiHuaRemoveCharHelper(list, key, 0, 0, fewer);
    }
    return 0;
  }
  for (int i = list.GetSize() - 1; i >= 0; --i)
    if (marked[static_cast<size_t>(i)]) list.RemoveAt(i);
  return 1;
}

int CChnChars::ShengDiaoRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key,
                                   char tone) {
  return ShengDiaoOrBiHuaRemoveCharHelper(list, key, 1, tone, nullptr);
}

int CChnChars::BiHuaRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key,
                               char* strokes) {
  key.Replace('/', ';');
  return ShengDiaoOrBiHuaRemoveCharHelper(list, key, 0, 0, strokes);
}

int CChnChars::FantiRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString) {
  std::vector<bool> marked(static_cast<size_t>(list.GetSize()), false);
  int nMarked = 0;
  for (int i = 0; i < list.GetSize(); ++i) {
    const typCharFatFmt& c = list[i];
    // Phrases, word-list entries and number phrases are text, not one
    // character: they keep their place.
    if (c.kind != kFatChar) continue;
    const auto code = static_cast<unsigned short>((c.data[0] << 8) | c.data[1]);
    if (Gbk2Big5(code, 0, 0, 0, 0) == big5table::kNoBig5) {
      marked[static_cast<size_t>(i)] = true;
      ++nMarked;
    }
  }
  if (nMarked == 0) return 1;
  if (nMarked == list.GetSize()) return 0;
  for (int i = list.GetSize() - 1; i >= 0; --i)
    if (marked[static_cast<size_t>(i)]) list.RemoveAt(i);
  return 1;
}
