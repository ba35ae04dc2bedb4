// InstallOps.h: the file-system operations through which the installer
// changes the system, and the seam through which tests replace them. The
// installer runs as root for an installation for all users, so every change
// it makes goes through these few calls: a test counts them, fails the n-th
// one (a write, a rename across file systems) and checks what is left.
//
// Reading (stat, directory listings, reading a file) is not behind the
// seam: it changes nothing, and tests stage the files it reads in a scratch
// tree.
#pragma once

#include <sys/types.h>

class IFileOps;

namespace installer {

class IInstallOps {
 public:
  virtual ~IInstallOps() = default;
  // rename(2): replaces the target in one step (a symbolic link at the
  // target is replaced, never followed).
  virtual int Rename(const char* from, const char* to) = 0;
  // unlink(2): removes the name only; never changes the mode of anything.
  virtual int Unlink(const char* path) = 0;
  virtual int Mkdir(const char* path, mode_t mode) = 0;
  // chmod(2). Callers never pass a symbolic link (see SetMode).
  virtual int Chmod(const char* path, mode_t mode) = 0;
  // The operations of the atomic rewrites and copies (framework/AtomicFile.h).
  virtual IFileOps& FileOps() = 0;
};

// The real operations. Lives for the whole run.
IInstallOps& SystemInstallOps();

}  // namespace installer
