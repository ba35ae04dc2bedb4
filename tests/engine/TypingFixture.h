// TypingFixture.h: an engine on the lookup fixture that is fed key messages
// as the main bar feeds them (key record, then ProcessKeyMsg), with a focus
// window and a forwarded-key record for the XIM client.
#pragma once

#include <cctype>
#include <cstring>

#include "engine/KeySyms.h"
#include "tests/engine/ChoiceFixture.h"

namespace typingtest {

enum Mods { kNone = 0, kShift = 1, kCtrl = 2, kLeftAlt = 4, kRightAlt = 8 };
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
  void Record(unsigned long key, const char* text, int mods) {
    dictionary.m_bShift = (mods & kShift) != 0;
    dictionary.m_bCtrl = (mods & kCtrl) != 0;
    dictionary.m_bAlt = (mods & (kLeftAlt | kRightAlt)) != 0;
    if (mods & kLeftAlt) dictionary.m_bLeftAlt = 1;
    if (mods & kRightAlt) dictionary.m_bLeftAlt = 0;
    char t[2] = {0, 0};
    if (!text && key < 0x80) {
      t[0] = static_cast<char>(isalpha(static_cast<int>(key)) && !(mods & kShift)
                                   ? tolower(static_cast<int>(key))
                                   : static_cast<int>(key));
      text = t;
    }
    snprintf(dictionary.m_szKeyText, sizeof dictionary.m_szKeyText, "%s", text ? text : "");
  }
  // A press as the main bar hands it over (type 2 with Alt, else 3).
  int Press(unsigned long key, int mods = kNone, const char* text = nullptr,
            unsigned long flags = 0) {
    Record(key, text, mods);
    return dictionary.ProcessKeyMsg(dictionary.m_bAlt ? 2 : 3, key, flags);
  }
  int Release(unsigned long key, int mods = kNone) {
    Record(key, "", mods);
    return dictionary.ProcessKeyMsg(4, key, 0);
  }
  // The right Alt clicked alone: its press (type 2) and release (type 1).
  int RightAltClick() {
    Press(keysym::kAltR, kRightAlt, "");
    Record(keysym::kAltR, "", kNone);
    return dictionary.ProcessKeyMsg(1, keysym::kAltR, 0);
  }
  void Type(const char* keys) {
    for (const char* p = keys; *p; ++p)
      Press(isalpha(static_cast<unsigned char>(*p)) ? toupper(static_cast<unsigned char>(*p))
                                                    : static_cast<unsigned char>(*p));
  }
  std::string Keys() const { return std::string(dictionary.m_strKeySeq); }
  std::vector<std::string> Commits() {
    std::vector<std::string> out;
    for (const std::string& c : m_host.Calls("commit ")) out.push_back(lookuptest::ToUtf8(CString(c.c_str())));
    for (const std::string& c : m_host.Calls("edit ")) out.push_back(lookuptest::ToUtf8(CString(c.c_str())));
    return out;
  }
};

}  // namespace typingtest
