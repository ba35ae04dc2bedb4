#include "base/CString.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/BlkAlloc.h"
#include "base/ByteOrder.h"

namespace {

// The text of the shared empty string. Never written: every write first
// checks that the descriptor is private, and m_Null never is.
char g_nullText[1] = {0};

const char kDefaultTrimSet[] = "\r\n\t ";

bool InSet(const char* set, size_t setLen, char c) {
  return std::memchr(set, c, setLen) != nullptr;
}

}  // namespace

CString::SDesc CString::m_Null = {2, g_nullText, 0, 1};

void cstr_abort_application(int) {}
void CString::ThrowTooLarge() { cstr_abort_application(5); }
void CString::ThrowPgmError() { cstr_abort_application(3); }
void CString::ThrowNoUnicode() { cstr_abort_application(4); }

// ---------------------------------------------------------------- primitives

CString::SDesc* CString::CreateDesc() {
  void* p = blkalloc(sizeof(SDesc));
  ThrowIfNull(p);
  return static_cast<SDesc*>(p);
}

void CString::freestr_nMT(SDesc* d) {
  if (d == &m_Null) {
    --d->refs;  // counted like any other, never freed
    return;
  }
  if (--d->refs != 0) return;
  blkfree(d->text, static_cast<unsigned long>(d->capacity) + 1);
  blkfree(d, sizeof(SDesc));
}

void CString::freestr(SDesc* d) {
  cache_arb guard;
  freestr_nMT(d);
}

void CString::NewFromString(const char* src, int len, int minCapacity) {
  int cap = std::max(len, minCapacity);
  if (len == 0 && cap == 0) {
    m_pd = &m_Null;
    ++m_Null.refs;
    return;
  }
  if (cap > kMaxLength) ThrowTooLarge();
  up_alloc(cap);
  SDesc* d = CreateDesc();
  d->refs = 1;
  d->text = static_cast<char*>(blkalloc(static_cast<unsigned long>(cap) + 1));
  ThrowIfNull(d->text);
  d->length = len;
  d->capacity = cap;
  if (len) std::memcpy(d->text, src, static_cast<size_t>(len));
  d->text[len] = 0;
  m_pd = d;
}

void CString::Buffer(int n) {
  up_alloc(n);
  if (IsPrivate() && m_pd->capacity >= n) return;
  if (n > kMaxLength) ThrowTooLarge();
  SDesc* old = m_pd;
  NewFromString(old->text, old->length, std::max(n, old->length));
  freestr(old);
}

void CString::NewSelfIfShared() {
  if (IsPrivate()) return;
  SDesc* old = m_pd;
  NewFromString(old->text, old->length, old->length | 3);
  freestr(old);
}

bool CString::PointsIntoText(const char* p) const {
  // Compared as integers: the pointer may belong to another object entirely.
  const auto a = reinterpret_cast<std::uintptr_t>(p);
  const auto lo = reinterpret_cast<std::uintptr_t>(m_pd->text);
  return a >= lo && a <= lo + static_cast<std::uintptr_t>(m_pd->capacity);
}

int CString::CoreAddChars(const char* src, int n) {
  if (n <= 0) return m_pd->length;
  if (static_cast<int64_t>(m_pd->length) + n > kMaxLength) ThrowTooLarge();
  // The source may be this string's own text, which Buffer may move: keep
  // its offset and find it again in the (copied) text afterwards.
  const bool own = PointsIntoText(src);
  const std::ptrdiff_t offset = own ? src - m_pd->text : 0;
  Buffer(m_pd->length + n);
  if (own) src = m_pd->text + offset;
  std::memmove(m_pd->text + m_pd->length, src, static_cast<size_t>(n));
  m_pd->length += n;
  m_pd->text[m_pd->length] = 0;
  return m_pd->length;
}

// ---------------------------------------------- construction and assignment

CString::CString() : m_pd(&m_Null) { ++m_Null.refs; }

