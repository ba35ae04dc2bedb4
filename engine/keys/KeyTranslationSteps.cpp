// The second half of a key's road: the steps of Chinese input (number
// modes, phrase building, the i-mode, the pinyin filter, the right-Alt
// re-pick) and the common path (resets, direct output, selection, editing
// of the key string, the new display).
#include <cstring>

#include "engine/keys/KeyRoad.h"

#include "engine/EngineHost.h"
#include "framework/KeySyms.h"

namespace {

using namespace keyroad;
using Step = int (*)(CChnChars&, typKeyRoad&);

constexpr unsigned long kKeysym4 = 4;

bool OnlyWildcards(const CString& keys) {
  for (int i = 0; i < keys.GetLength(); ++i)
    if (keys[i] != '?') return false;
  return true;
}

// ---- Chinese input (input mode 0).

// Return, or Space while nothing was found, on three or more keys starts
// phrase building.
int StartZuCi(CChnChars& e, typKeyRoad& r) {
  if (e.m_nZuCiMode || e.m_strKeySeq.GetLength() <= 2 || OnlyWildcards(e.m_strKeySeq) ||
      IsVModeKeySeq(e))
    return kGoOnWithKey;
  const bool space = r.key == keysym::kSpace && !e.m_bShift && !e.m_bAlt && !e.m_bChoicesFound;
  if (r.key != keysym::kReturn && !space) return kGoOnWithKey;
  e.SetZuCiMode(0, 0);
  return 1;
}

int ZuCiKeys(CChnChars& e, typKeyRoad& r) {
  if (!e.m_nZuCiMode) return kGoOnWithKey;
  if (r.key == keysym::kInsert) {
    e.ZuCiKeySplit();
    return 1;
  }
  if (r.key == static_cast<unsigned char>(CChnChars::GetKeyCode(10))) {
    if (e.AdjustInsertPt(r.key)) EngineHost().SetKeyPane();
    return 1;
  }
  if (r.key == keysym::kReturn || (r.key == keysym::kSpace && !KeysTyped(e))) {
    const bool afterCtrl = e.m_nPrevKey == static_cast<int>(keysym::kControlL) ||
                           e.m_nPrevKey == static_cast<int>(keysym::kControlR);
    const int learn = !e.m_bCtrl && !afterCtrl ? 1 : 0;
    if (!e.SetZuCiOneCharAndFireIfDone(nullptr, r.window, 1, learn)) EngineHost().MessageBeep();
    return 1;
  }
  if (r.key == keysym::kBackSpace) {
    const int len = e.m_strKeySeq.GetLength();
    if (e.m_nInsertPt > len) e.m_nInsertPt = static_cast<int16_t>(len);
    if (e.m_nInsertPt == 0) {
      e.RemvZiInZuCiMode();
      return 1;
    }
  }
  return kGoOnWithKey;
}

int IModeKeys(CChnChars& e, typKeyRoad& r) {
  if (!cfgInputManager.IsPinYinMethod() || !cfgInputManager.StdPinYin) return kGoOnWithKey;
  return e.IModeKeyStep(r.key, r.window);
}

int PinyinEscapeAndFilter(CChnChars& e, typKeyRoad& r) {
  if (!cfgInputManager.IsPinYinMethod() || e.m_bAlt) return kGoOnWithKey;
  if (r.key == keysym::kEscape) {
    e.ResetChnInput(0, 0, 1);
    e.ForgetLastCommit();
    e.m_bIMode = 0;
    e.DoAfterSwitch2Chn();
    return 0;
  }
  if (!IsLetter(r.c) && (KeysTyped(e) || e.m_nZuCiMode)) return PinyinKeyFilter(e, r);
  return kGoOnWithKey;
}

// Right Alt with a digit or the grave accent: one character of the last
// commit, or the digit as a selection key.
int RightAltRePick(CChnChars& e, typKeyRoad& r) {
  if (cfgInputManager.IsPinYinMethod() && !e.m_bAlt) return kGoOnWithKey;
  const bool digitOrGrave = (r.key >= '0' && r.key <= '9') || r.key == keysym::kGrave;
  if (!digitOrGrave || !RightAlt(e)) return kGoOnWithKey;
  return e.PickCharOfLastCommit(r.key, r.window);
}

// Shape-code input: a digit that no code uses selects from the list, as
// the digits do in pinyin input ('1' to '9' for F1 to F9).
int ShapeCodeDigitSelects(CChnChars& e, typKeyRoad& r) {
  if (cfgInputManager.IsPinYinMethod() || e.m_bAlt || e.m_bShift || !KeysTyped(e) || r.key < '1' ||
      r.key > '9' || !ShapeCodeForeignKey(e, r.c))
    return kGoOnWithKey;
  r.key = keysym::kF1 + (r.key - '1');
  return kGoOnWithKey;
}

constexpr Step kChineseSteps[] = {
    StartZuCi, ZuCiKeys, IModeKeys, PinyinEscapeAndFilter, RightAltRePick, ShapeCodeDigitSelects};

// ---- The common path.

int CtrlPasses(CChnChars& e, typKeyRoad&) { return e.m_bCtrl ? 0 : kGoOnWithKey; }

// Return and Delete, and BackSpace or Escape on no keys: start afresh and
// let the client have the key.
int ResetKeys(CChnChars& e, typKeyRoad& r) {
  const bool noKeys = !KeysTyped(e);
  const bool escape = r.key == keysym::kEscape;
  if (r.key != keysym::kReturn && r.key != keysym::kDelete &&
      !((r.key == keysym::kBackSpace || escape) && noKeys))
    return kGoOnWithKey;
  e.ResetChnInput(0, 0, escape ? 0 : 1);
  e.ForgetLastCommit();
  if (e.m_bAlt && r.key == keysym::kBackSpace) return 1;
  if (cfgInputManager.useZiCiForecast) {
    if (r.key == keysym::kReturn) {
      e.ZiCiForecastAddString(" ");
      return 0;
    }
    if (r.key == keysym::kBackSpace) e.ZiCiForecastAddString("\x08");
    e.ZiCiForecasting("");
  }
  return 0;
}

int PassedKeys(CChnChars&, typKeyRoad& r) {
  switch (r.key) {
    case keysym::kPause:
    case keysym::kScrollLock:
    case keysym::kNumLock:
    case kKeysym4:
    case keysym::kControlL:
    case keysym::kControlR: return 0;
    default: return kGoOnWithKey;
  }
}

int AltKeyClearsFlags(CChnChars& e, typKeyRoad& r) {
  if (r.key == keysym::kAltL || r.key == keysym::kAltR) e.m_bAlt = e.m_bShift = 0;
  return kGoOnWithKey;
}

int DirectOutput(CChnChars& e, typKeyRoad& r) { return e.DirectOutputStep(r.key, r.window); }

int EscapeWithKeys(CChnChars& e, typKeyRoad& r) {
  if (r.key != keysym::kEscape) return kGoOnWithKey;
  e.ResetChnInput(0, 0, 1);
  return 1;
}

int NoteWildcard(CChnChars& e, typKeyRoad& r) {
  r.hasWildcard = e.m_strKeySeq.Find('?') >= 0 ? 1 : 0;
  return kGoOnWithKey;
}

int CapsLockWithAltRepeats(CChnChars& e, typKeyRoad& r) {
  if (r.key != keysym::kCapsLock || !e.m_bAlt) return kGoOnWithKey;
  e.Repeatlastchnchar(r.window);
  e.RemoveTrailingQuestionMark(0);
  return 1;
}

int SelectionKeys(CChnChars& e, typKeyRoad& r) {
  const unsigned long last = cfgInputManager.IsPinYinMethod() ? keysym::kF10 : keysym::kF9;
  if (r.key != keysym::kSpace && (r.key < keysym::kF1 || r.key > last)) return kGoOnWithKey;
  return e.SelectChoiceKey(r.key, r.window, r.hasWildcard);
}

int BackSpaceDeletes(CChnChars& e, typKeyRoad& r) {
  return r.key == keysym::kBackSpace ? e.BackSpaceKeySeq() : kGoOnWithKey;
}

// Shape-code input types Tab, Caps Lock and the Shift keys as the key
// names '!', '@', '#' and '$'. A shape code none of whose codes uses the
// name (Wubi 86 uses letters only) leaves the key to the client instead of
// starting a key string that can match nothing.
int KeyNameNoCodeUses(CChnChars& e, typKeyRoad& r) {
  if (cfgInputManager.IsPinYinMethod()) return kGoOnWithKey;
  if (r.key != keysym::kTab && r.key != keysym::kCapsLock && r.key != keysym::kShiftL &&
      r.key != keysym::kShiftR)
    return kGoOnWithKey;
  return ShapeCodeUsesKey(e, e.KeyToKeySeqChar(r.key, r.c)) ? kGoOnWithKey : 0;
}

// The key enters the key string (or turns the page), then the candidates
// are shown again.
int EnterKey(CChnChars& e, typKeyRoad& r) {
  const char ch = e.KeyToKeySeqChar(r.key, r.c);
  // A key without text (F10 in shape-code input, the Super key, a media
  // key) enters nothing: it goes back to the client, the keys stay.
  if (!ch) return 0;
  if (!cfgInputManager.IsPinYinMethod()) {
    const int picked = e.DoubledKeyPick(ch, r.window, r.hasWildcard);
    if (picked != kGoOnWithKey) return picked;
  }
  if (e.RefuseKeyOverLimits(ch)) return 1;
  if (cfgInputManager.IsPinYinMethod() && e.IsPinyinPageKey(r.key, ch)) {
    e.TurnPinyinPage(ch);
    r.pageKey = 1;
  } else {
    e.InsertKeySeqChar(ch);
  }
  if (cfgInputManager.useZiCiForecast && e.m_bForecastShown && e.m_arrForecast.GetSize() > 0 &&
      e.m_strKeySeq.GetLength() > 9)
    e.ZiCiForecastingReset(0);
  e.ShowChoiceList(r.pageKey, 0);
  return 1;
}

constexpr Step kCommonSteps[] = {
    CtrlPasses,    ResetKeys,        PassedKeys,        AltKeyClearsFlags,
    DirectOutput,  EscapeWithKeys,   NoteWildcard,      CapsLockWithAltRepeats,
    SelectionKeys, BackSpaceDeletes, KeyNameNoCodeUses, EnterKey,
};

template <size_t N>
int RunSteps(const Step (&steps)[N], CChnChars& e, typKeyRoad& r) {
  for (Step step : steps) {
    const int result = step(e, r);
    if (result != kGoOnWithKey) return result;
  }
  return kGoOnWithKey;
}

}  // namespace

int ChineseInputSteps(CChnChars& e, typKeyRoad& r) {
  if (cfgInputManager.InputMode != kChineseInput) return kGoOnWithKey;
  if (e.m_bChnNum || e.m_bChnNumFanTi) return e.ChnNumDigitStep(r.key, r.window);
  return RunSteps(kChineseSteps, e, r);
}

int CommonPathSteps(CChnChars& e, typKeyRoad& r) {
  const int result = RunSteps(kCommonSteps, e, r);
  return result == kGoOnWithKey ? 0 : result;
}
