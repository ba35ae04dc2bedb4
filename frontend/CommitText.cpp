#include "frontend/CommitText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <strings.h>

CommitCharset CommitCharsetOfLocale(const char* lang) {
  if (!lang || !*lang) return CommitCharset::kWide;
  std::string name(lang);
  const size_t at = name.find('@');
  if (at != std::string::npos) name.erase(at);
  const size_t dot = name.find('.');
  if (dot == std::string::npos) {
    // glibc's zh_CN and zh_SG without a code set are GB2312.
    return (strcasecmp(name.c_str(), "zh_CN") == 0 || strcasecmp(name.c_str(), "zh_SG") == 0)
               ? CommitCharset::kGb2312Only
               : CommitCharset::kWide;
  }
  const char* codeset = name.c_str() + dot + 1;
  if (strcasecmp(codeset, "GB2312") == 0 || strcasecmp(codeset, "eucCN") == 0 ||
      strcasecmp(codeset, "euc-cn") == 0) {
    return CommitCharset::kGb2312Only;
  }
  return CommitCharset::kWide;
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

bool IsGb2312Text(const char* gbk) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(gbk); *p;) {
    if (*p < 0x80) {
      ++p;
      continue;
    }
    if (p[0] < 0xA1 || p[0] > 0xF7 || p[1] < 0xA1 || p[1] > 0xFE) return false;
    p += 2;
  }
  return true;
}
