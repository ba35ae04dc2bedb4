// TypingFixture.h: an engine on the lookup fixture that is fed key messages
// as the main bar feeds them (tests/engine/KeyFeed.h), with a focus window
// and a forwarded-key record for the XIM client.
#pragma once

#include <cstring>

#include "framework/KeySyms.h"
#include "tests/engine/ChoiceFixture.h"
#include "tests/engine/KeyFeed.h"

namespace typingtest {

using keyfeed::kCtrl;
using keyfeed::kLeftAlt;
using keyfeed::kNone;
using keyfeed::kRightAlt;
using keyfeed::kShift;
using keyfeed::Mods;
constexpr unsigned long kFocus = 77;

class Typing : public choicetest::Engine {
 protected:
  void Begin(typInputSettings s) {
    Start(lookuptest::FixtureDir("lookup_dict"), s);
    Fresh();
    m_host.focus = kFocus;
    memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
    dictionary.m_fwdEvent.connect_id = 3;
    dictionary.m_fwdEvent.icid = 4;
    dictionary.m_fwdEvent.event.type = 3;  // a release: BackSpaces must still be presses
    dictionary.m_fwdEvent.event.keycode = 108;
    dictionary.m_fwdEvent.event.state = 0x0D;
    m_host.backSpaceKeycode = 59;
    dictionary.m_bLeftAlt = 0;
    dictionary.m_bAltAlone = 0;
    dictionary.m_bChnNum = dictionary.m_bChnNumFanTi = 0;
    dictionary.ForgetEnglishLetters();
  }
  void Record(unsigned long key, const char* text, int mods) { keyfeed::Record(key, text, mods); }
  int Press(unsigned long key, int mods = kNone, const char* text = nullptr,
            unsigned long flags = 0) {
    return keyfeed::Press(key, mods, text, flags);
  }
  int Release(unsigned long key, int mods = kNone) { return keyfeed::Release(key, mods); }
  int RightAltClick() { return keyfeed::RightAltClick(); }
  void Type(const char* keys) { keyfeed::Type(keys); }
  std::string Keys() const { return std::string(dictionary.m_strKeySeq); }
  std::vector<std::string> Commits() {
    std::vector<std::string> out;
    for (const std::string& c : m_host.Calls("commit "))
      out.push_back(lookuptest::ToUtf8(CString(c.c_str())));
    for (const std::string& c : m_host.Calls("edit "))
      out.push_back(lookuptest::ToUtf8(CString(c.c_str())));
    return out;
  }
};

}  // namespace typingtest
