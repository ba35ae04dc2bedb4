// Two picks outside the candidate page: one character of the phrase just
// committed (right Alt with a digit), and, in shape-code input, the last
// key typed again, which picks among a shorter code's candidates by the
// pinyin initial of that key.
#include <algorithm>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/commit/CommitText.h"
#include "framework/KeySyms.h"

namespace {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

constexpr char kBackSpaceByte = 0x08;

// Key strings whose doubled last key is a code of its own, never a pick.
constexpr const char* kDoubledKeyExceptions[] = {"`bvl", "an", "tc",   ".x",    "yy",    "o5un",
                                                 "@ww",  "dd", "/4s",  "rg14s", "rgj4s", "rg44s",
                                                 "tgm",  "cw", "'.jb", "pr1jw", "20d",   "jmpj"};
constexpr const char* kDoubledKeyExceptionWithCizu = "clz";

// Characters the client received for the characters [from, from + count)
// of text: each character and the blank the output added after it.
int OutputCharsOf(const CString& text, int from, int count) {
  return count + BlanksAddedTo(text.Mid(2 * from, 2 * count));
}

// A right-Alt digit as the selection key it stands for.
unsigned long DigitToSelectionKey(unsigned long key) {
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  if (key == keysym::kGrave) key = '1';
  if (key == '9') return pinyin ? keysym::kF9 : keysym::kF8;
  if (key == '0') return pinyin ? keysym::kF10 : keysym::kF8;
  if (key >= '1' && key <= '8') return keysym::kF1 + (key - '1');
  return key;
}

}  // namespace

int CChnChars::PickCharOfLastCommit(unsigned long& key, unsigned long window) {
  FatList& list = m_bSegDisplay && m_arrSegChoices.GetSize() >= 2 ? m_arrSegChoices : m_arrChoices;
  const bool singlePending = m_nReSelState < 0 && list.GetSize() == 1;
  if (m_nReSelState < 0 && !singlePending) {
    key = DigitToSelectionKey(key);
    return kGoOnWithKey;
  }
  if (singlePending)
    m_reSelItem = list[0];
  else if (m_reSelItem.kind > 15 || window != m_hReSelWnd)
    return 0;

  CString text;
  FatFmt2NmlChar(m_reSelItem, text);
  const int nChars = text.GetLength() / 2;
  if (nChars < 2) return 0;

  int eraseFrom = 0;
  int erase = nChars;
  if (m_nReSelState > 4) {
    eraseFrom = std::clamp(m_nReSelIndex, 0, nChars - 1);
    erase = 1;
  }
  if (singlePending) erase = 0;
  m_nReSelState = 5;

  const char digit = key == keysym::kGrave ? '1' : static_cast<char>(key);
  const int pos = std::clamp(digit - '1', 0, nChars - 1);
  m_nReSelIndex = pos;
  m_bKeepReSelection = 1;
  const char picked[3] = {text[2 * pos], text[2 * pos + 1], 0};

  if (m_nZuCiMode && m_nZuCiCurSeg > 0 && m_nZuCiCurSeg < m_arrZuCiSegs.GetSize()) {
    m_arrZuCiSegs[m_nZuCiCurSeg - 1].text = picked;
    EngineHost().SetKeyPane();
  } else {
    std::string out(static_cast<size_t>(erase ? OutputCharsOf(text, eraseFrom, erase) : 0),
                    kBackSpaceByte);
    out += picked;
    SendChnChar2HwndDirect(window, out.c_str(), static_cast<int>(out.size()), 0, 0);
  }
  m_bKeepReSelection = 0;
  m_lastCommit =
      typCharFatFmt::Char(static_cast<uint8_t>(picked[0]), static_cast<uint8_t>(picked[1]));
  m_lastCommit.data[2] = 0;
  m_lastCommit.lianXianMark = 0;
  InitReSelectionPos(window);
  if (singlePending) {
    m_hReSelWnd = window;
    ResetChnInput(0, 0, 1);
  }
  return 1;
}

int CChnChars::IsDoubledKeyException(const CString& keys) const {
  for (const char* e : kDoubledKeyExceptions)
    if (keys == e) return 1;
  return cfgInputManager.useCizu && keys == kDoubledKeyExceptionWithCizu ? 1 : 0;
}

int CChnChars::DoubledKeyPick(char c, unsigned long window, int hasWildcard) {
  const CString keys = m_strKeySeq;
  const int n = keys.GetLength();
  if (n <= 1 || keys[n - 1] != c || keys.Find('?') >= 0 || c < 'a' || c > 'z' ||
      IsDoubledKeyException(keys))
    return kGoOnWithKey;

  FatList list;
  m_chLookAheadKey = c;
  const int found = Lookup0(keys.Left(n - 1), list, 1, 0, 0);
  m_chLookAheadKey = 0;
  if (!found || list.GetSize() == 0) return kGoOnWithKey;

  m_bLookAheadHit = 0;
  if (cfgInputManager.useCizu) {
    FatList longer;
    m_bLookAheadHit = LookupExactHelper(keys + c, longer, 1, kXingMa) && longer.GetSize() > 0;
    if (m_bLookAheadHit && m_nExactHits == 0) list.Copy(longer);
  }
  int examined = list.GetSize();
  if (m_nExactHits > 0)
    examined = std::min(examined, m_nExactHits);
  else if (m_nSegRows > 0)
    examined = std::min(examined, m_nSegRows);

  FatList kept;
  for (int i = 0; i < examined; ++i) {
    CString text;
    FatFmt2NmlChar(list[i], text);
    if (text.GetLength() < 2) continue;
    const char* last = text.GetString() + text.GetLength() - 2;
    if (ChnCharHasThisPY1stLetter(last, c)) kept.Add(list[i]);
  }
  if (kept.GetSize() > 1) {
    if (n == 2) ExcludeChnChars(kept, list[0]);
    if (kept.GetSize() > 1) {
      SelectCharDlg(window, kept, hasWildcard);
      return 1;
    }
  }
  if (kept.GetSize() != 1) return kGoOnWithKey;

  m_strKeySeq += c;
  MakeBackCopyOfm_strKeySeq();
  ++m_nInsertPt;
  m_nCurPage = 0;
  typCharFatFmt chosen = kept[0];
  m_lastCommit = chosen;
  if (m_nZuCiMode) return FillZuCiSegment(chosen, window, -1, ReSelectionList());
  return CommitChoice(window, chosen, kChosenCandidate, -1, 0, hasWildcard);
}
