// FileText.h: whole files as strings, for tests that compare file bytes.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace kvrtest {

// The bytes of the file at path; empty when it cannot be read.
inline std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Where two texts of one length differ: the first and last differing
// byte and how many bytes differ (count 0 when none does).
struct ByteChanges {
  size_t first = 0, last = 0, count = 0;
};
inline ByteChanges ChangedBytes(const std::string& before, const std::string& now) {
  ByteChanges c;
  for (size_t i = 0; i < now.size() && i < before.size(); ++i) {
    if (now[i] == before[i]) continue;
    if (c.count++ == 0) c.first = i;
    c.last = i;
  }
  return c;
}

// Replaces the file at path by exactly these bytes.
inline void WriteFileText(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Runs check in a child process as an ordinary user, so that file
// permissions apply even when the tests run as root: as uid and gid 65534
// ("nobody") when running as root, as the current user otherwise. Returns
// what check returns (true for a pass); false when the child could not run.
// The files check touches must be open to that user.
inline bool RunAsOrdinaryUser(const std::function<bool()>& check) {
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kvrtest
