// PLBmpLock.h: holds a bitmap's lock for one scope, so that every path out of
// a row-writing routine, an exception included, unlocks it again.
#pragma once

#include "image/PLBmp.h"

class PLBmpLock {
 public:
  PLBmpLock(const PLBmp& bmp, bool readable, bool writable) : m_Bmp(bmp) {
    m_Bmp.Lock(readable, writable);
  }
  ~PLBmpLock() { m_Bmp.Unlock(); }
  PLBmpLock(const PLBmpLock&) = delete;
  PLBmpLock& operator=(const PLBmpLock&) = delete;

 private:
  const PLBmp& m_Bmp;  // borrowed: outlives the lock
};
