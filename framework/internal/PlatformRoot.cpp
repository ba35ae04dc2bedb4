#include "framework/internal/PlatformRoot.h"

namespace afc {
namespace {
std::string& Root() {
  static std::string root;
  return root;
}
}  // namespace

const std::string& PlatformRoot() { return Root(); }

std::string SetPlatformRootForTest(const std::string& root) {
  std::string old = Root();
  Root() = root;
  while (!Root().empty() && Root().back() == '/') Root().pop_back();
  return old;
}

std::string UnderPlatformRoot(const char* absolutePath) { return Root() + absolutePath; }

}  // namespace afc
