// EdtDocHelpers.h: reading an AEdtStor from the outside in the editor
// tests: its whole text, where each block and row starts in that text, an
// independent row oracle, and the checks every test step runs.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/ChnChar.h"
#include "editor/AEdtStor.h"

namespace edttest {

inline std::string Str(const CString& s) {
  return std::string(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
}

inline std::string DocText(AEdtStor& doc) {
  std::string out;
  for (long pos = doc.m_lstBlks.GetHeadPosition(); pos;) out += Str(doc.m_lstBlks.GetNext(pos));
  return out;
}

// Text offset of every block.
inline std::map<long, size_t> BlkStarts(AEdtStor& doc) {
  std::map<long, size_t> out;
  size_t at = 0;
  for (long pos = doc.m_lstBlks.GetHeadPosition(); pos;) {
    const long here = pos;
    out[here] = at;
    at += static_cast<size_t>(doc.m_lstBlks.GetNext(pos).GetLength());
  }
  return out;
}

// Text offset of every block, in text order.
inline std::vector<size_t> BlkOffsets(AEdtStor& doc) {
  std::vector<size_t> out;
  size_t at = 0;
  for (long pos = doc.m_lstBlks.GetHeadPosition(); pos;) {
    out.push_back(at);
    at += static_cast<size_t>(doc.m_lstBlks.GetNext(pos).GetLength());
  }
  return out;
}

inline std::vector<int> BlkLens(AEdtStor& doc) {
  std::vector<int> out;
  for (long pos = doc.m_lstBlks.GetHeadPosition(); pos;)
    out.push_back(doc.m_lstBlks.GetNext(pos).GetLength());
  return out;
}

// Width of the unit that starts at t[i]: CR LF 2, a GBK pair 2, else 1.
inline size_t UnitAt(const std::string& t, size_t i) {
  if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') return 2;
  if (i + 1 < t.size() && IsChnChar(static_cast<unsigned char>(t[i]), 1, 0) &&
      IsChnChar(static_cast<unsigned char>(t[i + 1]), 0, 0))
    return 2;
  return 1;
}

// Offsets at which a unit starts, and the text's end.
inline std::vector<size_t> Boundaries(const std::string& t) {
  std::vector<size_t> out;
  for (size_t i = 0; i < t.size(); i += UnitAt(t, i)) out.push_back(i);
  out.push_back(t.size());
  return out;
}

struct ORow {
  size_t start;
  int bytes, cols, end;
};

// The rows of t without word wrap, built from the text alone: breaks are
// LF and CR LF, a lone CR is a byte without a column, a pair 2 columns, a
// TAB runs to the next stop.
inline std::vector<ORow> OracleRows(const std::string& t, int tab) {
  std::vector<ORow> rows;
  ORow cur{0, 0, 0, 0};
  size_t i = 0;
  while (i < t.size()) {
    const unsigned char b = static_cast<unsigned char>(t[i]);
    if (b == '\n' || (b == '\r' && i + 1 < t.size() && t[i + 1] == '\n')) {
      cur.end = b == '\n' ? 1 : 2;
      i += b == '\n' ? 1 : 2;
      rows.push_back(cur);
      cur = ORow{i, 0, 0, 0};
      continue;
    }
    const size_t w = b == '\r' ? 1 : UnitAt(t, i);
    cur.bytes += static_cast<int>(w);
    cur.cols = b == '\t'   ? cur.cols / tab * tab + tab
               : b == '\r' ? cur.cols
                           : cur.cols + static_cast<int>(w);
    i += w;
  }
  rows.push_back(cur);
  return rows;
}

inline size_t RowStart(AEdtStor& doc, const std::map<long, size_t>& starts, int row) {
  const typLineInfo& li = doc.GetLineInfo(row);
  return starts.at(li.m_posBlk) + static_cast<size_t>(li.m_nOffset);
}

// Row and column of a text offset that is not inside a break.
inline bool PosOf(AEdtStor& doc, size_t off, long& row, int& col) {
  const auto starts = BlkStarts(doc);
  for (int r = 0; r < doc.GetLineCount(); ++r) {
    const size_t s = RowStart(doc, starts, r);
    if (off >= s && off <= s + static_cast<size_t>(doc.GetLineInfo(r).m_nBytes)) {
      row = r;
      col = static_cast<int>(off - s);
      return true;
    }
  }
  return false;
}

inline bool SameRow(const typLineInfo& a, const typLineInfo& b) {
  return a.m_posBlk == b.m_posBlk && a.m_nOffset == b.m_nOffset && a.m_nBytes == b.m_nBytes &&
         a.m_nCols == b.m_nCols && a.m_nEnd == b.m_nEnd && a.m_nSerial == b.m_nSerial;
}

// Everything that must hold after a change and its rebuild: the text is
// the model's, the table is what a full rebuild makes and what the oracle
// reads from the text, rows lie inside their blocks, blocks are sane.
inline void ExpectConsistent(AEdtStor& doc, const std::string& model) {
  ASSERT_EQ(DocText(doc), model);
  std::vector<typLineInfo> incremental;
  for (int r = 0; r < doc.GetLineCount(); ++r) incremental.push_back(doc.GetLineInfo(r));
  doc.MakeLineInfo(-1, 0);
  ASSERT_EQ(incremental.size(), static_cast<size_t>(doc.GetLineCount()))
      << "row count after a full rebuild";
  for (int r = 0; r < doc.GetLineCount(); ++r)
    ASSERT_TRUE(SameRow(incremental[r], doc.GetLineInfo(r)))
        << "row " << r << " differs from a full rebuild";

  const std::vector<ORow> want = OracleRows(model, doc.m_nTabWidth);
  ASSERT_EQ(want.size(), static_cast<size_t>(doc.GetLineCount()));
  const auto starts = BlkStarts(doc);
  for (int r = 0; r < doc.GetLineCount(); ++r) {
    SCOPED_TRACE(testing::Message() << "row " << r);
    const typLineInfo& li = doc.GetLineInfo(r);
    ASSERT_TRUE(doc.IsLineLive(li));
    ASSERT_LE(li.m_nOffset, doc.m_lstBlks.GetAt(li.m_posBlk).GetLength());
    ASSERT_EQ(RowStart(doc, starts, r), want[r].start);
    ASSERT_EQ(li.m_nBytes, want[r].bytes);
    ASSERT_EQ(li.m_nCols, want[r].cols);
    ASSERT_EQ(li.m_nEnd, want[r].end);
    CString line;
    ASSERT_EQ(doc.GetLine(r, line), want[r].bytes);
    ASSERT_EQ(Str(line), model.substr(want[r].start, static_cast<size_t>(want[r].bytes)));
  }
  const std::vector<int> lens = BlkLens(doc);
  ASSERT_EQ(doc.m_mapLiveBlks.size(), lens.size());
  for (int len : lens) {
    ASSERT_LE(len, kBlkSplitAfterDelete);
    if (lens.size() > 1) {
      ASSERT_GT(len, 0) << "an empty block beside others";
    }
  }
}

}  // namespace edttest
