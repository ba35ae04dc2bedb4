// PLConstants.h: the error codes that image decoding throws with
// PLTextException, and the limits every decoder enforces on the files it
// reads.
#pragma once

#include <cstdint>

// Codes of PLTextException. Callers tell failures apart by these; the texts
// are for people.
enum PLErrorCode : int32_t {
  PL_ERROPEN = -1,                 // the file or memory block could not be opened
  PL_ERRWRONG_SIGNATURE = 1,       // not a bitmap, or a damaged bitmap header
  PL_ERRFORMAT_UNKNOWN = 2,        // a bitmap depth the decoder does not read
  PL_ERRFORMAT_NOT_SUPPORTED = 6,  // damaged or unsupported pixel data, depth request
  PL_ERRUNKNOWN_FILE_TYPE = 8,     // the content matches no known format
  PL_ERRNO_MEMORY = 10,            // a bitmap or table could not be allocated
  PL_ERREND_OF_FILE = 11,          // a read passed the end of the data
  PL_ERRFORMAT_NOT_COMPILED = 12,  // a known format this library does not decode
};

// Largest width or height a decoder accepts, and largest number of pixels of
// one image. Our images are small resource pictures; the caps keep a damaged
// or hostile header from asking for gigabytes.
constexpr int32_t kPLMaxDimension = 32767;
constexpr int64_t kPLMaxPixels = int64_t{1} << 25;  // 128 MiB at 32 bits per pixel

// Largest file a file source loads (it keeps the whole file in memory).
constexpr int64_t kPLMaxFileSize = int64_t{1} << 30;
