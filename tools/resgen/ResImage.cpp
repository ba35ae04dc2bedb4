#include "tools/resgen/ResImage.h"

#include <algorithm>
#include <cstring>

namespace resgen {

namespace {

// A function-local table, so the registrars of other files can run first.
std::vector<ResImage>& Table() {
  static std::vector<ResImage> table;
  return table;
}

}  // namespace

const std::vector<ResImage>& ResImages() {
  std::vector<ResImage>& t = Table();
  std::sort(t.begin(), t.end(),
            [](const ResImage& a, const ResImage& b) { return std::strcmp(a.file, b.file) < 0; });
  return t;
}

RegisterResImage::RegisterResImage(const char* file, DrawImageFn draw) {
  Table().push_back({file, draw});
}

}  // namespace resgen
