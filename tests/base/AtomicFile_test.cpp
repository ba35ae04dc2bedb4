#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using kvrtest::ReadFileText;
using kvrtest::WriteFileText;

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  return names;
}

// Passes every operation to the system but makes the n-th counted one (1 is
// the first) fail with EIO, or, with crash set, ends the process there the
// way a power cut would: without any cleanup. Remove is not counted: it only
// cleans up.
class FaultyOps : public IFileOps {
 public:
  FaultyOps(int failAt, bool crash) : m_failAt(failAt), m_crash(crash) {}
  int calls = 0;

  int Create(const char* p) override { return Hit() ? -1 : Sys().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override {
    if (Hit()) return -1;
    // Short writes exercise the write loop.
    return Sys().Write(fd, d, n > 3 ? 3 : n);
  }
  int Fchmod(int fd, mode_t m) override { return Hit() ? -1 : Sys().Fchmod(fd, m); }
  int Fsync(int fd) override { return Hit() ? -1 : Sys().Fsync(fd); }
  int Close(int fd) override {
    // A failed close still releases the descriptor, as close(2) does.
    if (Hit()) {
      Sys().Close(fd);
      errno = EIO;
      return -1;
    }
    return Sys().Close(fd);
  }
  int Rename(const char* a, const char* b) override { return Hit() ? -1 : Sys().Rename(a, b); }
  int SyncDir(const char* d) override { return Hit() ? -1 : Sys().SyncDir(d); }
  int Remove(const char* p) override { return Sys().Remove(p); }

 private:
  static IFileOps& Sys() { return SystemFileOps(); }
  bool Hit() {
    if (++calls != m_failAt) return false;
    if (m_crash) _exit(0);
    errno = EIO;
    return true;
  }
  int m_failAt;
  bool m_crash;
};

const std::string kOld = "old content\nsecond line\n";
const std::string kNew = "new content, longer than the old one\nline 2\nline 3\n";

TEST(AtomicFile, ReplacesTheFileAndLeavesNothingBeside) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("kvr.ini");
  WriteFileText(target, kOld);
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(target, kNew, &error)) << error;
  EXPECT_EQ(ReadFileText(target), kNew);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"kvr.ini"});
}

TEST(AtomicFile, CreatesAMissingFile) {
  kvrtest::ScratchDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.File("new.ini"), kNew));
  EXPECT_EQ(ReadFileText(dir.File("new.ini")), kNew);
}

// Fail each operation of a save in turn: the target must hold the old or the
// new content, whole, and no temporary file may be left.
TEST(AtomicFile, AFailureAtAnyStepLeavesTheOldOrTheNewFileWhole) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("profile.ini");
  int failAt = 1;
  for (;; ++failAt) {
    SCOPED_TRACE(failAt);
    WriteFileText(target, kOld);
    chmod(target.c_str(), 0640);
    FaultyOps ops(failAt, false);
    std::string error;
    bool ok = WriteFileAtomic(target, kNew, &error, ops);
    const std::string now = ReadFileText(target);
    EXPECT_TRUE(now == kOld || now == kNew) << now;
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"profile.ini"});
    if (ok) {
      EXPECT_EQ(now, kNew);
      EXPECT_LT(ops.calls, failAt);  // nothing failed
      break;
    }
    EXPECT_NE(error.find(dir.Path()), std::string::npos) << "the message names the file: " << error;
    if (now == kOld) {
      EXPECT_EQ(error.find("directory"), std::string::npos) << error;
    }
    ASSERT_LT(failAt, 100);
  }
  EXPECT_GT(failAt, 5);  // create, writes, chmod, fsync, close, rename, dir sync
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the new file keeps the old permissions";
}

// End the writer at each step without any cleanup, as a crash would.
TEST(AtomicFile, ACrashAtAnyStepLeavesTheOldOrTheNewFileWhole) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("CiZuFlat.igb");
  for (int crashAt = 1; crashAt < 40; ++crashAt) {
    SCOPED_TRACE(crashAt);
    WriteFileText(target, kOld);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FaultyOps ops(crashAt, true);
      bool ok = WriteFileAtomic(target, kNew, nullptr, ops);
      _exit(ok ? 3 : 4);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const std::string now = ReadFileText(target);
    EXPECT_TRUE(now == kOld || now == kNew) << now;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
      EXPECT_EQ(now, kNew);
      break;
    }
    for (const std::string& n : Entries(dir.Path()))
      if (n != "CiZuFlat.igb") unlink(dir.File(n).c_str());
  }
}

TEST(AtomicFile, RefusesAReadOnlyTargetAndLeavesIt) {
  kvrtest::ScratchDir dir;
  chmod(dir.Path().c_str(), 0777);  // the folder itself stays writable
  const std::string target = dir.File("ro.ini");
  WriteFileText(target, kOld);
  chmod(target.c_str(), 0444);
  EXPECT_TRUE(kvrtest::RunAsOrdinaryUser([&] {
    std::string error;
    return !WriteFileAtomic(target, kNew, &error) && error.find("ro.ini") != std::string::npos;
  }));
  EXPECT_EQ(ReadFileText(target), kOld);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"ro.ini"});
}

TEST(AtomicFile, RootKeepsTheOwnerOfAUsersFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("user.ini");
  WriteFileText(target, kOld);
  ASSERT_EQ(chown(target.c_str(), 4321, 4322), 0);
  ASSERT_TRUE(WriteFileAtomic(target, kNew));
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
}

TEST(AtomicFile, KeepsASymbolicLinkAndReplacesWhatItPointsTo) {
  kvrtest::ScratchDir dir;
  WriteFileText(dir.File("real.ini"), kOld);
  ASSERT_EQ(symlink("real.ini", dir.File("link.ini").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomic(dir.File("link.ini"), kNew));
  struct stat st;
  ASSERT_EQ(lstat(dir.File("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ReadFileText(dir.File("real.ini")), kNew);
}

TEST(AtomicFile, RefusesADirectoryAndAMissingFolder) {
  kvrtest::ScratchDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(dir.Path(), kNew, &error));
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/dir.ini"), kNew, &error));
  EXPECT_NE(error.find("no/such"), std::string::npos) << error;
}

TEST(AtomicFile, AnAbandonedSaveRemovesItsTemporary) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("a.ini");
  WriteFileText(target, kOld);
  {
    AtomicFile file(target);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write(kNew.data(), kNew.size()));
    EXPECT_EQ(Entries(dir.Path()).size(), 2u);
  }
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a.ini"});
  EXPECT_EQ(ReadFileText(target), kOld);
}

}  // namespace
