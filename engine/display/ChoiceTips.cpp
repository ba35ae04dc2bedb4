// The status tip of a candidate display: what the panes show (the key text
// of the best row, the right keys of a character typed with a wrong code),
// the coding tip, and one help line about the keys that apply now.
#include "base/ChnText.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/internal/ChoiceTexts.h"

int nRotate = 0;

namespace {

// Displays of more than two keys in a row that the help line cycles over.
constexpr int kRotateCycle = 12;

const char* VModeHelp(const CString& keys) {
  const typInputSettings& cfg = cfgInputManager;
  const bool oneKey = keys.GetLength() == 1;
  if (cfg.ShuangPin) {
    if (oneKey)
      return cfg.ShuangPinScheme == 1 ? choicetext::kVModeOneKeyScheme1 : choicetext::kVModeOneKey;
    return cfg.ShuangPinScheme == 1 ? choicetext::kVModeMoreKeysScheme1
                                    : choicetext::kVModeMoreKeys;
  }
  return oneKey ? choicetext::kVModeFullOneKey : choicetext::kVModeFullMoreKeys;
}

}  // namespace

void CChnChars::ComposeChoiceTip(const CString& keys, const CString& paneText, CString& tip) {
  const typInputSettings& cfg = cfgInputManager;
  if (!cfg.ShowTip) return;
  const bool pinyin = cfg.IsPinYinMethod();

  // The reading of the best row, or the right keys of a sole candidate.
  if (m_nSegRows > 0 && m_nSegOutcome != 0 && m_nExactHits == 0 &&
      (!pinyin || (!IsPYProper(keys) && m_nRowsMinDist[1] != 0 && m_nCurPage == 0))) {
    CString key = RowKeyText(m_rows[kRowsMerged][0]);
    if (!pinyin) key.MakeUpper();
    tip += choicetext::kFullPinyinIs;
    tip += key;
  } else if (m_bSoleCandMapHit) {
    EngineHost().MessageBeep();
    CStringArray codes;
    if (GetKeysByChar(paneText, codes, pinyin ? kPinYin : kXingMa) > 0 && codes.GetSize() > 0) {
      tip += choicetext::kShouldSpell;
      for (int i = 0; i < codes.GetSize(); ++i) {
        CString k = codes[i];
        if (!pinyin) k.MakeUpper();
        tip += k;
        CString full = codes[i];
        RestoreCompletePY(full);
        if (full != codes[i]) {
          tip += ",";
          tip += full;
        }
        tip += "  ";
      }
    }
  }

  CString message;
  if (GetTipMsg(keys, message, 1)) {
    tip += " (";
    tip += message;
    tip += ")";
  }

  AppendHelpLine(keys, tip);
}

void CChnChars::AppendHelpLine(const CString& keys, CString& tip) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const int n = keys.GetLength();
  const char vKey = cfg.ShuangPin ? 'V' : 'v';
  if (m_nZuCiMode) {
    tip += n > 1 ? choicetext::kZuCiWiderNarrower : choicetext::kZuCiWider;
    return;
  }
  if (pinyin && cfg.StdPinYin && n > 0 && keys[0] == vKey) {
    tip += VModeHelp(keys);
    return;
  }
  if (pinyin && extraMultiCandidatePanes > 0 && cfg.PYSingleCharShowMultiRow) {
    tip += choicetext::kMultiRowHelp;
    return;
  }
  if (n <= 2) return;
  switch (nRotate) {
    case 3: tip += choicetext::kRotate3; break;
    case 4: tip += choicetext::kRotate4; break;
    case 5: tip += choicetext::kRotate5; break;
    case 6: tip += choicetext::kRotate6; break;
    case 7:
      tip += choicetext::kRotate7Head;
      if (!(pinyin && cfg.ShuangPin)) tip += choicetext::kRotate7Bracket;
      tip += choicetext::kRotate7Tail;
      break;
    case 8: tip += choicetext::kRotate8; break;
    default:
      tip += m_nInsertPt < m_strKeySeqBak.GetLength() ? choicetext::kRotateZuCiInsert
                                                      : choicetext::kRotateZuCi;
  }
  nRotate = (nRotate + 1) % kRotateCycle;
}
