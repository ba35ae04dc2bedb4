// kvrdatagen: builds the engine's data files from the open data packages
// (the shipped build) or from a small fixture directory (tests).
//
//   kvrdatagen --rime DIR --unihan DIR --opencc DIR --out DIR
//              [--fixture] [--floor N] [--essay-floor N]
//
// --fixture lets sources be missing and keeps every phrase; the shipped
// build runs without it and fails on any missing source or broken invariant.
// --floor leaves out every phrase rarer than N, --essay-floor the phrases
// that only the essay word list holds rarer than N (the shipped floors are
// in Builders.h, with why).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/datagen/Generate.h"

int main(int argc, char** argv) {
  datagen::Options opt;
  opt.strict = true;
  datagen::PhraseFloors floors = datagen::kShippedPhraseFloors;
  bool floorGiven = false, essayFloorGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    if (a == "--fixture") {
      opt.strict = false;
    } else if (v != nullptr && a == "--rime") {
      opt.rimeDir = v, ++i;
    } else if (v != nullptr && a == "--unihan") {
      opt.unihanDir = v, ++i;
    } else if (v != nullptr && a == "--opencc") {
      opt.openccDir = v, ++i;
    } else if (v != nullptr && a == "--out") {
      opt.outDir = v, ++i;
    } else if (v != nullptr && a == "--floor") {
      floors.any = std::strtod(v, nullptr), floorGiven = true, ++i;
    } else if (v != nullptr && a == "--essay-floor") {
      floors.essayOnly = std::strtod(v, nullptr), essayFloorGiven = true, ++i;
    } else {
      std::fprintf(stderr, "kvrdatagen: unknown argument %s\n", a.c_str());
      return 2;
    }
  }
  if (opt.outDir.empty()) {
    std::fprintf(stderr, "kvrdatagen: --out is required\n");
    return 2;
  }
  if (!opt.strict && !floorGiven) floors.any = 0;
  if (!opt.strict && !essayFloorGiven) floors.essayOnly = 0;
  datagen::FileSet files;
  datagen::Report report;
  const bool ok = datagen::GenerateFiles(opt, floors, files, report);
  for (const std::string& n : report.notes) std::printf("kvrdatagen: %s\n", n.c_str());
  for (const std::string& e : report.errors)
    std::fprintf(stderr, "kvrdatagen: error: %s\n", e.c_str());
  if (!ok) return 1;
  std::string error;
  if (!datagen::WriteFiles(opt.outDir, files, error)) {
    std::fprintf(stderr, "kvrdatagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
