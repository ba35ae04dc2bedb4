#include "image/PLMemSource.h"

PLMemSource::PLMemSource(PLIProgressNotification* notification)
    : PLDataSource(notification), m_pCurPos(nullptr) {}

PLMemSource::~PLMemSource() = default;

int PLMemSource::Open(unsigned char* data, int size) {
  if (size < 0 || (data == nullptr && size > 0)) return -1;
  PLDataSource::Open("Mem", size);
  m_pCurPos = data;
  return 0;
}

void PLMemSource::Close() {
  m_pCurPos = nullptr;
  PLDataSource::Close();
}

uint8_t* PLMemSource::GetBufferPtr(int) { return m_pCurPos; }

uint8_t* PLMemSource::ReadNBytes(int count) {
  accountRead(count);
  uint8_t* p = m_pCurPos;
  if (count > 0) m_pCurPos += count;
  return p;
}

uint8_t* PLMemSource::ReadEverything() { return m_pCurPos; }
