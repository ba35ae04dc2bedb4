// PLPicDecoder.h: the base of image decoders. A decoder opens a data source,
// describes the image in its own PLBmpInfo (valid after Open) and fills a
// bitmap at the depth its caller asks for.
//
// Use: construct, OpenFile (or MakeBmpFromFile / MakeBmpFromMemory), MakeBmp,
// Close. Every failure throws PLTextException (codes in PLConstants.h);
// outside this subsystem, call PLDecodeFile instead, which catches it.
//
// The decoder owns the data source that OpenFile creates, until Close.
#pragma once

#include <cstdint>

#include "image/PLBmpInfo.h"

class PLBmp;
class PLDataSource;
class PLIProgressNotification;

class PLPicDecoder : public PLBmpInfo {
 public:
  PLPicDecoder();
  ~PLPicDecoder() override;
  PLPicDecoder(const PLPicDecoder&) = delete;
  PLPicDecoder& operator=(const PLPicDecoder&) = delete;
  void AssertValid() const override {}

  // OpenFile, MakeBmp, Close; closes on failure too.
  virtual void MakeBmpFromFile(const char* path, PLBmp* bitmap, int bpp = 0,
                               PLIProgressNotification* notification = nullptr);
  // The same over size bytes at data (borrowed for the call).
  virtual void MakeBmpFromMemory(unsigned char* data, int size, PLBmp* bitmap, int bpp = 0,
                                 PLIProgressNotification* notification = nullptr);
  // Fills bitmap with the opened image at bpp bits per pixel: 0 or the
  // image's own depth as it is, a larger depth of 8, 24 or 32 by conversion.
  // A smaller or unknown depth throws code 6 "Image bit depth doesn't match
  // request.".
  virtual void MakeBmp(PLBmp* bitmap, int bpp = 0);
  // Closes and deletes the data source, if any.
  virtual void Close();
  // Reads the image's header from source and sets the description; the
  // caller keeps source.
  virtual void Open(PLDataSource* source) = 0;
  // Decodes the pixels into bitmap, which was created from the description.
  virtual void GetImage(PLBmp& bitmap) = 0;

  // Opens path (notification borrowed, may be null) and runs Open; the
  // decoder keeps the source. A file that cannot be opened throws code -1
  // "Opening <path> failed".
  void OpenFile(const char* path, PLIProgressNotification* notification = nullptr);
  // Takes source as the decoder's own (owned until Close).
  void SetDataSrc(PLDataSource* source) { m_pDataSrc = source; }

  // Trace output, off by default: level 0 errors, 1 files, 2 formats, 3
  // details. fileName null turns it off; otherwise the file is emptied first.
  static void SetTraceConfig(int level, const char* fileName);
  static void Trace(int level, const char* text);

  // Throws PLTextException(code, "Decoder error: <text>\n"), the text cut to
  // 255 bytes, after tracing it at level 0.
  [[noreturn]] static void raiseError(int code, const char* text);
  // raiseError with a printf-style text.
  [[noreturn]] static void raiseErrorF(int code, const char* format, ...)
      __attribute__((format(printf, 2, 3)));

 protected:
  static uint8_t ReadByte(PLDataSource* source);
  static uint16_t ReadIWord(PLDataSource* source);  // least significant byte first
  static uint32_t ReadILong(PLDataSource* source);
  static uint16_t ReadMWord(PLDataSource* source);  // most significant byte first
  static uint32_t ReadMLong(PLDataSource* source);

  // One PackBits row into buffer, which must hold rowBytes bytes: for rowBytes
  // above 7, packedBytes bytes are read and expanded; otherwise rowBytes
  // plain bytes are copied. A run that would pass rowBytes throws code 6.
  void unpackPictRow(uint8_t* buffer, PLDataSource* source, int width, int rowBytes,
                     int packedBytes);

  PLDataSource* m_pDataSrc;  // owned once set; deleted by Close

 private:
  static int32_t s_TraceLevel;
};
