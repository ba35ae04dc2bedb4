#include "image/PLBmpDecoder.h"

#include <cstring>

#include "base/ByteOrder.h"
#include "image/PLBmp.h"
#include "image/PLConstants.h"
#include "image/PLDataSource.h"
#include "image/internal/PLBmpFormat.h"
#include "image/internal/PLBmpLock.h"

using namespace plbmp;

namespace {

constexpr float kInchesPerMetre = 39.37f;

bool IsSignature(uint16_t sig) {
  static const char* const kSignatures[] = {"BA", "BM", "IC", "CI", "CP"};
  for (const char* s : kSignatures) {
    if (sig == (static_cast<uint8_t>(s[0]) | (static_cast<uint8_t>(s[1]) << 8))) return true;
  }
  return false;
}

constexpr uint16_t kArraySignature = 'B' | ('A' << 8);

// Bytes of one stored row, padded to 4 bytes except at 32 bits per pixel;
// 0 for depths this decoder does not read uncompressed.
int64_t FileRowBytes(int bpp, int64_t width) {
  switch (bpp) {
    case 1: return ((width + 7) / 8 + 3) & ~int64_t{3};
    case 4: return ((width + 1) / 2 + 3) & ~int64_t{3};
    case 8: return (width + 3) & ~int64_t{3};
    case 16: return (2 * width + 3) & ~int64_t{3};
    case 24: return (3 * width + 3) & ~int64_t{3};
    case 32: return 4 * width;
    default: return 0;
  }
}

int DotsPerInch(int32_t pixelsPerMetre) {
  if (pixelsPerMetre <= 0) return 0;
  const int dpi = static_cast<int>(pixelsPerMetre / kInchesPerMetre + 0.5f);
  return dpi <= 1 ? 0 : dpi;
}

}  // namespace

PLBmpDecoder::PLBmpDecoder() : m_Masks{0, 0, 0}, m_bTopDown(false), m_Height(0) {}

PLBmpDecoder::~PLBmpDecoder() = default;

void PLBmpDecoder::Close() {
  m_pBMI.reset();
  PLPicDecoder::Close();
}

void PLBmpDecoder::Open(PLDataSource* source) {
  try {
    readHeaders(source);
  } catch (...) {
    m_pBMI.reset();
    throw;
  }
}

void PLBmpDecoder::readHeaders(PLDataSource* source) {
  m_pBMI.reset(new tagWINBITMAPINFOHEADER{});
  for (PLPixel32& p : m_Pal) p.Set(0, 0, 0, 255);
  m_Masks[0] = m_Masks[1] = m_Masks[2] = 0;

  uint16_t sig = ReadIWord(source);
  while (sig == kArraySignature) {
    source->Skip(kFileHeaderRest);  // the array header; the next signature follows
    sig = ReadIWord(source);
  }
  if (!IsSignature(sig)) raiseError(PL_ERRWRONG_SIGNATURE, "Bitmap decoder: This isn't a bitmap.");
  Trace(2, "Bitmap file signature found\n");
  ReadILong(source);  // file size: often wrong, never needed
  source->Skip(4);
  const uint32_t pixelOffset = ReadILong(source);

  readInfoHeader(source);
  readPalette(source);
  Trace(2, "Bitmap header is ok.\n");
  seekToPixels(source, pixelOffset);
  setDescription(source);
}

