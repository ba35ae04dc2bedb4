#include "image/PLAnyBmp.h"

#include <new>

#include "image/PLConstants.h"
#include "image/PLTextException.h"

namespace {
constexpr long kDefaultSide = 16;
constexpr unsigned short kDefaultBpp = 8;
}  // namespace

PLAnyBmp::PLAnyBmp() { internalCreate(kDefaultSide, kDefaultSide, kDefaultBpp, false, false); }

PLAnyBmp::PLAnyBmp(const PLAnyBmp& source) : PLBmp() { internalCopy(source); }

PLAnyBmp::PLAnyBmp(const PLBmp& source) { internalCopy(source); }

PLAnyBmp::~PLAnyBmp() { freeMembers(); }

PLAnyBmp& PLAnyBmp::operator=(const PLBmp& source) {
  PLBmp::operator=(source);
  return *this;
}

PLAnyBmp& PLAnyBmp::operator=(const PLAnyBmp& source) {
  PLBmp::operator=(source);
  return *this;
}

long PLAnyBmp::bytesPerLine(long width, unsigned short bpp) {
  long n = width * bpp / 8;
  if (bpp == 1 && width % 8 != 0) ++n;
  return n;
}

long PLAnyBmp::GetBytesPerLine() {
  return bytesPerLine(GetWidth(), static_cast<unsigned short>(m_bpp));
}

long PLAnyBmp::GetBitsMemNeeded(long width, long height, unsigned short bpp) {
  return bytesPerLine(width, bpp) * height;
}

long PLAnyBmp::GetMemNeeded(long width, long height, unsigned short bpp) {
  long n = GetBitsMemNeeded(width, height, bpp);
  if (bpp < 16) n += 4L << bpp;
  return n + static_cast<long>(sizeof(PLAnyBmp));
}

long PLAnyBmp::GetMemUsed() {
  return GetMemNeeded(GetWidth(), GetHeight(), static_cast<unsigned short>(m_bpp));
}

void PLAnyBmp::internalCreate(long width, long height, unsigned short bpp, bool alpha,
                              bool greyscale) {
  checkCreateArgs(width, height, bpp);
  try {
    // The block is cleared, so rows that a damaged file never reaches are
    // black (index 0) rather than whatever the heap held.
    m_Bits.assign(static_cast<size_t>(GetBitsMemNeeded(width, height, bpp)), 0);
    m_Palette.assign(bpp <= 8 ? size_t{1} << bpp : 0, PLPixel32(0, 0, 0, 255));
    m_Lines.assign(static_cast<size_t>(height), nullptr);
  } catch (const std::bad_alloc&) {
    freeMembers();
    throw PLTextException(PL_ERRNO_MEMORY, "Out of memory.");
  }
  m_pClrTab = m_Palette.empty() ? nullptr : m_Palette.data();
  SetBmpInfo(PLPoint(static_cast<int32_t>(width), static_cast<int32_t>(height)), bpp, PLPoint(0, 0),
             alpha, greyscale);
  initLineArray();
  if (bpp < 16) SetGrayPalette();
}

void PLAnyBmp::freeMembers() {
  std::vector<uint8_t>().swap(m_Bits);
  std::vector<PLPixel32>().swap(m_Palette);
  std::vector<uint8_t*>().swap(m_Lines);
  m_pClrTab = nullptr;
  m_pLineArray = nullptr;
}

void PLAnyBmp::initLineArray() {
  const long nBytes = GetBytesPerLine();
  for (size_t i = 0; i < m_Lines.size(); ++i) m_Lines[i] = m_Bits.data() + i * nBytes;
  m_pLineArray = m_Lines.empty() ? nullptr : m_Lines.data();
}
