// PLJPEGDecoder.h: decodes JPEG files through libjpeg: colour images (YCbCr,
// RGB, and CMYK or YCCK converted to RGB) into 32-bit bitmaps, greyscale
// images into 8-bit bitmaps with the grey palette. The library reads the
// data source's whole-file buffer without a copy.
//
// libjpeg reports fatal errors by calling a handler that must not return; ours
// jumps back to the decoder's own frame (never throwing through the library's
// C frames), which aborts the decompression and throws PLTextException code 6
// with the library's message. Data cut short decode with a warning on stderr.
#pragma once

#include <memory>

#include "image/PLPicDecoder.h"

class PLJPEGDecoder : public PLPicDecoder {
 public:
  // Throws PLTextException when the library cannot create its object.
  PLJPEGDecoder();
  ~PLJPEGDecoder() override;

  // Reads the header; sizes above the decoders' limits and colour spaces
  // other than greyscale, YCbCr, RGB, CMYK and YCCK are refused (code 6).
  void Open(PLDataSource* source) override;
  void GetImage(PLBmp& bitmap) override;
  // Ends a decode that was opened but not finished (the library points into
  // the source's buffer), then closes the source.
  void Close() override;

  // Fast mode (the default) switches off the library's smooth upsampling.
  void SetFast(bool fast) { m_bFast = fast; }

 private:
  struct State;
  void fail();
  void readRows(PLBmp& bitmap);

  std::unique_ptr<State> m_pState;  // the library's objects, at fixed addresses
  bool m_bFast;
};
