// kvrfccgen: compiles the forecast rules into fccdic.bin.
//
//   kvrfccgen --rules FILE [--rules FILE ...] [--fortunes DIR] --out FILE
//
// The rule files are in the text form of tools/fccgen/FccRules.h. With
// --fortunes the poems and sayings of the fortunes-zh files in DIR are
// added (the shipped build); fixtures leave it out. The output is written
// beside its place and renamed over it, so a failed build leaves the old
// file as it was.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/fccgen/FccRules.h"

int main(int argc, char** argv) {
  std::vector<std::string> rules;
  std::string fortunes, out;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    if (v && a == "--rules")
      rules.push_back(v), ++i;
    else if (v && a == "--fortunes")
      fortunes = v, ++i;
    else if (v && a == "--out")
      out = v, ++i;
    else {
      std::fprintf(stderr, "kvrfccgen: unknown argument %s\n", a.c_str());
      return 2;
    }
  }
  if (out.empty() || rules.empty()) {
    std::fprintf(stderr, "kvrfccgen: --rules and --out are required\n");
    return 2;
  }
  std::string image;
  std::vector<std::string> notes, errors;
  const bool ok = fccgen::BuildForecastFile(rules, fortunes, image, notes, errors);
  for (const std::string& n : notes) std::printf("kvrfccgen: %s\n", n.c_str());
  for (const std::string& e : errors) std::fprintf(stderr, "kvrfccgen: error: %s\n", e.c_str());
  if (!ok) return 1;
  const std::string tmp = out + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  bool written = f && std::fwrite(image.data(), 1, image.size(), f) == image.size();
  if (f && std::fclose(f) != 0) written = false;
  if (!written || std::rename(tmp.c_str(), out.c_str()) != 0) {
    std::remove(tmp.c_str());
    std::fprintf(stderr, "kvrfccgen: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
