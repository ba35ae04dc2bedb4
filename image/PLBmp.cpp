#include "image/PLBmp.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/PLAnyBmp.h"
#include "image/PLConstants.h"
#include "image/PLFilter.h"
#include "image/PLFilterQuantize.h"
#include "image/PLTextException.h"
#include "image/internal/PLBmpLock.h"

namespace {

constexpr int kDefaultDitherPaletteType = 2;  // the quantizer's fixed palette
constexpr uint8_t kOneBitThreshold = 128;     // a channel below this counts as dark

bool IsSupportedDepth(int bpp) { return bpp == 1 || bpp == 8 || bpp == 24 || bpp == 32; }

bool BitAt(const uint8_t* row, int x) { return (row[x >> 3] & (0x80 >> (x & 7))) != 0; }

bool Within(int a, int b, int epsilon) { return std::abs(a - b) <= epsilon; }

bool ColourWithin(const PLPixel32& a, const PLPixel32& b, int epsilon) {
  return Within(a.GetR(), b.GetR(), epsilon) && Within(a.GetG(), b.GetG(), epsilon) &&
         Within(a.GetB(), b.GetB(), epsilon);
}

}  // namespace

PLBmp::PLBmp()
    : m_pClrTab(nullptr),
      m_pLineArray(nullptr),
      m_LockCount(0),
      m_DitherType(0),
      m_DitherPaletteType(kDefaultDitherPaletteType) {}

PLBmp::~PLBmp() = default;

void PLBmp::AssertValid() const {
  assert(m_LockCount >= 0);
  assert((m_bpp <= 8) == (m_pClrTab != nullptr));
}

void PLBmp::checkCreateArgs(long width, long height, int bpp) {
  char text[160];
  if (!IsSupportedDepth(bpp)) {
    std::snprintf(text, sizeof text, "Cannot create a bitmap of %d bits per pixel.", bpp);
    throw PLTextException(PL_ERRFORMAT_UNKNOWN, text);
  }
  if (width < 0 || height < 0 || width > kPLMaxDimension || height > kPLMaxDimension ||
      int64_t{width} * height > kPLMaxPixels) {
    std::snprintf(text, sizeof text, "Cannot create a bitmap of %ld x %ld pixels.", width, height);
    throw PLTextException(PL_ERRNO_MEMORY, text);
  }
}

void PLBmp::Create(long width, long height, unsigned short bpp, bool alpha, bool greyscale,
                   const PLPoint& resolution) {
  checkCreateArgs(width, height, bpp);
  freeMembers();
  internalCreate(width, height, bpp, alpha, greyscale);
  m_Resolution = resolution;
}

void PLBmp::Create(const PLBmpInfo& info) {
  Create(info.GetWidth(), info.GetHeight(), static_cast<unsigned short>(info.GetBitsPerPixel()),
         info.HasAlpha(), info.IsGreyscale(), info.GetResolution());
}

void PLBmp::Lock(bool, bool) const { ++m_LockCount; }

void PLBmp::Unlock() const {
  assert(m_LockCount > 0);
  --m_LockCount;
}

PLBmp& PLBmp::operator=(const PLBmp& source) {
  if (&source != this) CreateCopy(source, 0);
  return *this;
}

void PLBmp::internalCopy(const PLBmp& source) {
  internalCreate(source.GetWidth(), source.GetHeight(),
                 static_cast<unsigned short>(source.GetBitsPerPixel()), source.HasAlpha(),
                 source.IsGreyscale());
  PLBmpLock srcLock(source, true, false);
  PLBmpLock dstLock(*this, false, true);
  const long nBytes = GetBytesPerLine();
  for (int y = 0; nBytes > 0 && y < GetHeight(); ++y) {
    std::memcpy(m_pLineArray[y], source.m_pLineArray[y], static_cast<size_t>(nBytes));
  }
  if (GetBitsPerPixel() <= 8) SetPalette(source.GetPalette());
  m_Resolution = source.GetResolution();
}

void PLBmp::CreateCopy(const PLBmp& source, int bpp) {
  if (&source == this) return;
  const int srcBpp = source.GetBitsPerPixel();
  if (bpp == 0 || bpp == srcBpp) {
    freeMembers();
    internalCopy(source);
    return;
  }
  Create(source.GetWidth(), source.GetHeight(), static_cast<unsigned short>(bpp),
         source.HasAlpha() && bpp == 32, source.IsGreyscale() && bpp == 8);
  switch (bpp) {
    case 1: create1BPPCopy(source); break;
    case 8: create8BPPCopy(source); break;
    case 24: createTrueColorCopy<PLPixel24>(source); break;
    case 32: createTrueColorCopy<PLPixel32>(source); break;
    default: assert(false && "Create accepts 1, 8, 24 and 32 only"); break;
  }
  m_Resolution = source.GetResolution();
}

