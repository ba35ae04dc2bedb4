// PLDataSource.h: a source of bytes for a decoder: a file (PLFileSource) or a
// block in memory (PLMemSource). Reads hand out pointers into the source's
// own buffer and advance past them; every read is counted, and a read that
// would pass the end of the data throws PLTextException
// (PL_ERREND_OF_FILE, "End of file reached while decoding.\n") before any
// byte past the end is touched. Reading exactly to the end is allowed.
#pragma once

#include <cstdint>
#include <string>

#include "image/PLObject.h"

class PLIProgressNotification;

class PLDataSource : public PLObject {
 public:
  // notification is borrowed and may be null; it must outlive the source.
  explicit PLDataSource(PLIProgressNotification* notification = nullptr);
  ~PLDataSource() override;

  // Starts a read of fileSize bytes named name (copied).
  virtual void Open(const char* name, int fileSize);
  // Reports progress 1.0 to the notification, forgets the name and the size.
  virtual void Close();
  // The read position, with at least min(minBytes, GetBytesLeft()) bytes
  // readable there; the position does not move.
  virtual uint8_t* GetBufferPtr(int minBytes) = 0;
  // count bytes at the read position, which moves past them. Throws as above
  // when fewer remain, and for a negative count.
  virtual uint8_t* ReadNBytes(int count);
  // The rest of the data (GetBytesLeft() bytes) at the read position, which
  // does not move.
  virtual uint8_t* ReadEverything() = 0;

  uint8_t* Read1Byte() { return ReadNBytes(1); }
  uint8_t* Read2Bytes() { return ReadNBytes(2); }
  uint8_t* Read4Bytes() { return ReadNBytes(4); }
  void Skip(int count) { ReadNBytes(count); }
  // Reads one byte when the bytes read so far are odd.
  void AlignToWord();

  const char* GetName() const { return m_Name.c_str(); }
  int GetFileSize() const { return m_FileSize; }
  int GetBytesRead() const { return m_BytesRead; }
  int GetBytesLeft() const { return m_FileSize - m_BytesRead; }
  // Throws when the bytes read have passed the size.
  void CheckEOF() const;
  // Forwards part to the notification, if any.
  void OProgressNotification(double part);

 protected:
  // Counts count bytes as read and reports progress; throws when that would
  // pass the end. Derived ReadNBytes call it before they touch their buffer.
  void accountRead(int count);

 private:
  std::string m_Name;
  int32_t m_FileSize;
  int32_t m_BytesRead;
  PLIProgressNotification* m_pNotification;  // borrowed, may be null
};
