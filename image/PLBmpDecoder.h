// PLBmpDecoder.h: reads Windows and OS/2 bitmap files (layout in
// internal/PLBmpFormat.h): 1, 4 and 8 bits per pixel, 4 and 8 bits also
// run-length encoded, into 8-bit palette bitmaps; 16, 24 and 32 bits into
// 32-bit bitmaps. Damaged files (sizes out of range, colour tables of more
// than 256 entries, offsets or runs past their bounds, data cut short) are
// refused with PLTextException; no read or write leaves its buffer.
#pragma once

#include <cstdint>
#include <memory>

#include "image/PLPicDecoder.h"
#include "image/PLPixel32.h"

struct tagWINBITMAPINFOHEADER;

class PLBmpDecoder : public PLPicDecoder {
 public:
  PLBmpDecoder();
  ~PLBmpDecoder() override;

  // Reads the headers and the colour table, moves to the pixel data and sets
  // the description: depth 8 up to 8 bits per pixel in the file, else 32.
  void Open(PLDataSource* source) override;
  void GetImage(PLBmp& bitmap) override;
  // Forgets the header, then closes the source.
  void Close() override;

 private:
  void readHeaders(PLDataSource* source);
  void readInfoHeader(PLDataSource* source);
  void readMasks(PLDataSource* source, int count);
  void readPalette(PLDataSource* source);
  void seekToPixels(PLDataSource* source, uint32_t pixelOffset);
  void setDescription(PLDataSource* source);
  uint8_t* fileRow(PLBmp& bitmap, int k) const;

  void decode1bpp(PLDataSource* source, PLBmp& bitmap);
  void decode4bpp(PLDataSource* source, PLBmp& bitmap);
  void decode8bpp(PLDataSource* source, PLBmp& bitmap);
  void decodeRLE8(PLDataSource* source, PLBmp& bitmap);
  void decodeRLE4(PLDataSource* source, PLBmp& bitmap);
  void decodeRunLength(PLDataSource* source, PLBmp& bitmap, bool fourBit);
  void checkRun(int k, int x, int count, int limit) const;
  void decodeHiColor(PLDataSource* source, PLBmp& bitmap);
  void decodeTrueColor(PLDataSource* source, PLBmp& bitmap);

  PLPixel32 m_Pal[256];
  std::unique_ptr<tagWINBITMAPINFOHEADER> m_pBMI;  // from Open to Close
  uint32_t m_Masks[3];  // red, green, blue bit masks, 0 when the file has none
  bool m_bTopDown;      // rows stored top row first
  int32_t m_Height;     // rows, positive
};
