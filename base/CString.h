// CString.h: GBK byte string, reference-counted and copy-on-write. Copies
// share one descriptor until one of them writes; the first write gives the
// writer its own copy. Indexes, lengths and counts are bytes. 65530 bytes is
// the declared limit, but passing it is not an error: the text simply grows.
//
// Text buffers and descriptors come from the small-block allocator of
// BlkAlloc.h. Every descriptor the class allocates has a capacity of the form
// 4k + 3, so its buffer (capacity + 1 bytes) is a multiple of 4.
//
// Left out on purpose: no locale, no wide characters, no exceptions. Indexes
// are not validated (callers keep them inside the text), except where a
// member says how it clamps them.
#pragma once

#include <cstdint>
#include <cstdio>

class CString {
 public:
  // The shared descriptor. A string object is one pointer to it.
  struct SDesc {
    uint32_t refs;     // CString objects pointing here
    char* text;        // capacity + 1 bytes, NUL at index length
    int32_t length;    // bytes of text before the NUL
    int32_t capacity;  // text bytes the buffer holds without the NUL
  };

  static constexpr int kMaxLength = 65530;
  static constexpr int kCacheLists = 80;  // size classes below 320 bytes

  // ---- Construction, assignment, destruction
  CString();                                    // shares m_Null
  explicit CString(int capacity);               // empty, own descriptor
  CString(const char* s, int minCapacity = 0);  // null s: empty
  CString(char c, int n);                       // n copies of c
  CString(const CString& other);                // shares
  ~CString();

  CString& operator=(const CString& other);
  CString& operator=(const char* s);  // s may be null or inside this text
  CString& operator=(char c);         // length 1, even for c == 0

  void Empty();             // length 0, capacity kept
  void Reset();             // back to m_Null, memory returned
  void Compact(int slack);  // shrink the buffer when it wastes > slack

  // ---- Size and access
  int GetLength() const { return m_pd->length; }
  bool IsEmpty() const { return m_pd->length == 0; }
  operator const char*() const { return m_pd->text; }
  const char* GetString() const { return m_pd->text; }
  char operator[](int i) const { return m_pd->text[i]; }
  char GetAt(int i) const { return m_pd->text[i]; }
  char GetLastChar() const;
  bool IsWhiteSpace(int i) const;  // index length counts as white space
  // Capacity of the descriptor and the descriptor itself, for diagnostics
  // and tests (sharing is visible as two strings with one descriptor).
  int GetAllocLength() const { return m_pd->capacity; }
  const SDesc* GetData() const { return m_pd; }

  // ---- Concatenation. Every source may lie inside this string's own text.
  CString& operator+=(const CString& s);
  CString& operator+=(const char* s);
  CString& operator+=(char c);
  int AddChar(char c);                                  // returns new length
  void AddChars(const char* s, int offset, int count);  // count bytes of s + offset
  void AddInt(int v);
  // Appends v with `digits` decimal places (at most 48); the whole value is
  // appended however many integer digits it has.
  void AddDouble(double v, unsigned long digits);

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(char a, const CString& b);

  // ---- Comparison, byte-wise
  friend bool operator==(const CString& a, const CString& b);
  friend bool operator==(const CString& a, const char* b);
  friend bool operator==(const char* a, const CString& b);
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
  friend bool operator>(const CString& a, const CString& b);
  int Compare(const char* s) const;
  int CompareNoCase(const char* s) const;

  // ---- Extraction. Results are new strings; negative starts and counts
  // clamp to 0 and counts clamp to the text. A result that is the whole text
  // shares the descriptor.
  CString Mid(int start, int count) const;
  CString Mid(int start) const;
  CString Left(int n) const;
  CString Right(int n) const;
  // These two cut THIS string (after the leading run of bytes in set / before
  // the first byte in set) and return a copy of the cut string.
  CString SpanIncluding(const char* set);
  CString SpanExcluding(const char* set);

  // ---- Modification
  void TruncateAt(int n);
  void DeleteLeft(int n);
  void Delete(int index, int count);
  void DeleteRight(int n);
  int Remove(char c);
  void LTrim(const char* set = nullptr);  // null set: "\r\n\t "
  void RTrim(const char* set = nullptr);
  void SetAt(int index, char c);
  int Insert(int index, char c);         // returns the new length
  int Insert(int index, const char* s);  // s may lie inside this text
  int Replace(char a, char b);
  int Replace(const char* old, const char* with);  // non-overlapping, from the left
  void MakeUpper();
  void MakeLower();

