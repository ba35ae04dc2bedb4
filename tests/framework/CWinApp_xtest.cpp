// Start-up through the framework's main, on a real program (AfcProbeApp):
// where it finds itself, the profile path, the locale table, refusing to
// run twice, ending on signals, and a display that cannot be opened.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/CWinApp.h"
#include "tests/support/TestPaths.h"

namespace {

struct ProbeRun {
  int status = -1;
  std::map<std::string, std::string> values;
  std::string out, err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Starts path with argv0 and extra environment; returns its pid. Output
// goes to outFile and errFile.
pid_t Start(const std::string& path, const std::string& argv0, const std::vector<std::string>& env,
            const std::string& outFile, const std::string& errFile) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen(outFile.c_str(), "w", stdout);
    std::freopen(errFile.c_str(), "w", stderr);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    for (const std::string& kv : env) putenv(strdup(kv.c_str()));
    execl(path.c_str(), argv0.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

ProbeRun RunProbe(const std::string& path, const std::string& argv0, std::vector<std::string> env,
                  const kvrtest::ScratchDir& scratch) {
  env.push_back("AFC_PROBE_OUT=" + scratch.File("cb"));
  if (std::find_if(env.begin(), env.end(), [](const std::string& s) {
        return s.rfind("AFC_PROBE_MODE=", 0) == 0;
      }) == env.end())
    env.push_back("AFC_PROBE_MODE=paths");
  const std::string out = scratch.File("out"), err = scratch.File("err");
  ProbeRun r;
  waitpid(Start(path, argv0, env, out, err), &r.status, 0);
  r.out = ReadAll(out);
  r.err = ReadAll(err);
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) r.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return r;
}

// A copy of the probe program in dir, under name.
std::string InstallProbe(const std::string& dir, const std::string& name) {
  mkdir(dir.c_str(), 0755);
  const std::string path = dir + "/" + name;
  std::string cmd = std::string("cp '") + AFC_PROBE_APP + "' '" + path + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  return path;
}

// A probe started in a mode of its own; its exit callback writes cb.
struct Running {
  pid_t pid;
  std::string cb, err;
};

Running StartProbe(const std::string& prog, const char* mode, const kvrtest::ScratchDir& scratch,
                   const std::string& tag) {
  Running r{0, scratch.File(tag + "_cb"), scratch.File(tag + "_err")};
  r.pid =
      Start(prog, prog, {"LANG=C", std::string("AFC_PROBE_MODE=") + mode, "AFC_PROBE_OUT=" + r.cb},
            scratch.File(tag + "_out"), r.err);
  return r;
}

int WaitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 2000; ++i) {
    if (access(path.c_str(), F_OK) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

TEST(StartUp, SymlinkFindsTheRealDirectoryAndNamesTheProfileAfterItself) {
  kvrtest::ScratchDir scratch;
  const std::string realDir = scratch.File("real"), linkDir = scratch.File("links");
  const std::string prog = InstallProbe(realDir, "kvrprobe");
  mkdir(linkDir.c_str(), 0755);
  ASSERT_EQ(symlink(prog.c_str(), (linkDir + "/other").c_str()), 0);

  ProbeRun direct = RunProbe(prog, prog, {"LANG=C"}, scratch);
  EXPECT_EQ(direct.status, 0);
  EXPECT_EQ(direct.values["prog"], "kvrprobe");
  EXPECT_EQ(direct.values["dir"], realDir + "/");
  EXPECT_EQ(direct.values["launch"], "kvrprobe");
  EXPECT_EQ(direct.values["profile"], realDir + "/kvrprobe.ini");
  EXPECT_EQ(direct.values["starting"], "1");
  EXPECT_EQ(direct.values["pid_ok"], "1");

  ProbeRun linked = RunProbe(linkDir + "/other", "other", {"LANG=C"}, scratch);
  EXPECT_EQ(linked.values["prog"], "kvrprobe");
  EXPECT_EQ(linked.values["dir"], realDir + "/");
  EXPECT_EQ(linked.values["launch"], "other");
  EXPECT_EQ(linked.values["profile"], realDir + "/other.ini");
}

TEST(StartUp, LocaleTable) {
  kvrtest::ScratchDir scratch;
  const std::string prog = InstallProbe(scratch.File("d"), "kvrprobe");
  struct Case {
    const char* lang;
    const char* wantLang;
    const char* wantLocale;
  } const cases[] = {
      {"zh_TW.Big5", "1001", "zh_TW.Big5"},     {"zh_CN.GB18030", "1000", "zh_CN.GB18030"},
      {"zh_CN.GB2312", "1000", "zh_CN.GB2312"}, {"zh_CN", "1000", "zh_CN"},
      {"zh_CN.GBK", "0", "zh_CN.GBK"},          {"zh_CN.UTF-8", "0", "zh_CN.UTF-8"},
      {"en_US.UTF-8", "0", "en_US.UTF-8"},      {"C", "0", "C"},
      {"xx_YY.NOPE", "1000", "zh_CN.gb18030"},  // unsupported: the fallback
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lang);
    ProbeRun r = RunProbe(prog, prog, {std::string("LANG=") + c.lang}, scratch);
    EXPECT_EQ(r.values["lang"], c.wantLang);
    EXPECT_EQ(r.values["locale"], c.wantLocale);
  }
  ProbeRun bad = RunProbe(prog, prog, {"LANG=xx_YY.NOPE"}, scratch);
  EXPECT_NE(bad.err.find("get locale error. \"xx_YY.NOPE\" not supported!"), std::string::npos)
      << bad.err;
}

TEST(StartUp, LocaleNamesToUILanguage) {
  struct Case {
    const char* name;
    int lang, gb2312, gb18030, big5;
  } const cases[] = {
      {"zh_CN", 1000, 1, 0, 0},
      {"ZH_cn.gb2312", 1000, 1, 0, 0},
      {"zh_CN.gb18030", 1000, 0, 1, 0},
      {"zh_TW.BIG5", 1001, 0, 0, 1},
      {"zh_TW", -1, 0, 0, 0},
      {"zh_CN.GBK", -1, 0, 0, 0},
      {"", -1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int a = -1, b = -1, d = -1;
    EXPECT_EQ(UILangOfLocale(c.name, &a, &b, &d), c.lang);
    EXPECT_EQ(a, c.gb2312);
    EXPECT_EQ(b, c.gb18030);
    EXPECT_EQ(d, c.big5);
  }
}

TEST(StartUp, ProfileValuesAndDefaults) {
  kvrtest::ScratchDir scratch;
  const std::string dir = scratch.File("d");
  const std::string prog = InstallProbe(dir, "kvrprobe");
  ProbeRun missing = RunProbe(prog, prog, {"LANG=C"}, scratch);
  EXPECT_EQ(missing.values["int_num"], "-7");
  EXPECT_EQ(missing.values["str_name"], "dflt");

  std::ofstream(dir + "/kvrprobe.ini") << "[Config]\nNum=42\nDigits=12abc\nEmpty=\nName=hello\n";
  ProbeRun r = RunProbe(prog, prog, {"LANG=C", "AFC_PROBE_WRITE=Written"}, scratch);
  EXPECT_EQ(r.values["int_num"], "42");
  EXPECT_EQ(r.values["int_digits"], "12");
  EXPECT_EQ(r.values["int_empty"], "-7");
  EXPECT_EQ(r.values["int_missing"], "-7");
  EXPECT_EQ(r.values["str_name"], "hello");
  EXPECT_EQ(r.values["str_empty"], "dflt");
  EXPECT_EQ(r.values["write"], "1");
  EXPECT_NE(ReadAll(dir + "/kvrprobe.ini").find("Written=-12"), std::string::npos);
}

TEST(StartUp, ResourceScriptPathFromTheShortName) {
  kvrtest::ScratchDir scratch;
  const std::string dir = scratch.File("d");
  const std::string prog = InstallProbe(dir, "kvrprobe");
  struct Case {
    const char* shortName;
    const char* want;
  } const cases[] = {
      {"Jux", "/Jux.rc"}, {"kvrsetup.rc", "/kvrsetup.rc"}, {"x.RC", "/x.RC.rc"}, {"", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shortName);
    ProbeRun r = RunProbe(prog, prog, {"LANG=C", std::string("AFC_PROBE_SHORTNAME=") + c.shortName},
                          scratch);
    if (c.want) {
      EXPECT_EQ(r.values["rc"], dir + c.want);
      EXPECT_EQ(r.values["saved"], "1");
    } else {
      EXPECT_EQ(r.values.count("rc"), 0u);
    }
  }
}

TEST(StartUp, AnOlderCopyInTheSameDirectoryMakesTheNewOneQuit) {
  kvrtest::ScratchDir scratch;
  const std::string progA = InstallProbe(scratch.File("a"), "kvrprobe");
  const std::string progB = InstallProbe(scratch.File("b"), "kvrprobe");
  const Running first = StartProbe(progA, "run", scratch, "first");
  ASSERT_TRUE(WaitForFile(first.cb + ".ready"));

  ProbeRun again = RunProbe(progA, progA, {"LANG=C"}, scratch);
  EXPECT_EQ(again.values["first"], "0");
  ProbeRun elsewhere = RunProbe(progB, progB, {"LANG=C"}, scratch);
  EXPECT_EQ(elsewhere.values["first"], "1");
  ProbeRun secondRun = RunProbe(progA, progA, {"LANG=C", "AFC_PROBE_MODE=run"}, scratch);
  EXPECT_NE(secondRun.out.find("second"), std::string::npos);
  EXPECT_EQ(secondRun.status, 0);

  kill(first.pid, SIGTERM);
  const int status = WaitStatus(first.pid);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAll(first.cb), "exit 15\n");
}

TEST(StartUp, HangUpEndsQuietlyWithTheExitCallback) {
  kvrtest::ScratchDir scratch;
  const std::string prog = InstallProbe(scratch.File("a"), "kvrprobe");
  const Running probe = StartProbe(prog, "run", scratch, "hup");
  ASSERT_TRUE(WaitForFile(probe.cb + ".ready"));
  kill(probe.pid, SIGHUP);
  const int status = WaitStatus(probe.pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAll(probe.cb), "exit 1\n");
  EXPECT_EQ(ReadAll(probe.err).find("Abnormal"), std::string::npos);
}

TEST(StartUp, ACrashIsNotAnOrderlyExit) {
  kvrtest::ScratchDir scratch;
  const std::string prog = InstallProbe(scratch.File("a"), "kvrprobe");
  const Running probe = StartProbe(prog, "segv", scratch, "segv");
  const int status = WaitStatus(probe.pid);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
  EXPECT_NE(access(probe.cb.c_str(), F_OK), 0);  // no exit callback: nothing to trust
  EXPECT_NE(ReadAll(probe.err).find("Exception 11"), std::string::npos);
}

TEST(StartUp, NoDisplayIsAClearFailure) {
  kvrtest::ScratchDir scratch;
  const std::string prog = InstallProbe(scratch.File("a"), "kvrprobe");
  ProbeRun r = RunProbe(prog, prog, {"LANG=C", "DISPLAY=:4999"}, scratch);
  ASSERT_TRUE(WIFEXITED(r.status));
  EXPECT_EQ(WEXITSTATUS(r.status), 1);
  EXPECT_NE(r.err.find("cannot open the X display \":4999\""), std::string::npos) << r.err;
}

TEST(StartUp, ExePathIsReadSafely) {
  char big[4096];
  const int n = GetExePathNFileName(big, sizeof big);
  ASSERT_GT(n, 0);
  EXPECT_EQ(big[0], '/');
  char tiny[4];
  EXPECT_EQ(GetExePathNFileName(tiny, sizeof tiny), 0);  // would be cut: refused
  EXPECT_STREQ(tiny, "");
  EXPECT_EQ(GetExePathNFileName(tiny, 0), 0);
}
