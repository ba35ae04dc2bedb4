// PLMemSource.h: a data source over a block in memory. The block is
// borrowed, not copied: it must stay valid until Close.
#pragma once

#include "image/PLDataSource.h"

class PLMemSource : public PLDataSource {
 public:
  explicit PLMemSource(PLIProgressNotification* notification = nullptr);
  ~PLMemSource() override;

  using PLDataSource::Open;
  // 0; -1 for a negative size or a null block of non-zero size.
  [[nodiscard]] virtual int Open(unsigned char* data, int size);
  void Close() override;
  uint8_t* GetBufferPtr(int minBytes) override;
  uint8_t* ReadNBytes(int count) override;
  uint8_t* ReadEverything() override;

 private:
  uint8_t* m_pCurPos;  // borrowed: the read position in the caller's block
};
