// ImageTestUtil.h: helpers the image tests share: little-endian byte
// writers, a builder of BMP files from their fields, JPEG files made with
// libjpeg's compressor, and a decode call that turns the decoders' exception
// into a result the tests can compare.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <jpeglib.h>

#include "base/ByteOrder.h"
#include "image/PLAnyBmp.h"
#include "image/PLAnyPicDecoder.h"
#include "image/PLTextException.h"
#include "tests/support/FileText.h"

namespace imgtest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.resize(b.size() + 2);
  little_endian::Store16(&b[b.size() - 2], static_cast<uint16_t>(v));
}
inline void Put32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  little_endian::Store32(&b[b.size() - 4], v);
}
inline void Poke32(Bytes& b, size_t at, uint32_t v) { little_endian::Store32(&b[at], v); }

struct Rgb {
  uint8_t r, g, b;
};

// The fields of a BMP file. Pixel data are given as stored (rows padded,
// run-length coded or not); offsets and counts are written as given so that
// tests can lie in them.
struct BmpLayout {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bpp = 8;
  uint32_t compression = 0;
  uint32_t headerSize = 40;  // 12, 40, 52, 108, 124, or anything to test
  std::vector<Rgb> palette;  // written as the colour table
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;  // inside V2+ headers, else after a 40-byte one
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  int arrayHeaders = 0;  // "BA" headers in front
  size_t gap = 0;        // junk bytes between the table and the pixels
  bool autoOffset = true;
  uint32_t pixelOffset = 0;  // used when autoOffset is false
  Bytes pixels;
};

inline Bytes BuildBmp(const BmpLayout& s) {
  Bytes b;
  for (int i = 0; i < s.arrayHeaders; ++i) {
    b.push_back('B');
    b.push_back('A');
    Put32(b, 14);
    Put32(b, 0);
    Put32(b, 0);
  }
  b.push_back('B');
  b.push_back('M');
  Put32(b, 0);  // file size, patched below
  Put32(b, 0);
  const size_t offsetAt = b.size();
  Put32(b, 0);
  Put32(b, s.headerSize);
  if (s.headerSize == 12) {
    Put16(b, static_cast<uint32_t>(s.width));
    Put16(b, static_cast<uint32_t>(s.height));
    Put16(b, 1);
    Put16(b, s.bpp);
  } else {
    Put32(b, static_cast<uint32_t>(s.width));
    Put32(b, static_cast<uint32_t>(s.height));
    Put16(b, 1);
    Put16(b, s.bpp);
    Put32(b, s.compression);
    Put32(b, static_cast<uint32_t>(s.pixels.size()));
    Put32(b, static_cast<uint32_t>(s.xPelsPerMeter));
    Put32(b, static_cast<uint32_t>(s.yPelsPerMeter));
    Put32(b, s.colorsUsed);
    Put32(b, 0);
    size_t extra = s.headerSize > 40 ? s.headerSize - 40 : 0;
    if (s.headerSize >= 52 && s.headerSize != 64) {
      for (size_t i = 0; i < 3; ++i) Put32(b, i < s.masks.size() ? s.masks[i] : 0);
      extra -= 12;
    }
    b.insert(b.end(), extra, 0);
    if (s.headerSize == 40) {
      for (uint32_t m : s.masks) Put32(b, m);
    }
  }
  for (const Rgb& c : s.palette) {
    b.push_back(c.b);
    b.push_back(c.g);
    b.push_back(c.r);
    if (s.headerSize != 12) b.push_back(0x5A);  // the unused byte, deliberately not 0
  }
  b.insert(b.end(), s.gap, 0xEE);
  Poke32(b, offsetAt, s.autoOffset ? static_cast<uint32_t>(b.size()) : s.pixelOffset);
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  Poke32(b, 2 + 14 * s.arrayHeaders, static_cast<uint32_t>(b.size()));
  return b;
}

