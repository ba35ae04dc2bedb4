// DialogEngine.h: the engine as the word search and character order
// dialogs meet it in the tests: started on a private copy of the word
// search fixture (fixtures/word_search_dict) with the fixture's forecast
// rules (fixtures/word_search_rules) as fccdic.bin, full pinyin, forecasting
// on, bound to a recording host.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "tests/engine/EngineStart.h"
#include "tests/engine/LookupFixture.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/TestPaths.h"

namespace dialogtest {

using lookuptest::ToGbk;
using lookuptest::ToUtf8;

inline std::string FixtureDir(const char* name) {
  return kvrtest::BinaryDir() + "/tests/frontend/fixtures/" + name;
}

// Starts the engine on a copy of the fixture in dir with settings; false
// when the copy failed.
inline bool StartDialogEngine(kvrtest::ScratchDir& dir, RecordingHost& host,
                              typInputSettings settings) {
  if (!enginetest::CopyRegularFiles(FixtureDir("word_search_dict"), dir.Path()) ||
      !enginetest::CopyRegularFiles(FixtureDir("word_search_rules"), dir.Path()))
    return false;
  host.dataDir = dir.Path() + "/";
  settings.useZiCiForecast = 1;
  enginetest::StartEngine(host, settings);
  dictionary.ForecastDBLoadUnload();
  return true;
}

inline void StopDialogEngine() {
  dictionary.CloseDictionary();
  SetEngineHost(nullptr);
}

}  // namespace dialogtest
