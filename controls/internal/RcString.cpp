#include "controls/internal/RcString.h"

#include <cstring>

namespace rctext {

void Trim(std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  s = s.substr(b, e - b);
}

bool StartsWith(const std::string& s, const char* prefix) {
  return s.compare(0, strlen(prefix), prefix) == 0;
}

std::string FirstWord(const std::string& s) {
  size_t e = 0;
  while (e < s.size() && !IsBlank(s[e])) ++e;
  return s.substr(0, e);
}

void ReplaceAll(std::string& s, const char* from, const char* to) {
  const size_t nFrom = strlen(from), nTo = strlen(to);
  if (nFrom == 0) return;
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + nTo))
    s.replace(p, nFrom, to);
}

bool LeadingNumberIsNonZero(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && (IsBlank(s[i]) || s[i] == '\v' || s[i] == '\f')) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
    if (s[i] != '0') return true;
  return false;
}

}  // namespace rctext
