// CString::Format: the framework's own printf. Numbers go through the C
// library's snprintf, one directive at a time; strings are copied here, with
// their width ignored and a precision limiting the bytes; %! appends a
// CString*; %n and %S stop the expansion and append the rest of the format
// unchanged.
//
// Every directive is formatted into a buffer sized by snprintf itself, so no
// width or precision can overrun anything. The argument each directive takes
// follows its length letters, as printf does: %ld a long, %lld / %Ld a long
// long, %Lf a long double, %p a pointer; a '*' takes an int.
#include "base/CString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDirectiveChars[] = "-+0 #*.123456789hlL";

bool IsDirectiveChar(char c) { return c != 0 && std::strchr(kDirectiveChars, c) != nullptr; }

enum class Width { kInt, kLong, kLongLong };

Width IntWidth(const std::string& directive) {
  size_t ls = 0;
  bool bigL = false;
  for (char c : directive) {
    if (c == 'l') ++ls;
    if (c == 'L') bigL = true;
  }
  if (ls >= 2 || bigL) return Width::kLongLong;
  return ls == 1 ? Width::kLong : Width::kInt;
}

// Appends snprintf(directive, value) to out, whatever its length.
template <typename T>
void AppendFormatted(std::string& out, const std::string& directive, T value) {
  char small[128];
  const int n = std::snprintf(small, sizeof small, directive.c_str(), value);
  if (n < 0) return;  // e.g. a width beyond INT_MAX: nothing to append
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  std::vector<char> big(static_cast<size_t>(n) + 1);
  std::snprintf(big.data(), big.size(), directive.c_str(), value);
  out.append(big.data(), static_cast<size_t>(n));
}

// The directive with every '*' replaced by the decimal int it takes from args.
std::string ResolveStars(const std::string& directive, va_list& args) {
  if (directive.find('*') == std::string::npos) return directive;
  std::string out;
  for (char c : directive) {
    if (c == '*')
      out += std::to_string(va_arg(args, int));
    else
      out += c;
  }
  return out;
}

void AppendString(std::string& out, const std::string& directive, const char* s) {
  if (!s) s = "(null)";
  size_t n = std::strlen(s);
  const size_t dot = directive.find('.');
  if (dot != std::string::npos && dot + 1 < directive.size()) {
    const long limit = std::strtol(directive.c_str() + dot + 1, nullptr, 10);
    if (limit >= 0 && static_cast<size_t>(limit) < n) n = static_cast<size_t>(limit);
  }
  out.append(s, n);
}

void AppendInteger(std::string& out, const std::string& directive, va_list& args) {
  switch (IntWidth(directive)) {
    case Width::kLongLong: AppendFormatted(out, directive, va_arg(args, long long)); break;
    case Width::kLong: AppendFormatted(out, directive, va_arg(args, long)); break;
    case Width::kInt: AppendFormatted(out, directive, va_arg(args, int)); break;
  }
}

void AppendFloating(std::string& out, const std::string& directive, va_list& args) {
  if (directive.find('L') != std::string::npos)
    AppendFormatted(out, directive, va_arg(args, long double));
  else
    AppendFormatted(out, directive, va_arg(args, double));
}

// Expands fmt into out. Returns normally at the end of fmt or at %n / %S.
void Expand(std::string& out, const char* fmt, va_list& args) {
  const char* p = fmt;
  while (*p) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    std::string directive = "%";
    ++p;
    while (IsDirectiveChar(*p)) directive += *p++;
    const char conv = *p;
    if (conv == 0) return;  // a directive cut off by the end: dropped
    ++p;
    // Stars take their ints first, before the value they size.
    const std::string resolved =
        std::strchr("s!cCdiouxXeEfgGp", conv) ? ResolveStars(directive, args) : directive;
    switch (conv) {
      case 's': AppendString(out, resolved, va_arg(args, const char*)); break;
      case '!': {
        const CString* s = va_arg(args, const CString*);
        if (s) out.append(s->GetString(), static_cast<size_t>(s->GetLength()));
        break;
      }
      case 'c':
      case 'C':  // a character travels as an int
        AppendFormatted(out, resolved + conv, va_arg(args, int));
        break;
      case 'd':
      case 'i':
      case 'o':
      case 'u':
      case 'x':
      case 'X': AppendInteger(out, resolved + conv, args); break;
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G': AppendFloating(out, resolved + conv, args); break;
      case 'p': AppendFormatted(out, resolved + conv, va_arg(args, void*)); break;
      case 'n':
        CString::ThrowPgmError();
        out += p;
        return;
      case 'S':
        CString::ThrowNoUnicode();
        out += p;
        return;
      default:
        out += conv;  // "%%" gives '%'; the directive is dropped
        break;
    }
  }
}

}  // namespace

CString& CString::Format(const char* fmt, ...) {
  // Expanded apart from this string: an argument may point into its text.
  std::string out;
  va_list args;
  va_start(args, fmt);
  Expand(out, fmt, args);
  va_end(args);
  Empty();
  CoreAddChars(out.data(), static_cast<int>(out.size()));
  return *this;
}
