// kvrresgen: draws the images of res/ into the directory given with --out
// (the distribution's res/) and touches <out>/.resgen.stamp when all of them
// were written, so the build reruns it only when the generator changes.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/resgen/ResImage.h"

int main(int argc, char** argv) {
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "kvrresgen: unknown argument '%s'\nusage: kvrresgen --out DIR\n",
                   argv[i]);
      return 2;
    }
  }
  if (!out) {
    std::fprintf(stderr, "usage: kvrresgen --out DIR\n");
    return 2;
  }
  int failures = 0;
  for (const resgen::ResImage& image : resgen::ResImages()) {
    const std::string path = std::string(out) + "/" + image.file;
    std::string error;
    if (!resgen::WriteFileBytes(path.c_str(), image.draw().ToBmp(), &error)) {
      std::fprintf(stderr, "kvrresgen: %s\n", error.c_str());
      ++failures;
    }
  }
  if (failures) return 1;
  std::string error;
  if (!resgen::WriteFileBytes((std::string(out) + "/.resgen.stamp").c_str(), {}, &error)) {
    std::fprintf(stderr, "kvrresgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