void PLBmpDecoder::readInfoHeader(PLDataSource* source) {
  tagWINBITMAPINFOHEADER& h = *m_pBMI;
  h.biSize = ReadILong(source);
  if (h.biSize == kOs2HeaderSize) {
    h.biWidth = ReadIWord(source);
    h.biHeight = ReadIWord(source);
    h.biPlanes = ReadIWord(source);
    h.biBitCount = ReadIWord(source);
    return;
  }
  if (h.biSize < kWinHeaderSize) {
    raiseErrorF(PL_ERRWRONG_SIGNATURE,
                "Bitmap decoder: header of %u bytes (expected 12 or 40 and more).", h.biSize);
  }
  if (h.biSize - 4 > static_cast<uint32_t>(source->GetBytesLeft())) {
    raiseErrorF(PL_ERRWRONG_SIGNATURE,
                "Bitmap decoder: header of %u bytes passes the end of the file (%d bytes).",
                h.biSize, source->GetFileSize());
  }
  h.biWidth = static_cast<int32_t>(ReadILong(source));
  h.biHeight = static_cast<int32_t>(ReadILong(source));
  h.biPlanes = ReadIWord(source);
  h.biBitCount = ReadIWord(source);
  h.biCompression = ReadILong(source);
  h.biSizeImage = ReadILong(source);
  h.biXPelsPerMeter = static_cast<int32_t>(ReadILong(source));
  h.biYPelsPerMeter = static_cast<int32_t>(ReadILong(source));
  h.biClrUsed = ReadILong(source);
  h.biClrImportant = ReadILong(source);
  uint32_t rest = h.biSize - kWinHeaderSize;
  if (h.biSize >= kMaskHeaderSize && h.biSize != kOs2v2HeaderSize) {
    readMasks(source, 3);  // V2 to V5 headers keep the masks inside
    rest -= 12;
  }
  source->Skip(static_cast<int>(rest));
  const bool hasMasks = h.biCompression == kBitFields || h.biCompression == kAlphaBitFields;
  if (h.biSize == kWinHeaderSize && hasMasks && (h.biBitCount == 16 || h.biBitCount == 32)) {
    readMasks(source, h.biCompression == kAlphaBitFields ? 4 : 3);
  }
}

void PLBmpDecoder::readMasks(PLDataSource* source, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t mask = ReadILong(source);
    if (i < 3) m_Masks[i] = mask;
  }
}

void PLBmpDecoder::readPalette(PLDataSource* source) {
  const tagWINBITMAPINFOHEADER& h = *m_pBMI;
  if (h.biBitCount > 8) return;
  Trace(3, "Reading palette.\n");
  const uint32_t entries = h.biClrUsed != 0 ? h.biClrUsed : (uint32_t{1} << h.biBitCount);
  if (entries > kMaxPaletteEntries) {
    raiseErrorF(PL_ERRWRONG_SIGNATURE, "Bitmap decoder: colour table of %u entries (at most %d).",
                entries, kMaxPaletteEntries);
  }
  // Only the 12-byte OS/2 header has 3-byte entries; every later header,
  // V4 and V5 included, has 4.
  const int entrySize = h.biSize == kOs2HeaderSize ? 3 : 4;
  const uint8_t* p = source->ReadNBytes(static_cast<int>(entries) * entrySize);
  for (uint32_t i = 0; i < entries; ++i, p += entrySize) m_Pal[i].Set(p[2], p[1], p[0], 255);
}

void PLBmpDecoder::seekToPixels(PLDataSource* source, uint32_t pixelOffset) {
  const int here = source->GetBytesRead();
  if (pixelOffset > static_cast<uint32_t>(source->GetFileSize())) {
    raiseErrorF(
        PL_ERRWRONG_SIGNATURE,
        "Bitmap decoder: pixel data offset 0x%x lies past the end of the file (0x%x bytes).",
        pixelOffset, static_cast<unsigned>(source->GetFileSize()));
  }
  // An offset inside the headers (0 in some writers' files) is taken to mean
  // that the pixels follow the colour table.
  if (pixelOffset > static_cast<uint32_t>(here)) {
    source->Skip(static_cast<int>(pixelOffset - static_cast<uint32_t>(here)));
  }
}

