// ForecastFixture.h: an engine whose only data is a forecast rule base (the
// fixture compiled from fixtures/forecast/rules.txt, or the shipped one),
// with helpers that feed the history and read the forecast as UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/forecast/ForecastSupport.h"
#include "tests/engine/LookupFixture.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/TestPaths.h"

namespace forecasttest {

using lookuptest::ToGbk;
using lookuptest::ToUtf8;
using V = std::vector<std::string>;

inline std::string FixtureFile() {
  return kvrtest::BinaryDir() + "/tests/engine/fixtures/forecast/fccdic.bin";
}
inline std::string ShippedFile() { return kvrtest::DistDir() + "/fccdic.bin"; }

inline std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

class Forecast : public ::testing::Test {
 protected:
  // Puts bytes as fccdic.bin into the engine's data directory and loads it.
  int LoadImage(const std::string& bytes) {
    std::ofstream(m_dir.File("fccdic.bin"), std::ios::binary) << bytes;
    return dictionary.LoadForecastDB();
  }
  void Begin(const std::string& file) {
    m_host.dataDir = m_dir.Path() + "/";
    m_host.focus = 77;
    SetEngineHost(&m_host);
    cfgInputManager = typInputSettings{};
    cfgInputManager.useZiCiForecast = 1;
    cfgInputManager.UseChnPunctMark = 1;
    dictionary.m_fwdEvent.connect_id = 3;
    dictionary.m_fwdEvent.icid = 4;
    ASSERT_EQ(LoadImage(ReadBytes(file)), 1) << file;
    Fresh();
  }
  void TearDown() override {
    dictionary.UnloadForecastDB();
    SetEngineHost(nullptr);
  }
  // No history, no forecast, no remembered rule.
  void Fresh() {
    dictionary.ZiCiForecastingReset(0);
    dictionary.m_nForecastMatchEnd = -1;
    dictionary.m_bForecastCommitting = 0;
    dictionary.m_strTip.Empty();
    m_host.calls.clear();
  }
  // A commit through the engine's commit path (history, then forecast).
  void Commit(const char* utf8) {
    const CString gbk = ToGbk(utf8);
    dictionary.SendChnChar2HwndDirect(0, gbk, gbk.GetLength(), 0, 0);
  }
  static V Forecasts() {
    V out;
    for (int i = 0; i < dictionary.m_arrForecast.GetSize(); ++i)
      out.push_back(ToUtf8(dictionary.m_arrForecast[i]));
    return out;
  }
  // Fires rule `rule` of group afresh on the whole of text.
  V Fire(const char* utf8, int group, int rule) {
    CString gbk = ToGbk(utf8);
    CStringArray out;
    dictionary.ForecastMatch(gbk.GetBuffer(gbk.GetLength()), 0, gbk.GetLength(), out, group, rule,
                             0);
    gbk.ReleaseBuffer();
    V v;
    for (int i = 0; i < out.GetSize(); ++i) v.push_back(ToUtf8(out[i]));
    return v;
  }

  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

}  // namespace forecasttest