CString::CString(int capacity) {
  if (capacity < 0) capacity = 0;
  if (capacity > kMaxLength) ThrowTooLarge();
  up_alloc(capacity);
  NewFromString("", 0, capacity);
}

CString::CString(const char* s, int minCapacity) {
  if (!s) s = "";  // a null text is taken as empty rather than read
  NewFromString(s, static_cast<int>(std::strlen(s)), minCapacity);
}

CString::CString(char c, int n) {
  if (n < 0) n = 0;
  NewFromString("", 0, n | 3);
  std::memset(m_pd->text, c, static_cast<size_t>(n));
  m_pd->length = n;
  m_pd->text[n] = 0;
}

CString::CString(const CString& other) : m_pd(other.m_pd) { ++m_pd->refs; }

CString::~CString() { freestr(m_pd); }

CString& CString::operator=(const CString& other) {
  if (m_pd == other.m_pd) return *this;
  SDesc* old = m_pd;
  m_pd = other.m_pd;
  ++m_pd->refs;
  freestr(old);
  return *this;
}

CString& CString::operator=(const char* s) {
  if (!s) s = "";
  const int len = static_cast<int>(std::strlen(s));
  if (len == 0) {
    if (m_pd != &m_Null) {
      freestr(m_pd);
      m_pd = &m_Null;
      ++m_Null.refs;
    }
    return *this;
  }
  if (len > kMaxLength) ThrowTooLarge();
  if (IsPrivate() && m_pd->capacity >= len) {
    std::memmove(m_pd->text, s, static_cast<size_t>(len));  // s may be our own
    m_pd->length = len;
    m_pd->text[len] = 0;
    return *this;
  }
  SDesc* old = m_pd;  // released only after s has been copied out of it
  NewFromString(s, len, len | 3);
  freestr(old);
  return *this;
}

CString& CString::operator=(char c) {
  if (!(IsPrivate() && m_pd->capacity > 0)) {
    SDesc* old = m_pd;
    NewFromString("", 0, 3);
    freestr(old);
  }
  m_pd->text[0] = c;
  m_pd->text[1] = 0;
  m_pd->length = 1;
  return *this;
}

void CString::Empty() {
  if (m_pd == &m_Null) return;
  if (IsPrivate()) {
    m_pd->length = 0;
    m_pd->text[0] = 0;
    return;
  }
  SDesc* old = m_pd;
  NewFromString("", 0, old->capacity);
  freestr(old);
}

void CString::Reset() {
  if (m_pd == &m_Null) return;
  freestr(m_pd);
  m_pd = &m_Null;
  ++m_Null.refs;
}

void CString::Compact(int slack) {
  if (m_pd == &m_Null || m_pd->capacity - m_pd->length <= slack) return;
  const int cap = m_pd->length | 3;
  char* text = static_cast<char*>(blkalloc(static_cast<unsigned long>(cap) + 1));
  ThrowIfNull(text);
  std::memcpy(text, m_pd->text, static_cast<size_t>(m_pd->length) + 1);
  blkfree(m_pd->text, static_cast<unsigned long>(m_pd->capacity) + 1);
  m_pd->text = text;
  m_pd->capacity = cap;
}

// ------------------------------------------------------------ size, access

char CString::GetLastChar() const { return m_pd->length ? m_pd->text[m_pd->length - 1] : 0; }

bool CString::IsWhiteSpace(int i) const { return ::IsWhiteSpace(m_pd->text[i]); }

// ------------------------------------------------------------ concatenation

CString& CString::operator+=(const CString& s) {
  // s may be *this: its length is read before the append changes it.
  CoreAddChars(s.m_pd->text, s.m_pd->length);
  return *this;
}

CString& CString::operator+=(const char* s) {
  if (!s) return *this;
  CoreAddChars(s, static_cast<int>(std::strlen(s)));
  return *this;
}

CString& CString::operator+=(char c) {
  CoreAddChars(&c, 1);
  return *this;
}

int CString::AddChar(char c) { return CoreAddChars(&c, 1); }

