// Keys pressed with Alt held (key message type 2): which Alt is down, the
// engine's hot keys with the right Alt (forecast, English, commands, the
// re-choice of the last commit, i-mode, number mode, V-mode, repeat), and
// keys with the left Alt, which go to the key translation as ordinary keys.
// The hot keys are a table of small handlers tried in order.
#include <cstring>

#include "engine/keys/KeyMessageSteps.h"

#include "engine/EngineHost.h"
#include "engine/FrameCommands.h"
#include "engine/PaneGlobals.h"
#include "engine/commit/CommitText.h"
#include "engine/internal/ChoiceHelpers.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"

// 双拼提示: 如想进入 i-英数模式,请按 Alt+[
static const char kShuangPinIModeTip[] =
    "\xCB\xAB\xC6\xB4\xCC\xE1\xCA\xBE: \xC8\xE7\xCF\xEB\xBD\xF8\xC8\xEB i-\xD3\xA2\xCA\xFD\xC4\xA3"
    "\xCA\xBD,\xC7\xEB\xB0\xB4 Alt+[";

namespace {

using namespace keymsg;

struct AltKey {
  unsigned long key;
  unsigned long flags;
  unsigned long focus;
  bool skipToTail;  // the hot keys have nothing more for this key
};
using HotKey = int (*)(CChnChars&, AltKey&);

// Here "the right Alt" is the last Alt that went down, not Alt_L.
bool RightAlt(const CChnChars& e) { return !e.m_bLeftAlt; }
bool ShuangPinInput() { return cfgInputManager.IsPinYinMethod() && cfgInputManager.ShuangPin; }
bool HotKeyAllowed(const CChnChars& e) { return RightAlt(e) && !e.m_bCtrl; }

int AltKeyItself(CChnChars& e, AltKey& a) {
  e.m_bAltAlone = 0;
  if (a.key != keysym::kAltL && a.key != keysym::kAltR) return kGoOnWithKey;
  e.m_bAltAlone = 1;
  e.m_bLeftAlt = a.key == keysym::kAltL ? 1 : 0;
  a.skipToTail = true;
  return kGoOnWithKey;
}

int Forecast(CChnChars& e, AltKey& a) {
  const bool p = a.key == 'P' && RightAlt(e);
  if (!ChnMode() || e.m_bCtrl || !(p || a.key == keysym::kF10) || !ForecastAvailable(e))
    return kGoOnWithKey;
  e.EnterForecast(a.focus, p ? 0 : 1);
  return 1;
}

int English(CChnChars& e, AltKey& a) {
  if (!HotKeyAllowed(e) || !(a.key == 'E' || (a.key == '[' && !ShuangPinInput())))
    return kGoOnWithKey;
  e.EnterAsEnglish(a.focus);
  return 1;
}

// ',' and 'V' run the main bar's own actions before the engine sees them.
int BarKeys(CChnChars& e, AltKey& a) {
  return HotKeyAllowed(e) && (a.key == ',' || a.key == ']' || a.key == 'V') ? 1 : kGoOnWithKey;
}

int Commands(CChnChars& e, AltKey& a) {
  IEngineHost& host = EngineHost();
  if (HotKeyAllowed(e) && a.key == 'A') {
    host.PostFrameCommand(framecmd::kAltA);
    return 1;
  }
  if (HotKeyAllowed(e) && (a.key == 'O' || a.key == '=')) {
    host.PostFrameCommand(ChnMode() && e.m_bIMode ? framecmd::kClearInput
                                                  : framecmd::kToggleInputMode);
    return 1;
  }
  if (RightAlt(e) && a.key == 'O') {
    host.PostFrameCommand(framecmd::kToggleInputMode);
    return 1;
  }
  return kGoOnWithKey;
}

int AltIIsReChoose(CChnChars& e, AltKey& a) {
  if (!RightAlt(e) || a.key != 'I') return kGoOnWithKey;
  if (ChnMode() && ShuangPinInput()) ShowTip(e, kShuangPinIModeTip);
  a.key = '-';
  a.skipToTail = true;  // on at the toggle key, past the edit-control test
  return kGoOnWithKey;
}

// The right-Alt keys that the hot keys after the edit-control test are for:
// the re-choice, the character picks (the grave accent picks the first) and
// ShuangPin's i-mode and number mode (the Alt+I tip sends the user to
// Alt+[). The main bar takes F, R and ';' before the engine sees them.
bool EngineRightAltKey(unsigned long key) {
  if (key == '-' || (key >= '1' && key <= '8') || key == keysym::kGrave) return true;
  return ShuangPinInput() && (key == '[' || key == 'U');
}

// A right-Alt key an XIM client should see: every key but the engine's own.
int NotForEngine(CChnChars& e, AltKey& a) {
  if (!RightAlt(e) || EngineHost().CommitTargetWindow()) return kGoOnWithKey;
  return EngineRightAltKey(a.key) ? kGoOnWithKey : 0;
}

constexpr HotKey kBeforeTarget[] = {Forecast, English,        BarKeys,
                                    Commands, AltIIsReChoose, NotForEngine};

int ToggleKey(CChnChars& e, AltKey& a) {
  if (a.key != '=' || (ChnMode() && !RightAlt(e))) return kGoOnWithKey;
  EngineHost().PostFrameCommand(framecmd::kToggleInputMode);
  return 1;
}

int ReChoose(CChnChars& e, AltKey& a) {
  if (!(a.key == '-' || (a.key == 'P' && RightAlt(e)))) return kGoOnWithKey;
  e.ReChooseLastCommit(a.focus);
  return 1;
}

int Translated(CChnChars& e, AltKey& a) {
  return e.TranslateChnKey(a.key, a.focus, a.flags) ? 1 : kGoOnWithKey;
}

int LeftAltKeyItself(CChnChars& e, AltKey& a) {
  if (a.key != keysym::kAltL && a.key != keysym::kAltR) return kGoOnWithKey;
  if (e.m_bLeftAlt && Translated(e, a) == 1) return 1;
  a.skipToTail = true;
  return kGoOnWithKey;
}

int PickCharOfCommit(CChnChars& e, AltKey& a) {
  if (!RightAlt(e) || !((a.key >= '1' && a.key <= '8') || a.key == keysym::kGrave))
    return kGoOnWithKey;
  if (Translated(e, a) == 1) return 1;
  a.skipToTail = true;
  return kGoOnWithKey;
}

int ShuangPinModes(CChnChars& e, AltKey& a) {
  if (!ShuangPinInput() || !RightAlt(e) || e.m_bShift) return kGoOnWithKey;
  if (a.key == '[' && !e.m_bIMode) {
    e.ResetChnInput(1, 0, 1);
    e.m_bIMode = 1;
    ShowTip(e, gI_ModeStr);
    return 1;
  }
  if (a.key == 'U') {
    e.ResetChnInput(1, 0, 1);
    e.SetChnNumMode();
    return 1;
  }
  return kGoOnWithKey;
}

int VMode(CChnChars& e, AltKey& a) {
  if (!RightAlt(e) || a.key != 'F' || e.m_bShift) return kGoOnWithKey;
  e.ResetChnInput(1, 0, 1);
  if (cfgInputManager.IsPinYinMethod() && e.TranslateChnKey('V', a.focus, a.flags)) return 1;
  a.skipToTail = true;
  return kGoOnWithKey;
}

int Repeat(CChnChars& e, AltKey& a) {
  if (!e.m_bAlt || !RightAlt(e) || (a.key != 'R' && a.key != ';')) return kGoOnWithKey;
  e.Repeatlastchnchar(a.focus);
  return 1;
}

bool LeftAltPasses(unsigned long key) {
  return IsNavigationKey(key) || key == keysym::kControlL || key == keysym::kControlR ||
         key == keysym::kPause || key == keysym::kNumLock || key == keysym::kScrollLock ||
         key == keysym::kEscape || key == keysym::kTab || key == keysym::kCancel ||
         (key >= keysym::kF1 && key <= keysym::kF24);
}

// With the left Alt held, keys are ordinary keys of Chinese input.
int LeftAltKeys(CChnChars& e, AltKey& a) {
  if (!e.m_bAlt || !e.m_bLeftAlt || LeftAltPasses(a.key)) return kGoOnWithKey;
  a.focus = EngineHost().MyGetFocus();
  return Translated(e, a);
}

constexpr HotKey kChineseHotKeys[] = {ReChoose, LeftAltKeyItself, PickCharOfCommit, ShuangPinModes,
                                      VMode,    Repeat,           LeftAltKeys};

// The right Alt pressed alone: the multi-row layout changes row; with more
// than two keys typed the press is the engine's.
int AltPressTail(CChnChars& e) {
  if (!e.m_bAltAlone || !RightAlt(e)) return 0;
  if (cfgInputManager.IsPinYinMethod() && extraMultiCandidatePanes > 0 &&
      cfgInputManager.PYSingleCharShowMultiRow) {
    if (cfgInputManager.PromptParallelSel == 1) {
      if (--currentPaneInMultiPanes < 0) currentPaneInMultiPanes = extraMultiCandidatePanes;
    } else if (++currentPaneInMultiPanes > extraMultiCandidatePanes) {
      currentPaneInMultiPanes = 0;
    }
    EngineHost().InvalidateRect_hwndInputPane2();
    return 1;
  }
  return e.m_strKeySeq.GetLength() > 2 ? 1 : 0;
}

template <size_t N>
int RunHotKeys(const HotKey (&keys)[N], CChnChars& e, AltKey& a) {
  for (HotKey hk : keys) {
    if (a.skipToTail) break;
    const int r = hk(e, a);
    if (r != kGoOnWithKey) return r;
  }
  return kGoOnWithKey;
}

}  // namespace

