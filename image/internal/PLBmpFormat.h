// PLBmpFormat.h: the layout of Windows and OS/2 bitmap files as the BMP
// decoder reads them. Every field is little-endian.
//
// Optional bitmap-array headers (OS/2), each 14 bytes, repeated while the
// signature is "BA":
//   0  2  signature "BA"
//   2  4  size of this header
//   6  4  two 16-bit values (not used)
//  10  4  offset of the next header (not used)
// File header:
//   0  2  signature "BM", "IC", "CI" or "CP" ("BA" above)
//   2  4  file size (not used)
//   6  4  two reserved 16-bit values
//  10  4  offset of the pixel data from the start of the file
// Information header, by its size:
//   12 (OS/2 1.x): width 2, height 2, planes 2, bits per pixel 2 (unsigned)
//   40 and more: the fields of tagWINBITMAPINFOHEADER below; headers of 52
//      bytes and more (but not the 64-byte OS/2 2.x header) keep the red,
//      green and blue masks at offsets 40, 44 and 48; further bytes are
//      skipped.
// Masks after a 40-byte header: three 32-bit values (four for compression 6)
//   when the compression is 3 (bit fields).
// Colour table, at 8 bits per pixel and less: colours-used entries (1 << bits
//   per pixel when 0), at most 256; each blue, green, red and, except after a
//   12-byte header, one unused byte.
// Pixel data at the pixel offset: rows bottom-up (top-down when the height is
//   negative), each padded to 4 bytes except at 32 bits per pixel.
#pragma once

#include <cstdint>

struct tagWINBITMAPINFOHEADER {
  uint32_t biSize;          // 0: header size in bytes
  int32_t biWidth;          // 4
  int32_t biHeight;         // 8: negative for top-down rows
  uint16_t biPlanes;        // 12
  uint16_t biBitCount;      // 14
  uint32_t biCompression;   // 16: 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t biSizeImage;     // 20
  int32_t biXPelsPerMeter;  // 24
  int32_t biYPelsPerMeter;  // 28
  uint32_t biClrUsed;       // 32
  uint32_t biClrImportant;  // 36
};

namespace plbmp {
constexpr uint32_t kOs2HeaderSize = 12;
constexpr uint32_t kWinHeaderSize = 40;
constexpr uint32_t kMaskHeaderSize = 52;   // the first size that holds the masks
constexpr uint32_t kOs2v2HeaderSize = 64;  // OS/2 2.x: no masks at offset 40
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;
constexpr int kFileHeaderRest = 12;  // file header bytes after the signature
constexpr int kMaxPaletteEntries = 256;
}  // namespace plbmp