void CString::AddChars(const char* s, int offset, int count) {
  if (count <= 0) return;
  CoreAddChars(s + offset, count);
}

void CString::AddInt(int v) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%d", v);
  CoreAddChars(buf, n);
}

void CString::AddDouble(double v, unsigned long digits) {
  if (digits > 48) digits = 48;
  // A large value has hundreds of integer digits: size the text first.
  const int prec = static_cast<int>(digits);
  const int n = std::snprintf(nullptr, 0, "%.*f", prec, v);
  if (n <= 0) return;
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), "%.*f", prec, v);
  CoreAddChars(buf.data(), n);
}

namespace {

CString Concat(const char* a, int na, const char* b, int nb) {
  CString r(na + nb);
  r.AddChars(a, 0, na);
  r.AddChars(b, 0, nb);
  if (r.IsEmpty()) r.Reset();  // two empty halves: the shared empty string
  return r;
}

}  // namespace

CString operator+(const CString& a, const CString& b) {
  return Concat(a, a.GetLength(), b, b.GetLength());
}
CString operator+(const CString& a, const char* b) {
  return Concat(a, a.GetLength(), b, static_cast<int>(std::strlen(b)));
}
CString operator+(const CString& a, char b) { return Concat(a, a.GetLength(), &b, 1); }
CString operator+(const char* a, const CString& b) {
  return Concat(a, static_cast<int>(std::strlen(a)), b, b.GetLength());
}
CString operator+(char a, const CString& b) { return Concat(&a, 1, b, b.GetLength()); }

// --------------------------------------------------------------- comparison

bool operator==(const CString& a, const CString& b) {
  return a.GetLength() == b.GetLength() &&
         std::memcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength())) == 0;
}
bool operator==(const CString& a, const char* b) {
  const size_t n = std::strlen(b);
  return static_cast<size_t>(a.GetLength()) == n && std::memcmp(a.GetString(), b, n) == 0;
}
bool operator==(const char* a, const CString& b) { return b == a; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }

int CString::Compare(const char* s) const { return std::strcmp(m_pd->text, s); }
int CString::CompareNoCase(const char* s) const { return strcasecmp(m_pd->text, s); }

// --------------------------------------------------------------- extraction

CString CString::Mid(int start, int count) const {
  if (start < 0) start = 0;
  if (count < 0) count = 0;
  const int len = m_pd->length;
  if (len == 0 || static_cast<int64_t>(start) + count == 0 || start >= len) return CString();
  if (count > len - start) count = len - start;
  if (start == 0 && count == len) return *this;
  CString r;
  r.AddChars(m_pd->text, start, count);
  return r;
}

CString CString::Mid(int start) const { return Mid(start, m_pd->length - start); }
CString CString::Left(int n) const { return Mid(0, n); }

CString CString::Right(int n) const {
  if (n < 0) return CString();
  if (n >= m_pd->length) return *this;
  return Mid(m_pd->length - n, n);
}

CString CString::SpanIncluding(const char* set) {
  TruncateAt(static_cast<int>(std::strspn(m_pd->text, set)));
  return *this;
}

CString CString::SpanExcluding(const char* set) {
  TruncateAt(static_cast<int>(std::strcspn(m_pd->text, set)));
  return *this;
}

// ------------------------------------------------------------- modification

void CString::TruncateAt(int n) {
  if (n < 0 || n >= m_pd->length) return;
  Buffer(m_pd->capacity);
  m_pd->length = n;
  m_pd->text[n] = 0;
}

void CString::DeleteLeft(int n) {
  if (n >= m_pd->length) {
    Empty();
    return;
  }
  if (n <= 0) return;
  Buffer(m_pd->capacity);
  const int rest = m_pd->length - n;
  std::memmove(m_pd->text, m_pd->text + n, static_cast<size_t>(rest) + 1);
  m_pd->length = rest;
}

void CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count <= 0 || index >= m_pd->length) return;
  Buffer(m_pd->capacity);
  if (static_cast<int64_t>(index) + count < m_pd->length) {
    const int tail = m_pd->length - index - count;
    std::memmove(m_pd->text + index, m_pd->text + index + count, static_cast<size_t>(tail) + 1);
    m_pd->length -= count;
  } else {
    m_pd->length = index;
    m_pd->text[index] = 0;
  }
}

void CString::DeleteRight(int n) {
  if (m_pd->length > n)
    TruncateAt(m_pd->length - n);
  else
    Empty();
}

int CString::Remove(char c) {
  if (m_pd->length == 0) return 0;
  NewSelfIfShared();
  char* t = m_pd->text;
  int out = 0;
  for (int i = 0; i < m_pd->length; ++i)
    if (t[i] != c) t[out++] = t[i];
  const int removed = m_pd->length - out;
  m_pd->length = out;
  t[out] = 0;
  return removed;
}

void CString::LTrim(const char* set) {
  if (!set) set = kDefaultTrimSet;
  const size_t setLen = std::strlen(set);
  int n = 0;
  while (n < m_pd->length && InSet(set, setLen, m_pd->text[n])) ++n;
  if (n) DeleteLeft(n);
}

void CString::RTrim(const char* set) {
  if (m_pd->length == 0) return;
  if (!set) set = kDefaultTrimSet;
  const size_t setLen = std::strlen(set);
  int end = m_pd->length;
  while (end > 0 && InSet(set, setLen, m_pd->text[end - 1])) --end;
  if (end < m_pd->length) {
    if (end == 0)
      Empty();
    else
      TruncateAt(end);
  }
}

void CString::SetAt(int index, char c) {
  NewSelfIfShared();
  m_pd->text[index] = c;
}

int CString::Insert(int index, char c) { return InsertBytes(index, &c, 1); }

int CString::Insert(int index, const char* s) {
  const int n = static_cast<int>(std::strlen(s));
  if (n == 0) return m_pd->length;
  // Copied first: s may lie inside this string's text.
  const std::string src(s, static_cast<size_t>(n));
  return InsertBytes(index, src.data(), n);
}

int CString::InsertBytes(int index, const char* src, int n) {
  if (index < 0) index = 0;
  if (index >= m_pd->length) return CoreAddChars(src, n);
  Buffer(m_pd->length + n);
  char* t = m_pd->text;
  std::memmove(t + index + n, t + index, static_cast<size_t>(m_pd->length - index) + 1);
  std::memcpy(t + index, src, static_cast<size_t>(n));
  m_pd->length += n;
  return m_pd->length;
}

int CString::Replace(char a, char b) {
  if (m_pd->length == 0) return 0;
  NewSelfIfShared();
  int count = 0;
  for (int i = 0; i < m_pd->length; ++i) {
    if (m_pd->text[i] == a) {
      m_pd->text[i] = b;
      ++count;
    }
  }
  return count;
}

int CString::Replace(const char* oldText, const char* withText) {
  // Copied first: either may lie inside this string's text.
  const std::string from(oldText), to(withText);
  const int nOld = static_cast<int>(from.size());
  const int nWith = static_cast<int>(to.size());
  if (nOld == 0) return 0;

  std::vector<int> hits;
  hits.reserve(1024);
  const int len = m_pd->length;
  for (int i = 0; i <= len - nOld;) {
    if (std::strncmp(m_pd->text + i, from.data(), static_cast<size_t>(nOld)) == 0) {
      hits.push_back(i);
      i += nOld;
    } else {
      ++i;
    }
  }
  if (hits.empty()) return 0;

  const int count = static_cast<int>(hits.size());
  const int64_t newLen64 = len + static_cast<int64_t>(count) * (nWith - nOld);
  const int newLen = static_cast<int>(newLen64);
  if (nWith > nOld)
    Buffer(newLen);
  else
    NewSelfIfShared();
  char* t = m_pd->text;

  if (nWith == nOld) {
    for (int h : hits) std::memcpy(t + h, to.data(), static_cast<size_t>(nWith));
  } else if (nWith > nOld) {
    // From the last occurrence towards the first: each piece moves right
    // before anything to its left is written.
    int srcEnd = len;
    int dstEnd = newLen;
    for (int k = count - 1; k >= 0; --k) {
      const int pieceStart = hits[k] + nOld;
      const int piece = srcEnd - pieceStart;
      std::memmove(t + dstEnd - piece, t + pieceStart, static_cast<size_t>(piece));
      dstEnd -= piece;
      std::memcpy(t + dstEnd - nWith, to.data(), static_cast<size_t>(nWith));
      dstEnd -= nWith;
      srcEnd = hits[k];
    }
  } else {
    int dst = hits[0];
    for (int k = 0; k < count; ++k) {
      std::memcpy(t + dst, to.data(), static_cast<size_t>(nWith));
      dst += nWith;
      const int pieceStart = hits[k] + nOld;
      const int pieceEnd = k + 1 < count ? hits[k + 1] : len;
      std::memmove(t + dst, t + pieceStart, static_cast<size_t>(pieceEnd - pieceStart));
      dst += pieceEnd - pieceStart;
    }
  }
  m_pd->length = newLen;
  t[newLen] = 0;
  return count;
}

