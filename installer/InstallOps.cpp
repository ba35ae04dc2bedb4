#include "installer/InstallOps.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/AtomicFile.h"

namespace installer {
namespace {

class PosixInstallOps : public IInstallOps {
 public:
  int Rename(const char* from, const char* to) override { return rename(from, to); }
  int Unlink(const char* path) override { return unlink(path); }
  int Mkdir(const char* path, mode_t mode) override { return mkdir(path, mode); }
  int Chmod(const char* path, mode_t mode) override { return chmod(path, mode); }
  IFileOps& FileOps() override { return SystemFileOps(); }
};

}  // namespace

IInstallOps& SystemInstallOps() {
  static PosixInstallOps ops;
  return ops;
}

}  // namespace installer
