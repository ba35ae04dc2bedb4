// CString's searches, the double-byte-aware cuts and the 16-bit unit
// searches. Byte searches return byte indexes, unit searches unit indexes;
// -1 means not found.
#include "base/CString.h"

#include <strings.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/GbkBytes.h"

namespace {

// memchr/memmem-based helpers: the text may hold NUL bytes, and a search
// must never run past its length.
bool SetHas(const char* set, char c) { return c != 0 && std::strchr(set, c) != nullptr; }

bool EqualNoCase(const char* a, const char* b, size_t n) { return strncasecmp(a, b, n) == 0; }

std::vector<uint16_t> Units(const CString& s) {
  std::vector<uint16_t> units(static_cast<size_t>(s.GetLength()) / 2);
  if (!units.empty()) std::memcpy(units.data(), s.GetString(), units.size() * 2);
  return units;
}

uint16_t FoldUnit(uint16_t u) { return u >= 'A' && u <= 'Z' ? static_cast<uint16_t>(u + 32) : u; }

bool UnitsMatch(const uint16_t* text, const std::vector<uint16_t>& pat, int noCase) {
  for (size_t k = 0; k < pat.size(); ++k) {
    const uint16_t t = text[k];
    const uint16_t p = pat[k];
    const bool same = noCase && t < 256 ? FoldUnit(t) == FoldUnit(p) : t == p;
    if (!same) return false;
  }
  return true;
}

}  // namespace

int CString::Find(char c, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  const char* p = std::strchr(GetString() + start, c);
  return p ? static_cast<int>(p - GetString()) : -1;
}

int CString::Find(const char* s, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  const char* p = std::strstr(GetString() + start, s);
  return p ? static_cast<int>(p - GetString()) : -1;
}

int CString::Find(const CString& s, int start) const { return Find(s.GetString(), start); }

int CString::ReverseFind(char c, int before) const {
  const int len = GetLength();
  const int end = before < 0 || before >= len ? len : before;
  for (int i = end - 1; i >= 0; --i)
    if (GetString()[i] == c) return i;
  return -1;
}

int CString::FindOneOf(const char* set) const {
  const char* p = std::strpbrk(GetString(), set);
  return p ? static_cast<int>(p - GetString()) : -1;
}

int CString::FindOneOf(const char* set, int start) const {
  if (start < 0) start = 0;
  for (int i = start; i < GetLength(); ++i)
    if (SetHas(set, GetString()[i])) return i;
  return -1;
}

int CString::RvsFindOneOf(const char* set, int pos) const {
  if (GetLength() == 0 || pos < 0) return -1;
  if (pos > GetLength() - 1) pos = GetLength() - 1;
  for (int i = pos; i >= 0; --i)
    if (SetHas(set, GetString()[i])) return i;
  return -1;
}

int CString::FindNoCase(const char* s, int start) const {
  const int n = static_cast<int>(std::strlen(s));
  if (start < 0) start = 0;
  for (int i = start; i <= GetLength() - n; ++i)
    if (EqualNoCase(GetString() + i, s, static_cast<size_t>(n))) return i;
  return -1;
}

namespace {

// Index of the last byte of the rightmost occurrence of s whose last byte is
// at or before pos.
int RvsSearch(const char* text, int len, const char* s, int pos, bool noCase) {
  const int n = static_cast<int>(std::strlen(s));
  if (n == 0 || len == 0) return -1;
  if (pos < 0 || pos > len - 1) pos = len - 1;
  for (int last = pos; last - n + 1 >= 0; --last) {
    const char* at = text + last - n + 1;
    const bool hit = noCase ? EqualNoCase(at, s, static_cast<size_t>(n))
                            : std::memcmp(at, s, static_cast<size_t>(n)) == 0;
    if (hit) return last;
  }
  return -1;
}

}  // namespace

int CString::RvsFind(const char* s, int pos) const {
  return RvsSearch(GetString(), GetLength(), s, pos, false);
}

