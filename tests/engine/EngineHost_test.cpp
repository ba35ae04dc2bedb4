#include <gtest/gtest.h>

#include <ctime>

#include "engine/EngineHost.h"
#include "tests/engine/RecordingHost.h"

TEST(EngineHost, SilentUntilBoundAndAfterUnbinding) {
  SetEngineHost(nullptr);
  IEngineHost& silent = EngineHost();
  EXPECT_STREQ(silent.DataDir(), "./");
  EXPECT_EQ(silent.CommitTargetWindow(), 0u);
  const uint32_t now = static_cast<uint32_t>(time(nullptr));
  EXPECT_LE(silent.Time() - now, 1u);
  EXPECT_EQ(EngineMsgBox("x", 1, 1), 1);

  RecordingHost host;
  SetEngineHost(&host);
  EXPECT_EQ(&EngineHost(), &host);
  EXPECT_EQ(EngineMsgBox("Error%d: Cannot open file[%s]!", 1, 0, 131, "a.tmp"), 1);
  EngineDiag("Cannot load file:%s!!!(%d)", "x.idx", 104);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"msgbox 1 Error131: Cannot open file[a.tmp]!",
                                                  "diag Cannot load file:x.idx!!!(104)"}));
  SetEngineHost(nullptr);
  EXPECT_EQ(&EngineHost(), &silent);
}

TEST(EngineHost, LongDiagnosticsAreCutNotOverrun) {
  RecordingHost host;
  SetEngineHost(&host);
  const std::string path(2000, 'p');
  EngineDiag("Cannot load file:%s", path.c_str());
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].size(), std::string("diag ").size() + 511);
  SetEngineHost(nullptr);
}
