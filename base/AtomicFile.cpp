#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

class PosixFileOps : public IFileOps {
 public:
  int Create(const char* path) override {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  }
  ssize_t Write(int fd, const void* data, size_t nBytes) override {
    return write(fd, data, nBytes);
  }
  int Fchmod(int fd, mode_t mode) override { return fchmod(fd, mode); }
  int Fsync(int fd) override { return fsync(fd); }
  int Close(int fd) override { return close(fd); }
  int Rename(const char* from, const char* to) override { return rename(from, to); }
  int SyncDir(const char* dir) override {
    int fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    int rc = fsync(fd);
    // Some file systems cannot sync a directory at all; the rename is then
    // as durable as they make it, and refusing the save would help nobody.
    if (rc != 0 && (errno == EINVAL || errno == ENOTSUP)) rc = 0;
    int saved = errno;
    close(fd);
    errno = saved;
    return rc;
  }
  int Remove(const char* path) override { return unlink(path); }
};

std::string DirOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save replaces: a symbolic link is followed to its target so
// that the link survives; a dangling link is replaced itself.
std::string ResolveTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string out(real);
  free(real);
  return out;
}

}  // namespace

IFileOps& SystemFileOps() {
  static PosixFileOps ops;
  return ops;
}

AtomicFile::AtomicFile(std::string target, IFileOps& ops)
    : m_target(std::move(target)), m_ops(ops) {}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Fail(const char* what, const std::string& file, int err) {
  m_failed = true;
  m_error = file + ": " + what;
  if (err) m_error += std::string(": ") + strerror(err);
  Abandon();
  return false;
}

void AtomicFile::Abandon() {
  if (m_fd >= 0) {
    m_ops.Close(m_fd);
    m_fd = -1;
  }
  if (m_tempExists) {
    m_ops.Remove(m_temp.c_str());
    m_tempExists = false;
  }
}

bool AtomicFile::Open() {
  if (m_fd >= 0 || m_failed) return Fail("opened twice", m_target, 0);
  m_real = ResolveTarget(m_target);
  struct stat st;
  if (stat(m_real.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail("is a directory, not a file", m_real, 0);
    if (access(m_real.c_str(), W_OK) != 0)
      return Fail("may not be written; left unchanged", m_real, errno);
    m_haveMode = true;
    m_mode = st.st_mode & 07777;
    m_uid = st.st_uid;
    m_gid = st.st_gid;
  } else if (errno != ENOENT) {
    return Fail("cannot be examined", m_real, errno);
  }
  // pid and a counter keep two saves of one file (even from two processes)
  // apart; O_EXCL makes sure an old stray file is never written into.
  static unsigned s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    m_temp = m_real + ".tmp." + std::to_string(getpid()) + "." + std::to_string(s_counter++);
    m_fd = m_ops.Create(m_temp.c_str());
    if (m_fd >= 0) {
      m_tempExists = true;
      return true;
    }
    if (errno != EEXIST) break;
  }
  return Fail("cannot create the temporary file", m_temp, errno);
}

bool AtomicFile::Write(const void* data, size_t nBytes) {
  if (m_fd < 0) return Fail("written before it was opened", m_target, 0);
  const char* p = static_cast<const char*>(data);
  while (nBytes > 0) {
    ssize_t n = m_ops.Write(m_fd, p, nBytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail("cannot write the temporary file", m_temp, n < 0 ? errno : EIO);
    p += n;
    nBytes -= static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFile::Commit() {
  if (m_fd < 0) return Fail("committed before it was opened", m_target, 0);
  if (m_haveMode) {
    // Only root can give a file away; a root process saving a user's file
    // must not leave it owned by root. Best effort: the owner is no part of
    // the content. The mode follows, as a change of owner may clear it.
    if (geteuid() == 0) {
      const int rc = fchown(m_fd, m_uid, m_gid);
      (void)rc;
    }
    if (m_ops.Fchmod(m_fd, m_mode) != 0)
      return Fail("cannot give the temporary file the old permissions", m_temp, errno);
  }
  if (m_sync && m_ops.Fsync(m_fd) != 0)
    return Fail("cannot flush the temporary file", m_temp, errno);
  int fd = m_fd;
  m_fd = -1;
  // A close can report a delayed write error (NFS); trust nothing after it.
  if (m_ops.Close(fd) != 0) return Fail("cannot close the temporary file", m_temp, errno);
  if (m_ops.Rename(m_temp.c_str(), m_real.c_str()) != 0)
    return Fail("cannot rename the temporary file over it", m_real, errno);
  m_tempExists = false;
  const std::string dir = DirOf(m_real);
  if (m_sync && m_ops.SyncDir(dir.c_str()) != 0) {
    // The new content is in place; only its survival of a crash is in doubt.
    m_failed = true;
    m_error =
        dir + ": cannot sync the directory after replacing " + m_real + ": " + strerror(errno);
    return false;
  }
  m_error.clear();
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view content, std::string* error,
                     IFileOps& ops, bool sync) {
  AtomicFile file(path, ops);
  if (!sync) file.SkipSync();
  bool ok = file.Open() && file.Write(content.data(), content.size()) && file.Commit();
  if (!ok && error) *error = file.Error();
  return ok;
}
