// BlobIO.h: the fields of the resource blob files (res/*blob.brc), read and
// written through a FILE*. Numbers are little-endian whatever the host; a
// string is a signed 32-bit length followed by its bytes, without a NUL.
//
// Reading trusts nothing: every getter first checks that the file still
// holds the bytes the field needs, and a count or a length is refused when
// the records it announces cannot fit in the bytes left. A getter that fails
// leaves its output alone and returns false; the caller gives up on the file.
#pragma once

#include <cstdint>
#include <cstdio>

class CString;

namespace rcblob {

void Put8(FILE* f, uint8_t v);
void Put32(FILE* f, uint32_t v);
void PutStr(FILE* f, const CString& s);

// Bytes between the file position and the end of the file; -1 when the
// position or the size cannot be had.
long BytesLeft(FILE* f);

[[nodiscard]] bool Get8(FILE* f, uint8_t& v);
[[nodiscard]] bool Get32(FILE* f, uint32_t& v);
[[nodiscard]] bool Get32(FILE* f, int32_t& v);
// A text read back ends at its first NUL, as CString::DiskIO does.
[[nodiscard]] bool GetStr(FILE* f, CString& s);
// A count of records that take at least minBytesEach bytes each: refused when
// negative or when that many records cannot fit in the bytes left.
[[nodiscard]] bool GetCount(FILE* f, int32_t& n, long minBytesEach);

// Smallest size on file of one record of each kind, for GetCount.
constexpr long kMinStrBytes = 4;
constexpr long kMinCellBytes = 4 + 1 + 1 + 4 + kMinStrBytes + 4;
constexpr long kMinCtrlBytes = 3 + 4 * 9 + kMinStrBytes;
constexpr long kAccltrCellBytes = 12;

}  // namespace rcblob
