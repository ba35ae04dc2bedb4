// ResImage.h: the images the generator draws into res/ of the distribution
// directory. Each image lives in a source file of its own, which draws it on
// a Canvas and enters it here with a file-scope registrar:
//
//   static const resgen::RegisterResImage reg{"arrows.bmp", &DrawPageArrows};
//
// so adding an image is adding one file. The file name is the one the
// resource script names (kvr's Jux.rc); the generator writes every entered
// image, in alphabetical order of file name.
#pragma once

#include <vector>

#include "tools/resgen/Canvas.h"

namespace resgen {

using DrawImageFn = Canvas (*)();

struct ResImage {
  const char* file;  // static text
  DrawImageFn draw;
};

// Every entered image, sorted by file name. Filled before main runs.
const std::vector<ResImage>& ResImages();

class RegisterResImage {
 public:
  RegisterResImage(const char* file, DrawImageFn draw);
};

}  // namespace resgen
