#include "controls/internal/MsgFormat.h"

#include <cstring>

namespace msgfmt {

bool Signature(const char* format, std::string* signature) {
  if (!format) return false;
  std::string sig;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0'", *p)) ++p;
    if (*p == '*') {
      sig += '*';
      ++p;
    }
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '$') return false;
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        sig += '*';
        ++p;
      }
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (*p == '$') return false;
    while (*p && std::strchr("hlLqjzt", *p)) sig += *p++;
    if (!*p || !std::strchr("diouxXeEfFgGaAcspC", *p)) return false;
    // The integer conversions read the same argument whatever their base.
    const char c = std::strchr("diouxXc", *p) ? 'i' : std::strchr("eEfFgGaA", *p) ? 'f' : *p;
    sig += c;
    sig += ';';
  }
  if (signature) *signature = sig;
  return true;
}

bool SameConversions(const char* original, const char* translation) {
  std::string a, b;
  return Signature(original, &a) && Signature(translation, &b) && a == b;
}

}  // namespace msgfmt