namespace {

// One source pixel as an opaque-or-not 32-bit colour, whatever the source
// depth. A 1-bit source without palette reads as white (0) and black (1).
PLPixel32 OneBitColour(const PLBmp& source, bool set) {
  if (source.GetPalette() != nullptr) return source.GetPalette()[set ? 1 : 0];
  return set ? PLPixel32(0, 0, 0, 255) : PLPixel32(255, 255, 255, 255);
}

PLPixel32 SourceColour(const PLBmp& source, const uint8_t* row, int x) {
  switch (source.GetBitsPerPixel()) {
    case 1: return OneBitColour(source, BitAt(row, x));
    case 8: return source.GetPalette()[row[x]];
    case 24: return reinterpret_cast<const PLPixel24*>(row)[x];
    default: return reinterpret_cast<const PLPixel32*>(row)[x];
  }
}

void StorePixel(PLPixel32* row, int x, const PLPixel32& p) { row[x] = p; }
void StorePixel(PLPixel24* row, int x, const PLPixel32& p) { row[x] = p; }

}  // namespace

template <class PixelT>
void PLBmp::createTrueColorCopy(const PLBmp& source) {
  PLBmpLock srcLock(source, true, false);
  PLBmpLock dstLock(*this, false, true);
  const int width = GetWidth();
  for (int y = 0; y < GetHeight(); ++y) {
    const uint8_t* src = source.GetLineArray()[y];
    PixelT* dst = reinterpret_cast<PixelT*>(m_pLineArray[y]);
    for (int x = 0; x < width; ++x) StorePixel(dst, x, SourceColour(source, src, x));
  }
}

void PLBmp::create8BPPCopy(const PLBmp& source) {
  const int srcBpp = source.GetBitsPerPixel();
  if (srcBpp == 32 || srcBpp == 24) {
    // The quantizer works on 32-bit pixels; a 24-bit source is widened first
    // rather than read with the wrong pixel size.
    const PLFilterQuantize quantize(m_DitherPaletteType, m_DitherType);
    quantize.Apply(&source, this);
    return;
  }
  assert(srcBpp == 1);
  PLBmpLock srcLock(source, true, false);
  PLBmpLock dstLock(*this, false, true);
  for (int i = 0; i < 2; ++i) {
    m_pClrTab[i] = OneBitColour(source, i == 1);
    m_pClrTab[i].SetA(255);
  }
  for (int y = 0; y < GetHeight(); ++y) {
    const uint8_t* src = source.GetLineArray()[y];
    uint8_t* dst = m_pLineArray[y];
    for (int x = 0; x < GetWidth(); ++x) dst[x] = BitAt(src, x) ? 1 : 0;
  }
}

