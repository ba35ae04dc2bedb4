#include "frontend/CommitText.h"

#include <iconv.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/GbkBytes.h"

CommitCharset CommitCharsetOfLocale(const char* lang) {
  if (!lang || !*lang) return CommitCharset::kWide;
  std::string name(lang);
  const size_t at = name.find('@');
  if (at != std::string::npos) name.erase(at);
  const size_t dot = name.find('.');
  // Xlib names the locale of its locale database, not the C library's: a
  // GB2312 client ("zh_CN") says "zh_CN.gb2312", a UTF-8 one ("zh_CN.UTF-8")
  // says only "zh_CN". A name without a code set is no GB2312 client.
  if (dot == std::string::npos) return CommitCharset::kWide;
  const char* codeset = name.c_str() + dot + 1;
  if (strcasecmp(codeset, "GB2312") == 0 || strcasecmp(codeset, "eucCN") == 0 ||
      strcasecmp(codeset, "euc-cn") == 0) {
    return CommitCharset::kGb2312Only;
  }
  if (strcasecmp(codeset, "GBK") == 0 || strcasecmp(codeset, "CP936") == 0) {
    return CommitCharset::kGbkSegment;
  }
  return CommitCharset::kWide;
}

namespace {

// An extended segment: ESC % / 2 (two bytes a character), the length of
// what follows as two bytes with the high bit set (high 7 bits first), the
// encoding name, STX, the text.
constexpr char kGbkSegmentName[] = "GBK-0";
constexpr size_t kSegmentMax = 16383;  // the most two 7-bit length bytes count
// Room for the text of one segment, a whole number of characters.
constexpr size_t kSegmentTextMax = (kSegmentMax - (sizeof kGbkSegmentName - 1) - 1) & ~size_t{1};

void AppendGbkSegment(const char* text, size_t n, std::string& out) {
  const size_t count = sizeof kGbkSegmentName - 1 + 1 + n;
  out += "%/2";
  out += static_cast<char>(0x80 | ((count >> 7) & 0x7F));
  out += static_cast<char>(0x80 | (count & 0x7F));
  out += kGbkSegmentName;
  out += '';
  out.append(text, n);
}

}  // namespace

bool GbkToGbkSegments(const char* gbk, std::string& out) {
  out.clear();
  if (!gbk) return false;
  const bool whole = gbk::ForEachRun(gbk, [&out](const char* run, size_t n, bool doubleByte) {
    if (!doubleByte) {
      out.append(run, n);
      return true;
    }
    for (size_t at = 0; at < n; at += kSegmentTextMax)
      AppendGbkSegment(run + at, std::min(kSegmentTextMax, n - at), out);
    return true;
  });
  if (!whole) out.clear();
  return whole;
}

bool Big5ToGbk(const char* big5, std::string& gbk) {
  gbk.clear();
  if (!big5) return false;
  iconv_t cd = iconv_open("GBK", "BIG5");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  size_t inLeft = std::strlen(big5);
  std::string out(inLeft * 2 + 4, '\0');
  char* in = const_cast<char*>(big5);
  char* o = &out[0];
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return false;
  out.resize(out.size() - outLeft);
  gbk = out;
  return true;
}

bool CommitGbk(const char* text, bool big5, std::string& gbk) {
  gbk.clear();
  if (!text) return false;
  if (big5) return Big5ToGbk(text, gbk);
  gbk = text;
  return true;
}

bool IsGb2312Text(const char* gbk) {
  return gbk::ForEachRun(gbk, [](const char* run, size_t n, bool doubleByte) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(run);
    for (size_t i = 0; doubleByte && i < n; i += 2) {
      if (p[i] < 0xA1 || p[i] > 0xF7 || p[i + 1] < 0xA1 || p[i + 1] > 0xFE) return false;
    }
    return true;
  });
}
