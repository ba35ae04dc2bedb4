#include "image/PLFileSource.h"

#include <new>

#include "image/PLConstants.h"
#include "image/PLTextException.h"

namespace {
constexpr int kLoadChunk = 4096;
}  // namespace

PLFileSource::PLFileSource(PLIProgressNotification* notification)
    : PLDataSource(notification), m_pFile(nullptr), m_Loaded(0), m_ReadPos(0) {}

PLFileSource::~PLFileSource() {
  if (m_pFile != nullptr) Close();
}

int PLFileSource::Open(const char* path) {
  if (m_pFile != nullptr) Close();
  if (path == nullptr || *path == '\0') return -1;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return -1;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0 || size > kPLMaxFileSize || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return -1;
  }
  try {
    m_Buffer.assign(static_cast<size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return -1;
  }
  m_pFile = file;
  m_Loaded = 0;
  m_ReadPos = 0;
  PLDataSource::Open(path, static_cast<int>(size));
  try {
    loadUpTo(kLoadChunk);
  } catch (const PLTextException&) {
    Close();
    return -1;
  }
  return 0;
}

void PLFileSource::loadUpTo(int64_t end) {
  if (end > GetFileSize()) end = GetFileSize();
  if (end <= m_Loaded) return;
  const size_t want = static_cast<size_t>(end - m_Loaded);
  const size_t got = std::fread(m_Buffer.data() + m_Loaded, 1, want, m_pFile);
  m_Loaded += static_cast<int32_t>(got);
  if (got != want) {
    // The file shrank after it was opened: what it claimed is not there.
    throw PLTextException(PL_ERREND_OF_FILE, "End of file reached while decoding.\n");
  }
}

void PLFileSource::Close() {
  std::vector<uint8_t>().swap(m_Buffer);
  PLDataSource::Close();
  if (m_pFile != nullptr) std::fclose(m_pFile);
  m_pFile = nullptr;
  m_Loaded = 0;
  m_ReadPos = 0;
}

uint8_t* PLFileSource::GetBufferPtr(int minBytes) {
  if (minBytes > m_Loaded - m_ReadPos) {
    const int64_t need = int64_t{m_ReadPos} + (minBytes > kLoadChunk ? minBytes : kLoadChunk);
    loadUpTo(need);
  }
  return m_Buffer.data() + m_ReadPos;
}

uint8_t* PLFileSource::ReadNBytes(int count) {
  accountRead(count);
  loadUpTo(int64_t{m_ReadPos} + count);
  uint8_t* p = m_Buffer.data() + m_ReadPos;
  m_ReadPos += count;
  return p;
}

uint8_t* PLFileSource::ReadEverything() {
  loadUpTo(GetFileSize());
  return m_Buffer.data() + m_ReadPos;
}
