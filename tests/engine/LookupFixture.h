// LookupFixture.h: an engine started on a private copy of a dictionary
// directory (a fixture the data generator built from text, or the shipped
// data), with the settings a test chooses, and helpers that show
// candidates as UTF-8 text so that expectations read as the user sees
// them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "framework/SysUtil.h"
#include "tests/engine/EngineStart.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/TestPaths.h"

namespace lookuptest {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

using enginetest::PinYinSettings;

// Shape code with every character kept whatever its usage rank (the
// fixture's ranks are the generator's).
inline typInputSettings XingMaSettings() {
  typInputSettings c = PinYinSettings();
  c.InputMthd = kXingMa;
  c.ExcludeLevel = 10000;
  return c;
}

inline std::string ToUtf8(const CString& gbk) {
  CString copy = gbk;
  return std::string(GBKToUtf8(copy.GetBuffer(copy.GetLength()), nullptr, nullptr).GetString());
}

inline CString ToGbk(const std::string& utf8) {
  std::string copy = utf8;
  return Utf8ToGBK(copy.data(), nullptr, nullptr);
}

// The text of a candidate in UTF-8.
inline std::string Text(const typCharFatFmt& c) {
  CString gbk;
  FatFmt2NmlChar(c, gbk);
  return ToUtf8(gbk);
}

inline std::vector<std::string> Texts(const FatList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.GetSize(); ++i) out.push_back(Text(list[i]));
  return out;
}

inline bool Contains(const std::vector<std::string>& v, const std::string& s) {
  for (const std::string& x : v)
    if (x == s) return true;
  return false;
}

// One engine per test on its own copy of a dictionary directory.
class Engine : public ::testing::Test {
 protected:
  void Start(const std::string& dataDir, const typInputSettings& settings) {
    ASSERT_TRUE(enginetest::CopyRegularFiles(dataDir, m_dir.Path())) << dataDir;
    m_host.dataDir = m_dir.Path() + "/";
    enginetest::StartEngine(m_host, settings);
  }
  void TearDown() override {
    dictionary.CloseDictionary();
    SetEngineHost(nullptr);
  }
  // Switches the input method, loading its phrase index as a method
  // change does.
  void UseMethod(int method) {
    cfgInputManager.InputMthd = method;
    dictionary.ReLoadCizuDics(0);
  }
  std::vector<std::string> Lookup(const char* keys, int* result = nullptr) {
    FatList out;
    dictionary.m_strKeySeq = keys;
    const int r = dictionary.Lookup0(keys, out, 0, 0, 0);
    if (result) *result = r;
    return Texts(out);
  }
  std::string Path(const char* name) const { return m_dir.File(name); }

  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

inline std::string FixtureDir(const char* name) {
  return kvrtest::BinaryDir() + "/tests/engine/fixtures/" + name;
}

}  // namespace lookuptest
