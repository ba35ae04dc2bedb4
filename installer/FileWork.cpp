#include "installer/FileWork.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/AtomicFile.h"
#include "installer/InstallOps.h"

namespace installer {
namespace {

bool Fail(std::string* error, const std::string& what, const std::string& file, int err) {
  if (error) {
    *error = file + ": " + what;
    if (err) *error += std::string(": ") + std::strerror(err);
  }
  return false;
}

}  // namespace

mode_t InstalledMode(mode_t sourceMode) { return (sourceMode & 0111) ? kProgramMode : kDataMode; }

bool PathExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string* content) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  content->clear();
  char block[16384];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) content->append(block, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  return !failed;
}

bool SetModeNoFollow(IInstallOps& ops, const std::string& path, mode_t mode, std::string* error) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0)
    return Fail(error, "cannot find it to set its mode", path, errno);
  if (S_ISLNK(st.st_mode)) return true;
  if ((st.st_mode & 07777) == mode) return true;
  if (ops.Chmod(path.c_str(), mode) != 0) return Fail(error, "cannot set its mode", path, errno);
  return true;
}

bool WriteFileReplacing(IInstallOps& ops, const std::string& path, const std::string& content,
                        mode_t newMode, std::string* error) {
  struct stat old;
  const bool existed = stat(path.c_str(), &old) == 0;
  AtomicFile file(path, ops.FileOps());
  if (!file.Open() || !file.Write(content.data(), content.size()) || !file.Commit()) {
    if (error) *error = file.Error();
    return false;
  }
  // The commit gave the new file the old one's permissions.
  const mode_t want = existed ? (old.st_mode & 07777 & ~mode_t(022)) : newMode;
  return SetModeNoFollow(ops, file.RealTarget(), want, error);
}

bool CopyFileReplacing(IInstallOps& ops, const std::string& from, const std::string& to,
                       mode_t newMode, std::string* error) {
  std::string content;
  if (!ReadWholeFile(from, &content)) return Fail(error, "cannot read it", from, errno);
  return WriteFileReplacing(ops, to, content, newMode, error);
}

bool MoveFileOver(IInstallOps& ops, const std::string& from, const std::string& to,
                  std::string* error) {
  struct stat src;
  if (lstat(from.c_str(), &src) != 0) return Fail(error, "cannot find it", from, errno);
  const mode_t mode = InstalledMode(src.st_mode);
  if (ops.Rename(from.c_str(), to.c_str()) == 0) return SetModeNoFollow(ops, to, mode, error);
  if (errno != EXDEV) return Fail(error, "cannot move it to " + to, from, errno);
  // Another file system: a copy replaces the target whole. A link at the
  // target would make the copy write where it points, so it goes first.
  struct stat dst;
  if (lstat(to.c_str(), &dst) == 0 && S_ISLNK(dst.st_mode) && ops.Unlink(to.c_str()) != 0)
    return Fail(error, "cannot remove the link in the way", to, errno);
  if (!CopyFileReplacing(ops, from, to, mode, error)) return false;
  if (!SetModeNoFollow(ops, to, mode, error)) return false;
  if (ops.Unlink(from.c_str()) != 0)
    return Fail(error, "installed, but cannot remove it from the distribution", from, errno);
  return true;
}

bool BackupOnce(IInstallOps& ops, const std::string& path, std::string* error) {
  const std::string backup = path + kBackupSuffix;
  if (PathExists(backup) || !PathExists(path)) return true;
  struct stat st;
  const mode_t mode =
      stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777 & ~mode_t(022)) : kDataMode;
  return CopyFileReplacing(ops, path, backup, mode, error);
}

bool EnsureDirectory(IInstallOps& ops, const std::string& path, bool* made, std::string* error) {
  if (made) *made = false;
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) return Fail(error, "is not a directory", path, 0);
    struct stat own;
    if (lstat(path.c_str(), &own) == 0 && S_ISDIR(own.st_mode) && (own.st_mode & 022))
      return SetModeNoFollow(ops, path, own.st_mode & 07777 & ~mode_t(022), error);
    return true;
  }
  if (ops.Mkdir(path.c_str(), kDirMode) != 0)
    return Fail(error, "cannot make the directory", path, errno);
  if (made) *made = true;
  // The umask may have taken bits the installed programs need.
  return SetModeNoFollow(ops, path, kDirMode, error);
}

std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

}  // namespace installer
