#include "base/FixedMaps.h"

#include <cstdint>

namespace {

// Reads one length-prefixed string (a length byte, then that many bytes) into
// out, NUL-terminated. False when the file ends first.
bool ReadShortString(FILE* f, char (&out)[256]) {
  int len = fgetc(f);
  if (len == EOF) return false;
  if (len > 0 && fread(out, 1, static_cast<size_t>(len), f) != static_cast<size_t>(len))
    return false;
  out[len] = '\0';
  return true;
}

}  // namespace

int AMapStringToString::DiskIO(int load, FILE* f) {
  if (!load) return 1;
  unsigned char countBytes[2];
  if (fread(countBytes, 1, 2, f) != 2) {
    fprintf(stderr, "string map file: no entry count at offset %ld\n", ftell(f));
    return 0;
  }
  const unsigned count = countBytes[0] | countBytes[1] << 8u;
  char key[256], value[256];
  for (unsigned i = 0; i < count; ++i) {
    if (!ReadShortString(f, key) || !ReadShortString(f, value)) {
      fprintf(stderr,
              "string map file: entry %u of %u is cut short at offset %ld; "
              "the %u entries before it are kept\n",
              i + 1, count, ftell(f), i);
      return 0;
    }
    // An embedded NUL ends the text, as it would for any C string.
    if (key[0] && value[0]) SetAt(key, value);
  }
  return 1;
}

int HashKey(const CString& s) {
  // 64 bits: a text long enough to overflow 32 bits still sums correctly.
  int64_t sum = 0;
  for (const char* p = s; *p; ++p) sum += static_cast<int8_t>(*p);
  return static_cast<int>(sum % 7168);
}
