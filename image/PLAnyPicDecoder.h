// PLAnyPicDecoder.h: the decoder callers use. It looks at the first bytes of
// the data, never at the file name, and hands the work to the BMP or the
// JPEG decoder. Other formats it recognises (Targa, GIF, TIFF, PICT, PNG,
// EPS, PCX, PGM, PPM, PSD) fail with code 12; unknown data with code 8.
#pragma once

#include <cstdint>
#include <memory>

#include "image/PLPicDecoder.h"

class PLBmpDecoder;
class PLJPEGDecoder;

class PLAnyPicDecoder : public PLPicDecoder {
 public:
  // The detected types (GetFileFormat).
  enum FileType : int32_t {
    PL_FT_UNKNOWN = 0,
    PL_FT_WINBMP = 1,
    PL_FT_MACPICT = 2,
    PL_FT_TARGA = 3,
    PL_FT_TIFF = 4,
    PL_FT_JPEG = 5,
    PL_FT_PNG = 6,
    PL_FT_EPSTIFF = 7,
    PL_FT_PCX = 10,
    PL_FT_PGM = 11,
    PL_FT_GIF = 12,
    PL_FT_PPM = 13,
    PL_FT_PSD = 14,
  };

  PLAnyPicDecoder();
  ~PLAnyPicDecoder() override;

  // Closes the source through the decoder that took it.
  void Close() override;
  // Detects the format and opens the data with the matching decoder, which
  // takes source as its own.
  void Open(PLDataSource* source) override;
  void GetImage(PLBmp& bitmap) override;

  int GetFileFormat() const { return m_Type; }

  // The format of size bytes at data; reads no byte at or past data + size.
  static int getFileType(const uint8_t* data, int size);
  // A 32-bit value, least significant byte first.
  static int32_t epsLongVal(const uint8_t* bytes);

 private:
  int32_t m_Type;
  PLPicDecoder* m_pCurDec;  // borrowed: one of the two below, or null
  std::unique_ptr<PLBmpDecoder> m_pBmpDec;
  std::unique_ptr<PLJPEGDecoder> m_pJPEGDec;
};
