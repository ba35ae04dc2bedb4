// Re-selection of the last commit and the learning when its cycle closes.
//
// After a commit the user may re-choose with right Alt and '-', 'P' or 'I':
// GetNextChoice steps through the candidate list of the commit (states 0 to
// 3), the characters of a committed phrase (5 to 8) or the forecast list
// (99), and says how many characters of the current commit to erase.
// Without Shift the commit at index i is replaced by i - 1, then i + 1,
// then the head of the list, then on around the list; with Shift each step
// goes back the way it came. ResetReSelectionData closes the cycle: a word
// built by phrase building goes into the lexicon, otherwise the committed
// pinyin character or phrase rises in the learned order (UsageWeights.cpp).
#include "engine/CChnChars.h"

#include "engine/EngineHost.h"
#include "engine/commit/CommitText.h"

namespace {

constexpr int kCharBytes = 2;
constexpr int kFirstCharState = 5;
constexpr int kLastListState = 3;
constexpr int kLastCharState = 8;
constexpr int kForecastState = 99;

// The cycle's memory of a jump to the head of the list (state 2 or 7 to 3
// or 8) and the index it left, so that Shift can come back. One cycle is
// open at a time; these live for the whole run.
char justJump2Head = 0;
int oldIndex = 0;

// One step of a cycle in phase 0..3 (the state less the first state of its
// kind) over n items: i and state move on.
void StepForward(int phase, int n, int& i, int& state) {
  switch (phase) {
    case 0:
      if (i > 0) {
        --i;
        state += 1;
      } else {
        i = 1;
        state += 3;
      }
      break;
    case 1:
      if (i < n - 2) {
        i += 2;
        state += 1;
      } else {
        i = i > 0 ? 0 : 1;
        state += 2;
      }
      break;
    case 2:
      justJump2Head = 1;
      oldIndex = i;
      i = i > 0 ? 0 : i + 1;
      state += 1;
      return;  // keeps the jump noted
    default: i = (i + 1) % n; break;
  }
  justJump2Head = 0;
}

void StepBack(int phase, int n, int& i, int& state) {
  switch (phase) {
    case 0:
      i = i == 0 ? n - 1 : i - 1;
      state += 3;
      break;
    case 1:
      i += 1;
      state -= 1;
      break;
    case 2:
      i = i >= 2 ? i - 2 : 0;
      state -= 1;
      break;
    default:
      if (justJump2Head) {
        i = oldIndex;
        state -= 1;
      } else {
        i = i == 0 ? n - 1 : i - 1;
      }
      break;
  }
  justJump2Head = 0;
}

}  // namespace

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

int CChnChars::IsReSelectionDataResetNeeded(unsigned long window) {
  return m_nReSelState >= 0 && window == m_hReSelWnd ? 1 : 0;
}

int CChnChars::GetNextChoice(CString& text) {
  text.Empty();
  int& i = m_nReSelIndex;
  if (m_nReSelState == kForecastState) {
    // The forecast copy may have changed since the cycle opened: the index
    // is checked against it before it is read.
    const int n = m_arrForecastReSel.GetSize();
    if (n == 0 || i < 0 || i >= n) return 0;
    const int erase =
        m_arrForecastReSel[i].GetLength() / kCharBytes + BlanksAddedTo(m_arrForecastReSel[i]);
    i = (i + 1) % n;
    text = m_strPendingCiTail = m_arrForecastReSel[i];
    return erase;
  }
  if (m_nReSelState < 0 || m_nReSelState > kLastCharState ||
      (m_nReSelState > kLastListState && m_nReSelState < kFirstCharState))
    return 0;
  const bool list = m_nReSelState <= kLastListState;
  CString phrase;
  int n, erase;
  if (list) {
    n = m_arrReSelCands.GetSize();
    if (n < 2 || i < 0 || i >= n) return 0;
    CString now;
    FatFmt2NmlChar(m_arrReSelCands[i], now);
    erase = now.GetLength() / kCharBytes + BlanksAddedTo(now);
  } else {
    FatFmt2NmlChar(m_reSelItem, phrase);
    n = phrase.GetLength() / kCharBytes;
    if (n < 2 || i < 0 || i >= n) return 0;
    erase = 1 + BlanksAddedTo(phrase.Mid(i * kCharBytes, kCharBytes));
  }
  const int first = list ? 0 : kFirstCharState;
  const int phase = m_nReSelState - first;
  if (m_bShift)
    StepBack(phase, n, i, m_nReSelState);
  else
    StepForward(phase, n, i, m_nReSelState);
  if (i < 0 || i >= n) i = 0;
  if (list)
    FatFmt2NmlChar(m_arrReSelCands[i], text);
  else
    text = phrase.Mid(i * kCharBytes, kCharBytes);
  m_strPendingCiTail = text;
  return erase;
}

void CChnChars::ResetReSelectionData() {
  if (!m_strPendingCi.IsEmpty()) {
    // Emptied first: the lexicon's add must not find it pending again.
    CString phrase = m_strPendingCi + m_strPendingCiTail;
    m_strPendingCi.Empty();
    AddToCiKu(phrase.GetBuffer(phrase.GetLength()), m_nPendingCiMethod, 0, -1);
    phrase.ReleaseBuffer();
  } else if (cfgInputManager.IsPinYinMethod()) {
    typCharFatFmt& item = m_reSelItem;
    // Clearing the key text makes the same commit learn only once.
    if (m_nCiZuIdxEntryLen[kPinYin] == 4 && item.kind == kFatPhrase && item.key[0]) {
      AdjustCiUsageWeight(item, 0);
      AdjustCiUsageWeight(item, 1);
      item.key[0] = 0;
    } else if (cfgInputManager.candidateOrderChoice == 0 && item.kind == kFatChar && item.key[0] &&
               item.lianXianMark == 0) {
      AdjustZiUsageWeight(item);
      item.key[0] = 0;
    }
  }
  m_arrReSelCands.RemoveAll();
  m_nReSelState = -1;
  m_nReSelIndex = -1;
  m_hReSelWnd = 0;
}
