#include "base/CArrCore.h"

#include <algorithm>
#include <cstring>

CArrCore::CArrCore()
    : m_pData(nullptr), m_nSize(0), m_nMax(0), m_nGrowBy(kDefaultGrowBy), m_nRecSize(8) {}

CArrCore::~CArrCore() { RemoveAll(); }

void CArrCore::ConstructRec(unsigned char*) {}
void CArrCore::DestructRec(unsigned char*) {}
void CArrCore::CopyRec(unsigned char*, unsigned char*) {}

void CArrCore::SetSize(int newSize, int growBy) {
  if (newSize < 0) newSize = 0;
  if (growBy == 0) growBy = std::min(std::max(m_nSize / 16, 32), 1024);
  if (growBy != -1) m_nGrowBy = growBy;

  if (!m_pData) {
    m_pData = new unsigned char[static_cast<size_t>(newSize) * m_nRecSize];
    m_nSize = m_nMax = newSize;
    ConstructRecs(0, newSize);
    return;
  }
  if (newSize > m_nMax) {
    const int64_t stepped = static_cast<int64_t>(m_nMax) + m_nGrowBy;
    const int cap = newSize < stepped ? static_cast<int>(stepped) : newSize;
    unsigned char* data = new unsigned char[static_cast<size_t>(cap) * m_nRecSize];
    if (m_nSize) std::memcpy(data, m_pData, static_cast<size_t>(m_nSize) * m_nRecSize);
    delete[] m_pData;
    m_pData = data;
    const int oldSize = m_nSize;
    m_nSize = newSize;
    m_nMax = cap;
    ConstructRecs(oldSize, newSize - oldSize);
    return;
  }
  if (newSize > m_nSize)
    ConstructRecs(m_nSize, newSize - m_nSize);
  else if (newSize < m_nSize)
    DestructRecs(newSize, m_nSize - newSize);
  m_nSize = newSize;
}

void CArrCore::RemoveAll() {
  if (m_nSize > 0) DestructRecs(0, m_nSize);
  if (m_nSize > 0 || m_pData) {
    delete[] m_pData;
    m_pData = nullptr;
  }
  m_nSize = m_nMax = 0;
  m_nGrowBy = kDefaultGrowBy;
}

void CArrCore::RemoveAt(int index, int count) {
  if (count <= 0) return;
  DestructRecs(index, count);
  const int behind = m_nSize - index - count;
  if (behind > 0)
    std::memmove(RecAt(index), RecAt(index + count), static_cast<size_t>(behind) * m_nRecSize);
  m_nSize -= count;
}

void CArrCore::ConstructRecs(int index, int count) {
  for (int i = 0; i < count; ++i) ConstructRec(RecAt(index + i));
}

void CArrCore::DestructRecs(int index, int count) {
  for (int i = 0; i < count; ++i) DestructRec(RecAt(index + i));
}

void CArrCore::CopyRecs(int index, unsigned char* src, int count) {
  for (int i = 0; i < count; ++i)
    CopyRec(RecAt(index + i), src + static_cast<size_t>(i) * m_nRecSize);
}
