// Character and word tests of the resource-script reader, and the records of
// its file stack.
#include "controls/RcCmplr.h"

#include <cctype>
#include <cstring>

namespace {
bool IsBlank(char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' '; }

bool IsOneOf(const char* word, const char* const* list) {
  for (; *list; ++list)
    if (strcmp(word, *list) == 0) return true;
  return false;
}
}  // namespace

int IsCSymChar(int ch) {
  if (ch == '_' || ch == '$') return 1;
  // Bytes of double-byte characters are no symbol characters.
  return ch >= 0 && ch < 0x80 && isalnum(ch) ? 1 : 0;
}

int StripWhitespacesAtEnds(char* buf, int max) {
  int lead = 0;
  while (buf[lead] != '\0' && IsBlank(buf[lead])) {
    if (++lead >= max) return 0;
  }
  int len = static_cast<int>(strlen(buf + lead));
  memmove(buf, buf + lead, static_cast<size_t>(len) + 1);
  while (len > 0 && IsBlank(buf[len - 1])) buf[--len] = '\0';
  return 1;
}

int HasOddQuotes(CString& text) {
  int n = 0;
  const char* s = text;
  for (int i = 0; s[i] != '\0'; ++i)
    if (s[i] == '"' && (i == 0 || s[i - 1] != '\\')) ++n;
  return n % 2 ? n : 0;
}

int IsDlgStartTerm(const char* word) {
  static const char* const kWords[] = {
      "LTEXT",   "ICON",  "CONTROL",       "COMBOBOX", "EDITTEXT",  "GROUPBOX", "PUSHBUTTON",
      "LISTBOX", "RTEXT", "DEFPUSHBUTTON", "CTEXT",    "SCROLLBAR", nullptr};
  return IsOneOf(word, kWords) ? 1 : 0;
}

int IsMnuStartTerm(const char* word) {
  static const char* const kWords[] = {"BEGIN", "END", "POPUP", "MENUITEM", nullptr};
  return IsOneOf(word, kWords) ? 1 : 0;
}

typCurrFileInfo& typCurrFileInfo::operator=(const typCurrFileInfo& other) {
  if (this == &other) return *this;
  m_name = other.m_name;
  m_nLines = other.m_nLines;
  m_nFileIndex = other.m_nFileIndex;
  m_fp = other.m_fp;
  // Rebuild the stack bottom first: copy out, then push back in order.
  m_stackCond.Reset();
  auto& src = const_cast<AStack<int, int>&>(other.m_stackCond);
  for (long pos = src.GetHeadPosition(); pos != 0;) m_stackCond.Push(src.GetNext(pos));
  return *this;
}

void typCurrFileInfo::Reset() {
  m_fp = nullptr;
  m_name = "";
  m_stackCond.Reset();
}
