#include "engine/lexicon/LexiconFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <utility>

namespace lexfile {

namespace {

// DirLock waits up to kLockTries * kLockWaitNs for another save to end.
constexpr int kLockTries = 40;
constexpr long kLockWaitNs = 50L * 1000 * 1000;

}  // namespace

LexiconFile::LexiconFile(std::string path, IFileOps& ops)
    : m_path(path), m_file(std::move(path), ops) {}

LexiconFile::~LexiconFile() {
  if (m_loosened) RestoreMode(m_path);
}

void LexiconFile::RestoreMode(const std::string& file) {
  chmod(file.c_str(), m_mode);
  m_loosened = false;
}

bool LexiconFile::Open() {
  struct stat st;
  if (stat(m_path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(m_path.c_str(), W_OK) != 0 &&
      st.st_uid == geteuid()) {
    // Writable for the save only; the new file gets the old mode back.
    m_mode = st.st_mode & 07777;
    if (chmod(m_path.c_str(), m_mode | S_IWUSR) == 0) m_loosened = true;
  }
  return m_file.Open();
}

bool LexiconFile::Write(std::string_view bytes) { return m_file.Write(bytes.data(), bytes.size()); }

bool LexiconFile::Commit() {
  const bool ok = m_file.Commit();
  if (m_loosened) RestoreMode(m_file.RealTarget().empty() ? m_path : m_file.RealTarget());
  return ok;
}

bool Replace(const std::string& path, std::string_view bytes, std::string& error, IFileOps& ops) {
  LexiconFile f(path, ops);
  if (f.Open() && f.Write(bytes) && f.Commit()) return true;
  error = f.Error();
  return false;
}

DirLock::DirLock(const std::string& dir) {
  m_fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return;
  for (int i = 0; i < kLockTries; ++i) {
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
      m_held = true;
      return;
    }
    const timespec wait{0, kLockWaitNs};
    nanosleep(&wait, nullptr);
  }
}

DirLock::~DirLock() {
  if (m_fd < 0) return;
  if (m_held) flock(m_fd, LOCK_UN);
  close(m_fd);
}

}  // namespace lexfile
