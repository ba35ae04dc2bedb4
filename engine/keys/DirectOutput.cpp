// Keys committed without the candidate lists: the direct output of one key
// as a character (with Shift, with the left Alt, or a pinyin non-letter on
// no keys), full-width and Chinese punctuation forms, the digits of the two
// Chinese number modes, the commit of one GBK character by value, and the
// repeat of the last commit.
#include "engine/keys/KeyRoad.h"

#include "engine/EngineHost.h"
#include "framework/KeySyms.h"

namespace {

using namespace keyroad;

// The numerals of the number modes by digit, index 10 the letter key 'O';
// GBK, lead byte high. The digit 0 gives ten, as the mode's own tip says.
constexpr unsigned short kChnNumCodes[11] = {0xCAAE, 0xD2BB, 0xB6FE, 0xC8FD, 0xCBC4, 0xCEE5,
                                             0xC1F9, 0xC6DF, 0xB0CB, 0xBEC5, 0xA3CF};
constexpr unsigned short kChnNumCodesFanTi[11] = {0xCAB0, 0xD2BC, 0xB7A1, 0xC8FE, 0xCBC1, 0xCEE9,
                                                  0xC2BD, 0xC6E2, 0xB0C6, 0xBEC1, 0xC1E3};

// " u-中数模式. 请敲数字键.字母 O 输 Ｏ；数字 0 输 十。" (GBK)
const char kChnNumTip[] =
    " u-\xD6\xD0\xCA\xFD\xC4\xA3\xCA\xBD. \xC7\xEB\xC7\xC3\xCA\xFD\xD7\xD6\xBC\xFC.\xD7\xD6"
    "\xC4\xB8 O \xCA\xE4 \xA3\xCF\xA3\xBB\xCA\xFD\xD7\xD6 0 \xCA\xE4 \xCA\xAE\xA1\xA3";

int NumIndex(unsigned long key) {
  if (key >= '0' && key <= '9') return static_cast<int>(key - '0');
  return key == 'O' ? 10 : -1;
}

}  // namespace

void CChnChars::ForgetLastCommit() {
  m_lastCommit.kind = kFatNone;
  m_lastCommit.lianXianMark = 0;
}

int CChnChars::InputDirectChnChar(unsigned long window, unsigned char lead, unsigned char trail) {
  const char bytes[3] = {static_cast<char>(lead), static_cast<char>(trail), 0};
  SendChnChar2HwndDirect(window, bytes, 2, 0, 0);
  ResetChnInput(1, 0, 1);
  return 1;
}

int CChnChars::InputDirectChnChar(unsigned long window, unsigned short code) {
  return InputDirectChnChar(window, static_cast<unsigned char>(code & 0xFF),
                            static_cast<unsigned char>(code >> 8));
}

void CChnChars::Repeatlastchnchar(unsigned long window) {
  if (m_lastCommit.kind < kFatNone) SendChnChar2Hwnd(window, m_lastCommit);
  ResetReSelectionData();
}

int CChnChars::ChnNumDigitStep(unsigned long key, unsigned long window) {
  const bool fanTi = !m_bChnNum;
  const int index = NumIndex(key);
  if (index >= 0 && !m_bShift && !m_bCtrl) {
    const unsigned short code = fanTi ? kChnNumCodesFanTi[index] : kChnNumCodes[index];
    // InputDirectChnChar takes memory order: lead byte low.
    return InputDirectChnChar(window, static_cast<unsigned short>((code >> 8) | (code << 8)));
  }
  if (fanTi)
    m_bChnNumFanTi = 0;
  else
    m_bChnNum = 0;
  ShowChnNumMode(0);
  return kGoOnWithKey;
}

int CChnChars::DirectOutputStep(unsigned long key, unsigned long window) {
  const typInputSettings& cfg = cfgInputManager;
  if (key == keysym::kCapsLock || key == keysym::kShiftL || key == keysym::kShiftR ||
      key == keysym::kSpace)
    return kGoOnWithKey;
  const char letterOrChar = static_cast<char>(MyMapVirtualKey(key, 1, 0));
  const bool pinyinNonLetter =
      cfgInputManager.IsPinYinMethod() && !KeysTyped(*this) && !IsLetter(letterOrChar);
  const bool noShapeCode =
      !KeysTyped(*this) && !m_nZuCiMode && ShapeCodeForeignKey(*this, letterOrChar);
  if (!LeftAlt(*this) && !m_bShift && !pinyinNonLetter && !noShapeCode) return kGoOnWithKey;
  int value = static_cast<unsigned char>(MyMapVirtualKey(key, m_bShift ? 0 : 1, 0));
  // A key without text (a function key, the Super key, a media key) has
  // nothing to output: it belongs to the client, and the input, the keys
  // typed and the last commit stay as they are.
  if (value == 0) return 0;

  ResetChnInput(0, 0, 1);
  ForgetLastCommit();
  int nBytes = 1;
  const bool plainLeftAlt = LeftAlt(*this) && !m_bShift && cfg.IsPinYinMethod() && cfg.StdPinYin;
  if ((cfg.FullSize || cfg.UseChnPunctMark) && !plainLeftAlt) {
    if (const int gb = EngChar2GB_Punctuation(static_cast<unsigned long>(value), -1)) {
      value = gb;
      nBytes = 2;
    }
  }
  if (nBytes == 1 && cfg.FullSize) {
    if (const int gb = EngChar2GB_Symbol(static_cast<unsigned long>(value))) {
      value = gb;
      nBytes = 2;
    }
  }
  // The tables keep a character as its bytes in memory order: the lead
  // byte is the low one.
  const typCharFatFmt chosen = nBytes == 2 ? typCharFatFmt::Char(static_cast<uint8_t>(value & 0xFF),
                                                                 static_cast<uint8_t>(value >> 8))
                                           : typCharFatFmt::Char(static_cast<uint8_t>(value), 0);
  return CommitChoice(window, chosen, nBytes, -1, 0, 0);
}

// Turns the Chinese number mode on or off; turning it on starts afresh.
// The tip says how the digits type while the mode is on, and goes when it
// is switched off.
int CChnChars::SetChnNumMode() {
  if (cfgInputManager.InputMode != kChineseInput) return 1;
  m_bChnNum = !m_bChnNum;
  if (m_bChnNum) {
    m_bChnNumFanTi = 0;
    ResetChnInput(1, 1, 1);
    ForgetLastCommit();
  }
  m_strTip = m_bChnNum ? kChnNumTip : "";
  EngineHost().ShowTipMsg(m_strTip);
  return 1;
}
