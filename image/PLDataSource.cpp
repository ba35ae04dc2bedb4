#include "image/PLDataSource.h"

#include "image/PLConstants.h"
#include "image/PLIProgressNotification.h"
#include "image/PLTextException.h"

namespace {
constexpr int kProgressStep = 1024;  // report at most once per this many bytes
constexpr const char* kEndOfFileText = "End of file reached while decoding.\n";
}  // namespace

PLDataSource::PLDataSource(PLIProgressNotification* notification)
    : m_FileSize(0), m_BytesRead(0), m_pNotification(notification) {}

PLDataSource::~PLDataSource() = default;

void PLDataSource::Open(const char* name, int fileSize) {
  m_Name = name != nullptr ? name : "";
  m_FileSize = fileSize < 0 ? 0 : fileSize;
  m_BytesRead = 0;
}

void PLDataSource::Close() {
  if (m_pNotification != nullptr) m_pNotification->OnProgress(1.0);
  m_Name.clear();
  m_FileSize = 0;
  m_BytesRead = 0;
}

void PLDataSource::accountRead(int count) {
  // Compared before the count is added, so no sum can overflow and no pointer
  // is ever formed past the end of the data.
  if (count < 0 || count > m_FileSize - m_BytesRead) {
    throw PLTextException(PL_ERREND_OF_FILE, kEndOfFileText);
  }
  const int before = m_BytesRead;
  m_BytesRead += count;
  if (m_pNotification != nullptr && m_FileSize > 0 &&
      m_BytesRead / kProgressStep > before / kProgressStep) {
    m_pNotification->OnProgress(static_cast<double>(m_BytesRead) / m_FileSize);
  }
}

uint8_t* PLDataSource::ReadNBytes(int count) {
  accountRead(count);
  return nullptr;
}

void PLDataSource::AlignToWord() {
  if (m_BytesRead & 1) Read1Byte();
}

void PLDataSource::CheckEOF() const {
  if (m_BytesRead > m_FileSize) throw PLTextException(PL_ERREND_OF_FILE, kEndOfFileText);
}

void PLDataSource::OProgressNotification(double part) {
  if (m_pNotification != nullptr) m_pNotification->OnProgress(part);
}