void PLBmp::create1BPPCopy(const PLBmp& source) {
  PLBmpLock srcLock(source, true, false);
  PLBmpLock dstLock(*this, false, true);
  m_pClrTab[0] = PLPixel32(255, 255, 255, 255);
  m_pClrTab[1] = PLPixel32(0, 0, 0, 255);
  const long nBytes = GetBytesPerLine();
  for (int y = 0; y < GetHeight(); ++y) {
    const uint8_t* src = source.GetLineArray()[y];
    uint8_t* dst = m_pLineArray[y];
    if (nBytes > 0) std::memset(dst, 0, static_cast<size_t>(nBytes));
    for (int x = 0; x < GetWidth(); ++x) {
      const PLPixel32 c = SourceColour(source, src, x);
      if (c.GetR() < kOneBitThreshold && c.GetG() < kOneBitThreshold &&
          c.GetB() < kOneBitThreshold) {
        dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
    }
  }
}

PLPixel32 PLBmp::GetPixel(int x, int y) const {
  if (m_bpp != 32 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) {
    return PLPixel32(0, 0, 0, 0);
  }
  return GetLineArray32()[y][x];
}

void PLBmp::SetPixel(int x, int y, PLPixel32 pixel) {
  if (m_bpp != 32 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
  GetLineArray32()[y][x] = pixel;
}

void PLBmp::SetPalette(const PLPixel32* entries) {
  if (m_pClrTab == nullptr || entries == nullptr) return;
  std::memcpy(m_pClrTab, entries, sizeof(PLPixel32) * static_cast<size_t>(GetNumColors()));
}

void PLBmp::SetPaletteEntry(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  if (m_pClrTab == nullptr || index >= GetNumColors()) return;
  m_pClrTab[index].Set(r, g, b, a);
}

void PLBmp::SetPaletteEntry(uint8_t index, PLPixel32 entry) {
  SetPaletteEntry(index, entry.GetR(), entry.GetG(), entry.GetB(), entry.GetA());
}

void PLBmp::SetGrayPalette() {
  if (m_pClrTab == nullptr) return;
  const int n = GetNumColors();
  const int step = n > 1 ? 255 / (n - 1) : 0;
  for (int i = 0; i < n; ++i) {
    const uint8_t v = static_cast<uint8_t>(i * step);
    m_pClrTab[i].Set(v, v, v, 255);
  }
}

int PLBmp::GetNumColors() const {
  if (m_bpp >= 0 && m_bpp <= 8) return 1 << m_bpp;
  return 1 << 24;
}

int PLBmp::FindNearestColor(PLPixel32 colour) const {
  if (m_pClrTab == nullptr) return -1;
  int best = -1;
  int bestDist = 100000;
  for (int i = 0; i < GetNumColors(); ++i) {
    const int d = colour.BoxDist(m_pClrTab[i]);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

void PLBmp::SetQuantizationMode(int ditherType, int ditherPaletteType) {
  m_DitherType = ditherType;
  m_DitherPaletteType = ditherPaletteType;
}

void PLBmp::SetAlphaChannel(PLBmp* alpha) {
  if (alpha == nullptr || m_bpp != 32 || alpha->GetBitsPerPixel() != 8 ||
      alpha->GetSize() != GetSize()) {
    return;
  }
  PLBmpLock srcLock(*alpha, true, false);
  PLBmpLock dstLock(*this, false, true);
  for (int y = 0; y < GetHeight(); ++y) {
    PLPixel32* dst = GetLineArray32()[y];
    const uint8_t* src = alpha->GetLineArray()[y];
    for (int x = 0; x < GetWidth(); ++x) dst[x].SetA(src[x]);
  }
  m_bAlphaChannel = true;
}

bool PLBmp::rowsAlmostEqual(const PLBmp& other, int epsilon) const {
  const int width = GetWidth();
  for (int y = 0; y < GetHeight(); ++y) {
    const uint8_t* a = m_pLineArray[y];
    const uint8_t* b = other.m_pLineArray[y];
    for (int x = 0; x < width; ++x) {
      switch (m_bpp) {
        case 1:
          if (BitAt(a, x) != BitAt(b, x)) return false;
          break;
        case 8:
          if (!Within(a[x], b[x], epsilon)) return false;
          break;
        case 24:
          if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0) return false;
          break;
        default: {
          const PLPixel32& p = reinterpret_cast<const PLPixel32*>(a)[x];
          const PLPixel32& q = reinterpret_cast<const PLPixel32*>(b)[x];
          if (!ColourWithin(p, q, epsilon)) return false;
          if (m_bAlphaChannel && !Within(p.GetA(), q.GetA(), epsilon)) return false;
        }
      }
    }
  }
  return true;
}

bool PLBmp::AlmostEqual(const PLBmp& other, int epsilon) const {
  if (GetSize() != other.GetSize() || HasAlpha() != other.HasAlpha() ||
      IsGreyscale() != other.IsGreyscale() || m_bpp != other.m_bpp ||
      GetResolution() != other.GetResolution()) {
    return false;
  }
  if (!rowsAlmostEqual(other, epsilon)) return false;
  // Every palette entry counts, the last one included.
  if (m_pClrTab != nullptr && other.m_pClrTab != nullptr) {
    for (int i = 0; i < GetNumColors(); ++i) {
      if (!ColourWithin(m_pClrTab[i], other.m_pClrTab[i], epsilon)) return false;
    }
  }
  return true;
}

void PLBmp::ApplyFilter(const PLFilter& filter) { filter.ApplyInPlace(this); }

void PLBmp::CreateFilteredCopy(PLBmp& source, const PLFilter& filter) {
  filter.Apply(&source, this);
}