namespace keymsg {

int KeyWithAlt(CChnChars& e, unsigned long key, unsigned long flags, unsigned long focus) {
  AltKey a{key, flags, focus, false};
  AltKeyItself(e, a);
  int r = RunHotKeys(kBeforeTarget, e, a);
  if (r != kGoOnWithKey) return r;
  a.skipToTail = false;
  r = ToggleKey(e, a);
  if (r != kGoOnWithKey) return r;
  if (ChnMode() && focus) {
    e.m_nKeyFlags = static_cast<uint32_t>(flags >> 16) & 0xFFFF;
    a.flags = e.m_nKeyFlags;
    r = RunHotKeys(kChineseHotKeys, e, a);
    if (r != kGoOnWithKey) return r;
  }
  return AltPressTail(e);
}

}  // namespace keymsg

namespace {

constexpr int kLastListReSelState = 3;
constexpr int kFirstCharReSelState = 5;
constexpr int kLastCharReSelState = 8;

// A re-choice replaces what the client shows, so it becomes the last
// commit: repeating the last item, picking one of its characters and the
// learning when the cycle closes take it, not the item the cycle opened
// with (which the user has just rejected).
void FollowReChoice(CChnChars& e, const CString& text) {
  const int state = e.m_nReSelState;
  const int i = e.m_nReSelIndex;
  if (state >= 0 && state <= kLastListReSelState) {
    if (i >= 0 && i < e.m_arrReSelCands.GetSize())
      e.m_reSelItem = e.m_lastCommit = e.m_arrReSelCands[i];
  } else if (state >= kFirstCharReSelState && state <= kLastCharReSelState &&
             text.GetLength() == 2) {
    e.m_lastCommit =
        typCharFatFmt::Char(static_cast<uint8_t>(text[0]), static_cast<uint8_t>(text[1]));
    e.m_lastCommit.data[2] = 0;
    e.m_lastCommit.lianXianMark = 0;
  }
}

}  // namespace

