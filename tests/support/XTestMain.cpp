// Main of the test binaries that talk to an X server: starts a private Xvfb,
// points DISPLAY at it for the whole binary, and stops it at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/TestPaths.h"
#include "tests/support/XvfbServer.h"

namespace kvrtest {
namespace {
XvfbServer* g_shared = nullptr;
}
XvfbServer* SharedXvfb() { return g_shared; }
}  // namespace kvrtest

// Xlib keeps some per-process tables (the locale converters' charset lists)
// for the life of the process; LeakSanitizer would report them as leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:_XlcAddCT\nleak:_XlcCreateLC\nleak:_XlcCreateLocaleDataBase\nleak:_XOpenLC\n";
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The distribution's Chinese font directory joins the font path when the
  // build has made it, so font sets in GBK and Big5 locales can be created.
  std::vector<std::string> args;
  std::string fontDir = kvrtest::DistDir() + "/fonts";
  std::string fontPath = "/usr/share/fonts/X11/misc,built-ins";
  if (access((fontDir + "/fonts.dir").c_str(), R_OK) == 0) fontPath = fontDir + "," + fontPath;
  args = {"-fp", fontPath};
  kvrtest::XvfbServer server;
  if (!server.Start(1280, 1024, args)) {
    std::fprintf(stderr, "cannot start Xvfb: %s\n", server.Error().c_str());
    return 1;
  }
  kvrtest::g_shared = &server;
  setenv("DISPLAY", server.DisplayName().c_str(), 1);
  int rc = RUN_ALL_TESTS();
  kvrtest::g_shared = nullptr;
  server.Stop();
  return rc;
}
