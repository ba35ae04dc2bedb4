// Choosing a candidate and committing it: the selection keys (Space, the
// function keys and the pinyin digits that became function keys), page
// arithmetic, the segment list shown when nothing matched, phrase building
// started by a pick that used only part of the pinyin keys, and the tip
// shown after a commit.
#include <algorithm>
#include <cctype>

#include "base/ChnText.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/internal/ChoiceHelpers.h"
#include "engine/internal/ChoiceTexts.h"
#include "engine/keys/KeyRoad.h"
#include "framework/KeySyms.h"

namespace {

using choicehelp::KeyPosAfterLetters;
using choicehelp::LettersOf;
using choicehelp::PageSizeOf;
using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

// A tip shorter than this gets the correction hint after a pick.
constexpr int kShortTipBytes = 19;
// The segment list answers F1 to F8.
constexpr unsigned long kLastSegKey = keysym::kF8;

// Shape-code input: the keys typed after the code of a row that the pick
// consumed (the keys of "trnt" + "w" after picking the row TRNT are "w"),
// so that a key typed for the next character is not lost with the commit.
// Empty unless the candidate's key is a proper prefix of the typed keys.
CString ShapeCodeKeysAfterPick(const CString& typed, const typCharFatFmt& chosen, int skipped) {
  CString key(chosen.key);
  key.MakeLower();
  if (skipped > 0 || key.IsEmpty() || key.GetLength() >= typed.GetLength() ||
      typed.Find('?') >= 0 || typed.Left(key.GetLength()) != key)
    return CString();
  return typed.Mid(key.GetLength());
}

// Left Alt+Space with keys typed: the keys as English text, as the help
// line promises, instead of a space that drops them. The '?' that pressing
// the left Alt typed goes; pinyin keys lose their tone and stroke keys, a
// shape code stays as typed. Empty when nothing but that '?' was typed.
CString KeysAsEnglish(const CString& typed) {
  CString text = typed;
  if (text.GetLastChar() == '?') text.DeleteRight(1);
  return cfgInputManager.IsPinYinMethod() ? LettersOf(text) : text;
}

}  // namespace

FatList& CChnChars::ReSelectionList() {
  if ((m_bSegDisplay && m_arrSegChoices.GetSize() >= 2) || m_arrChoices.GetSize() == 0)
    return m_arrSegChoices;
  return m_arrChoices;
}

int CChnChars::ZuCiLearnFlag() const {
  return !m_bCtrl && m_nPrevKey != static_cast<int>(keysym::kControlL) &&
                 m_nPrevKey != static_cast<int>(keysym::kControlR)
             ? 1
             : 0;
}

void CChnChars::PrepareReSelection(unsigned long window, int index, FatList& list,
                                   int resetNeeded) {
  if (list.GetSize() == 0) {
    if (resetNeeded) ResetReSelectionData();
    return;
  }
  InitReSelectionData(index, window, list);
}

// During phrase building a pick fills the current segment instead of
// being committed; the re-selection then covers the list it came from.
// Filling the segment looks up the next segment's keys into the engine's
// own lists, which list usually is: the list is copied first, or a
// re-choice or character pick would take the next segment's candidates
// for this one's and build a wrong word.
int CChnChars::FillZuCiSegment(typCharFatFmt chosen, unsigned long window, int index,
                               FatList& list) {
  FatList pickedFrom;
  pickedFrom.Copy(list);
  const int r = IsReSelectionDataResetNeeded(window);
  SetZuCiOneCharAndFireIfDone(&chosen, window, 0, ZuCiLearnFlag());
  PrepareReSelection(window, index, pickedFrom, r);
  return 1;
}

int CChnChars::ChooseIndexForKey(unsigned long key, int listSize) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  if (listSize == 1) return 0;
  if (key == keysym::kSpace) {
    if (m_strKeySeq.GetLength() == 1 || m_nLeadChoices == 1 || pinyin || m_bSegDisplay) return 0;
    return -1;
  }
  const unsigned long last = pinyin ? keysym::kF10 : keysym::kF9;
  if (key < keysym::kF1 || key > last) return -1;
  int index = static_cast<int>(key - keysym::kF1);
  if (pinyin && cfg.PinYinSelectionNum1SameAsNum2 && index == 0) {
    index = 1;
    m_nTipCountdown = -1;
    EngineHost().ShowTipMsg(choicetext::kFirstKeyRule);
  }
  return index;
}

