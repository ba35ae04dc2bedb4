#include "image/PLAnyPicDecoder.h"

#include <algorithm>
#include <cstring>

#include "base/ByteOrder.h"
#include "image/PLBmpDecoder.h"
#include "image/PLConstants.h"
#include "image/PLDataSource.h"
#include "image/PLJPEGDecoder.h"

namespace {

constexpr int kPictMinSize = 541;  // smaller data are never PICT
constexpr int kPictOffset = 522;   // PICT files start with a 512-byte header

// The content tests, in order; the first that matches wins. Each test sees
// the bytes it needs only when the data hold them, so a short file is simply
// not that format.
struct Sniffer {
  const uint8_t* d;
  int n;
  bool Has(int count) const { return n >= count; }
  bool Starts(const char* text, int count) const {
    return Has(count) && std::memcmp(d, text, static_cast<size_t>(count)) == 0;
  }
  bool IsTarga() const {
    if (!Has(17)) return false;
    const uint8_t bpp = d[16];
    return d[1] <= 1 && d[2] <= 11 && (d[2] <= 3 || d[2] > 8) &&
           (d[7] == 0 || d[7] == 8 || d[7] == 15 || d[7] == 16 || d[7] == 24 || d[7] == 32) &&
           (bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32);
  }
  bool IsPict() const {
    if (n < kPictMinSize) return false;
    const uint8_t* p = d + kPictOffset;
    return (p[0] == 0x00 && p[1] == 0x11 && p[2] == 0x02 && p[3] == 0xFF) ||
           (p[0] == 0x00 && p[1] == 0x11 && p[2] == 0x01) ||
           (p[0] == 0x11 && p[1] == 0x01 && p[2] == 0x01 && p[3] == 0x00);
  }
  bool IsEps() const {
    return Has(28) && (Starts("\xC5\xD0\xD3\xC6", 4) || Starts("\xC6\xD3\xD0\xC5", 4)) &&
           PLAnyPicDecoder::epsLongVal(d + 20) != 0 && PLAnyPicDecoder::epsLongVal(d + 24) != 0;
  }
};

}  // namespace

PLAnyPicDecoder::PLAnyPicDecoder()
    : m_Type(PL_FT_UNKNOWN),
      m_pCurDec(nullptr),
      m_pBmpDec(new PLBmpDecoder),
      m_pJPEGDec(new PLJPEGDecoder) {}

PLAnyPicDecoder::~PLAnyPicDecoder() { PLAnyPicDecoder::Close(); }

int32_t PLAnyPicDecoder::epsLongVal(const uint8_t* b) {
  return static_cast<int32_t>(little_endian::Load32(b));
}

int PLAnyPicDecoder::getFileType(const uint8_t* data, int size) {
  const Sniffer s{data, data != nullptr && size > 0 ? size : 0};
  if (s.Starts("BA", 2) || s.Starts("BM", 2) || s.Starts("IC", 2) || s.Starts("CI", 2) ||
      s.Starts("CP", 2)) {
    return PL_FT_WINBMP;
  }
  if (s.IsTarga()) return PL_FT_TARGA;
  if (s.Starts("GIF8", 4)) return PL_FT_GIF;
  if (s.Starts("II\x2A\x00", 4) || s.Starts("MM\x00\x2A", 4)) return PL_FT_TIFF;
  if (s.IsPict()) return PL_FT_MACPICT;
  if (s.Starts("\xFF\xD8\xFF", 3)) return PL_FT_JPEG;
  if (s.Starts("\x89PNG", 4)) return PL_FT_PNG;
  if (s.IsEps()) return PL_FT_EPSTIFF;
  if (s.Has(3) && data[0] == 10 && data[2] == 1) return PL_FT_PCX;
  if (s.Starts("P2", 2) || s.Starts("P5", 2)) return PL_FT_PGM;
  if (s.Starts("P3", 2) || s.Starts("P6", 2)) return PL_FT_PPM;
  if (s.Starts("8BPS", 4)) return PL_FT_PSD;
  return PL_FT_UNKNOWN;
}

void PLAnyPicDecoder::Open(PLDataSource* source) {
  m_Type = PL_FT_UNKNOWN;
  m_pCurDec = nullptr;
  // The tests look at most at the first kPictMinSize bytes; fewer are there
  // only when the data are shorter.
  const uint8_t* head = source->GetBufferPtr(kPictMinSize);
  const int available = std::min(source->GetBytesLeft(), kPictMinSize);
  m_Type = getFileType(head, available);
  switch (m_Type) {
    case PL_FT_UNKNOWN: raiseError(PL_ERRUNKNOWN_FILE_TYPE, "Unknown file type.");
    case PL_FT_WINBMP:
      Trace(2, "Windows bitmap recognized.\n");
      m_pCurDec = m_pBmpDec.get();
      break;
    case PL_FT_JPEG:
      Trace(2, "JPEG file recognized.\n");
      m_pCurDec = m_pJPEGDec.get();
      break;
    default: raiseError(PL_ERRFORMAT_NOT_COMPILED, "Library not compiled for this file type.");
  }
  m_pCurDec->Open(source);
  SetBmpInfo(*m_pCurDec);
  m_pCurDec->SetDataSrc(source);
}

void PLAnyPicDecoder::GetImage(PLBmp& bitmap) {
  if (m_pCurDec == nullptr || m_pDataSrc == nullptr) {
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "No image is open.");
  }
  m_pCurDec->GetImage(bitmap);
  SetBmpInfo(*m_pCurDec);
}

void PLAnyPicDecoder::Close() {
  if (m_pDataSrc == nullptr) return;
  if (m_pCurDec == nullptr) {
    PLPicDecoder::Close();
    return;
  }
  // The current decoder holds the same source and deletes it.
  m_pCurDec->Close();
  m_pDataSrc = nullptr;
  m_pCurDec = nullptr;
}
