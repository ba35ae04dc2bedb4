// The system utilities: browser search and launch under a staged root, the
// distribution probe, file helpers, iconv round trips, finding a process.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "framework/SysUtil.h"
#include "framework/internal/PlatformRoot.h"
#include "tests/support/TestPaths.h"

namespace {

void WriteFile(const std::string& path, const std::string& data, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << data;
  chmod(path.c_str(), mode);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void MakeDirs(const std::string& path) {
  std::string cmd = "mkdir -p '" + path + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
}

// Points the platform root at a scratch tree for one test.
class StagedRoot {
 public:
  StagedRoot() { m_old = afc::SetPlatformRootForTest(m_dir.Path()); }
  ~StagedRoot() { afc::SetPlatformRootForTest(m_old); }
  std::string Path(const std::string& abs) const { return m_dir.Path() + abs; }
  void Add(const std::string& abs, mode_t mode = 0644, const std::string& data = "") {
    const std::string full = Path(abs);
    MakeDirs(full.substr(0, full.rfind('/')));
    WriteFile(full, data, mode);
  }

 private:
  kvrtest::ScratchDir m_dir;
  std::string m_old;
};

// "zhong wen" (two characters) in GBK and in UTF-8.
const char kGbkZhongWen[] = "\xD6\xD0\xCE\xC4";
const char kUtf8ZhongWen[] = "\xE4\xB8\xAD\xE6\x96\x87";

}  // namespace

TEST(SysUtil, BrowserSearchFollowsTheFixedOrder) {
  {
    StagedRoot root;
    EXPECT_STREQ(FindInstalledWebBrowser(), "");
    root.Add("/usr/bin/netscape", 0755);
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/bin/netscape"));
    root.Add("/usr/bin/firefox", 0644);  // not executable: skipped
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/bin/netscape"));
    root.Add("/usr/local/bin/konqueror", 0755);  // /usr/bin/ comes first
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/bin/netscape"));
    root.Add("/usr/bin/konqueror", 0755);
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/bin/konqueror"));
    root.Add("/usr/netscape/netscape", 0755);  // fixed paths before the directories
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/netscape/netscape"));
    root.Add("/usr/local/mozilla/mozilla", 0755);
    EXPECT_EQ(std::string(FindInstalledWebBrowser()), root.Path("/usr/local/mozilla/mozilla"));
  }
}

TEST(SysUtil, OpenHtmlRunsTheBrowserDirectlyOnAnAwkwardPath) {
  StagedRoot root;
  kvrtest::ScratchDir out;
  const std::string record = out.File("argv.txt");
  // The fake browser records each argument on a line of its own.
  root.Add("/usr/bin/firefox", 0755,
           "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record +
               ".tmp'\n"
               "mv '" +
               record + ".tmp' '" + record + "'\n");
  std::string guide = out.File("my guide; $(touch pwned) 'x'.html");
  OpenHtml(guide.data());
  for (int i = 0; i < 1000 && access(record.c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadAll(record), guide + "\n");
  EXPECT_NE(access("pwned", F_OK), 0);
  // The child was reaped: no zombie of ours remains.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(SysUtil, OpenHtmlWithoutBrowserStartsNothing) {
  StagedRoot root;
  char file[] = "/tmp/none.html";
  OpenHtml(file);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);  // no child was made
}

TEST(SysUtil, DistributionProbeTakesTheFirstRuleInTableOrder) {
  struct Case {
    std::vector<const char*> files;
    int want;
  } const cases[] = {
      {{}, kSysUnknown},
      {{"/etc/debian_version"}, kSysDebian},
      {{"/etc/fedora-release", "/etc/redhat-release"}, kSysRedHat},
      {{"/etc/redhat-release", "/etc/redflag_version"}, kSysRedFlag},
      {{"/etc/release", "/etc/gentoo-release"}, kSysGentoo},
      {{"/etc/yellowdog"}, kSysYellowDog},
      {{"/etc/sun-release", "/etc/release"}, kSysSun},
      {{"/etc/SuSE_version"}, kSysSuSE},
      {{"/etc/mandrake-release"}, kSysMandrake},
      {{"/etc/slackware_version"}, kSysSlackware},
  };
  for (const Case& c : cases) {
    StagedRoot root;
    for (const char* f : c.files) root.Add(f);
    SCOPED_TRACE(c.want);
    EXPECT_EQ(GetSysType(), c.want);
  }
}

TEST(SysUtil, CopyFileHonoursFailIfExistsAndLeavesTheTargetOnFailure) {
  kvrtest::ScratchDir dir;
  const std::string a = dir.File("a"), b = dir.File("b");
  std::string big(20000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  WriteFile(a, big);
  WriteFile(b, "old");
  EXPECT_EQ(CopyFile(a.c_str(), b.c_str(), 1), 0);
  EXPECT_EQ(ReadAll(b), "old");
  EXPECT_EQ(CopyFile(a.c_str(), b.c_str(), 0), 1);
  EXPECT_EQ(ReadAll(b), big);
  EXPECT_EQ(CopyFile(dir.File("missing").c_str(), b.c_str(), 0), 0);
  EXPECT_EQ(ReadAll(b), big);
  EXPECT_EQ(CopyFile(a.c_str(), dir.File("no/such/dir/c").c_str(), 0), 0);
}

TEST(SysUtil, FileHelpers) {
  kvrtest::ScratchDir dir;
  std::string f = dir.File("f");
  WriteFile(f, std::string("ab\0cd", 5), 0444);
  EXPECT_EQ(GetFileSize(f.data()), 5);
  EXPECT_STREQ(ReadFileToStr(f.data()), "ab");
  std::string missing = dir.File("missing");
  EXPECT_EQ(GetFileSize(missing.data()), -1);
  EXPECT_STREQ(ReadFileToStr(missing.data()), "");
  EXPECT_EQ(RemoveFileReadonlyAndHidden(f.c_str(), 0, 0), 0);
  struct stat st {};
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0777u);
  EXPECT_EQ(MakeFileReadonlyAndHidden(f.c_str(), 0, 0), 0);
  EXPECT_EQ(MakeFileReadonlyAndHidden(f.c_str(), 1, 0), 1);
  EXPECT_EQ(ForceRemoveFile(f.c_str()), 0);
  EXPECT_NE(access(f.c_str(), F_OK), 0);
  EXPECT_EQ(ForceRemoveFile(f.c_str()), -1);
}

TEST(SysUtil, GbkUtf8RoundTrip) {
  std::string gbk = std::string("ab ") + kGbkZhongWen + "!";
  long len = 0;
  CString utf8 = GBKToUtf8(gbk.data(), nullptr, &len);
  EXPECT_EQ(std::string(utf8), std::string("ab ") + kUtf8ZhongWen + "!");
  EXPECT_EQ(len, utf8.GetLength());
  CString back = Utf8ToGBK(const_cast<char*>(static_cast<const char*>(utf8)), nullptr, &len);
  EXPECT_EQ(std::string(back), gbk);
}

TEST(SysUtil, LongChineseTextIsNotCut) {
  std::string gbk;
  for (int i = 0; i < 500; ++i) gbk += kGbkZhongWen;  // 1000 characters
  CString utf8 = GBKToUtf8(gbk.data(), nullptr, nullptr);
  EXPECT_EQ(utf8.GetLength(), 3000);
  CString back = Utf8ToGBK(const_cast<char*>(static_cast<const char*>(utf8)), nullptr, nullptr);
  EXPECT_EQ(std::string(back), gbk);
}

TEST(SysUtil, ConversionStopsAtTheFirstBadSequence) {
  struct Case {
    bool toUtf8;
    std::string in, want;
  } const cases[] = {
      {true, std::string("ab\xD6"), "ab"},  // cut lead byte
      {true,
       std::string("ab\xFF\xFF"
                   "cd"),
       "ab"},  // invalid
      {false,
       std::string("ab\xF0\x9F\x98\x80"
                   "cd"),
       "ab"},                                  // emoji, not in GBK
      {false, std::string("x\xE4\xB8"), "x"},  // cut sequence
      {false, std::string(""), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    std::string in = c.in;
    CString out =
        c.toUtf8 ? GBKToUtf8(in.data(), nullptr, nullptr) : Utf8ToGBK(in.data(), nullptr, nullptr);
    EXPECT_EQ(std::string(out), c.want);
  }
}

TEST(SysUtil, ConversionIntoACallerBuffer) {
  std::string gbk = kGbkZhongWen;
  char* out = nullptr;
  long len = -1;
  CString ret = GBKToUtf8(gbk.data(), &out, &len);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(ret, "");
  EXPECT_STREQ(out, kUtf8ZhongWen);
  EXPECT_EQ(len, 6);
  std::free(out);
}

TEST(SysUtil, FindAppPidFindsARunningProgramByItsName) {
  kvrtest::ScratchDir dir;
  const std::string name = "kvrt" + std::to_string(getpid() % 100000);
  const std::string prog = dir.File(name);
  ASSERT_EQ(std::system(("cp /bin/sleep '" + prog + "'").c_str()), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(prog.c_str(), name.c_str(), "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  int found = 0;
  for (int i = 0; i < 500 && found == 0; ++i) {
    found = FindAppPid(const_cast<char*>(name.c_str()));
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(found, child);
  std::string other = name + "x";
  EXPECT_EQ(FindAppPid(other.data()), 0);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

TEST(SysUtil, ClockAndStandIns) {
  timeval a{10, 200000}, b{9, 900000};
  EXPECT_EQ(TimerSubtract(a, b), 300u);
  timeval c{5, 0}, d{5, 0};
  EXPECT_EQ(TimerSubtract(c, d), 0u);
  // Differences of the wrapping clock stay right in unsigned arithmetic.
  const uint32_t before = 0xFFFFFFF0u, after = 0x00000010u;
  EXPECT_EQ(static_cast<uint32_t>(after - before), 0x20u);

  char buf[8] = "keep";
  EXPECT_EQ(GetClassName(1, buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "keep");
  EXPECT_EQ(MessageBox(0, buf, buf, 0), 1);
  EXPECT_EQ(GetAsyncKeyState(65), 1);
  EXPECT_EQ(MultiByteToWideChar(0, 0, buf, 4, nullptr, 0), 1);
  EXPECT_EQ(WideCharToMultiByte(0, 0, nullptr, 0, buf, 8, nullptr, nullptr), 1);
  EXPECT_EQ(GetFileAttributes("x"), 1);
  EXPECT_EQ(SetFileAttributes("x", 0), 1);
  EXPECT_EQ(GetTaskbarPos(nullptr), 0);
  EXPECT_EQ(MyGetDiskFreeSpace("/", nullptr), 0);
  EXPECT_EQ(MenuContainsThisItem(1, 2), 0);
  EXPECT_EQ(Gbk2B5Adjust(0xB0A1, 0, 0, 0, 0), 0xB0A1);
}
