#include "image/PLBmpInfo.h"

#include <cstdio>

namespace {
constexpr const char* kInfoFormat =
    "{ Size: (%i, %i), bpp: %i, Resolution: (%i, %i), Alpha: %i, Greyscale: %i }";
}

PLBmpInfo::PLBmpInfo(const PLPoint& size, int bpp, const PLPoint& resolution, bool alpha,
                     bool greyscale) {
  SetBmpInfo(size, bpp, resolution, alpha, greyscale);
}

PLBmpInfo::PLBmpInfo(const char* text) {
  int v[7] = {0, 0, 0, 0, 0, 0, 0};
  if (text != nullptr) {
    std::sscanf(text, kInfoFormat, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
  }
  SetBmpInfo(PLPoint(v[0], v[1]), v[2], PLPoint(v[3], v[4]), v[5] != 0, v[6] != 0);
}

void PLBmpInfo::AsString(char* buffer, int length) const {
  if (buffer == nullptr || length < 1) return;
  std::snprintf(buffer, static_cast<size_t>(length), kInfoFormat, m_Size.x, m_Size.y, m_bpp,
                m_Resolution.x, m_Resolution.y, m_bAlphaChannel ? 1 : 0, m_bIsGreyscale ? 1 : 0);
}

void PLBmpInfo::SetBmpInfo(const PLPoint& size, int bpp, const PLPoint& resolution, bool alpha,
                           bool greyscale) {
  m_Size = size;
  m_bpp = bpp;
  m_Resolution = resolution;
  m_bAlphaChannel = alpha;
  m_bIsGreyscale = greyscale;
}

void PLBmpInfo::SetBmpInfo(const PLBmpInfo& other) {
  SetBmpInfo(other.m_Size, other.m_bpp, other.m_Resolution, other.m_bAlphaChannel,
             other.m_bIsGreyscale);
}

bool PLBmpInfo::operator==(const PLBmpInfo& other) const {
  return m_Size == other.m_Size && m_bpp == other.m_bpp && m_Resolution == other.m_Resolution &&
         m_bAlphaChannel == other.m_bAlphaChannel && m_bIsGreyscale == other.m_bIsGreyscale;
}
