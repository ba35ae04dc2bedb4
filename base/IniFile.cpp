#include "base/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"
#include "base/IniLookup.h"
#include "base/TextCut.h"

namespace {

// Ini files are small; anything larger is not one, and is refused rather
// than read into memory.
constexpr size_t kMaxIniBytes = 16u << 20;

enum class FileState { kRead, kMissing, kError };

FileState ReadWholeFile(const char* path, std::string& out, std::string& why) {
  out.clear();
  FILE* f = fopen(path, "rb");
  if (!f) {
    if (errno == ENOENT) return FileState::kMissing;
    why = std::string(path) + ": cannot be opened: " + strerror(errno);
    return FileState::kError;
  }
  char buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
    out.append(buf, n);
    if (out.size() > kMaxIniBytes) {
      why = std::string(path) + ": larger than " + std::to_string(kMaxIniBytes) +
            " bytes, not an ini file";
      fclose(f);
      return FileState::kError;
    }
  }
  const bool failed = ferror(f);
  const int err = errno;
  fclose(f);
  if (failed) {
    why = std::string(path) + ": cannot be read: " + strerror(err);
    return FileState::kError;
  }
  return FileState::kRead;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualsNoCase(std::string_view a, const char* b) {
  const size_t n = strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// One physical line of the file and what the reader makes of it.
struct IniItem {
  enum Kind { kOther, kHeader, kEntry } kind = kOther;
  size_t begin = 0;        // first byte of the line
  size_t end = 0;          // its '\n', or the end of the file
  size_t next = 0;         // first byte of the next line
  std::string_view name;   // header name or entry key
  std::string_view value;  // entry value, trimmed on the right
  size_t valueBegin = 0;   // entry: the byte after its '='
  bool tooShort = false;   // an entry like "k=", which the reader skips
};

// Reads the line at pos; false at the end of the text.
bool NextItem(std::string_view text, size_t& pos, IniItem& item) {
  if (pos >= text.size()) return false;
  item = IniItem();
  item.begin = pos;
  const size_t nl = text.find('\n', pos);
  item.end = nl == std::string_view::npos ? text.size() : nl;
  item.next = nl == std::string_view::npos ? text.size() : nl + 1;
  pos = item.next;

  size_t tb = item.begin, te = item.end;
  while (tb < te && IsBlank(text[tb])) ++tb;
  while (te > tb && IsBlank(text[te - 1])) --te;
  const size_t cr = text.substr(tb, te - tb).find('\r');
  if (cr != std::string_view::npos) te = tb + cr;
  const std::string_view line = text.substr(tb, te - tb);
  if (line.empty() || line[0] == ';') return true;
  item.tooShort = line.size() < 3;
  if (line[0] == '[') {
    if (item.tooShort) return true;
    item.kind = IniItem::kHeader;
    item.name = line.back() == ']' ? line.substr(1, line.size() - 2) : line;
    return true;
  }
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return true;
  item.kind = IniItem::kEntry;
  item.name = line.substr(0, eq);
  item.value = line.substr(eq + 1);
  item.valueBegin = tb + eq + 1;
  return true;
}

// Where section and key are in a file.
struct IniLocation {
  bool sectionFound = false;
  size_t bodyBegin = 0;   // first byte after the header's line
  size_t sectionEnd = 0;  // first byte of the next header's line, or the end
  bool keyFound = false;
  IniItem entry;
};

// The reader skips entries shorter than 3 bytes ("k="); the writer finds
// them too (withShort), so that writing "k" again fills that line instead of
// adding another one.
IniLocation Locate(std::string_view text, const char* section, const char* key,
                   bool withShort = false) {
  IniLocation loc;
  size_t pos = 0;
  IniItem item;
  while (NextItem(text, pos, item)) {
    if (item.kind == IniItem::kHeader && EqualsNoCase(item.name, section)) {
      loc.sectionFound = true;
      loc.bodyBegin = item.next;
      break;
    }
  }
  if (!loc.sectionFound) return loc;
  loc.sectionEnd = text.size();
  while (NextItem(text, pos, item)) {
    if (item.kind == IniItem::kHeader) {
      loc.sectionEnd = item.begin;
      break;
    }
    if (!loc.keyFound && key && item.kind == IniItem::kEntry && (withShort || !item.tooShort) &&
        EqualsNoCase(item.name, key)) {
      loc.keyFound = true;
      loc.entry = item;
    }
  }
  return loc;
}

// Copies text into out (size bytes with the NUL), cutting it between
// characters. Returns the length copied.
int CopyBounded(char* out, int size, std::string_view text) {
  if (!out || size <= 0) return 0;
  const size_t n = FitWholeChars(text, static_cast<size_t>(size) - 1);
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

bool HasLineBreak(const char* s) { return s && strpbrk(s, "\r\n"); }

// Whether the reader finds value under section and key in text (a value's
// trailing blanks are trimmed by the reader).
bool ReadsBack(std::string_view text, const char* section, const char* key, const char* value) {
  std::string_view want(value);
  // "k=" is shorter than any line the reader looks at; an empty value reads
  // like a missing entry either way, so that is no reason to refuse.
  if (want.empty() && strlen(key) == 1 && !strchr("[;= \t", key[0])) return true;
  const IniLocation loc = Locate(text, section, key);
  if (!loc.keyFound) return false;
  while (!want.empty() && IsBlank(want.back())) want.remove_suffix(1);
  return loc.entry.value == want;
}

bool Save(const char* path, const std::string& content, const char* caller) {
  std::string error;
  if (WriteFileAtomic(path, content, &error)) return true;
  fprintf(stderr, "%s: %s\n", caller, error.c_str());
  return false;
}

}  // namespace

IniLookupResult LookupIniValue(const char* path, const char* section, const char* key,
                               std::string& value) {
  std::string text, why;
  if (!path || ReadWholeFile(path, text, why) != FileState::kRead) return IniLookupResult::kNoFile;
  if (!section || !key) return IniLookupResult::kNotFound;
  const IniLocation loc = Locate(text, section, key);
  if (!loc.keyFound) return IniLookupResult::kNotFound;
  value.assign(loc.entry.value);
  return IniLookupResult::kFound;
}

int GetIniFileString(const char* path, const char* section, const char* key, char* out, int size,
                     const char* deflt) {
  CopyBounded(out, size, deflt ? deflt : "");
  std::string value;
  const IniLookupResult found = LookupIniValue(path, section, key, value);
  if (found == IniLookupResult::kNoFile) return -1;
  if (found == IniLookupResult::kFound) CopyBounded(out, size, value);
  return out && size > 0 ? static_cast<int>(strlen(out)) : 0;
}

namespace {

// key=value set in section of text as WriteIniFileString does it; false
// (and a message naming caller) when the entry cannot be stored.
bool ApplyIniEntry(std::string& text, const char* path, const char* section, const char* key,
                   const char* value, const char* caller) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
    fprintf(stderr, "%s: %s: [%s] %s: a line break cannot be stored\n", caller, path, section, key);
    return false;
  }
  const IniLocation loc = Locate(text, section, key, true);
  std::string updated;
  if (loc.keyFound) {
    // The old value runs to the first CR or LF; its line end stays.
    const size_t from = loc.entry.valueBegin;
    size_t to = text.find_first_of("\r\n", from);
    if (to == std::string::npos) to = text.size();
    updated = text.substr(0, from) + value + text.substr(to);
  } else if (loc.sectionFound) {
    const size_t at = loc.sectionEnd;
    std::string line;
    if (at == text.size() && !text.empty() && text.back() != '\n') line = "\n";
    line += std::string(key) + "=" + value + "\n";
    updated = text.substr(0, at) + line + text.substr(at);
  } else {
    updated = text + "\n\n[" + section + "]\n" + key + "=" + value + "\n";
  }
  if (updated == text) return true;
  if (!ReadsBack(updated, section, key, value)) {
    fprintf(stderr,
            "%s: %s: [%s] %s: the entry would not read back as written "
            "(a key may not hold '=' or start with '[', ';' or a blank)\n",
            caller, path, section, key);
    return false;
  }
  text.swap(updated);
  return true;
}

// The entries (each with section, key and value) set in the file at path
// in one read and at most one save; messages name caller.
int WriteIniEntries(const char* path, const std::vector<IniEntry>& entries, const char* caller) {
  std::string text, why;
  const FileState state = ReadWholeFile(path, text, why);
  if (state == FileState::kError) {
    fprintf(stderr, "%s: %s\n", caller, why.c_str());
    return 0;
  }
  const std::string before = text;
  bool all = true;
  bool stored = false;  // an entry was taken: an absent file is made
  for (const IniEntry& e : entries) {
    const bool ok = ApplyIniEntry(text, path, e.section, e.key, e.value, caller);
    all = all && ok;
    stored = stored || ok;
  }
  const bool unchanged = state == FileState::kRead ? text == before : !stored;
  if (unchanged) return all ? 1 : 0;  // nothing to save
  return Save(path, text, caller) && all ? 1 : 0;
}

}  // namespace

