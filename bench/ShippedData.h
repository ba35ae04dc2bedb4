// ShippedData.h: one private copy of the shipped dictionaries for a whole
// benchmark process (the engine writes learned order and fuzzy lists beside
// them). KVR_DIST names another distribution directory than this build's.
#pragma once

#include <cstdlib>
#include <string>

#include "tests/engine/EngineStart.h"
#include "tests/support/TestPaths.h"

namespace bench {

inline const std::string& ShippedDataCopy() {
  static kvrtest::ScratchDir dir;
  static bool copied = false;
  if (!copied) {
    const char* env = std::getenv("KVR_DIST");
    copied = enginetest::CopyRegularFiles(env ? env : kvrtest::DistDir(), dir.Path());
  }
  return dir.Path();
}

}  // namespace bench