void CChnChars::StartPartialPick(const typCharFatFmt& chosen) {
  const int used = chosen.UsedKeyCount();
  const CString keys = LettersOf(m_strKeySeq);
  CString letters = keys;
  letters.Remove('\'');
  if (used <= 0 || used >= letters.GetLength()) return;
  // A candidate counts the letters it used; the split lies in the typed
  // keys, where apostrophes count too.
  const int split = KeyPosAfterLetters(keys, used);
  if (!m_nZuCiMode) {
    SetZuCiMode(split, 1);
    return;
  }
  if (m_nZuCiCurSeg >= 0 && m_nZuCiCurSeg < m_arrZuCiSegs.GetSize()) {
    // BackSpace, Delete or new keys may have changed the segment's keys
    // since it opened: the word's keys take them as they are now, with the
    // unused keys after them, and the segment ends after the letters used.
    CKeyZiPair& cur = m_arrZuCiSegs[m_nZuCiCurSeg];
    const int base = m_nZuCiCurSeg > 0 ? m_arrZuCiSegs[m_nZuCiCurSeg - 1].keyEnd : 0;
    m_strZuCiKeys = m_strZuCiKeys.Left(base) + keys + m_strZuCiKeys.Mid(cur.keyEnd);
    cur.keyEnd = base + split;
  }
  m_nInsertDirChanges = 0;
  m_nInsertLastDir = 0;
}

int CChnChars::SelectChoiceKey(unsigned long key, unsigned long window, int hasWildcard) {
  IEngineHost& host = EngineHost();
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();

  if (key == keysym::kSpace && m_strKeySeq.IsEmpty() && !m_bShift) {
    // The full-width space "　" or the ASCII one.
    const typCharFatFmt space =
        cfg.FullSize ? typCharFatFmt::Char(0xA1, 0xA1) : typCharFatFmt::Char(' ', 0);
    return CommitChoice(window, space, cfg.FullSize ? 2 : 1, -1, 0, hasWildcard);
  }
  if (key == keysym::kSpace && m_bAlt) {
    const CString english = m_nZuCiMode ? CString() : KeysAsEnglish(m_strKeySeq);
    if (!english.IsEmpty()) {
      SendChnChar2HwndDirect(window, english, english.GetLength(), 0, 0);
      ResetChnInput(0, 0, 1);
      return 1;
    }
    ResetChnInput(0, 0, 1);
    return CommitChoice(window, typCharFatFmt::Char(' ', 0), 1, -1, 0, hasWildcard);
  }
  if (m_strKeySeq.IsEmpty()) return 0;

  if (m_strKeySeq == "?" && !(pinyin && cfg.StdPinYin)) {
    m_strKeySeq = pinyin ? "shen" : "kg";
    m_nInsertPt = static_cast<int16_t>(m_strKeySeq.GetLength());
    key = pinyin ? keysym::kF6 : keysym::kF1;
    MakeBackCopyOfm_strKeySeq();
    m_nCurPage = 0;
  }
  FatList& list = ReSelectionList();
  if (!m_strTip.IsEmpty() && !m_nZuCiMode) {
    if (!(pinyin && cfg.fuzziPY)) host.MessageBeep();
    host.ShowTipMsg(m_strTip);
  }

  if (!m_bChoicesFound) {
    if (m_arrSegChoices.GetSize() < 2 || key < keysym::kF1 || key > kLastSegKey) {
      host.MessageBeep();
      return 1;
    }
    const int index = std::min(static_cast<int>(key - keysym::kF1), m_arrSegChoices.GetSize() - 1);
    typCharFatFmt chosen = m_arrSegChoices[index];
    m_lastCommit = chosen;
    if (m_nZuCiMode) return FillZuCiSegment(chosen, window, index, list);
    return CommitAndKeepRest(window, chosen, index, 0, hasWildcard);
  }

  const int m = list.GetSize();
  if (m == 0) return 1;
  int index = ChooseIndexForKey(key, m);
  if (index < 0) {
    SelectCharDlg(window, list, hasWildcard);
    return 1;
  }
  index = std::min(index, m - 1);
  if (pinyin) index = PageIndexToListIndex(index, m);

  typCharFatFmt chosen = list[index];
  m_lastCommit = chosen;
  // A V-mode word names its own line key, not the keys typed: it never
  // starts phrase building.
  if (pinyin && !cfg.fuzziPY && !keyroad::IsVModeKeySeq(*this)) StartPartialPick(chosen);
  if (m_nZuCiMode) return FillZuCiSegment(chosen, window, index, list);
  return CommitAndKeepRest(window, chosen, index, 1, hasWildcard);
}

int CChnChars::CommitAndKeepRest(unsigned long window, typCharFatFmt chosen, int index,
                                 int pickedFromList, int hasWildcard) {
  const CString rest = cfgInputManager.IsPinYinMethod()
                           ? CString()
                           : ShapeCodeKeysAfterPick(m_strKeySeq, chosen, m_nSkippedKeys);
  CommitChoice(window, chosen, kChosenCandidate, index, pickedFromList, hasWildcard);
  if (rest.IsEmpty()) return 1;
  m_strKeySeq = rest;
  m_nInsertPt = static_cast<int16_t>(rest.GetLength());
  MakeBackCopyOfm_strKeySeq();
  ShowChoiceList(0, 1);  // the pick stays open for re-choosing
  return 1;
}

