// PLFileSource.h: a data source over a file. The whole file ends up in one
// buffer of its size, loaded 4096 bytes at open and more as reads need them;
// pointers handed out stay valid until Close.
#pragma once

#include <cstdio>
#include <vector>

#include "image/PLDataSource.h"

class PLFileSource : public PLDataSource {
 public:
  explicit PLFileSource(PLIProgressNotification* notification = nullptr);
  ~PLFileSource() override;

  using PLDataSource::Open;
  // 0 when the file is open; -1 for a null or empty path, a file that cannot
  // be opened for reading, one larger than kPLMaxFileSize, or a buffer that
  // cannot be allocated.
  [[nodiscard]] virtual int Open(const char* path);
  void Close() override;
  uint8_t* GetBufferPtr(int minBytes) override;
  uint8_t* ReadNBytes(int count) override;
  uint8_t* ReadEverything() override;

 private:
  // Loads the file up to byte end (at most its size); throws when the file
  // yields fewer bytes than it had at open.
  void loadUpTo(int64_t end);

  std::FILE* m_pFile;             // owned; null when closed
  std::vector<uint8_t> m_Buffer;  // the whole file
  int32_t m_Loaded;               // bytes loaded from the file so far
  int32_t m_ReadPos;              // offset of the read position
};
