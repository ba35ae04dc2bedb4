// The English-letter record: letters typed in English input or the i-mode
// at most 999 ms apart (up to 16). Switching to Chinese input soon after
// arms an offer; a right-Alt click then erases the letters in the client
// and types them again as pinyin keys.
#include "engine/keys/KeyMessageSteps.h"

#include "engine/EngineHost.h"
#include "framework/KeySyms.h"

// 若刚才想输中文却输入了英文,请单点右Alt键。
static const char kCorrectionOfferTip[] =
    "\xC8\xF4\xB8\xD5\xB2\xC5\xCF\xEB\xCA\xE4\xD6\xD0\xCE\xC4\xC8\xB4\xCA\xE4\xC8\xEB\xC1\xCB\xD3"
    "\xA2\xCE\xC4,\xC7\xEB\xB5\xA5\xB5\xE3\xD3\xD2"
    "Alt\xBC\xFC\xA1\xA3";

namespace {

constexpr int kMaxEngLetters = 16;
constexpr uint32_t kLetterGapMs = 999;
constexpr uint32_t kOfferWindowMs = 5000;

}  // namespace

void CChnChars::DoEnglishKeyDown(unsigned long key) {
  const uint32_t t = EngineHost().GetMiliSecCount();
  const char letter = static_cast<char>(key & 0xFF);
  if (m_tmEngKey != 0 &&
      (t - m_tmEngKey > kLetterGapMs || m_strEngKeys.GetLength() >= kMaxEngLetters))
    m_strEngKeys.Empty();
  m_strEngKeys += letter;
  m_tmEngKey = t;
}

void CChnChars::ForgetEnglishLetters() {
  m_strEngKeys.Empty();
  m_tmEngKey = 0;
  m_bEngTipShown = 0;
}

bool CChnChars::KeepsEnglishLetters(unsigned long key) const {
  return key == keysym::kControlL || key == keysym::kControlR ||
         (key == keysym::kSpace && m_bCtrl) ||
         (key == keysym::kF12 && cfgInputManager.ChnEnglshSwitchKey == 0) ||
         (key == keysym::kEscape && m_bIMode) || (key == '=' && m_bAlt);
}

void CChnChars::DoAfterSwitch2Chn() {
  if (!keymsg::ChnMode()) return;
  IEngineHost& host = EngineHost();
  if (host.GetMiliSecCount() - m_tmEngKey >= kOfferWindowMs || m_strEngKeys.GetLength() < 2) return;
  host.MessageBeep();
  keymsg::ShowTip(*this, kCorrectionOfferTip);
  m_bEngTipShown = 1;
}

void CChnChars::CorrectEnglishLetters() {
  const int n = m_strEngKeys.GetLength();
  CString erase;
  for (int i = 0; i < n; ++i) erase += "\x08";
  SendChnChar2HwndDirect(EngineHost().MyGetFocus(), erase, n, 0, 0);
  ResetChnInput(0, 0, 1);
  m_strKeySeq = m_strEngKeys;
  m_strKeySeq.MakeLower();
  m_nInsertPt = static_cast<int16_t>(n);
  ForgetEnglishLetters();
  ShowChoiceList(0, 0);
}