int CChnChars::PageIndexToListIndex(int index, int listSize) {
  const int pageSize = PageSizeOf(m_nPageSize);
  const int pages = listSize / pageSize + (listSize % pageSize ? 1 : 0);
  int page = 0;
  if (extraMultiCandidatePanes == 0 || pages == 0 || !cfgInputManager.PYSingleCharShowMultiRow) {
    if (m_nCurPage > 0 && pages > 0) {
      if (m_nCurPage >= pages) m_nCurPage = pages - 1;
      page = m_nCurPage;
    }
  } else {
    page = std::clamp(currentPaneInMultiPanes + m_nCurPage, 0, pages - 1);
  }
  if (page == 0) return index;
  const int count = std::min(listSize - page * pageSize, pageSize);
  return std::min(index, count - 1) + page * pageSize;
}

void CChnChars::BuildCommitTip(const typCharFatFmt& chosen, int nBytes, int index, int hasWildcard,
                               CString& tip) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const CString typed = m_strKeySeq;
  const CString letters = LettersOf(typed);
  if (nBytes == kChosenCandidate) {
    CString key(chosen.key);
    if (pinyin && cfg.fuzziPY) {
      if (chosen.kind == kFatChar) {
        const char ch[3] = {static_cast<char>(chosen.data[0]), static_cast<char>(chosen.data[1]),
                            0};
        CStringArray spellings;
        if (GetKeysByChar(ch, spellings, kPinYin) > 0 && spellings.GetSize() > 0) {
          bool typedExactly = false;
          tip = choicetext::kSpelledAs;
          for (int i = 0; i < spellings.GetSize(); ++i) {
            CString full = spellings[i];
            RestoreCompletePY(full);
            tip += spellings[i];
            if (full != spellings[i]) {
              tip += ",";
              tip += full;
            }
            tip += choicetext::kReadingGap;
            if (spellings[i] == letters || full == letters) typedExactly = true;
          }
          if (typedExactly) tip.Empty();
        }
      } else if (key != typed) {
        tip.Format(choicetext::kSpelledAsFuzzy, key.GetString());
      }
    } else if (!key.IsEmpty() && key != typed) {
      if (!pinyin) key.MakeUpper();
      tip.Format(choicetext::kSpelledAsKey, key.GetString());
    }
  }
  const bool wasEmpty = tip.IsEmpty();
  CString message;
  GetTipMsg(typed, message, 2);
  tip += message;
  if (m_nZuCiMode)
    tip += typed.GetLength() < 2 ? choicetext::kZuCiWider : choicetext::kZuCiWiderNarrower;
  if (wasEmpty && index >= 0 && hasWildcard) {
    if (typed == "kg") {
      tip += choicetext::kTypedAsKG;
    } else if (index < m_arrWildKeys.GetSize()) {
      CString wild;
      wild.Format(choicetext::kTypedAs, m_arrWildKeys[index].GetString());
      tip += wild;
    }
  }
}

int CChnChars::CommitChoice(unsigned long window, typCharFatFmt chosen, int nBytes, int index,
                            int pickedFromList, int hasWildcard) {
  IEngineHost& host = EngineHost();
  const typInputSettings& cfg = cfgInputManager;
  CString tip;
  if (cfg.ShowTip) BuildCommitTip(chosen, nBytes, index, hasWildcard, tip);
  // The list the re-selection receives, taken before the reset.
  FatList reSel;
  reSel.Copy(ReSelectionList());

  ResetChnInput(0, 1, 1);
  if (cfg.ShowTip && (!tip.IsEmpty() || m_nTipCountdown == 0)) {
    if (pickedFromList && tip.GetLength() < kShortTipBytes) {
      if (!tip.IsEmpty()) tip += " ";
      tip += choicetext::kCorrectionHint;
    }
    m_strTip = tip;
    host.ShowTipMsg(m_strTip);
  }
  const auto c = static_cast<unsigned char>(m_szKeyText[0]);
  if (cfg.ChnEnglshSwitchByShiftAlpha && m_bShift && isalpha(c)) {
    ResetChnInput(0, 0, 1);
    m_bIMode = 1;
    MakeCapHitEven(1, 0, 1);
    m_strTip = gI_ModeStr;
    host.ShowTipMsg(m_strTip);
    return 1;
  }
  const int r = IsReSelectionDataResetNeeded(window);
  if (nBytes < 3) {
    const char bytes[3] = {static_cast<char>(chosen.data[0]), static_cast<char>(chosen.data[1]), 0};
    SendChnChar2HwndDirect(window, bytes, nBytes, 0, 0);
    if (r) ResetReSelectionData();
    return 1;
  }
  SendChnChar2Hwnd(window, chosen);
  PrepareReSelection(window, index, reSel, r);
  return 1;
}
