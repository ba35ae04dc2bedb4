// Phrase building: a word the lexicon does not know is typed as one key
// string and its characters are picked segment by segment. m_strZuCiKeys
// holds the whole key string, m_arrZuCiSegs the segments (text chosen, end
// of the keys), and m_strKeySeq only the keys of the segment being filled,
// so that the candidate display looks up that segment alone. When the last
// key is used and every segment holds text the word is sent; with learning
// on it waits in m_strPendingCi(+Tail) for the lexicon until the
// re-selection cycle closes (ReSelection.cpp).
#include <cstring>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "framework/KeySyms.h"

namespace {

// 新词加入词库.
const char kNewCiTip[] = "\xD0\xC2\xB4\xCA\xBC\xD3\xC8\xEB\xB4\xCA\xBF\xE2.";
// Status-tip countdown after a learned word.
constexpr int kNewCiTipCountdown = 40;
// Bytes of one double-byte character.
constexpr int kCharBytes = 2;
// Pinyin keys more than this long may leave one trailing key unused.
constexpr int kTrailingKeyMinLength = 4;

// Tone and stroke keys after the letters belong to the filters, not to the
// word's keys: the key string is cut before the first of each.
void CutBeforeToneAndStroke(CString& keys) {
  if (!cfgInputManager.IsPinYinMethod()) return;
  for (const char* set : {static_cast<const char*>(gszPingZeMa), gszBiHuaMa}) {
    if (!set) continue;
    const int at = keys.FindOneOf(set);
    if (at >= 0) keys = keys.Left(at);
  }
}

}  // namespace

void CChnChars::ClearZuCiMode() {
  m_nZuCiMode = 0;
  m_arrZuCiSegs.RemoveAll();
  m_nZuCiCurSeg = 0;
  m_bReplayingKey = 0;
}

int CChnChars::SetZuCiMode(int insertPt, int noShow) {
  CString keys = m_strKeySeq;
  if (cfgInputManager.IsPinYinMethod()) {
    CutBeforeToneAndStroke(keys);
    RemvFenHaoAtEnds(keys);
  }
  m_arrZuCiSegs.RemoveAll();
  int end;
  if (insertPt == 0) {
    m_nZuCiMode = 1;
    end = FindMatchingKeySeqEndingPt(keys, 1, 0, nullptr);
    if (end != 0 && m_bPrefixOnly) {
      // Only fuzzy segment candidates matched the prefix: the first segment
      // is the longest proper prefix of that prefix.
      const CString cut = keys.Left(end);
      m_bPrefixOnly = 0;
      end = FindMatchingKeySeqEndingPt(cut, 1, 0, nullptr);
    }
  } else {
    m_nZuCiMode = 2;
    end = insertPt;
  }
  if (end < 0) end = 0;
  if (end > keys.GetLength()) end = keys.GetLength();
  CKeyZiPair first;
  first.keyEnd = end;
  m_arrZuCiSegs.Add(first);
  m_nZuCiCurSeg = 0;
  m_nInsertLastDir = 0;
  m_nInsertDirChanges = 0;
  m_strZuCiKeys = keys;
  m_strKeySeq = keys.Left(end);
  m_nInsertPt = static_cast<int16_t>(end);
  m_nCurPage = 0;
  ResetReSelectionData();
  if (!noShow) ShowChoiceList(0, 0);
  return 1;
}

int CChnChars::ZuCiCompleted(typCharFatFmt* pick) {
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0) return 0;
  const int len = m_strZuCiKeys.GetLength();
  const int lastEnd = m_arrZuCiSegs[n - 1].keyEnd;
  bool keysUsed;
  if (cfgInputManager.IsPinYinMethod() && !cfgInputManager.ShuangPin &&
      len > kTrailingKeyMinLength && lastEnd == len - 1) {
    // One key left over: a trailing consonant is a slip (xian + n); a final
    // a, o or e counts only when the pick itself ended with it.
    const char c = m_strZuCiKeys[len - 1];
    if (c != 'a' && c != 'o' && c != 'e') {
      keysUsed = true;
    } else {
      const size_t k = pick ? strnlen(pick->key, sizeof pick->key) : 0;
      keysUsed = k > 0 && pick->key[k - 1] == c && c != m_strZuCiKeys[len - 2];
    }
  } else {
    keysUsed = lastEnd >= len;
  }
  if (!keysUsed) return 0;
  for (int i = 0; i < n; ++i)
    if (m_arrZuCiSegs[i].text.IsEmpty()) return 0;
  return 1;
}

int CChnChars::SetZuCiOneCharAndFireIfDone(typCharFatFmt* pick, unsigned long window, int force,
                                           int learn) {
  if (pick) {
    if (m_nZuCiCurSeg < 0 || m_nZuCiCurSeg >= m_arrZuCiSegs.GetSize()) return 0;
    FatFmt2NmlChar(*pick, m_arrZuCiSegs[m_nZuCiCurSeg].text);
  }
  if (!force && !ZuCiCompleted(pick)) {
    if (m_nZuCiCurSeg < 0 || m_nZuCiCurSeg >= m_arrZuCiSegs.GetSize()) return 0;
    const int start = m_arrZuCiSegs[m_nZuCiCurSeg].keyEnd;
    const CString rest = m_strZuCiKeys.Mid(start);
    CKeyZiPair next;
    next.keyEnd = start + rest.GetLength();
    m_arrZuCiSegs.Add(next);
    ++m_nZuCiCurSeg;
    m_strKeySeq = rest;
    m_nInsertPt = static_cast<int16_t>(rest.GetLength());
    m_nCurPage = 0;
    ShowChoiceList(0, 1);
    return 0;
  }
  // The word: the segment texts in order up to the first empty one (a
  // forced send stops before the open segment).
  const int count = force ? m_nZuCiCurSeg : m_arrZuCiSegs.GetSize();
  CString word, prefix, tail;
  for (int i = 0; i < count && i < m_arrZuCiSegs.GetSize(); ++i) {
    const CString& t = m_arrZuCiSegs[i].text;
    if (t.IsEmpty()) break;
    if (learn) {
      prefix += tail;
      tail = t;
    }
    word += t;
  }
  if (word.IsEmpty()) return 0;
  SendChnChar2HwndDirect(window, word, word.GetLength(), 0, 0);
  ResetChnInput(force, 0, 1);
  m_strPendingCi = prefix;
  m_strPendingCiTail = tail;
  m_nPendingCiMethod = cfgInputManager.InputMthd;
  if (learn) {
    m_nTipCountdown = kNewCiTipCountdown;
    m_tTipTime = EngineHost().Time();
    EngineHost().ShowTipMsg(kNewCiTip);
  }
  return 1;
}

