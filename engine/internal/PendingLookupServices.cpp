// Services of later parts of the engine that the lookups call, in an
// interim form until their own parts land: key editing's insert points and
// the readings and codes of a character. Each part that owns one of them
// removes it from this file when it defines it.
//
// The interim forms do what their owners specify where that needs only the
// tables already loaded (readings, codes); the others find nothing.
#include <cstring>

#include "engine/CChnChars.h"
#include "framework/ChnText.h"

namespace {

template <class Map, class Rec>
bool Readings(Map& map, unsigned short ch, CStringArray& out) {
  Rec rec;
  if (!map.Lookup(ch, rec)) return false;
  out.RemoveAll();
  for (int i = 0; i < rec.readings.GetSize(); ++i) out.Add(rec.readings[i]);
  return true;
}

}  // namespace


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
