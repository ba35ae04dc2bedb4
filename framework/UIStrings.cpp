#include "framework/UIStrings.h"

#include <cstring>
#include <string>
#include <string_view>

#include "base/GbkBytes.h"
#include "base/IniLookup.h"
#include "base/TextCut.h"
#include "framework/KeySyms.h"

// Defined here, beside its only reader.
CString gstrUIINI;

namespace {

constexpr const char* kUISection = "UI_STR";
constexpr size_t kMaxTranslationBytes = 255;

UILanguageReader gUILanguageReader = nullptr;

bool IsTrimmed(char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' '; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualNoCase(const char* a, const char* b, int n) {
  for (int i = 0; i < n; ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// The [UI_STR] key of a UI text: without '&', up to a TAB or "..".
std::string TranslationKey(const char* text) {
  std::string key;
  for (const char* p = text; *p && *p != '\t' && !(p[0] == '.' && p[1] == '.'); ++p)
    if (*p != '&') key += *p;
  return key;
}

}  // namespace

void SetUILanguageReader(UILanguageReader reader) { gUILanguageReader = reader; }

int GetUILanguage() { return gUILanguageReader ? gUILanguageReader() : 0; }

CString LoadStringChn(const char* text, int force) {
  if (!text || !*text) return CString();
  if (GetUILanguage() == 0 && !force) return CString(text);
  std::string value;
  CString result;
  if (LookupIniValue(gstrUIINI, kUISection, TranslationKey(text).c_str(), value) ==
      IniLookupResult::kFound) {
    result.AddChars(value.data(), 0, static_cast<int>(FitWholeChars(value, kMaxTranslationBytes)));
  } else {
    result = text;
  }
  // "\n" in the file stands for a line break; same length, so layouts that
  // measured the text stay right.
  result.Replace("\\n", " \n");
  return result;
}

char* remove_ampersand(const char* from, char* to) {
  char* out = to;
  for (; *from; ++from)
    if (*from != '&') *out++ = *from;
  *out = '\0';
  return to;
}

int GetMnuItemNShortcut(CString item, CString& text, CString& shortcut) {
  const int tab = item.Find('\t');
  if (tab < 0) {
    text = item;
    shortcut.Empty();
  } else {
    text = item.Left(tab);
    shortcut = item.Mid(tab + 1);
  }
  return 1;
}

int IsNavigationKey(unsigned long keysym) {
  return keysym >= keysym::kHome && keysym <= keysym::kEnd;
}

int iscsym(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int strCharCount(const char* s, char c) {
  if (c == '\0') return 1;
  int n = 0;
  for (; *s; ++s) n += *s == c;
  return n;
}

int IsIndexAroundPattern(CString text, int& index, CString pattern) {
  if (index < 0) return 0;
  const int len = pattern.GetLength();
  const int first = index - len > 0 ? index - len : 0;
  const int last = index < text.GetLength() - len ? index : text.GetLength() - len;
  for (int s = first; s <= last; ++s) {
    if (EqualNoCase(text.GetString() + s, pattern, len)) {
      index = s;
      return 1;
    }
  }
  return 0;
}

int GetPartsFromPath(CString* path, CString* dir, CString* name, CString* ext) {
  const CString& p = *path;
  const int len = p.GetLength();
  const bool rooted =
      len >= 2 && (p[1] == ':' || (p[0] == '\\' && p[1] == '\\') || (p[0] == '/' && p[1] == '/'));
  // 0x5C is also a GBK trail byte: only a '\' that starts a character is a
  // separator.
  int sep = -1;
  for (int i = 0; i < len; i += gbk::CharBytes(p, len, i))
    if (p[i] == '\\') sep = i;
  const CString fileName = sep < 0 ? p : p.Mid(sep + 1);
  // The outputs may be the path itself: take every part before writing.
  const CString dirPart = sep < 0 ? CString() : p.Left(sep);
  const int dot = fileName.ReverseFind('.');
  const CString extPart = dot < 0 ? CString() : fileName.Mid(dot + 1);
  if (dir) *dir = dirPart;
  if (name) *name = fileName;
  if (ext) *ext = extPart;
  return rooted ? 1 : 2;
}

int ForceFileExt(CString& path, const char* ext) {
  const int dot = path.ReverseFind('.');
  if (dot >= 0) {
    CString have = path.Mid(dot + 1);
    have.MakeLower();
    if (have == ext) return 0;
  }
  path += ".";
  path += ext;
  return 1;
}

int fgets_no_whitespace_at_ends(char* buffer, int size, FILE* file) {
  int count = 0;
  while (fgets(buffer, size, file)) {
    ++count;
    char* start = buffer;
    while (IsTrimmed(*start)) ++start;
    if (!*start) continue;  // a blank line: keep reading
    char* end = start + strlen(start);
    while (end > start && IsTrimmed(end[-1])) --end;
    *end = '\0';
    memmove(buffer, start, static_cast<size_t>(end - start) + 1);
    return count;
  }
  return count;
}