  // ---- Buffers, resources and files
  // Writable text with room for at least n bytes plus the NUL. Pair with
  // ReleaseBuffer in the same function.
  char* GetBuffer(int n);
  // n < 0: the length is the text's strlen (bounded by the capacity).
  void ReleaseBuffer(int n = -1);
  int LoadString(unsigned long id);  // string resources are unused: returns 1
  // File form: length (uint32 little-endian), then the bytes, no NUL. A text
  // read back ends at its first NUL. Returns 1, or 0 when the file ended early
  // or a write failed (the string then holds what was read).
  int DiskIO(int load, FILE* f);

  // ---- Searches (byte indexes; -1 when nothing is found)
  int Find(char c, int start = 0) const;
  int Find(const char* s, int start = 0) const;
  int Find(const CString& s, int start = 0) const;
  int ReverseFind(char c, int before = -1) const;
  int FindOneOf(const char* set) const;
  int FindOneOf(const char* set, int start) const;
  int RvsFindOneOf(const char* set, int pos) const;
  int FindNoCase(const char* s, int start = 0) const;
  int RvsFind(const char* s, int pos) const;  // index of the match's LAST byte
  int RvsFind(const char* s) const;
  int RvsFindNoCase(const char* s, int pos);
  // As Find / FindNoCase, counting only matches that begin on a character.
  int FindDBCS(const char* s, int start = 0) const;
  int FindNoCaseDBCS(const char* s, int start = 0) const;
  int DBCSFind(const char* pair) const;      // first double-byte char == pair
  int FindInChnStr(const char* pair) const;  // pair at an even index
  // Searches over 16-bit units in machine byte order; unit indexes.
  int FindW(CString s, int start, int noCase);
  int RvsFindW(CString s, int pos, int noCase);

  // ---- Double-byte-aware extraction: a cut never splits a GBK character.
  CString MidDBCS(int start, int count) const;
  CString LeftDBCS(int n) const;
  CString RightDBCS(int n) const;

  // ---- Formatting: printf-like, into this string (see CStringFormat.cpp).
  // %s ignores width (a precision limits it), %! appends a CString*, %n and
  // %S stop the expansion. Arguments may point into this string.
  CString& Format(const char* fmt, ...);

  // ---- Internal primitives (public so the record arrays and tests can reach
  // them; they keep the class invariants).
  void NewFromString(const char* src, int len, int minCapacity);  // no release
  void Buffer(int n);                                             // private, capacity >= n | 3
  void NewSelfIfShared();                                         // private, same text
  int CoreAddChars(const char* src, int n);
  static void freestr(SDesc* d);
  static void freestr_nMT(SDesc* d);
  static SDesc* CreateDesc();
  static void up_alloc(int& n) { n |= 3; }

  // Error hooks: they report nothing and return; the operation completes.
  static void ThrowTooLarge();
  static void ThrowPgmError();
  static void ThrowNoUnicode();
  static void ThrowIfNull(void*) {}

  // Every block of fewer than 320 bytes freed by the allocator goes back to
  // the C library.
  static void CompactFree();

  // The shared empty string. Recognised by its address: it is never written
  // and never freed, whatever its count says.
  static SDesc m_Null;
  // Free lists of the small-block allocator, by size / 4.
  static void* m_Cache[kCacheLists];

 private:
  bool IsPrivate() const { return m_pd != &m_Null && m_pd->refs == 1; }
  bool PointsIntoText(const char* p) const;
  int InsertBytes(int index, const char* src, int n);  // src not in our text
  int FindDBCSHelper(const char* s, int start, int noCase) const;

  SDesc* m_pd;
};

// Guard around every use of the allocator's free lists. The system has one
// thread, so it does nothing; it marks the places a lock would go.
class cache_arb {
 public:
  cache_arb() {}
  ~cache_arb() {}
};

void cstr_abort_application(int code);  // returns without effect

// Plain C helpers on NUL-terminated bytes; each returns s.
char* strupr(char* s);      // 'a'..'z' -> 'A'..'Z' (trail bytes included)
char* strlwr(char* s);      // 'A'..'Z' -> 'a'..'z'
char* strrev(char* s);      // byte by byte
bool IsWhiteSpace(int ch);  // CR, LF, TAB, space or 0