void PLBmpDecoder::setDescription(PLDataSource* source) {
  const tagWINBITMAPINFOHEADER& h = *m_pBMI;
  const int64_t width = h.biWidth;
  int64_t height = h.biHeight;
  m_bTopDown = height < 0;
  if (m_bTopDown) height = -height;
  if (width <= 0 || height == 0) {
    raiseErrorF(PL_ERRWRONG_SIGNATURE, "Bitmap decoder: size %d x %d is not a picture.", h.biWidth,
                h.biHeight);
  }
  if (width > kPLMaxDimension || height > kPLMaxDimension || width * height > kPLMaxPixels) {
    raiseErrorF(PL_ERRWRONG_SIGNATURE, "Bitmap decoder: size %d x %d is too large.", h.biWidth,
                h.biHeight);
  }
  m_Height = static_cast<int32_t>(height);
  // Uncompressed rows must all be there; checking now keeps a short file
  // from having its bitmap allocated first.
  const int bpp = h.biBitCount;
  const bool runLength = (bpp == 4 || bpp == 8) && h.biCompression != 0;
  const int64_t rowBytes = FileRowBytes(bpp, width);
  if (!runLength && rowBytes * height > source->GetBytesLeft()) {
    raiseErrorF(PL_ERREND_OF_FILE,
                "Bitmap decoder: %lld x %lld pixels at %d bits need %lld bytes, %d remain.",
                static_cast<long long>(width), static_cast<long long>(height), bpp,
                static_cast<long long>(rowBytes * height), source->GetBytesLeft());
  }
  const int x = DotsPerInch(h.biXPelsPerMeter);
  const int y = DotsPerInch(h.biYPelsPerMeter);
  SetBmpInfo(PLPoint(static_cast<int32_t>(width), m_Height), bpp > 8 ? 32 : 8, PLPoint(x, y),
             bpp == 32, false);
}

uint8_t* PLBmpDecoder::fileRow(PLBmp& bitmap, int k) const {
  return bitmap.GetLineArray()[m_bTopDown ? k : m_Height - 1 - k];
}

void PLBmpDecoder::GetImage(PLBmp& bitmap) {
  if (!m_pBMI || m_pDataSrc == nullptr) {
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "Bitmap decoder: no file is open.");
  }
  if (bitmap.GetSize() != GetSize() || bitmap.GetBitsPerPixel() != GetBitsPerPixel()) {
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "Bitmap decoder: the bitmap does not match the image.");
  }
  if (GetBitsPerPixel() == 8) bitmap.SetPalette(m_Pal);
  PLBmpLock lock(bitmap, false, true);
  const bool compressed = m_pBMI->biCompression != 0;
  PLDataSource* source = m_pDataSrc;
  switch (m_pBMI->biBitCount) {
    case 1: decode1bpp(source, bitmap); break;
    case 4: compressed ? decodeRLE4(source, bitmap) : decode4bpp(source, bitmap); break;
    case 8: compressed ? decodeRLE8(source, bitmap) : decode8bpp(source, bitmap); break;
    case 16: decodeHiColor(source, bitmap); break;
    case 24:
    case 32: decodeTrueColor(source, bitmap); break;
    default: raiseError(PL_ERRFORMAT_UNKNOWN, "Decoding bmp: Illegal bpp value.");
  }
}

void PLBmpDecoder::decode1bpp(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding 1 bit per pixel bitmap.\n");
  const int width = GetWidth();
  const int rowBytes = static_cast<int>(FileRowBytes(1, width));
  for (int k = 0; k < m_Height; ++k) {
    const uint8_t* p = source->ReadNBytes(rowBytes);
    uint8_t* dst = fileRow(bitmap, k);
    for (int x = 0; x < width; ++x) dst[x] = (p[x >> 3] >> (7 - (x & 7))) & 1;
  }
}

void PLBmpDecoder::decode4bpp(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding uncompressed 4 bit per pixel bitmap.\n");
  const int width = GetWidth();
  const int rowBytes = static_cast<int>(FileRowBytes(4, width));
  for (int k = 0; k < m_Height; ++k) {
    const uint8_t* p = source->ReadNBytes(rowBytes);
    uint8_t* dst = fileRow(bitmap, k);
    for (int x = 0; x < width; ++x) dst[x] = (x & 1) ? (p[x >> 1] & 0x0F) : (p[x >> 1] >> 4);
  }
}

void PLBmpDecoder::decode8bpp(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding uncompressed 8 bit per pixel bitmap.\n");
  const int width = GetWidth();
  const int rowBytes = static_cast<int>(FileRowBytes(8, width));
  for (int k = 0; k < m_Height; ++k) {
    std::memcpy(fileRow(bitmap, k), source->ReadNBytes(rowBytes), static_cast<size_t>(width));
  }
}

void PLBmpDecoder::decodeRLE8(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding RLE8-compressed bitmap.\n");
  decodeRunLength(source, bitmap, false);
}

void PLBmpDecoder::decodeRLE4(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding RLE4-compressed bitmap.\n");
  decodeRunLength(source, bitmap, true);
}