void CChnChars::ReChooseLastCommit(unsigned long focus) {
  if (focus != m_hReSelWnd || m_nReSelState < 0) return;
  const int oldIndex = m_nReSelIndex;
  CString text;
  const int n = GetNextChoice(text);
  if (n == 0) return;
  FollowReChoice(*this, text);
  if (m_nZuCiMode && m_arrZuCiSegs.GetSize() > 0) {
    ReChooseZuCiSegment(text, oldIndex);
    return;
  }
  m_bKeepReSelection = 1;
  if (EngineHost().CommitTargetWindow()) {
    CString erased;
    for (int i = 0; i < n; ++i) erased += "\x08";
    text = erased + text;
  } else {
    SendBackSpacesToClient(*this, n);
  }
  SendChnChar2HwndDirect(focus, text, text.GetLength(), 0, 0);
  m_bKeepReSelection = 0;
}

void CChnChars::ReChooseZuCiSegment(const CString& text, int oldIndex) {
  const int seg = m_nZuCiCurSeg - 1;
  if (seg < 0 || seg >= m_arrZuCiSegs.GetSize()) return;
  m_arrZuCiSegs[seg].text = text;
  const int n = m_arrReSelCands.GetSize();
  if (m_nReSelState <= 3 && oldIndex >= 0 && oldIndex < n && m_nReSelIndex >= 0 &&
      m_nReSelIndex < n) {
    auto keyLen = [](const typCharFatFmt& c) {
      return c.score != 0 ? static_cast<int>(c.keyLen)
                          : static_cast<int>(strnlen(c.key, kFatKeyBytes));
    };
    const int d = keyLen(m_arrReSelCands[m_nReSelIndex]) - keyLen(m_arrReSelCands[oldIndex]);
    // The candidates count letters; the segment's end is a position in the
    // word's keys, where apostrophes count too: the new end lies after the
    // segment's letters and d more (or fewer), and the keys between the two
    // ends move between the segment and the keys after it.
    const int base = seg > 0 ? m_arrZuCiSegs[seg - 1].keyEnd : 0;
    const int oldEnd = m_arrZuCiSegs[seg].keyEnd;
    CString segKeys = m_strZuCiKeys.Mid(base, oldEnd - base);
    segKeys.Remove('\'');
    const int letters = segKeys.GetLength() + d;
    const int moved =
        d == 0 || letters <= 0
            ? 0
            : base + choicehelp::KeyPosAfterLetters(m_strZuCiKeys.Mid(base), letters) - oldEnd;
    if (moved > 0 && moved <= m_strKeySeq.GetLength()) {
      m_arrZuCiSegs[seg].keyEnd += moved;
      m_strKeySeq.DeleteLeft(moved);
    } else if (moved < 0) {
      m_arrZuCiSegs[seg].keyEnd += moved;
      m_strKeySeq = m_strZuCiKeys.Mid(m_arrZuCiSegs[seg].keyEnd, -moved) + m_strKeySeq;
    }
    if (moved != 0) {
      m_nInsertPt = static_cast<int16_t>(m_strKeySeq.GetLength());
      if (m_nZuCiCurSeg < m_arrZuCiSegs.GetSize())
        m_arrZuCiSegs[m_nZuCiCurSeg].keyEnd = m_strZuCiKeys.GetLength();
      ShowChoiceList(0, 1);
    }
  }
  EngineHost().SetKeyPane();
}

void CChnChars::EnterAsEnglish(unsigned long window) {
  CString s = m_strKeySeq;
  s.SpanExcluding(gszPingZeMa);
  s.SpanExcluding(gszBiHuaMa);
  if (s.IsEmpty()) return;
  SendChnChar2HwndDirect(window, s, s.GetLength(), 0, 0);
  ResetChnInput(0, 0, 1);
}
