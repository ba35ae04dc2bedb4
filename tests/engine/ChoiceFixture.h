// ChoiceFixture.h: an engine on the lookup fixture with helpers for the
// candidate display and selection tests: candidate lists built by hand,
// the pane columns and the recorded pane calls as UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/PaneGlobals.h"
#include "tests/engine/LookupFixture.h"

namespace choicetest {

using lookuptest::FatList;
using lookuptest::ToGbk;
using lookuptest::ToUtf8;

// The i-th GBK character of the rows B0.. (distinct for i below 8000).
inline typCharFatFmt NthChar(int i) {
  return typCharFatFmt::Char(static_cast<uint8_t>(0xB0 + i / 94),
                             static_cast<uint8_t>(0xA1 + i % 94));
}

inline std::string NthText(int i) { return lookuptest::Text(NthChar(i)); }

inline typCharFatFmt CharOf(const char* utf8, const char* key = "", int16_t score = 0) {
  const CString gbk = ToGbk(utf8);
  typCharFatFmt c = typCharFatFmt::Char(static_cast<uint8_t>(gbk[0]), static_cast<uint8_t>(gbk[1]));
  c.SetKey(key);
  c.score = score;
  return c;
}

// The settings s with the status tips on, shown on the status bar.
inline typInputSettings TipsOn(typInputSettings s) {
  s.ShowTip = s.ShowTipOnStatusbar = 1;
  return s;
}

inline std::vector<std::string> Column(int c) {
  std::vector<std::string> out;
  for (int i = 0; i < arrStrInputPane2[c].GetSize(); ++i)
    out.push_back(ToUtf8(arrStrInputPane2[c][i]));
  return out;
}

class Engine : public lookuptest::Engine {
 protected:
  void StartPinYin(typInputSettings s = lookuptest::PinYinSettings()) {
    Start(lookuptest::FixtureDir("lookup_dict"), s);
    Fresh();
  }
  void StartXingMa(typInputSettings s = lookuptest::XingMaSettings()) {
    Start(lookuptest::FixtureDir("lookup_dict"), s);
    Fresh();
  }
  // The engine is one global object: each test starts from idle input.
  void Fresh() {
    nRotate = 0;
    dictionary.ResetChnInput(1, 0, 1);
    dictionary.m_strTip.Empty();
    dictionary.m_nTipCountdown = 0;
    dictionary.m_arrChoices.RemoveAll();
    dictionary.m_arrSegChoices.RemoveAll();
    dictionary.m_bSegDisplay = dictionary.m_bChoicesFound = 0;
    dictionary.m_bAlt = dictionary.m_bCtrl = dictionary.m_bShift = 0;
    dictionary.m_szKeyText[0] = 0;
    dictionary.m_lastCommit = typCharFatFmt();
    dictionary.m_lastCommit.kind = kFatNone;
    m_host.calls.clear();
  }
  // Types keys as the key string with the insert point at the end.
  void Keys(const char* keys) {
    dictionary.m_strKeySeq = keys;
    dictionary.m_nInsertPt = static_cast<int16_t>(strlen(keys));
    dictionary.MakeBackCopyOfm_strKeySeq();
  }
  // A list of n distinct characters as the found candidates.
  void FoundChars(int n) {
    dictionary.m_arrChoices.RemoveAll();
    for (int i = 0; i < n; ++i) {
      typCharFatFmt c = NthChar(i);
      dictionary.m_arrChoices.Add(c);
    }
    dictionary.m_bChoicesFound = 1;
    dictionary.m_nSegOutcome = 0;
  }
  // The last recorded call starting with prefix, as UTF-8.
  std::string Last(const std::string& prefix) {
    const auto calls = m_host.Calls(prefix);
    return calls.empty() ? std::string("<none>") : ToUtf8(CString(calls.back().c_str()));
  }
};

}  // namespace choicetest