void PLBmpDecoder::checkRun(int k, int x, int count, int limit) const {
  if (count > limit - x) {
    raiseErrorF(PL_ERRFORMAT_NOT_SUPPORTED,
                "Decoding bmp: run of %d pixels at column %d passes the end of row %d (%d pixels, "
                "%d with padding).",
                count, x, k, GetWidth(), limit);
  }
}

// Run-length data are pairs of bytes (count, value). A count above 0 repeats
// the value (at 4 bits: its two nibbles in turn, high first). A count of 0 is
// an escape: 0 ends the row, 1 ends the bitmap, 2 (a delta move) is not
// supported, and n >= 3 introduces n literal pixels (n bytes, or n nibbles at
// 4 bits) padded to an even number of bytes. Pixels the data never reach
// stay 0. Writers fill rows up to the padding of a stored row (ImageMagick
// codes a 13-pixel row as 16 pixels), so runs may reach that far and the
// pixels past the width are dropped; a run past the padded row is damage.
// Rows past the last one end the decoding.
void PLBmpDecoder::decodeRunLength(PLDataSource* source, PLBmp& bitmap, bool fourBit) {
  const int width = GetWidth();
  const int limit = fourBit ? (width + 7) & ~7 : (width + 3) & ~3;
  int k = 0;
  int x = 0;
  while (k < m_Height) {
    const uint8_t* pair = source->ReadNBytes(2);
    const int count = pair[0];
    const int value = pair[1];
    uint8_t* dst = fileRow(bitmap, k);
    if (count > 0) {
      checkRun(k, x, count, limit);
      for (int i = 0; i < count; ++i, ++x) {
        if (x < width)
          dst[x] = static_cast<uint8_t>(fourBit ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      }
      continue;
    }
    if (value == 0) {
      ++k;
      x = 0;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "Encountered delta escape.");
    } else {
      checkRun(k, x, value, limit);
      const int nBytes = fourBit ? (value + 1) / 2 : value;
      const uint8_t* literal = source->ReadNBytes(nBytes);
      for (int i = 0; i < value; ++i, ++x) {
        const int v =
            fourBit ? ((i & 1) ? literal[i >> 1] & 0x0F : literal[i >> 1] >> 4) : literal[i];
        if (x < width) dst[x] = static_cast<uint8_t>(v);
      }
      if (nBytes & 1) source->Skip(1);
    }
  }
}

void PLBmpDecoder::decodeHiColor(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding 16 bit per pixel bitmap.\n");
  const bool is555 = m_pBMI->biCompression == 0 ||
                     (m_Masks[0] == 0x7C00 && m_Masks[1] == 0x03E0 && m_Masks[2] == 0x001F);
  const int width = GetWidth();
  const int rowBytes = static_cast<int>(FileRowBytes(16, width));
  for (int k = 0; k < m_Height; ++k) {
    const uint8_t* p = source->ReadNBytes(rowBytes);
    PLPixel32* dst = reinterpret_cast<PLPixel32*>(fileRow(bitmap, k));
    for (int x = 0; x < width; ++x) {
      const unsigned v = little_endian::Load16(p + 2 * x);
      if (is555) {
        dst[x].Set((v >> 7) & 0xF8, (v >> 2) & 0xF8, (v & 0x1F) * 8, 255);
      } else {
        dst[x].Set((v >> 8) & 0xF8, (v >> 3) & 0xF8, (v & 0x1F) * 8, 255);
      }
    }
  }
}

void PLBmpDecoder::decodeTrueColor(PLDataSource* source, PLBmp& bitmap) {
  Trace(2, "Decoding true-color bitmap.\n");
  const int bpp = m_pBMI->biBitCount;
  const int width = GetWidth();
  const int rowBytes = static_cast<int>(FileRowBytes(bpp, width));
  const int step = bpp / 8;
  for (int k = 0; k < m_Height; ++k) {
    const uint8_t* p = source->ReadNBytes(rowBytes);
    PLPixel32* dst = reinterpret_cast<PLPixel32*>(fileRow(bitmap, k));
    for (int x = 0; x < width; ++x, p += step) {
      dst[x].Set(p[2], p[1], p[0], bpp == 32 ? p[3] : 255);
    }
  }
}
