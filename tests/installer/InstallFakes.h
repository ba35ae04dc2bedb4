// InstallFakes.h: the installer's seams as the tests fill them. The file
// operations are the real ones, logged, with chosen ones made to fail; the
// host records what the installation shows and asks and keeps a clock that
// only its own sleeps advance.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "installer/InstallOps.h"
#include "installer/Installation.h"

namespace installertest {

// AtomicFile's operations; failAt picks the call (by kind and number,
// counted from 1) that fails with EIO.
class FaultyFileOps : public IFileOps {
 public:
  std::string failKind;  // "write", "fsync", "rename", "create" or empty
  int failAt = 0;

  int Create(const char* path) override { return Hit("create") ? Fail() : Real().Create(path); }
  ssize_t Write(int fd, const void* data, size_t n) override {
    return Hit("write") ? Fail() : Real().Write(fd, data, n);
  }
  int Fchmod(int fd, mode_t mode) override { return Real().Fchmod(fd, mode); }
  int Fsync(int fd) override { return Hit("fsync") ? Fail() : Real().Fsync(fd); }
  int Close(int fd) override { return Real().Close(fd); }
  int Rename(const char* from, const char* to) override {
    return Hit("rename") ? Fail() : Real().Rename(from, to);
  }
  int SyncDir(const char* dir) override { return Real().SyncDir(dir); }
  int Remove(const char* path) override { return Real().Remove(path); }

 private:
  static IFileOps& Real() { return SystemFileOps(); }
  bool Hit(const std::string& kind) {
    if (kind != failKind) return false;
    return ++m_count[0] == failAt;
  }
  static int Fail() {
    errno = EIO;
    return -1;
  }
  int m_count[1] = {0};
};

// The installer's operations, logged one line a call ("rename a b",
// "unlink p", "mkdir p", "chmod p 755"); renames for which failRename says
// so fail with renameErrno (EXDEV: another file system).
class LoggingInstallOps : public installer::IInstallOps {
 public:
  std::vector<std::string> log;
  std::function<bool(const std::string& from)> failRename;
  int renameErrno = EXDEV;
  FaultyFileOps files;

  int Rename(const char* from, const char* to) override {
    log.push_back(std::string("rename ") + from + " " + to);
    if (failRename && failRename(from)) {
      errno = renameErrno;
      return -1;
    }
    return installer::SystemInstallOps().Rename(from, to);
  }
  int Unlink(const char* path) override {
    log.push_back(std::string("unlink ") + path);
    return installer::SystemInstallOps().Unlink(path);
  }
  int Mkdir(const char* path, mode_t mode) override {
    log.push_back(std::string("mkdir ") + path);
    return installer::SystemInstallOps().Mkdir(path, mode);
  }
  int Chmod(const char* path, mode_t mode) override {
    char octal[8];
    std::snprintf(octal, sizeof octal, "%o", static_cast<unsigned>(mode));
    log.push_back(std::string("chmod ") + path + " " + octal);
    return installer::SystemInstallOps().Chmod(path, mode);
  }
  IFileOps& FileOps() override { return files; }
};

// Records the installation's progress, questions and messages; answers
// every question with `answer`.
class RecordingInstallHost : public installer::IInstallHost {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  int answer = 6;
  uint32_t now = 1000;
  int sleeps = 0;

  void SetProgress(int percent) override { calls.push_back("progress " + std::to_string(percent)); }
  void HideWizardButtons() override { calls.push_back("hide buttons"); }
  int AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  uint32_t NowSec() override { return now; }
  void SleepSec(unsigned s) override {
    ++sleeps;
    now += s;
  }
};

}  // namespace installertest
