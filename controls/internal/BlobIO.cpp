#include "controls/internal/BlobIO.h"

#include <sys/stat.h>

#include <string>

#include "base/CString.h"

namespace rcblob {

void Put8(FILE* f, uint8_t v) { fputc(v, f); }

void Put32(FILE* f, uint32_t v) {
  const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  fwrite(b, 1, sizeof b, f);
}

void PutStr(FILE* f, const CString& s) {
  const int nBytes = s.GetLength();
  Put32(f, static_cast<uint32_t>(nBytes));
  if (nBytes > 0) fwrite(static_cast<const char*>(s), 1, static_cast<size_t>(nBytes), f);
}

long BytesLeft(FILE* f) {
  struct stat st;
  const long pos = ftell(f);
  if (pos < 0 || fstat(fileno(f), &st) != 0 || st.st_size < pos) return -1;
  return static_cast<long>(st.st_size - pos);
}

bool Get8(FILE* f, uint8_t& v) {
  const int c = fgetc(f);
  if (c == EOF) return false;
  v = static_cast<uint8_t>(c);
  return true;
}

bool Get32(FILE* f, uint32_t& v) {
  uint8_t b[4];
  if (fread(b, 1, sizeof b, f) != sizeof b) return false;
  v = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
      static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  return true;
}

bool Get32(FILE* f, int32_t& v) {
  uint32_t u;
  if (!Get32(f, u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool GetStr(FILE* f, CString& s) {
  int32_t nBytes;
  if (!Get32(f, nBytes)) return false;
  const long left = BytesLeft(f);
  if (nBytes < 0 || left < 0 || nBytes > left) return false;
  std::string buf(static_cast<size_t>(nBytes), '\0');
  if (nBytes > 0 && fread(&buf[0], 1, buf.size(), f) != buf.size()) return false;
  s = buf.c_str();
  return true;
}

bool GetCount(FILE* f, int32_t& n, long minBytesEach) {
  int32_t v;
  if (!Get32(f, v)) return false;
  const long left = BytesLeft(f);
  if (v < 0 || left < 0 || static_cast<long>(v) > left / minBytesEach) return false;
  n = v;
  return true;
}

}  // namespace rcblob
