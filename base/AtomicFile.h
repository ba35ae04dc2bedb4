// AtomicFile.h: replacing a file so that a failed or interrupted save never
// leaves it half written. Every file the programs rewrite (ini files, the
// lexicon, the character orders) goes through it:
//   1. the new content goes to a temporary file beside the target, which is
//      flushed and fsynced;
//   2. the temporary is renamed over the target, then the directory is
//      fsynced so that the new directory entry survives a crash;
//   3. on every failure path the temporary is removed again.
// Whatever fails, the target holds either its old content or the new one,
// whole. A crash between 1 and 2 may leave a stray "<target>.tmp.<pid>.<n>"
// beside it; the target itself is never touched before the rename.
//
// The file operations go through IFileOps, so that a test can make any one
// of them fail (or end the process at that point) and check the target.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

// The operations a save performs. Each returns what the system call it
// stands for returns (-1 with errno set on failure).
class IFileOps {
 public:
  virtual ~IFileOps() = default;
  // Creates path exclusively (O_CREAT | O_EXCL) for writing, mode 0666 less
  // the umask; returns the descriptor.
  virtual int Create(const char* path) = 0;
  virtual ssize_t Write(int fd, const void* data, size_t nBytes) = 0;
  virtual int Fchmod(int fd, mode_t mode) = 0;
  virtual int Fsync(int fd) = 0;
  virtual int Close(int fd) = 0;
  virtual int Rename(const char* from, const char* to) = 0;
  // Opens the directory, fsyncs it and closes it.
  virtual int SyncDir(const char* dir) = 0;
  // Only used to clean up; its failure is not a failure of the save.
  virtual int Remove(const char* path) = 0;
};

// The real operations of this system. Lives for the whole run.
IFileOps& SystemFileOps();

// One replacement of one file. Open, any number of Writes, then Commit; an
// object destroyed without a successful Commit removes its temporary file and
// leaves the target as it was. Not copyable.
class AtomicFile {
 public:
  // ops is borrowed and must outlive this object.
  explicit AtomicFile(std::string target, IFileOps& ops = SystemFileOps());
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file. Refuses a target that exists but may not be
  // written (a profile the user made read-only stays read-only) and a
  // target that is a directory. A target reached through a symbolic link is
  // replaced where the link points, so the link stays.
  [[nodiscard]] bool Open();
  // Appends bytes to the temporary file.
  [[nodiscard]] bool Write(const void* data, size_t nBytes);
  // Flushes, fsyncs and closes the temporary, gives it the old file's
  // permissions (and, for root, its owner), renames it over the target and fsyncs the directory. A
  // failed directory sync is reported as a failure although the new content
  // is then already in place.
  [[nodiscard]] bool Commit();
  // Leaves out both fsyncs of Commit, for files derived from others that
  // are made again at every start (nothing is lost when a crash drops
  // one): the temporary file and the rename stay, so the target is still
  // never seen half written. Call before Commit.
  void SkipSync() { m_sync = false; }

  // What went wrong, naming the file and the operation; empty after success.
  const std::string& Error() const { return m_error; }
  // The file that is actually replaced (the target with links resolved).
  const std::string& RealTarget() const { return m_real; }

 private:
  bool Fail(const char* what, const std::string& file, int err);
  void Abandon();

  std::string m_target;
  std::string m_real;
  std::string m_temp;
  IFileOps& m_ops;  // borrowed
  int m_fd = -1;
  bool m_tempExists = false;
  bool m_failed = false;
  bool m_haveMode = false;
  bool m_sync = true;
  mode_t m_mode = 0;
  uid_t m_uid = 0;
  gid_t m_gid = 0;
  std::string m_error;
};

// Replaces path with content in one AtomicFile. On failure returns false and,
// when error is not null, stores the reason there. sync false: a derived
// file (AtomicFile::SkipSync).
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::string_view content,
                                   std::string* error = nullptr, IFileOps& ops = SystemFileOps(),
                                   bool sync = true);
