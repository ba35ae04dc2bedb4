// Services of later parts of the engine that the lookups call, in an
// interim form until their own parts land: the syllable test, key editing's
// insert points, the readings and codes of a character, the common mark,
// number phrases and the V-mode. Each part that owns one of them removes it
// from this file when it defines it.
//
// The interim forms do what their owners specify where that needs only the
// tables already loaded (readings, codes, the common mark); the syllable
// test reads the syllables of the pinyin character list instead of the
// stroke table, and the others find nothing.
#include <cstring>

#include "engine/CChnChars.h"
#include "engine/internal/KeyScan.h"
#include "framework/ChnText.h"

namespace {

constexpr int kMaxSyllableLetters = 6;

template <class Map, class Rec>
bool Readings(Map& map, unsigned short ch, CStringArray& out) {
  Rec rec;
  if (!map.Lookup(ch, rec)) return false;
  out.RemoveAll();
  for (int i = 0; i < rec.readings.GetSize(); ++i) out.Add(rec.readings[i]);
  return true;
}

}  // namespace

int CChnChars::IsPYProper(const char* py) {
  if (!py) return 0;
  const int n = static_cast<int>(strlen(py));
  if (n == 0 || n > kMaxSyllableLetters) return 0;
  for (int i = 0; i < n; ++i)
    if (py[i] < 'a' || py[i] > 'z') return 0;
  CString s(py);
  RestoreCompletePY(s);
  if (s == "shei" || s == "tei" || s == "zhei") return 1;
  keyscan::Record r;
  return keyscan::FindExact(keyscan::CharList(*this, kPinYin), s, s.GetLength(), r) ? 1 : 0;
}

int CChnChars::GetNextInsertPt(const char*, short&, int, int) { return 0; }

int CChnChars::MapChnToKeysLookup(unsigned short ch, CStringArray& out, int method, int complete) {
  if (method == kXingMa) {
    CStringArray codes;
    if (!m_mapCh2KeysPX.Lookup(ch, codes)) return 0;
    out.RemoveAll();
    for (int i = 0; i < codes.GetSize(); ++i) out.Add(codes[i]);
    return 1;
  }
  bool found = false;
  if (m_bUseCh2KeysPY) {
    CStringArray readings;
    if (m_mapCh2KeysPY.Lookup(ch, readings)) {
      out.RemoveAll();
      for (int i = 0; i < readings.GetSize(); ++i) out.Add(readings[i]);
      found = true;
    }
  }
  if (!found) found = Readings<decltype(m_mapCh2PYs), typArrPYs>(m_mapCh2PYs, ch, out);
  if (!found)
    found = Readings<decltype(m_mapCh2PYsDiaoInOrder), typArrPYsDiaoInOrder>(
        m_mapCh2PYsDiaoInOrder, ch, out);
  if (!found) return 0;
  if (complete) {
    for (int i = 0; i < out.GetSize(); ++i) {
      CString full = out[i];
      RestoreCompletePY(full);
      if (full != out[i]) out.InsertTo(++i, full);
    }
  }
  return out.GetSize();
}

int CChnChars::IsCommonChar(char* ch) {
  const auto v = static_cast<unsigned short>(static_cast<uint8_t>(ch[0]) |
                                             (static_cast<uint8_t>(ch[1]) << 8));
  typArrPYs a;
  if (m_mapCh2PYs.Lookup(v, a)) return (a.flags & chardict::kCommonMask) == chardict::kCommonFlag;
  typArrPYsDiaoInOrder b;
  if (m_mapCh2PYsDiaoInOrder.Lookup(v, b))
    return (b.flags & chardict::kCommonMask) == chardict::kCommonFlag;
  return 0;
}

int CChnChars::NumCizuMatch(CString, AArray<typCharFatFmt, typCharFatFmt&>&) { return 0; }

int CChnChars::UnitCiMatch(CString, AArray<typCharFatFmt, typCharFatFmt&>& out) {
  out.RemoveAll();
  return 1;
}
