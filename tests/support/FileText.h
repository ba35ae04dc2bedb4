// FileText.h: whole files as strings, for tests that compare file bytes.
#pragma once

#include <fstream>
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

// Replaces the file at path by exactly these bytes.
inline void WriteFileText(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace kvrtest
