// The road of one key through Chinese input (TranslateChnKey): a table of
// small steps tried in order; the first that returns 0 or 1 decides, the
// others hand the key on. The Chinese-input steps and the common path
// follow in KeyTranslationSteps.cpp; the pinyin key filter in
// PinyinKeyFilter.cpp. Also the one reset of the input and the stubs that
// callers use as entry points.
#include "engine/keys/KeyRoad.h"

#include <algorithm>

#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/internal/ChoiceHelpers.h"
#include "engine/internal/DicBuffers.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"

namespace keyroad {

bool IsVModeKeySeq(const CChnChars& e) {
  const typInputSettings& cfg = cfgInputManager;
  if (!cfg.IsPinYinMethod() || !cfg.StdPinYin || e.m_strKeySeq.IsEmpty()) return false;
  return e.m_strKeySeq[0] == (cfg.ShuangPin ? 'V' : 'v');
}

bool ShapeCodeUsesKey(const CChnChars& e, char c) {
  constexpr int kShapeCodeCharBytes = 2;
  return chndic::KeyListUsesKeyByte(e.m_pKey2Chs[kXingMa], e.m_nKey2ChsLen[kXingMa],
                                    kShapeCodeCharBytes, static_cast<uint8_t>(c));
}

bool ShapeCodeForeignKey(const CChnChars& e, char c) {
  return !cfgInputManager.IsPinYinMethod() && c > ' ' && c < 0x7F && !IsLetter(c) &&
         !ShapeCodeUsesKey(e, c);
}

}  // namespace keyroad

// Steps of KeyTranslationSteps.cpp.
int ChineseInputSteps(CChnChars& e, typKeyRoad& road);
int CommonPathSteps(CChnChars& e, typKeyRoad& road);

namespace {

using namespace keyroad;
using Step = int (*)(CChnChars&, typKeyRoad&);

bool IsModifierRepeat(unsigned long key) {
  return key == keysym::kShiftL || key == keysym::kShiftR || key == keysym::kAltL ||
         key == keysym::kAltR || key == keysym::kCapsLock;
}

// A key already down (bit 0x4000 of the flags) repeats: letters and other
// plain keys are swallowed so that a held key does not flood the input.
int RepeatGuard(CChnChars& e, typKeyRoad& r) {
  if (!(e.m_nKeyFlags & 0x4000)) return kGoOnWithKey;
  if (IsModifierRepeat(r.key)) return 1;
  const bool plain = !e.m_bCtrl && !e.m_bShift && !e.m_bAlt;
  const bool keeps = r.nav || r.key == keysym::kSpace || r.key == keysym::kBackSpace ||
                     r.key == keysym::kReturn || r.key == keysym::kDelete;
  if (!plain || keeps) return kGoOnWithKey;
  if (!cfgInputManager.IsPinYinMethod() || KeysTyped(e) || IsLetter(r.c)) return 1;
  return kGoOnWithKey;
}

// '/' moves between the rows of the multi-row layout.
int RowSwitch(CChnChars& e, typKeyRoad& r) {
  if (!cfgInputManager.IsPinYinMethod() || !cfgInputManager.PYSingleCharShowMultiRow ||
      extraMultiCandidatePanes <= 0 ||
      r.key != static_cast<unsigned char>(CChnChars::GetKeyCode(9)))
    return kGoOnWithKey;
  if (cfgInputManager.PromptParallelSel == 1) {
    if (++currentPaneInMultiPanes > extraMultiCandidatePanes) currentPaneInMultiPanes = 0;
  } else if (--currentPaneInMultiPanes < 0) {
    currentPaneInMultiPanes = extraMultiCandidatePanes;
  }
  (void)e;
  EngineHost().InvalidateRect_hwndInputPane2();
  return 1;
}

int SlashAsNextInZuCi(CChnChars& e, typKeyRoad& r) {
  if (cfgInputManager.IsPinYinMethod() && e.m_nZuCiMode && r.key == '/') {
    r.key = keysym::kNext;
    r.nav = true;
  }
  return kGoOnWithKey;
}

int CtrlHeld(CChnChars& e, typKeyRoad& r) {
  if (!e.m_bCtrl || (r.nav && e.m_nZuCiMode)) return kGoOnWithKey;
  if (!KeysTyped(e) || (r.key != keysym::kLeft && r.key != keysym::kRight)) return 0;
  return kGoOnWithKey;
}

int ShiftInsertDelete(CChnChars& e, typKeyRoad& r) {
  return e.m_bShift && (r.key == keysym::kInsert || r.key == keysym::kDelete) ? 0 : kGoOnWithKey;
}

// Where Insert splits the keys: the insert point, counted in the keys that
// phrase building keeps (in pinyin input the letters without the tone and
// stroke keys and without apostrophes at either end); 0 when it lies at
// either end of them, where there is nothing to split.
int InsertSplitPoint(CChnChars& e) {
  CString keys = e.m_strKeySeq;
  int point = std::min<int>(e.m_nInsertPt, keys.GetLength());
  if (cfgInputManager.IsPinYinMethod()) {
    keys = choicehelp::LettersOf(keys);
    for (int i = 0; i < keys.GetLength() && keys[i] == '\''; ++i) --point;
    e.RemvFenHaoAtEnds(keys);
  }
  return point > 0 && point < keys.GetLength() ? point : 0;
}

// Insert outside phrase building starts it on three or more keys, with the
// first segment ending at the insert point (the engine's own split when
// the insert point is at an end of the keys).
int InsertStartsZuCi(CChnChars& e, typKeyRoad& r) {
  if (r.key != keysym::kInsert || e.m_nZuCiMode) return kGoOnWithKey;
  if (e.m_bShift || e.m_bAlt || e.m_bCtrl || e.m_strKeySeq.GetLength() < 3 || IsVModeKeySeq(e))
    return 0;
  e.SetZuCiMode(InsertSplitPoint(e), 0);
  return 1;
}

int NavigationAndDelete(CChnChars& e, typKeyRoad& r) {
  if (!r.nav && r.key != keysym::kDelete) return kGoOnWithKey;
  if (KeysTyped(e) && !e.m_bShift && !e.m_bAlt && e.AdjustInsertPt(r.key)) {
    EngineHost().SetKeyPane();
    return 1;
  }
  if (e.m_nZuCiMode) {
    if (r.key == keysym::kDelete)
      e.RemvKeyInZuCiMode();
    else
      e.AdjustZuCiState(r.key);
    return 1;
  }
  if (e.m_bShift) e.ResetChnInput(0, 0, 1);
  return 0;
}

int ClearTipCountdown(CChnChars& e, typKeyRoad&) {
  e.m_nTipCountdown = 0;
  return kGoOnWithKey;
}

constexpr Step kRoad[] = {
    RepeatGuard,      RowSwitch,           SlashAsNextInZuCi, CtrlHeld,          ShiftInsertDelete,
    InsertStartsZuCi, NavigationAndDelete, ClearTipCountdown, ChineseInputSteps, CommonPathSteps,
};

}  // namespace

