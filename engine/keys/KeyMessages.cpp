// The engine's entry for keys: the four key messages of the main bar and
// the edit controls (an Alt released alone, a key with Alt, a key pressed
// or released without Alt), the Escape state, and the reaction to a change
// of input mode or method. The hot keys with Alt are in
// KeyMessageHotKeys.cpp; the English-letter record in EnglishLetters.cpp.
#include "engine/keys/KeyMessageSteps.h"

#include "engine/EngineHost.h"
#include "engine/FrameCommands.h"
#include "engine/PaneGlobals.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"

// 按<Ctrl>键后, 此词将不被放入词库.
static const char kCtrlNoLearnTip[] =
    "\xB0\xB4<Ctrl>\xBC\xFC\xBA\xF3, \xB4\xCB\xB4\xCA\xBD\xAB\xB2\xBB\xB1\xBB\xB7\xC5\xC8\xEB\xB4"
    "\xCA\xBF\xE2.";

namespace keymsg {

bool ChnMode() { return cfgInputManager.InputMode == kChineseInput; }
bool Pinyin() { return cfgInputManager.IsPinYinMethod(); }
bool ForecastAvailable(const CChnChars& e) {
  return e.m_bForecastShown && e.m_arrForecast.GetSize() > 0;
}
void ShowTip(CChnChars& e, const char* tip) {
  e.m_strTip = tip;
  EngineHost().ShowTipMsg(e.m_strTip);
}

int ReplayKey(CChnChars& e, unsigned long key, unsigned long flags) {
  e.m_bReplayingKey = 1;
  e.ProcessKeyMsg(kKeyPressNoAlt, key, flags);
  e.m_bReplayingKey = 0;
  return 1;
}

}  // namespace keymsg

namespace {

using namespace keymsg;

bool IsCtrlKey(unsigned long key) { return key == keysym::kControlL || key == keysym::kControlR; }

// Type 1: the right Alt clicked alone.
int AltReleasedAlone(CChnChars& e, unsigned long flags) {
  if (!e.m_bAltAlone || e.m_bLeftAlt) return 0;
  if (ChnMode() && Pinyin() && extraMultiCandidatePanes > 0 &&
      cfgInputManager.PYSingleCharShowMultiRow)
    return 1;
  if (e.m_nZuCiMode) return ReplayKey(e, keysym::kPrior, flags);
  if (e.m_strKeySeq.GetLength() > 2) return ReplayKey(e, keysym::kReturn, flags);
  const int n = e.m_strEngKeys.GetLength();
  if (ChnMode() && e.m_strKeySeq.IsEmpty() && e.m_bEngTipShown && n > 0) {
    e.CorrectEnglishLetters();
    return 1;
  }
  e.ForgetEnglishLetters();
  return 0;
}

// F6 to F12 enter the forecast shown after a commit. In shape-code input
// F1 to F9 select among the candidates while a code is typed: there F6 to
// F9 stay selection keys, or the forecast of the last commit would take the
// key meant for the code's candidate.
int EnterForecastByFunctionKey(CChnChars& e, unsigned long key, unsigned long focus) {
  if (key < keysym::kF6 || key > keysym::kF12 || !ForecastAvailable(e)) return kGoOnWithKey;
  if (!Pinyin() && !e.m_strKeySeq.IsEmpty() && key <= keysym::kF9) return kGoOnWithKey;
  const int item = key <= keysym::kF8 ? 0 : key <= keysym::kF10 ? 1 : 2;
  e.EnterForecast(focus, item);
  return 1;
}

// Type 3: a key pressed without Alt.
int KeyPressedNoAlt(CChnChars& e, unsigned long key, unsigned long flags, unsigned long focus) {
  IEngineHost& host = EngineHost();
  if (IsNavigationKey(key)) e.ZiCiForecastingReset(0);
  e.m_nPrevKey = e.m_nLastKey;
  e.m_nLastKey = static_cast<int>(key);
  e.m_bAltAlone = 0;
  const bool letter = key >= 'A' && key <= 'Z';
  if (!e.m_bShift && !e.m_bCtrl && (!ChnMode() || e.m_bIMode) && letter)
    e.DoEnglishKeyDown(key);
  else if (!e.KeepsEnglishLetters(key))
    e.ForgetEnglishLetters();
  e.m_bEngTipShown = 0;

  if (key == keysym::kTab && ((Pinyin() && e.m_strKeySeq.IsEmpty()) || e.m_bCtrl)) return 0;
  const uint32_t switchKey = static_cast<uint32_t>(cfgInputManager.ChnEnglshSwitchKey);
  if ((key == keysym::kSpace && e.m_bCtrl) || (key == keysym::kF12 && switchKey == 0)) {
    host.PostFrameCommand(framecmd::kToggleInputMode);
    return 1;
  }
  if ((key == keysym::kF11 || (key == keysym::kF12 && switchKey == 1)) &&
      !(ChnMode() && ForecastAvailable(e)))
    return 0;
  e.m_nKeyFlags = static_cast<uint32_t>(flags >> 16) & 0xFFFF;
  if (!ChnMode()) return 0;
  if (key == keysym::kEscape) e.DicStateAct(0);
  const int forecast = EnterForecastByFunctionKey(e, key, focus);
  if (forecast != kGoOnWithKey) return forecast;
  if (e.TranslateChnKey(key, focus, e.m_nKeyFlags)) return 1;
  if (key == keysym::kEscape) return e.DicStateAct(1) == 1 ? 1 : 0;
  return 0;
}

// Type 4: a key released without Alt.
int KeyReleasedNoAlt(CChnChars& e, unsigned long key) {
  if (IsCtrlKey(key) && IsCtrlKey(static_cast<unsigned long>(e.m_nLastKey))) {
    if (e.m_nZuCiMode)
      ShowTip(e, kCtrlNoLearnTip);
    else if (cfgInputManager.ChnEnglshSwitchKey == 1)
      EngineHost().PostFrameCommand(ChnMode() && e.m_bIMode ? framecmd::kClearInput
                                                            : framecmd::kToggleInputMode);
    return 0;
  }
  // The i-mode is pinyin's: in shape-code input Caps Lock is a key name, or
  // the client's when no code uses it.
  if (key == keysym::kCapsLock && ChnMode() && Pinyin() && e.m_strKeySeq.IsEmpty() && !e.m_bAlt &&
      !e.m_bShift && !e.m_bIMode) {
    e.m_bIMode = 1;
    ShowTip(e, gI_ModeStr);
    return 1;
  }
  return 0;
}

// What an Escape started from (DicStateAct act 0).
struct EscapeStart {
  bool keysEmpty = true;
  int iMode = 0;
  bool statusShown = false;
} gEscapeStart;

}  // namespace

