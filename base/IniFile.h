// IniFile.h: reading and writing ini files: the profile of each program
// (its [Config] and [Mainframe] settings) and the UI-text file morvelui.ini.
//
// An ini file is lines of text: "[name]" headers, "key=value" entries that
// belong to the header before them, ";" comments and anything else, which is
// ignored. A line counts after trimming CR, LF, TAB and blanks from both
// ends (and cutting it at a CR left inside); lines shorter than 3 bytes are
// ignored. Names compare without regard to ASCII case; a key is the text
// before the first '=' (so "key = v" is the key "key "), a value everything
// after it. Only the first section of a name counts, and in it the first
// entry of a key. Reader and writer find the same entry by the same rules.
//
// The writer changes one value in place and keeps every other byte of the
// file; it rewrites the file through a temporary file and a rename
// (AtomicFile.h), so a failed save leaves the old file whole. No locking:
// two programs saving the same file at once each write a whole file, and the
// last one wins.
#pragma once

#include <vector>

// Copies deflt (empty for null) into out, then the value of key in section
// when there is one. out receives at most size - 1 bytes and a NUL, cut
// between characters, never inside a double-byte one. Returns -1 when the
// file cannot be read (out keeps the default), else the length of out.
int GetIniFileString(const char* path, const char* section, const char* key, char* out, int size,
                     const char* deflt);

// Sets key=value in section, creating the file, the section ("\n\n[S]\n" at
// the end) or the entry (after the section's last line) as needed. A null
// key clears the section (ClearIniFileSection). Returns 1 when the file holds
// the value, 0 when the file cannot be read or written (it is then unchanged)
// or when a name or the value holds a line break, which would tear the line
// apart. A message saying why goes to stderr.
int WriteIniFileString(const char* path, const char* section, const char* key, const char* value);

// One entry of WriteIniFileStrings; the texts are borrowed.
struct IniEntry {
  const char* section;
  const char* key;
  const char* value;
};
// Sets every entry in order, leaving the file as that many WriteIniFileString
// calls would, but reads and saves it once (and only when it changed): a
// program's settings are one save, not one per key. Returns 1 when the file
// holds every value; 0 when it cannot be read or written (it is then
// unchanged) or when an entry was refused (a line break, a null text, a key
// that would not read back), which is left out while the others are stored.
int WriteIniFileStrings(const char* path, const std::vector<IniEntry>& entries);

// Removes the body of section: every line after its header up to the next
// header or the end of the file. Returns the number of bytes that follow the
// removed body, or -1 when the section is missing or the file cannot be read
// or written.
int ClearIniFileSection(const char* path, const char* section);