int CChnChars::TranslateChnKey(unsigned long key, unsigned long window, unsigned long) {
  typKeyRoad road{
      key, window, IsNavigationKey(key) != 0, static_cast<char>(MyMapVirtualKey(key, 1, 0)), 0, 0};
  for (Step step : kRoad) {
    const int r = step(*this, road);
    if (r != kGoOnWithKey) return r;
  }
  return 0;
}

int CChnChars::MyMapVirtualKey(unsigned long key, int flag, int) {
  const char c = m_szKeyText[0];
  if (flag) {
    if (key >= 'A' && key <= 'Z') return static_cast<int>(key - 'A' + 'a');
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
  }
  static constexpr char kPlain[] = "0123456789',-./;=[\\]`";
  static constexpr char kShifted[] = ")!@#$%^&*(\"<_>?:+{|}~";
  for (int i = 0; kPlain[i]; ++i)
    if (c == kPlain[i]) return kShifted[i];
  return c;
}

void CChnChars::MakeBackCopyOfm_strKeySeq() {
  m_strKeySeqBak = m_strKeySeq;
  m_tmKeySeqBak = EngineHost().Time();
}

void CChnChars::ResetChnInput(int resetReSel, int keepTip, int keepForecast) {
  // The colour argument of an emptied candidate pane: the highlight colour.
  constexpr unsigned long kEmptyPaneColour = 0x2C2150;
  IEngineHost& host = EngineHost();
  m_strKeySeq.Empty();
  MakeBackCopyOfm_strKeySeq();
  m_nInsertPt = 0;
  host.UnGrabSomeKeys();
  m_nApostrophes = 0;
  isPYProperAndMultiCandidatePanes = 0;
  extraMultiCandidatePanes = 0;
  currentPaneInMultiPanes = 0;
  m_bIMode = 0;
  m_nPrevKey = 0;
  m_nLastKey = 0;
  ClearZuCiMode();
  m_nCurPage = 0;
  host.SetKeyPane();
  host.SetChoicePane("", 0, kEmptyPaneColour);
  if (resetReSel && !m_bKeepReSelection) ResetReSelectionData();
  if (!keepForecast) ZiCiForecastingReset(0);
  if (!keepTip) host.ShowTipMsg("");
}

void CChnChars::DoThingsAtLoseActive() {
  if (cfgInputManager.InputMode != kChineseInput) return;
  RemoveTrailingQuestionMark(1);
  ResetReSelectionData();
}

int CChnChars::JUXXingMaInputPYDlg(unsigned long, long) { return 1; }

int CChnChars::SelectCharDlg(unsigned long, AArray<typCharFatFmt, typCharFatFmt&>&, int) {
  return 1;
}

int CChnChars::MakeCapHitEven(int, int, int) { return 0; }