// Stored rows of palette indices (1, 4 or 8 bits), bottom row first, each
// padded to 4 bytes. rows[0] is the top row.
inline Bytes PackIndexRows(const std::vector<std::vector<uint8_t>>& rows, int bpp) {
  Bytes out;
  for (size_t k = rows.size(); k-- > 0;) {
    const std::vector<uint8_t>& row = rows[k];
    Bytes packed((row.size() * bpp + 7) / 8, 0);
    for (size_t x = 0; x < row.size(); ++x) {
      const size_t bit = x * bpp;
      packed[bit / 8] |= static_cast<uint8_t>(row[x] << (8 - bpp - bit % 8));
    }
    packed.resize((packed.size() + 3) & ~size_t{3}, 0);
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

// The outcome of one decode: the bitmap, or the exception's code and text.
struct Decoded {
  bool ok = false;
  int code = 0;
  std::string text;
  PLAnyBmp bmp;
};

inline void DecodeInto(Decoded& d, const Bytes& data, int bpp) {
  PLAnyPicDecoder decoder;
  Bytes copy = data;  // the decoder may read up to, never past, its end
  try {
    decoder.MakeBmpFromMemory(copy.empty() ? nullptr : copy.data(), static_cast<int>(copy.size()),
                              &d.bmp, bpp);
    d.ok = true;
  } catch (const PLTextException& e) {
    d.code = e.GetCode();
    d.text = static_cast<const char*>(e);
  }
}

// Decodes from an exact-size heap block (so ASan sees any read past its end).
inline Decoded Decode(const Bytes& data, int bpp = 32) {
  Decoded d;
  DecodeInto(d, data, bpp);
  return d;
}

// A JPEG made by libjpeg's compressor from width x height pixels of
// components bytes each (1 grey, 3 RGB, 4 CMYK).
struct JpegLayout {
  int width = 16;
  int height = 16;
  int components = 3;
  J_COLOR_SPACE space = JCS_RGB;
  int quality = 100;
  int densityUnit = 0;
  int xDensity = 1;
  int yDensity = 1;
  bool progressive = false;
  Bytes pixels;  // width * height * components
};

inline Bytes MakeJpeg(const JpegLayout& s) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = static_cast<JDIMENSION>(s.width);
  c.image_height = static_cast<JDIMENSION>(s.height);
  c.input_components = s.components;
  c.in_color_space = s.space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, s.quality, TRUE);
  if (s.progressive) jpeg_simple_progression(&c);
  c.density_unit = static_cast<UINT8>(s.densityUnit);
  c.X_density = static_cast<UINT16>(s.xDensity);
  c.Y_density = static_cast<UINT16>(s.yDensity);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(s.width) * s.components);
  for (int y = 0; y < s.height; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = s.pixels[y * row.size() + i];
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  Bytes result(out, out + outSize);
  jpeg_destroy_compress(&c);
  std::free(out);
  return result;
}

// A layout of the given size and colour layout; the caller adds the pixels.
inline JpegLayout JpegOf(int width, int height, int components, J_COLOR_SPACE space) {
  JpegLayout s;
  s.width = width;
  s.height = height;
  s.components = components;
  s.space = space;
  return s;
}

// Writes b to path as it is.
inline void WriteFile(const std::string& path, const Bytes& b) {
  kvrtest::WriteFileText(path, std::string(b.begin(), b.end()));
}

// A width x height RGB picture of flat 8 x 8 blocks, colour chosen per block
// from a fixed list, so the compressor keeps colours within a few levels.
inline JpegLayout BlockJpegLayout(int width, int height) {
  static const Rgb kColours[] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {220, 220, 40}};
  JpegLayout s;
  s.width = width;
  s.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& c = kColours[((x / 8) + (y / 8)) % 4];
      s.pixels.insert(s.pixels.end(), {c.r, c.g, c.b});
    }
  }
  return s;
}

// Keeps stderr quiet for one scope (libjpeg prints its warnings there).
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    m_Saved = dup(2);
    std::FILE* null = std::fopen("/dev/null", "w");
    if (null != nullptr) {
      dup2(fileno(null), 2);
      std::fclose(null);
    }
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (m_Saved >= 0) {
      dup2(m_Saved, 2);
      close(m_Saved);
    }
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int m_Saved;
};

}  // namespace imgtest