int CChnChars::ZuCiKeySplit() {
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0 || m_nZuCiCurSeg < 0 || m_nZuCiCurSeg >= n) return 0;
  if (m_nInsertPt < 0 || m_nInsertPt >= m_strKeySeq.GetLength()) return 0;
  CKeyZiPair& cur = m_arrZuCiSegs[m_nZuCiCurSeg];
  const CString rest = m_strZuCiKeys.Mid(cur.keyEnd);
  CString tail = m_strKeySeq.Mid(m_nInsertPt);
  CutBeforeToneAndStroke(tail);
  const CString head = m_strKeySeq.Left(m_nInsertPt);
  m_strKeySeq = head;
  const int base = m_nZuCiCurSeg > 0 ? m_arrZuCiSegs[m_nZuCiCurSeg - 1].keyEnd : 0;
  m_strZuCiKeys = m_strZuCiKeys.Left(base) + head + tail + rest;
  cur.keyEnd = base + m_nInsertPt;
  m_nCurPage = 0;
  ResetReSelectionData();
  ShowChoiceList(0, 0);
  return 1;
}

int CChnChars::AdjustZuCiState(unsigned long keysym) {
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0 || m_nZuCiCurSeg < 0 || m_nZuCiCurSeg >= n) return 0;
  CKeyZiPair& cur = m_arrZuCiSegs[m_nZuCiCurSeg];
  const int total = m_strZuCiKeys.GetLength();
  if (cur.keyEnd >= total) return 0;
  CutBeforeToneAndStroke(m_strKeySeq);
  const CString unused = m_strZuCiKeys.Mid(cur.keyEnd);
  int moved;
  switch (keysym) {
    case keysym::kRight: moved = 1; break;
    case keysym::kDown:
    case keysym::kNext: {
      short point = 0;
      GetNextInsertPt(unused, point, 1, 0);
      moved = point;
      break;
    }
    case keysym::kEnd: moved = unused.GetLength(); break;
    default: return 0;
  }
  if (moved <= 0) return 0;
  if (moved > unused.GetLength()) moved = unused.GetLength();
  m_strKeySeq += unused.Left(moved);
  cur.keyEnd += moved;
  m_nInsertPt =
      static_cast<int16_t>(keysym == keysym::kEnd ? m_strKeySeq.GetLength() : m_nInsertPt + moved);
  m_nCurPage = 0;
  ResetReSelectionData();
  ShowChoiceList(0, 0);
  return 1;
}

int CChnChars::RemvKeyInZuCiMode() {
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0 || m_nZuCiCurSeg < 0 || m_nZuCiCurSeg >= n) return 0;
  const int end = m_arrZuCiSegs[m_nZuCiCurSeg].keyEnd;
  if (end >= m_strZuCiKeys.GetLength()) return 0;
  m_strZuCiKeys.Delete(end, 1);
  EngineHost().SetKeyPane();
  return 1;
}

int CChnChars::RemvZiInZuCiMode() {
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0 || m_nZuCiCurSeg <= 0 || m_nZuCiCurSeg >= n) return 0;
  CKeyZiPair& prev = m_arrZuCiSegs[m_nZuCiCurSeg - 1];
  if (prev.text.GetLength() <= kCharBytes) {
    // One character: the segment goes and its keys join the current one,
    // in front of the keys being typed.
    const int start = m_nZuCiCurSeg > 1 ? m_arrZuCiSegs[m_nZuCiCurSeg - 2].keyEnd : 0;
    const CString keys = m_strZuCiKeys.Mid(start, prev.keyEnd - start);
    m_arrZuCiSegs.RemoveAt(m_nZuCiCurSeg - 1);
    --m_nZuCiCurSeg;
    m_strKeySeq = keys + m_strKeySeq;
    m_nInsertPt = static_cast<int16_t>(m_nInsertPt + keys.GetLength());
  } else {
    prev.text = prev.text.Left(prev.text.GetLength() - kCharBytes);
  }
  EngineHost().SetKeyPane();
  return 1;
}

int CChnChars::GetZuCiMatchedZis(CString& out) {
  out.Empty();
  const int n = m_arrZuCiSegs.GetSize();
  for (int i = 0; i < n - 1; ++i) out += m_arrZuCiSegs[i].text;
  return out.IsEmpty() ? 0 : 1;
}

int CChnChars::GetZuCiUnusedKeys(CString& out) {
  out.Empty();
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0) return 0;
  out = m_strZuCiKeys.Mid(m_arrZuCiSegs[n - 1].keyEnd);
  return out.IsEmpty() ? 0 : 1;
}
