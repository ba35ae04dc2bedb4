#include "tests/support/TestPaths.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace kvrtest {

const std::string& SourceDir() {
  static const std::string dir = KVR_TEST_SOURCE_DIR;
  return dir;
}

const std::string& BinaryDir() {
  static const std::string dir = KVR_TEST_BINARY_DIR;
  return dir;
}

const std::string& DistDir() {
  static const std::string dir = KVR_TEST_DIST_DIR;
  return dir;
}

ScratchDir::ScratchDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kvrtest.XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed for " + tmpl);
  m_path = tmpl;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string ScratchDir::File(const std::string& name) const { return m_path + "/" + name; }

}  // namespace kvrtest
