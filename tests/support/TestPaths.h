// TestPaths.h: where a test finds the source tree, the build tree and the
// distribution directory, and a scratch folder of its own.
#pragma once

#include <string>

namespace kvrtest {

// Root of the source tree (fixtures under tests/ live there).
const std::string& SourceDir();
// Root of the build tree this test binary belongs to.
const std::string& BinaryDir();
// The distribution directory the build lays out (programs and their data).
const std::string& DistDir();

// A fresh empty directory for one test, removed by the destructor with
// everything in it. Not copyable.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return m_path; }
  // Path() + "/" + name.
  std::string File(const std::string& name) const;

 private:
  std::string m_path;
};

}  // namespace kvrtest