int WriteIniFileString(const char* path, const char* section, const char* key, const char* value) {
  if (!key) return ClearIniFileSection(path, section);
  if (!path || !section || !value) {
    fprintf(stderr, "WriteIniFileString: no %s given\n",
            !path      ? "file"
            : !section ? "section"
                       : "value");
    return 0;
  }
  return WriteIniEntries(path, {{section, key, value}}, "WriteIniFileString");
}

int WriteIniFileStrings(const char* path, const std::vector<IniEntry>& entries) {
  if (!path) {
    fprintf(stderr, "WriteIniFileStrings: no file given\n");
    return 0;
  }
  std::vector<IniEntry> whole;
  whole.reserve(entries.size());
  bool all = true;
  for (const IniEntry& e : entries) {
    if (e.section && e.key && e.value) {
      whole.push_back(e);
      continue;
    }
    fprintf(stderr, "WriteIniFileStrings: an entry without section, key or value\n");
    all = false;
  }
  return WriteIniEntries(path, whole, "WriteIniFileStrings") && all ? 1 : 0;
}

int ClearIniFileSection(const char* path, const char* section) {
  if (!path || !section) return -1;
  std::string text, why;
  const FileState state = ReadWholeFile(path, text, why);
  if (state != FileState::kRead) {
    if (state == FileState::kError) fprintf(stderr, "ClearIniFileSection: %s\n", why.c_str());
    return -1;
  }
  const IniLocation loc = Locate(text, section, nullptr);
  if (!loc.sectionFound) return -1;
  const int after = static_cast<int>(text.size() - loc.sectionEnd);
  if (loc.bodyBegin == loc.sectionEnd) return after;
  const std::string updated = text.substr(0, loc.bodyBegin) + text.substr(loc.sectionEnd);
  return Save(path, updated, "ClearIniFileSection") ? after : -1;
}
