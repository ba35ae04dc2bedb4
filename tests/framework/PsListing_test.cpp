// The two readings of a ps listing: FindAppPid's command match in "ps -A"
// and IsFirstInstance's program-path match in "ps -x", on canned output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/internal/PsListing.h"

TEST(PsListing, CommandNameMatchesOnlyAWholeWordInTheCommandColumn) {
  struct Case { const char* line; const char* name; int want; } const cases[] = {
      {"  PID TTY          TIME CMD\n", "kvr", 0},
      {" 4242 ?        00:00:01 kvr\n", "kvr", 4242},
      {" 4242 ?        00:00:01 kvr -x\n", "kvr", 4242},
      {" 4242 ?        00:00:01 kvr", "kvr", 4242},                     // no line end
      {" 4242 ?        00:00:01 kvrsetup\n", "kvr", 0},                 // longer word
      {" 4242 ?        00:00:01 /opt/kvr/bin\n", "kvr", 0},             // inside a path
      {" 4242 ?        00:00:01 fcitx\n", "kvr", 0},
      {" 1 ?        00:00:01 fcitx\n", "fcitx", 1},
      {"kvr 4242\n", "kvr", 0},                                          // column 0
      {"  0 ?        00:00:00 fcitx\n", "fcitx", 0},                     // pid 0
      {"  x ?        00:00:00 fcitx\n", "fcitx", 0},                     // no pid
      {" 77 ?\t00:00:00\tfcitx\n", "fcitx", 77},                         // TABs
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(afc::PsLineNamesApp(c.line, c.name), c.want);
  }
}

TEST(PsListing, CommandColumnBeyond99DoesNotCount) {
  std::string line = " 4242 " + std::string(100, ' ') + "kvr\n";
  EXPECT_EQ(afc::PsLineNamesApp(line.c_str(), "kvr"), 0);
  line = " 4242 " + std::string(80, ' ') + "kvr\n";
  EXPECT_EQ(afc::PsLineNamesApp(line.c_str(), "kvr"), 4242);
}

TEST(PsListing, OlderCopyNeedsSameDirectoryLowerPidAndNoAnjuta) {
  const char* dir = "/usr/bin/Kivra/";
  struct Case { const char* line; int ownPid; bool want; } const cases[] = {
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, true},
      {" 300 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, false},  // younger
      {" 200 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, false},  // ourselves
      {" 100 pts/1    S      0:00 /home/me/Kivra/kvr\n", 200, false},  // other copy
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr -x\n", 200, true},
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr", 200, true},
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvrsetup\n", 200, false},
      {" 100 pts/1    S      0:00 vim /usr/bin/Kivra/kvr.ini\n", 200, false},
      {" 100 pts/1    S      0:00 anjuta /usr/bin/Kivra/kvr\n", 200, false},
      {" 100 pts/1    S      0:00 x/usr/bin/Kivra/kvr\n", 200, false},  // not after a blank
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/other\n", 200, false},  // name missing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(afc::PsLineIsOlderCopy(c.line, "kvr", dir, c.ownPid), c.want);
  }
}

TEST(PsListing, LinesArriveInPiecesAndTheWalkStopsEarly) {
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  std::fputs("first\n0123456789abcdef\nthird\nfourth\n", f);
  std::rewind(f);
  std::vector<std::string> seen;
  const bool stopped = afc::ForEachPsLine(f, 8, [&](const char* piece) {
    seen.push_back(piece);
    return seen.back() == "third\n";
  });
  std::fclose(f);
  EXPECT_TRUE(stopped);
  const std::vector<std::string> want = {"first\n", "0123456", "789abcd", "ef\n", "third\n"};
  EXPECT_EQ(seen, want);
}
