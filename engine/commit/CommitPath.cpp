// The one way out of the engine for text: forecast history, traditional
// (Big5) output and added spaces, then the edit control that is handing the
// engine its key, or else BackSpaces and an XIM commit to the client whose
// key was forwarded last; then the forecast.
//
// The record of the last forwarded key (m_fwdEvent) is only ever read
// here: BackSpaces and commits go out through copies of it, so the next
// key's handling still sees the key the client sent.
#include "engine/commit/CommitText.h"

#include <cstring>
#include <string>

#include "base/ChnChar.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/FwdEvent.h"

namespace {

// Bytes 0x08 at the start of a text stand for BackSpaces.
constexpr char kBackSpaceByte = 0x08;

bool IsGbkLead(unsigned char c) { return IsChnChar(c, 1, 0) != 0; }

unsigned short CharAt(const std::string& s, size_t i) {
  return static_cast<unsigned short>(static_cast<unsigned char>(s[i]) << 8 |
                                     static_cast<unsigned char>(s[i + 1]));
}

}  // namespace

// The text of the output options. A GBK lead byte that ends the text has
// lost its trail byte: half a character would reach the client as a broken
// multibyte string, so it is dropped.
std::string ConvertCommitText(CChnChars& e, const std::string& in, bool fanTi, bool addSpace) {
  std::string out;
  out.reserve(in.size() * 2);
  unsigned short prev1 = 0, prev2 = 0;
  const size_t n = in.size();
  for (size_t i = 0; i < n;) {
    const auto byte = static_cast<unsigned char>(in[i]);
    if (!IsGbkLead(byte)) {
      out += in[i];
      if (fanTi) {
        prev2 = prev1;
        prev1 = static_cast<unsigned short>(static_cast<int16_t>(static_cast<signed char>(in[i])));
      }
      ++i;
      continue;
    }
    if (i + 1 >= n) break;
    const unsigned short c = CharAt(in, i);
    if (fanTi) {
      const unsigned short next1 = i + 3 < n ? CharAt(in, i + 2) : 0;
      const unsigned short next2 = i + 5 < n ? CharAt(in, i + 4) : 0;
      const unsigned short b = e.Gbk2Big5(c, prev1, prev2, next1, next2);
      prev2 = prev1;
      prev1 = c;
      out += static_cast<char>(b >> 8);
      out += static_cast<char>(b & 0xFF);
    } else {
      out.append(in, i, 2);
    }
    if (addSpace && !CChnChars::IsChnAlphaNumeric(c)) out += ' ';
    i += 2;
  }
  return out;
}

int BlanksAddedTo(const CString& text) {
  if (!cfgInputManager.AddSpaceInOutput) return 0;
  const std::string s(text.GetString(), static_cast<size_t>(text.GetLength()));
  int blanks = 0;
  for (size_t i = 0; i < s.size();) {
    if (!IsGbkLead(static_cast<unsigned char>(s[i]))) {
      ++i;
      continue;
    }
    if (i + 1 >= s.size()) break;
    if (!CChnChars::IsChnAlphaNumeric(CharAt(s, i))) ++blanks;
    i += 2;
  }
  return blanks;
}

void SendBackSpacesToClient(CChnChars& e, int n) {
  IEngineHost& host = EngineHost();
  for (int i = 0; i < n; ++i) {
    // The saved record may hold any key, a release among them (the
    // right-Alt click that asks for the correction): send a press.
    typFwdEventView rec = e.m_fwdEvent;
    const uint32_t keycode = host.BackSpaceKeycode(rec);
    if (keycode == 0) return;
    rec.event.type = kKeyPressEvent;
    rec.event.keycode = keycode;
    rec.event.state &= ~kShiftCtrlAltMask;
    host.IMForwardEvent(rec);
  }
}

void CChnChars::SendChnChar2HwndDirect(unsigned long window, const char* text, int length, int,
                                       int) {
  if (!text || !text[0] || length <= 0) return;
  const typInputSettings& cfg = cfgInputManager;
  IEngineHost& host = EngineHost();
  // The text ends at its first NUL byte: every receiver reads a C string.
  const std::string original(text, strnlen(text, static_cast<size_t>(length)));
  if (cfg.useZiCiForecast) ZiCiForecastAddString(original.c_str());

  const std::string out =
      ConvertCommitText(*this, original, cfg.FanTi != 0, cfg.AddSpaceInOutput != 0);
  // The control keeps its commit-target mark until it clears it itself, so
  // every text of one key reaches the control that is handling that key.
  if (const unsigned long target = host.CommitTargetWindow()) {
    if (!out.empty()) host.SendTextToEditCtrl(target, out.c_str());
  } else {
    if (!window) window = host.MyGetFocus();
    if (!window) return;
    size_t k = 0;
    while (k < out.size() && out[k] == kBackSpaceByte) ++k;
    SendBackSpacesToClient(*this, static_cast<int>(k));
    if (k < out.size()) {
      typFwdEventView rec = m_fwdEvent;
      host.SendStrToClient(rec, out.c_str() + k);
    }
  }

  if (cfg.useZiCiForecast) {
    CStringArray shown;
    shown = m_arrForecast;
    if (!ZiCiForecasting(original.c_str()) && shown.GetSize() > 0) m_arrForecast = shown;
  }
}

void CChnChars::SendChnChar2Hwnd(unsigned long window, typCharFatFmt candidate) {
  CString text;
  FatFmt2NmlChar(candidate, text);
  SendChnChar2HwndDirect(window, text, text.GetLength(), 0, 0);
}
