// PLAnyBmp.h: the concrete bitmap. All rows live one after the other in one
// heap block (row i at block + i * GetBytesPerLine()), beside a row-pointer
// array and, at 8 bits and less, a palette; the bitmap owns all three and
// frees them when it is re-created or destroyed.
#pragma once

#include <vector>

#include "image/PLBmp.h"

class PLAnyBmp : public PLBmp {
 public:
  // A 16 x 16 bitmap of 8 bits with the grey palette, pixels 0.
  PLAnyBmp();
  PLAnyBmp(const PLAnyBmp& source);
  explicit PLAnyBmp(const PLBmp& source);
  ~PLAnyBmp() override;
  PLAnyBmp& operator=(const PLBmp& source);
  PLAnyBmp& operator=(const PLAnyBmp& source);

  long GetMemUsed() override;
  // width * bpp / 8, plus one byte at 1 bit per pixel when the width is not a
  // multiple of 8. Rows are not rounded up.
  long GetBytesPerLine() override;

  // Pixel bytes of a bitmap of that size and depth.
  static long GetBitsMemNeeded(long width, long height, unsigned short bpp);
  // The pixel bytes, the palette and the bitmap object.
  static long GetMemNeeded(long width, long height, unsigned short bpp);

 protected:
  void internalCreate(long width, long height, unsigned short bpp, bool alpha,
                      bool greyscale) override;
  void freeMembers() override;
  void initLineArray() override;

 private:
  static long bytesPerLine(long width, unsigned short bpp);

  std::vector<uint8_t> m_Bits;       // the pixel block
  std::vector<PLPixel32> m_Palette;  // 1 << bpp entries at 8 bits and less
  std::vector<uint8_t*> m_Lines;     // one pointer into m_Bits per row
};
