// A resource image decoded by our own decoders into 0xRRGGBB pixels, for the
// tests that compare what kvr draws with the pictures the build made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/PLAnyBmp.h"
#include "image/PLAnyPicDecoder.h"
#include "image/PLPixel32.h"
#include "image/PLTextException.h"

struct DecodedImage {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;  // top row first
  std::string error;          // why decoding failed; empty on success
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

inline DecodedImage DecodeImage(const std::string& path) {
  DecodedImage d;
  try {
    PLAnyBmp bitmap;
    PLAnyPicDecoder decoder;
    decoder.OpenFile(path.c_str());
    decoder.MakeBmp(&bitmap, 32);
    decoder.Close();
    d.width = bitmap.GetWidth();
    d.height = bitmap.GetHeight();
    PLPixel32** rows = bitmap.GetLineArray32();
    for (int y = 0; y < d.height; ++y) {
      for (int x = 0; x < d.width; ++x) {
        d.rgb.push_back(uint32_t{rows[y][x].GetR()} << 16 | uint32_t{rows[y][x].GetG()} << 8 |
                        rows[y][x].GetB());
      }
    }
  } catch (const PLTextException& e) {
    d.error = static_cast<const char*>(e);
  }
  return d;
}
