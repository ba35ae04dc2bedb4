// An installation for all users leaves /usr/bin/Kivra 0755, owned by root:
// every other user's kvr runs from a program directory it cannot write.
// kvr from a read-only copy of the distribution, run as another user,
// must start, type and end cleanly, keeping what it learns in memory and
// leaving the directory exactly as it was.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "installer/FileWork.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr uid_t kNobody = 65534;

// Every entry under dir with its size and modification time.
std::map<std::string, std::string> Listing(const std::string& dir) {
  std::map<std::string, std::string> out;
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "/" + name;
    struct stat st {};
    lstat(path.c_str(), &st);
    out[path] = std::to_string(st.st_size) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
                std::to_string(st.st_mtim.tv_nsec);
    if (S_ISDIR(st.st_mode))
      for (auto& kv : Listing(path)) out.insert(kv);
  }
  closedir(d);
  return out;
}

TEST(ReadOnlyProgramDir, KvrServesAndLearnsInMemoryFromADirectoryItCannotWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run kvr as another user";
  kvrtest::ScratchDir scratch;
  const std::string dir = scratch.File("Kivra");
  const std::string copy = "cp -a " + installer::ShellQuote(kvrtest::DistDir()) + " " +
                           installer::ShellQuote(dir) + " && chown -R root:root " +
                           installer::ShellQuote(dir) + " && chmod -R go-w,a+rX " +
                           installer::ShellQuote(dir);
  ASSERT_EQ(std::system(copy.c_str()), 0);
  ASSERT_EQ(chmod(scratch.Path().c_str(), 0755), 0);
  const std::string logPath = scratch.File("kvr.log");
  const auto before = Listing(dir);

  const std::string name = kvrtest::UniqueImName("ReadOnly");
  const pid_t parent = getpid();
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
    setenv("XMODIFIERS", ("@im=" + name).c_str(), 1);
    setenv("HOME", "/nonexistent", 1);
    const std::string prog = dir + "/kvr";
    execl(prog.c_str(), prog.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  bool up = false;
  int status = 0;
  bool ended = false;
  for (int i = 0; i < 1200 && !up && !ended; ++i) {
    up = kvrtest::ImServerReady(dpy, name);
    ended = waitpid(pid, &status, WNOHANG) == pid;
    if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XCloseDisplay(dpy);
  if (!up) {
    if (!ended) kill(pid, SIGKILL), waitpid(pid, &status, 0);
    FAIL() << "kvr did not serve; status " << status << "\n" << kvrtest::ReadFileText(logPath);
  }
  // Twice: the first commit teaches the lexicon and the character order,
  // which cannot be saved here; the second still works.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const kvrtest::Typed typed =
        kvrtest::TypeInto(kvrtest::ClientKind::XlibUtf8, name, "<C-space>zhongguo<space><C-space>");
    ASSERT_TRUE(typed.ok) << typed.diagnosis << "\n" << kvrtest::ReadFileText(logPath);
    EXPECT_EQ(typed.bytes, "中国") << kvrtest::Escaped(typed.bytes);
  }
  // The end of the session saves what it can: nothing here, and cleanly.
  kill(pid, SIGTERM);
  for (int i = 0; i < 400 && waitpid(pid, &status, WNOHANG) != pid; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (kill(pid, 0) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "kvr did not end on SIGTERM\n" << kvrtest::ReadFileText(logPath);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n"
                                                             << kvrtest::ReadFileText(logPath);
  EXPECT_EQ(Listing(dir), before);
}

}  // namespace
