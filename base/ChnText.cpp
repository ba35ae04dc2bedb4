#include "base/ChnText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "base/ChnChar.h"

int RestoreCompletePY(CString& py) {
  static const char* const kPairs[][2] = {{"ag", "ang"}, {"eg", "eng"}, {"ig", "ing"},
                                          {"og", "ong"}, {"jv", "ju"},  {"qv", "qu"},
                                          {"xv", "xu"},  {"yv", "yu"}};
  for (const auto& pair : kPairs) py.Replace(pair[0], pair[1]);
  return 1;
}

int StrBig5ToGbBySys(const char* src, CString& dst, int toBig5) {
  dst.Empty();
  iconv_t cd = toBig5 ? iconv_open("BIG5", "GBK") : iconv_open("GBK", "BIG5");
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  const int srcBig5 = !toBig5;
  char* in = const_cast<char*>(src);
  size_t inLeft = strlen(src);
  char out[256];
  while (inLeft > 0) {
    char* op = out;
    size_t outLeft = sizeof out;
    const size_t rc = iconv(cd, &in, &inLeft, &op, &outLeft);
    dst.AddChars(out, 0, static_cast<int>(op - out));
    if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // Not convertible: one '?' for the character (or stray byte) and on.
    const auto* p = reinterpret_cast<const unsigned char*>(in);
    const bool pair = inLeft >= 2 && IsChnChar(p[0], 1, srcBig5) && IsChnChar(p[1], 0, srcBig5);
    const size_t skip = pair ? 2 : 1;
    in += skip;
    inLeft -= skip;
    dst += '?';
  }
  iconv_close(cd);
  return 1;
}
