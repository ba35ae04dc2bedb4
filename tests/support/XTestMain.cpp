// Main of the test binaries that talk to an X server: starts a private Xvfb,
// points DISPLAY at it for the whole binary, and stops it at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/XvfbServer.h"

namespace kvrtest {
namespace {
XvfbServer* g_shared = nullptr;
}
XvfbServer* SharedXvfb() { return g_shared; }
}  // namespace kvrtest

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  kvrtest::XvfbServer server;
  if (!server.Start()) {
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