int CString::RvsFind(const char* s) const {
  if (GetLength() == 0) return -1;
  if (*s == 0) return GetLength() - 1;
  return RvsFind(s, GetLength() - 1);
}

int CString::RvsFindNoCase(const char* s, int pos) {
  // Makes the string private, as it always has: callers may rely on holding
  // their own copy afterwards. The pattern is copied in case it is our text.
  const CString pattern(s);
  Buffer(GetLength() + 10);
  return RvsSearch(GetString(), GetLength(), pattern, pos, true);
}

int CString::FindDBCSHelper(const char* s, int start, int noCase) const {
  const int len = GetLength();
  if (start < 0) start = 0;
  if (start >= len) return -1;
  int walk = start;  // always on a character boundary
  int from = start;
  for (;;) {
    const int hit = noCase ? FindNoCase(s, from) : Find(s, from);
    if (hit < 0) return -1;
    while (walk < hit) walk += gbk::CharBytes(GetString(), len, walk);
    if (walk == hit) return hit;
    if (walk >= len) return -1;
    from = walk;  // the match began on a trail byte: go on from the next char
  }
}

int CString::FindDBCS(const char* s, int start) const { return FindDBCSHelper(s, start, 0); }

int CString::FindNoCaseDBCS(const char* s, int start) const { return FindDBCSHelper(s, start, 1); }

int CString::DBCSFind(const char* pair) const {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(GetString());
  const int len = GetLength();
  for (int i = 0; i < len;) {
    if (!gbk::IsLead(t[i])) {
      ++i;
      continue;
    }
    if (i + 1 >= len) break;
    if (gbk::IsTrail(t[i + 1]) && t[i] == static_cast<unsigned char>(pair[0]) &&
        t[i + 1] == static_cast<unsigned char>(pair[1]))
      return i;
    i += 2;
  }
  return -1;
}

int CString::FindInChnStr(const char* pair) const {
  for (int i = 0; i < GetLength() - 1; i += 2)
    if (GetString()[i] == pair[0] && GetString()[i + 1] == pair[1]) return i;
  return -1;
}

int CString::FindW(CString s, int start, int noCase) {
  NewSelfIfShared();
  const std::vector<uint16_t> text = Units(*this);
  const std::vector<uint16_t> pat = Units(s);
  if (start < 0) start = 0;
  const int nText = static_cast<int>(text.size());
  const int nPat = static_cast<int>(pat.size());
  for (int i = start; i <= nText - nPat; ++i)
    if (UnitsMatch(text.data() + i, pat, noCase)) return i;
  return -1;
}

int CString::RvsFindW(CString s, int pos, int noCase) {
  NewSelfIfShared();
  const std::vector<uint16_t> text = Units(*this);
  const std::vector<uint16_t> pat = Units(s);
  const int nText = static_cast<int>(text.size());
  const int nPat = static_cast<int>(pat.size());
  if (nText == 0 || nPat == 0) return -1;
  if (pos < 0 || pos > nText - 1) pos = nText - 1;
  for (int p = pos; p >= nPat - 1; --p)
    if (UnitsMatch(text.data() + p - nPat + 1, pat, noCase)) return p;
  return -1;
}

CString CString::MidDBCS(int start, int count) const {
  const int len = GetLength();
  if (start < 0) start = 0;
  if (start >= len) start = count = 0;
  if (gbk::CutInsideChar(GetString(), len, start)) {
    --start;
    ++count;  // keep the old end: the range only widens
  }
  const int64_t end = static_cast<int64_t>(start) + count;
  if (end < len && gbk::CutInsideChar(GetString(), len, static_cast<int>(end))) ++count;
  return Mid(start, count);
}

CString CString::LeftDBCS(int n) const {
  if (n > GetLength()) return *this;
  if (gbk::CutInsideChar(GetString(), GetLength(), n)) ++n;
  return Left(n);
}

CString CString::RightDBCS(int n) const {
  if (n > GetLength()) return *this;
  if (n > 0 && gbk::CutInsideChar(GetString(), GetLength(), GetLength() - n)) ++n;
  return Right(n);
}