int CChnChars::ProcessKeyMsg(int type, unsigned long key, unsigned long flags) {
  const unsigned long focus = EngineHost().MyGetFocus();
  switch (type) {
    case kAltReleasedAlone: return AltReleasedAlone(*this, flags);
    case kKeyWithAlt: return KeyWithAlt(*this, key, flags, focus);
    case kKeyPressNoAlt: return KeyPressedNoAlt(*this, key, flags, focus);
    case kKeyReleaseNoAlt: return KeyReleasedNoAlt(*this, key);
    default: return 0;
  }
}

int CChnChars::DicStateAct(int act) {
  IEngineHost& host = EngineHost();
  if (act == 0) {
    gEscapeStart.keysEmpty = m_strKeySeq.IsEmpty();
    gEscapeStart.iMode = m_bIMode;
    gEscapeStart.statusShown = host.IsStatusWndShown();
    return 1;
  }
  if (gEscapeStart.statusShown) {
    host.HideStatusWnd();
    return 1;
  }
  return !gEscapeStart.keysEmpty || gEscapeStart.iMode ? 1 : 0;
}

void CChnChars::OnInputMDChange(int onlyMode) {
  ResetChnInput(1, 0, 1);
  AddNewCiArrayToCiKu();
  SaveCiKuDirtyData();
  const bool noIndex = !m_pCiZuIdx[kXingMa] && !m_pCiZuIdx[kPinYin];
  if (onlyMode == 0 || (ChnMode() && noIndex)) ReLoadCizuDics(0);
  ForgetLastCommit();
  // The page size chosen in the options stays across a switch of mode or
  // method, as start-up sets it.
  m_nPageSize = Pinyin() ? ClampedCandidatesShown(cfgInputManager) : kXingMaPageSize;
  DoAfterSwitch2Chn();
}

char CChnChars::GetKeyCode(int position, unsigned long) {
  return position >= 0 && position < kPunctRowKeys ? cPosToCharUS[position] : 0;
}
