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
#include <algorithm>
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

int CChnChars::GetZuCiMatchedZis(CString& out) {
  out.Empty();
  const int n = std::min(m_nZuCiCurSeg, m_arrZuCiSegs.GetSize());
  for (int i = 0; i < n; ++i) out += m_arrZuCiSegs[i].text;
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