void CString::MakeUpper() {
  NewSelfIfShared();
  strupr(m_pd->text);
}

void CString::MakeLower() {
  NewSelfIfShared();
  strlwr(m_pd->text);
}

// --------------------------------------------------- buffers, files, helpers

char* CString::GetBuffer(int n) {
  Buffer(n);
  return m_pd->text;
}

void CString::ReleaseBuffer(int n) {
  if (n < 0) {
    // Bounded: a caller that forgot the NUL must not send strlen past the end.
    n = static_cast<int>(strnlen(m_pd->text, static_cast<size_t>(m_pd->capacity)));
  }
  if (!IsPrivate() || n > m_pd->capacity) {
    // Never write into a shared descriptor (nor m_Null); a length beyond the
    // capacity gets room first, the bytes past the old buffer zeroed.
    if (n == 0) {
      Empty();
      return;
    }
    SDesc* old = m_pd;
    const int keep = std::min(n, old->capacity);
    NewFromString(old->text, keep, n);
    std::memset(m_pd->text + keep, 0, static_cast<size_t>(n - keep));
    freestr(old);
  }
  m_pd->length = n;
  m_pd->text[n] = 0;
}

int CString::LoadString(unsigned long) { return 1; }

int CString::DiskIO(int load, FILE* f) {
  unsigned char head[4];
  if (!load) {
    const uint32_t n = static_cast<uint32_t>(m_pd->length);
    little_endian::Store32(head, n);
    const bool ok = std::fwrite(head, 1, 4, f) == 4 && std::fwrite(m_pd->text, 1, n, f) == n;
    return ok ? 1 : 0;
  }
  Empty();
  if (std::fread(head, 1, 4, f) != 4) return 0;
  const uint32_t n = little_endian::Load32(head);
  // The count comes from the file: read in steps, so a damaged count costs no
  // more memory than the bytes the file really holds.
  uint32_t got = 0;
  bool ok = true;
  char chunk[4096];
  while (got < n) {
    const size_t want = std::min<uint32_t>(n - got, sizeof chunk);
    const size_t r = std::fread(chunk, 1, want, f);
    CoreAddChars(chunk, static_cast<int>(r));
    got += static_cast<uint32_t>(r);
    if (r < want) {
      ok = false;
      break;
    }
  }
  if (m_pd != &m_Null) ReleaseBuffer(-1);  // a stored NUL ends the text
  return ok ? 1 : 0;
}

char* strupr(char* s) {
  for (char* p = s; *p; ++p)
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 32);
  return s;
}

char* strlwr(char* s) {
  for (char* p = s; *p; ++p)
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p + 32);
  return s;
}

char* strrev(char* s) {
  std::reverse(s, s + std::strlen(s));
  return s;
}

bool IsWhiteSpace(int ch) { return ch == '\r' || ch == '\n' || ch == '\t' || ch == ' ' || ch == 0; }
