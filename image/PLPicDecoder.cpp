#include "image/PLPicDecoder.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/ByteOrder.h"
#include "image/PLAnyBmp.h"
#include "image/PLConstants.h"
#include "image/PLDataSource.h"
#include "image/PLFileSource.h"
#include "image/PLMemSource.h"
#include "image/PLTextException.h"

namespace {

constexpr size_t kMaxErrorText = 256;  // 255 bytes and the terminator
constexpr int kPackBitsMinRow = 8;     // shorter rows are stored unpacked

// Where traces go; empty: nowhere. Class-wide, as the level is.
std::string& TraceFileName() {
  static std::string name;
  return name;
}

bool IsRequestableDepth(int bpp) {
  return bpp == 0 || bpp == 1 || bpp == 8 || bpp == 24 || bpp == 32;
}

}  // namespace

int32_t PLPicDecoder::s_TraceLevel = 0;

PLPicDecoder::PLPicDecoder() : m_pDataSrc(nullptr) {
  SetBmpInfo(PLPoint(0, 0), 0, PLPoint(0, 0), false, false);
}

PLPicDecoder::~PLPicDecoder() { PLPicDecoder::Close(); }

void PLPicDecoder::SetTraceConfig(int level, const char* fileName) {
  s_TraceLevel = level;
  if (fileName == nullptr) {
    TraceFileName().clear();
    return;
  }
  TraceFileName() = fileName;
  std::remove(fileName);
}

void PLPicDecoder::Trace(int level, const char* text) {
  if (level > s_TraceLevel || TraceFileName().empty() || text == nullptr) return;
  std::FILE* f = std::fopen(TraceFileName().c_str(), "a");
  if (f == nullptr) return;
  std::fputs(text, f);
  std::fclose(f);
}

void PLPicDecoder::raiseError(int code, const char* text) {
  char composed[kMaxErrorText];
  std::snprintf(composed, sizeof composed, "Decoder error: %s\n", text != nullptr ? text : "");
  Trace(0, composed);
  throw PLTextException(code, composed);
}

void PLPicDecoder::raiseErrorF(int code, const char* format, ...) {
  char text[kMaxErrorText];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  raiseError(code, text);
}

void PLPicDecoder::OpenFile(const char* path, PLIProgressNotification* notification) {
  Close();
  const char* shown = path != nullptr ? path : "";
  if (s_TraceLevel >= 1) {
    std::string line = std::string("--- Decoding file ") + shown + ". ---\n";
    Trace(1, line.c_str());
  }
  auto source = std::make_unique<PLFileSource>(notification);
  const int err = source->Open(path);
  if (err != 0) {
    char text[kMaxErrorText];
    std::snprintf(text, sizeof text, "Opening %s failed", shown);
    raiseError(err, text);
  }
  Open(source.get());  // on failure the source is closed and deleted here
  m_pDataSrc = source.release();
}

void PLPicDecoder::Close() {
  if (m_pDataSrc == nullptr) return;
  std::unique_ptr<PLDataSource> source(m_pDataSrc);
  m_pDataSrc = nullptr;
  source->Close();
}

void PLPicDecoder::MakeBmpFromFile(const char* path, PLBmp* bitmap, int bpp,
                                   PLIProgressNotification* notification) {
  try {
    OpenFile(path, notification);
    MakeBmp(bitmap, bpp);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void PLPicDecoder::MakeBmpFromMemory(unsigned char* data, int size, PLBmp* bitmap, int bpp,
                                     PLIProgressNotification* notification) {
  Close();
  char text[kMaxErrorText];
  std::snprintf(text, sizeof text, "--- Decoding from memory at %p. ---\n",
                static_cast<void*>(data));
  Trace(1, text);
  auto source = std::make_unique<PLMemSource>(notification);
  const int err = source->Open(data, size);
  if (err != 0) {
    std::snprintf(text, sizeof text, "Reading from memory at %p failed", static_cast<void*>(data));
    raiseError(err, text);
  }
  Open(source.get());
  m_pDataSrc = source.release();
  try {
    MakeBmp(bitmap, bpp);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void PLPicDecoder::MakeBmp(PLBmp* bitmap, int bpp) {
  const int depth = GetBitsPerPixel();
  if (!IsRequestableDepth(bpp) || (bpp != 0 && bpp < depth)) {
    throw PLTextException(PL_ERRFORMAT_NOT_SUPPORTED, "Image bit depth doesn't match request.");
  }
  if (bpp == 0 || bpp == depth) {
    bitmap->Create(*this);
    GetImage(*bitmap);
    return;
  }
  PLAnyBmp temporary;
  temporary.Create(*this);
  GetImage(temporary);
  bitmap->CreateCopy(temporary, bpp);
}

uint8_t PLPicDecoder::ReadByte(PLDataSource* source) { return *source->Read1Byte(); }

uint16_t PLPicDecoder::ReadIWord(PLDataSource* source) {
  return little_endian::Load16(source->Read2Bytes());
}

uint32_t PLPicDecoder::ReadILong(PLDataSource* source) {
  return little_endian::Load32(source->Read4Bytes());
}

uint16_t PLPicDecoder::ReadMWord(PLDataSource* source) {
  return big_endian::Load16(source->Read2Bytes());
}

uint32_t PLPicDecoder::ReadMLong(PLDataSource* source) {
  return big_endian::Load32(source->Read4Bytes());
}

void PLPicDecoder::unpackPictRow(uint8_t* buffer, PLDataSource* source, int width, int rowBytes,
                                 int packedBytes) {
  if (rowBytes < kPackBitsMinRow) {
    std::memcpy(buffer, source->ReadNBytes(rowBytes), static_cast<size_t>(rowBytes));
    return;
  }
  const uint8_t* packed = source->ReadNBytes(packedBytes);
  int in = 0;
  int out = 0;
  while (in < packedBytes) {
    const int c = packed[in++];
    int n = 0;
    if (c < 128) {
      n = c + 1;
      if (n > packedBytes - in || n > rowBytes - out) break;
      std::memcpy(buffer + out, packed + in, static_cast<size_t>(n));
      in += n;
    } else if (c > 128) {
      n = 257 - c;
      if (in >= packedBytes || n > rowBytes - out) break;
      std::memset(buffer + out, packed[in++], static_cast<size_t>(n));
    }
    out += n;
  }
  if (in < packedBytes) raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "PackBits run passes the row end.");
}
