// The i-mode, the English sub-mode of pinyin input: the keys that enter
// and leave it (the 'I' key, Alt or Shift with Space, Escape), the 'U' key
// of the Chinese number mode, and the i-mode itself, which hands every key
// to the client as typed.
#include "engine/keys/KeyRoad.h"

#include "engine/EngineHost.h"
#include "framework/KeySyms.h"

// 已退出i-英数模式. 重进入中文状态.
static const char kIModeLeftTip[] =
    "\xD2\xD1\xCD\xCB\xB3\xF6i-\xD3\xA2\xCA\xFD\xC4\xA3\xCA\xBD. \xD6\xD8\xBD\xF8\xC8\xEB\xD6\xD0"
    "\xCE\xC4\xD7\xB4\xCC\xAC.";

namespace {

using namespace keyroad;

// The status tip's time-out after leaving the i-mode (the front end clears
// it when it has expired).
constexpr int kLeftTipCountdown = 40;

void ShowTip(CChnChars& e, const char* tip) {
  e.m_strTip = tip;
  EngineHost().ShowTipMsg(e.m_strTip);
}

void EnterIMode(CChnChars& e) {
  e.m_bIMode = 1;
  e.MakeCapHitEven(1, 0, 0);
  ShowTip(e, gI_ModeStr);
}

void LeaveIMode(CChnChars& e) {
  ShowTip(e, kIModeLeftTip);
  e.m_bIMode = 0;
  e.DoAfterSwitch2Chn();
}

int EscapeKey(CChnChars& e) {
  const bool wasIMode = e.m_bIMode != 0;
  e.ResetChnInput(0, 0, KeysTyped(e) ? 1 : 0);
  e.ForgetLastCommit();
  if (!wasIMode) return 0;
  ShowTip(e, kIModeLeftTip);
  e.m_nTipCountdown = kLeftTipCountdown;
  e.m_tTipTime = EngineHost().Time();
  e.m_bIMode = 0;
  e.DoAfterSwitch2Chn();
  return 1;
}

// The typed letters (before any tone or stroke key) as English text.
CString LettersForEnglish(const CString& keys) {
  CString s = keys;
  s.SpanExcluding(gszPingZeMa);
  s.SpanExcluding(gszBiHuaMa);
  return s;
}

int SpaceWithAltOrShift(CChnChars& e, unsigned long window) {
  if (e.m_bIMode) {
    LeaveIMode(e);
    if (e.m_bAlt) return 1;
    e.m_nTipCountdown = -1;
    return kGoOnWithKey;
  }
  if (!KeysTyped(e) || e.m_nZuCiMode) return kGoOnWithKey;
  CString& keys = e.m_strKeySeq;
  if (e.m_bAlt && keys.GetLength() > 1 && keys.GetLastChar() == '?') keys.DeleteRight(1);
  CString text = LettersForEnglish(keys);
  if (e.m_bShift) text += " ";
  e.SendChnChar2HwndDirect(window, text, text.GetLength(), 0, 0);
  e.ResetChnInput(0, 0, 1);
  EnterIMode(e);
  return 1;
}

}  // namespace

int CChnChars::IModeKeyStep(unsigned long key, unsigned long window) {
  const typInputSettings& cfg = cfgInputManager;
  const bool typed = KeysTyped(*this);
  if (!cfg.ShuangPin && !typed && key == 'U' && !m_bShift && !m_bAlt && !m_bIMode &&
      cfg.UseUKey4ChnNum) {
    SetChnNumMode();
    return 1;
  }
  if (key == keysym::kEscape) return EscapeKey(*this);
  if (key == keysym::kSpace && (m_bAlt || m_bShift)) {
    const int r = SpaceWithAltOrShift(*this, window);
    if (r != kGoOnWithKey) return r;
  } else if (!typed && key == 'I' && !cfg.ShuangPin && !m_bAlt && !m_bShift && !m_bIMode &&
             cfg.UseIKey4IMode) {
    EnterIMode(*this);
    return 1;
  }
  if (!m_bIMode) return kGoOnWithKey;
  if (LeftAlt(*this) && key != keysym::kAltL && key != keysym::kAltR) return kGoOnWithKey;
  ShowTip(*this, gI_ModeStr);
  return 0;
}

//  i-英数模式. 敲<跳出键>Esc可退回中文状态. 也可用Alt+<空格>或Shift+<空格>
const char gI_ModeStr[] =
    " i-\xD3\xA2\xCA\xFD\xC4\xA3\xCA\xBD. \xC7\xC3<\xCC\xF8\xB3\xF6\xBC\xFC>Esc\xBF\xC9\xCD\xCB"
    "\xBB\xD8\xD6\xD0\xCE\xC4\xD7\xB4\xCC\xAC. \xD2\xB2\xBF\xC9\xD3\xC3"
    "Alt+<\xBF\xD5\xB8\xF1>\xBB\xF2"
    "Shift+<\xBF\xD5\xB8\xF1>";
