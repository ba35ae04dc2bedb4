// The delimiter jump: from a bracket, a quote, "#if" and "#endif", "begin"
// and "end" and the like at the caret (or selected) to its partner,
// counting nested pairs where they nest.
//
// Texts are compared ignoring ASCII case, and only at character starts: a
// GBK trail byte that happens to be '[' or '{', or two bytes of two
// neighbouring characters that spell a full-width bracket, are not
// delimiters.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "editor/AEdtVu.h"
#include "editor/internal/EdtText.h"

namespace {

struct PairText {
  const char* open;
  const char* close;
  int nesting;
};

const PairText kPairs[] = {
    {"\xA1\xBE", "\xA1\xBF", 1},  // 【 】
    {"\xA1\xB0", "\xA1\xB1", 1},  // “ ”
    {"\xA1\xAE", "\xA1\xAF", 1},  // ‘ ’
    {"\xA1\xB6", "\xA1\xB7", 1},  // 《 》
    {"\xA3\xFB", "\xA3\xFD", 1},  // full-width braces
    {"\xA3\xA8", "\xA3\xA9", 1},  // full-width parentheses
    {"\xA1\xBC", "\xA1\xBD", 1},  // 〖 〗
    {"\xA1\xB4", "\xA1\xB5", 1},  // 〈 〉
    {"{", "}", 1},
    {"[", "]", 1},
    {"(", ")", 1},
    {"<", ">", 1},
    {"#if", "#endif", 1},
    {"#ifdef", "#endif", 1},
    {"#ifndef", "#endif", 1},
    {"#define", "#undef", 1},
    {"/*", "*/", 0},
    {"begin", "end", 0},
    {"\xBF\xAA\xCA\xBC", "\xBD\xE1\xCA\xF8", 0},  // 开始 结束
    {"fopen", "fclose", 0},
    {"open", "close", 0},
    {"new", "delete", 0},
    {"alloc", "free", 0},
};

// "#if" opens every conditional: "#ifdef" and "#ifndef" start with it.
const char kIfFamily[] = "#if";

// Shorter than this many bytes, a selection may name a delimiter.
constexpr int kMaxSelection = 8;

// One row's bytes and where its characters start.
class Row {
 public:
  explicit Row(const CString& text) : m_text(text), m_n(text.GetLength()), m_start(m_n + 1, false) {
    for (int i = 0; i < m_n;) {
      m_start[i] = true;
      i += edttext::CharBytes(m_text, static_cast<size_t>(m_n), static_cast<size_t>(i));
    }
    m_start[m_n] = true;
  }
  int Length() const { return m_n; }
  // pattern at byte i, ignoring ASCII case, starting a character.
  bool MatchAt(int i, const CString& pattern) const {
    const int len = pattern.GetLength();
    if (len == 0 || i < 0 || i + len > m_n || !m_start[i]) return false;
    for (int k = 0; k < len; ++k)
      if (Lower(m_text[i + k]) != Lower(pattern[k])) return false;
    return true;
  }
  // The first start at or after from, -1 for none.
  int Next(int from, const CString& pattern) const {
    for (int i = std::max(from, 0); i + pattern.GetLength() <= m_n; ++i)
      if (MatchAt(i, pattern)) return i;
    return -1;
  }
  // The last start whose text ends at or before limit, -1 for none.
  int Prev(int limit, const CString& pattern) const {
    for (int i = std::min(limit, m_n) - pattern.GetLength(); i >= 0; --i)
      if (MatchAt(i, pattern)) return i;
    return -1;
  }
  // Where pattern lies around index: the starts from index - length up to
  // index, tried rising; -1 for none.
  int Around(int index, const CString& pattern) const {
    const int len = pattern.GetLength();
    for (int i = std::max(index - len, 0); i <= index; ++i)
      if (MatchAt(i, pattern)) return i;
    return -1;
  }

 private:
  static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
  CString m_text;
  int m_n;
  std::vector<bool> m_start;
};

}  // namespace

void AEdtVu::BuildDelimiterPairs() {
  m_aDelimPairs.RemoveAll();
  for (const PairText& p : kPairs) {
    typDelimiterPair pair;
    pair.m_strOpen = p.open;
    pair.m_strClose = p.close;
    pair.m_bNesting = p.nesting;
    m_aDelimPairs.Add(pair);
  }
}

void AEdtVu::GoOtherDelimiter(unsigned long) {
  const int rows = RowCount();
  if (rows < 1 || m_ptSelAnchor.y != m_ptSelEnd.y ||
      std::abs(m_ptSelAnchor.x - m_ptSelEnd.x) >= kMaxSelection)
    return;
  const int row = m_nCaretRow;
  if (row < 0 || row >= rows) return;
  CString text;
  RowText(row, text);
  const Row here(text);

  // The delimiter at the caret, or the one selected.
  int found = -1, at = -1;
  bool opening = false;
  const bool empty = m_ptSelAnchor == m_ptSelEnd;
  const int selFrom = std::min(m_ptSelAnchor.x, m_ptSelEnd.x);
  const int selLen = std::abs(m_ptSelAnchor.x - m_ptSelEnd.x);
  for (int i = 0; i < m_aDelimPairs.GetSize() && found < 0; ++i) {
    for (int side = 0; side < 2 && found < 0; ++side) {
      const CString& t = side == 0 ? m_aDelimPairs[i].m_strOpen : m_aDelimPairs[i].m_strClose;
      const int pos = empty ? here.Around(m_nCaretCol, t)
                            : (t.GetLength() == selLen && here.MatchAt(selFrom, t) ? selFrom : -1);
      if (pos >= 0) {
        found = i;
        at = pos;
        opening = side == 0;
      }
    }
  }
  if (found < 0) return;
  const typDelimiterPair& pair = m_aDelimPairs[found];
  CString open = pair.m_strOpen, close = pair.m_strClose;
  // A conditional closes with "#endif" whichever of "#if", "#ifdef" and
  // "#ifndef" opened it, so nested ones are counted by their common start.
  if (close.CompareNoCase("#endif") == 0) open = kIfFamily;

  int depth = 0, r = row;
  if (opening) {
    int from = at + pair.m_strOpen.GetLength();
    for (; r < rows; ++r, from = 0) {
      CString rowText;
      RowText(r, rowText);
      const Row line(rowText);
      for (;;) {
        const int o = pair.m_bNesting ? line.Next(from, open) : -1;
        const int k = line.Next(from, close);
        if (k < 0 && o < 0) break;
        if (o >= 0 && (k < 0 || o < k)) {
          ++depth;
          from = o + open.GetLength();
        } else if (depth == 0) {
          MySetCaretPos(r, k, 0);
          CollapseSelectionAtCaret();
          MyShowCaret();
          return;
        } else {
          --depth;
          from = k + close.GetLength();
        }
      }
    }
  } else {
    int limit = at;
    for (; r >= 0; --r, limit = INT32_MAX) {
      CString rowText;
      RowText(r, rowText);
      const Row line(rowText);
      for (;;) {
        const int o = line.Prev(limit, open);
        const int k = pair.m_bNesting ? line.Prev(limit, close) : -1;
        if (k < 0 && o < 0) break;
        if (k > o) {
          ++depth;
          limit = k;
        } else if (depth == 0) {
          MySetCaretPos(r, o, 0);
          CollapseSelectionAtCaret();
          MyShowCaret();
          return;
        } else {
          --depth;
          limit = o;
        }
      }
    }
  }
}
