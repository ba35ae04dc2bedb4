// Services of other parts of the engine that the candidate display, the key
// editing and the selection call, in an interim form until their own parts
// land: phrase building, re-selection, association ordering and the
// stroke and tone helpers. Each part that owns one of them removes it from this file when it
// defines it.
//
// The interim forms do what their owners specify where that needs no data
// of their own (the key-string helpers, the re-selection
// bookkeeping); the filters and the association order have no tables yet,
// so they leave every list as it is, which is what their owners do when
// their data files are missing.
#include <cstring>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/typCharFatFmt.h"

int CChnChars::SetZuCiMode(int insertPt, int) {
  m_nZuCiMode = insertPt > 0 ? 2 : 1;
  m_strZuCiKeys = m_strKeySeq;
  m_arrZuCiSegs.RemoveAll();
  CKeyZiPair seg;
  seg.keyEnd = insertPt > 0 ? insertPt : m_strKeySeq.GetLength();
  m_arrZuCiSegs.Add(seg);
  m_nZuCiCurSeg = 0;
  return 1;
}

int CChnChars::SetZuCiOneCharAndFireIfDone(typCharFatFmt* pick, unsigned long, int, int) {
  if (pick && m_nZuCiCurSeg >= 0 && m_nZuCiCurSeg < m_arrZuCiSegs.GetSize())
    FatFmt2NmlChar(*pick, m_arrZuCiSegs[m_nZuCiCurSeg].text);
  return 0;
}

int CChnChars::ZuCiKeySplit() { return 0; }

int CChnChars::GetZuCiUnusedKeys(CString& out) {
  out.Empty();
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0) return 0;
  out = m_strZuCiKeys.Mid(m_arrZuCiSegs[n - 1].keyEnd);
  return out.IsEmpty() ? 0 : 1;
}

void CChnChars::ResetReSelectionData() {
  m_nReSelState = -1;
  m_nReSelIndex = -1;
}

int CChnChars::IsReSelectionDataResetNeeded(unsigned long window) {
  return m_nReSelState >= 0 && window == m_hReSelWnd ? 1 : 0;
}

int CChnChars::InitReSelectionData(int index, unsigned long window,
                                   AArray<typCharFatFmt, typCharFatFmt&>& list) {
  m_nReSelState = 0;
  m_nReSelIndex = index;
  m_hReSelWnd = window;
  m_arrReSelCands.Copy(list);
  if (index >= 0 && index < list.GetSize()) m_reSelItem = list[index];
  return 1;
}

int CChnChars::InitReSelectionPos(unsigned long) { return 1; }

int CChnChars::BasicLianXianAdjustOrder(AArray<typCharFatFmt, typCharFatFmt&>&) { return 0; }

char CChnChars::GetPingZeMa(char* keys) {
  if (!keys) return 0;
  for (int i = static_cast<int>(strlen(keys)) - 1; i >= 1; --i) {
    const char c = keys[i];
    if (c >= '1' && c <= '5') return c;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 0;
  }
  return 0;
}

int CChnChars::GetCountOfBiHuaMa(char* keys, int* start, char* out) {
  const int n = keys ? static_cast<int>(strlen(keys)) : 0;
  int i = n;
  while (i > 0 && strchr(gszBiHuaMa, keys[i - 1])) --i;
  const int count = n - i;
  if (out) {
    memcpy(out, keys + i, static_cast<size_t>(count));
    out[count] = 0;
  }
  if (start) *start = (i > 0 && keys[i - 1] >= '1' && keys[i - 1] <= '5') ? i - 1 : i;
  return count;
}

int CChnChars::ShengDiaoRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString, char) {
  return 1;
}

int CChnChars::BiHuaRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString, char*) {
  return 1;
}

int CChnChars::FantiRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString) { return 1; }

void CChnChars::RemvFenHaoAtEnds(CString& keys) {
  while (!keys.IsEmpty() && keys[0] == '\'') keys.DeleteLeft(1);
  while (!keys.IsEmpty() && keys.GetLastChar() == '\'') keys.DeleteRight(1);
}

int CChnChars::ChnCharHasThisPY1stLetter(const char* ch, char letter) {
  char pair[3] = {ch[0], ch[1], 0};
  CStringArray readings;
  if (GetKeysByChar(pair, readings, kPinYin) <= 0) return 0;
  for (int i = 0; i < readings.GetSize(); ++i)
    if (!readings[i].IsEmpty() && readings[i][0] == letter) return 1;
  return 0;
}
