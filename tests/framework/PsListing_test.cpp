// The two readings of a ps listing: FindAppPid's command match in "ps -A"
// and IsFirstInstance's program-path match in "ps -x", on canned output.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "framework/internal/PsListing.h"
#include "tests/support/TestPaths.h"

TEST(PsListing, CommandNameMatchesOnlyAWholeWordInTheCommandColumn) {
  struct Case {
    const char* line;
    const char* name;
    int want;
  } const cases[] = {
      {"  PID TTY          TIME CMD\n", "kvr", 0},
      {" 4242 ?        00:00:01 kvr\n", "kvr", 4242},
      {" 4242 ?        00:00:01 kvr -x\n", "kvr", 4242},
      {" 4242 ?        00:00:01 kvr", "kvr", 4242},          // no line end
      {" 4242 ?        00:00:01 kvrsetup\n", "kvr", 0},      // longer word
      {" 4242 ?        00:00:01 /opt/kvr/bin\n", "kvr", 0},  // inside a path
      {" 4242 ?        00:00:01 fcitx\n", "kvr", 0},
      {" 1 ?        00:00:01 fcitx\n", "fcitx", 1},
      {"kvr 4242\n", "kvr", 0},                       // column 0
      {"  0 ?        00:00:00 fcitx\n", "fcitx", 0},  // pid 0
      {"  x ?        00:00:00 fcitx\n", "fcitx", 0},  // no pid
      {" 77 ?\t00:00:00\tfcitx\n", "fcitx", 77},      // TABs
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
  struct Case {
    const char* line;
    int ownPid;
    bool want;
  } const cases[] = {
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, true},
      {" 300 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, false},  // younger
      {" 200 pts/1    S      0:00 /usr/bin/Kivra/kvr\n", 200, false},  // ourselves
      {" 100 pts/1    S      0:00 /home/me/Kivra/kvr\n", 200, false},  // other copy
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr -x\n", 200, true},
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvr", 200, true},
      {" 100 pts/1    S      0:00 /usr/bin/Kivra/kvrsetup\n", 200, false},
      {" 100 pts/1    S      0:00 vim /usr/bin/Kivra/kvr.ini\n", 200, false},
      {" 100 pts/1    S      0:00 anjuta /usr/bin/Kivra/kvr\n", 200, false},
      {" 100 pts/1    S      0:00 x/usr/bin/Kivra/kvr\n", 200, false},   // not after a blank
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

namespace {

// A process of a made-up /proc: its pid, comm and NUL-separated command line.
struct FakeProcess {
  int pid;
  const char* comm;
  std::string cmdline;
};

void MakeFakeProc(const kvrtest::ScratchDir& root, const std::vector<FakeProcess>& procs) {
  mkdir(root.File("self").c_str(), 0777);  // not a pid: left out
  for (const FakeProcess& p : procs) {
    const std::string dir = root.File(std::to_string(p.pid));
    mkdir(dir.c_str(), 0777);
    std::ofstream(dir + "/comm") << p.comm << "\n";
    std::ofstream(dir + "/cmdline", std::ios::binary) << p.cmdline;
  }
}

std::string Args(std::initializer_list<const char*> args) {
  std::string s;
  for (const char* a : args) s += std::string(a) + '\0';
  return s;
}

// The first pid FindAppPid's rule finds in a listing.
int FirstNamed(const std::string& listing, const char* name) {
  int found = 0;
  afc::ForEachListingLine(listing, 5120, [&](const char* line) {
    found = afc::PsLineNamesApp(line, name);
    return found > 0;
  });
  return found;
}

bool AnyOlderCopy(const std::string& listing, const char* dir, int ownPid) {
  return afc::ForEachListingLine(listing, 2048, [&](const char* line) {
    return afc::PsLineIsOlderCopy(line, "kvr", dir, ownPid);
  });
}

}  // namespace

// The same processes listed by ps (canned) and read from a made-up /proc:
// every name and every older copy is found, or not, alike.
TEST(PsListing, ProcListingDecidesAsPsDoes) {
  kvrtest::ScratchDir proc;
  MakeFakeProc(proc, {{1, "systemd", Args({"/sbin/init"})},
                      {12, "kthreadd", ""},
                      {300, "fcitx5", Args({"fcitx5", "-d"})},
                      {77, "kvr", Args({"/usr/bin/Kivra/kvr"})},
                      {4242, "kvr", Args({"/usr/bin/Kivra/kvr", "-x"})},
                      {500, "vim", Args({"vim", "/usr/bin/Kivra/kvr.ini"})},
                      {900, "ibus-daemon", Args({"/usr/bin/ibus-daemon", "--xim"})}});
  const std::string psA =
      "    PID TTY          TIME CMD\n"
      "      1 ?        00:00:02 systemd\n"
      "     12 ?        00:00:00 kthreadd\n"
      "     77 pts/0    00:00:00 kvr\n"
      "    300 ?        00:00:01 fcitx5\n"
      "    500 pts/1    00:00:00 vim\n"
      "    900 ?        00:00:00 ibus-daemon\n"
      "   4242 pts/0    00:00:00 kvr\n";
  const std::string psX =
      "    PID TTY      STAT   TIME COMMAND\n"
      "      1 ?        Ss     0:02 /sbin/init\n"
      "     12 ?        S      0:00 [kthreadd]\n"
      "     77 pts/0    S      0:00 /usr/bin/Kivra/kvr\n"
      "    300 ?        Sl     0:01 fcitx5 -d\n"
      "    500 pts/1    S+     0:00 vim /usr/bin/Kivra/kvr.ini\n"
      "    900 ?        Ssl    0:00 /usr/bin/ibus-daemon --xim\n"
      "   4242 pts/0    S      0:00 /usr/bin/Kivra/kvr -x\n";
  const std::string all = afc::ProcListing(afc::PsColumns::kAll, proc.Path().c_str(), 0);
  const std::string mine = afc::ProcListing(afc::PsColumns::kMine, proc.Path().c_str(), getuid());
  for (const char* name :
       {"kvr", "fcitx5", "fcitx", "ibus-daemon", "ibus", "scim", "systemd", "kthreadd", "vim"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(FirstNamed(all, name), FirstNamed(psA, name));
  }
  EXPECT_EQ(FirstNamed(all, "kvr"), 77);
  struct Case {
    const char* dir;
    int ownPid;
    bool want;
  } const cases[] = {
      {"/usr/bin/Kivra/", 4242, true}, {"/usr/bin/Kivra/", 77, false},
      {"/usr/bin/Kivra/", 78, true},   {"/home/me/Kivra/", 9999, false},
      {"/usr/bin/", 9999, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dir) + " " + std::to_string(c.ownPid));
    EXPECT_EQ(AnyOlderCopy(mine, c.dir, c.ownPid), AnyOlderCopy(psX, c.dir, c.ownPid));
    EXPECT_EQ(AnyOlderCopy(mine, c.dir, c.ownPid), c.want);
  }
  // Another user's processes are not this user's copies.
  EXPECT_EQ(afc::ProcListing(afc::PsColumns::kMine, proc.Path().c_str(), getuid() + 1), "");
}

// On the real /proc this test process is listed under its name and its
// command line.
TEST(PsListing, RealProcListsThisProcess) {
  const std::string comm = [] {
    std::ifstream in("/proc/self/comm");
    std::string s;
    std::getline(in, s);
    return s;
  }();
  const std::string all = afc::ProcListing(afc::PsColumns::kAll, "/proc", 0);
  const std::string own = std::to_string(getpid());
  const std::string line = std::string(5 - std::min<size_t>(5, own.size()), ' ') + own +
                           " ?        00:00:00 " + comm + "\n";
  EXPECT_NE(all.find(line), std::string::npos) << line;
  const std::string mine = afc::ProcListing(afc::PsColumns::kMine, "/proc", geteuid());
  EXPECT_NE(mine.find(" ?        S      0:00 /"), std::string::npos);
  EXPECT_EQ(afc::ProcListing(afc::PsColumns::kAll, "/no/such/proc", 0), "");
}
