// Random edits applied to a document and to a plain std::string side by
// side. After every step the text must be the string's, the incremental
// row table must equal a full rebuild and the rows read from the text
// alone, and no row may start inside a pair or a CR LF or reach past its
// block. KVR_EDITOR_MODEL_SCALE (default 1) multiplies seeds and steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/internal/EdtText.h"
#include "tests/editor/EdtDocHelpers.h"

using namespace edttest;

namespace {

int Scale() {
  const char* s = std::getenv("KVR_EDITOR_MODEL_SCALE");
  const int v = s ? std::atoi(s) : 1;
  return v < 1 ? 1 : v;
}

class ModelRun {
 public:
  // wrap 0: no word wrap, and the rows are checked against the oracle and
  // the caret after each change; else rows wrap at that many columns and
  // are checked for their shape.
  ModelRun(unsigned seed, int wrap) : m_rng(seed), m_wrap(wrap) {
    if (wrap) {
      m_doc.m_bWordWrap = 1;
      m_doc.m_nWrapWidth = static_cast<int16_t>(wrap);
    }
  }

  // Text of n units: letters, GBK pairs (many with a trail byte in
  // 0x80..0xA0), TABs, CR LF, LF and lone CR.
  std::string RandomText(size_t units) {
    std::string s;
    for (size_t i = 0; i < units; ++i) {
      switch (Pick(10)) {
        case 0:
        case 1:
        case 2: s += static_cast<char>('a' + Pick(26)); break;
        case 3:
        case 4:
        case 5:
          s += static_cast<char>(0x81 + Pick(0x7E));
          s += static_cast<char>(Pick(2) ? 0x80 + Pick(0x21) : 0x40 + Pick(0x3F));
          break;
        case 6: s += '\t'; break;
        case 7: s += "\r\n"; break;
        case 8: s += '\n'; break;
        default: s += Pick(3) ? ' ' : '\r'; break;
      }
    }
    return s;
  }

  // A unit boundary of the text, often next to a block's start or end.
  size_t RandomOffset() {
    const std::vector<size_t> bounds = Boundaries(m_model);
    size_t want;
    if (Pick(2)) {
      const auto starts = BlkStarts(m_doc);
      auto it = starts.begin();
      std::advance(it, Pick(static_cast<int>(starts.size())));
      want = it->second + static_cast<size_t>(m_doc.m_lstBlks.GetAt(it->first).GetLength());
      want = want + static_cast<size_t>(Pick(5)) >= 2 ? want + Pick(5) - 2 : 0;
    } else {
      want = static_cast<size_t>(Pick(static_cast<int>(m_model.size()) + 1));
    }
    return *std::lower_bound(bounds.begin(), bounds.end() - 1, std::min(want, m_model.size()));
  }

  void Position(size_t off, long& row, int& col) {
    ASSERT_TRUE(PosOf(m_doc, off, row, col)) << "offset " << off << " is no row position";
  }

  // A random offset and its row position.
  void RandomPosition(size_t& off, long& row, int& col) {
    off = RandomOffset();
    ASSERT_NO_FATAL_FAILURE(Position(off, row, col));
  }

  // The display column of byte col of a row.
  int DispCol(long row, int col) {
    CString line;
    m_doc.GetLine(static_cast<int>(row), line);
    const std::vector<ORow> r =
        OracleRows(Str(line).substr(0, static_cast<size_t>(col)), m_doc.m_nTabWidth);
    return r.back().cols;
  }

  void Insert() {
    size_t off = 0;
    long row = 0;
    int col = 0;
    ASSERT_NO_FATAL_FAILURE(RandomPosition(off, row, col));
    const size_t units = Pick(6) == 0 ? 150 + Pick(600) : 1 + Pick(6);
    std::string s = RandomText(units);
    int disp = DispCol(row, col);
    const long oldRow = row;
    ASSERT_EQ(m_doc.InsertBytes(reinterpret_cast<unsigned char*>(&s[0]), s.size(), row, col, disp),
              1);
    m_doc.MakeLineInfo(std::max<int>(oldRow - 1, 0), 1);
    m_model.insert(off, s);
    // The caret lands after the inserted bytes, unless they end inside a
    // CR LF they made with the text after them.
    long wantRow;
    int wantCol;
    if (!m_wrap && PosOf(m_doc, off + s.size(), wantRow, wantCol)) {
      ASSERT_EQ(row, wantRow) << "inserted at " << off;
      ASSERT_EQ(col, wantCol) << "inserted at " << off;
      ASSERT_EQ(disp, DispCol(wantRow, wantCol));
    }
  }

  void Backspace() {
    size_t off = 0;
    long row = 0;
    int col = 0;
    ASSERT_NO_FATAL_FAILURE(RandomPosition(off, row, col));
    const long oldRow = row;
    int changed = 0;
    CString gone;
    const int done = m_doc.DeleteBytesLeft(row, col, changed, &gone);
    if (off == 0) {
      ASSERT_EQ(done, 0);
      return;
    }
    ASSERT_EQ(done, 1);
    const std::vector<size_t> bounds = Boundaries(m_model);
    const size_t from = *(std::lower_bound(bounds.begin(), bounds.end(), off) - 1);
    ASSERT_EQ(Str(gone), m_model.substr(from, off - from));
    m_doc.MakeLineInfo(std::max<int>(oldRow - 1, 0), 1);
    m_model.erase(from, off - from);
    // The caret goes where the removed unit began, unless the bytes on its
    // two sides now make one CR LF.
    long wantRow;
    int wantCol;
    if (!m_wrap && PosOf(m_doc, from, wantRow, wantCol)) {
      ASSERT_EQ(row, wantRow);
      ASSERT_EQ(col, wantCol);
    }
  }

  void Delete() {
    size_t off = 0;
    long row = 0;
    int col = 0;
    ASSERT_NO_FATAL_FAILURE(RandomPosition(off, row, col));
    const long oldRow = row;
    const int oldCol = col;
    int changed = 0;
    CString gone;
    const int done = m_doc.DeleteBytesRight(row, col, changed, &gone);
    if (off == m_model.size()) {
      ASSERT_EQ(done, 0);
      return;
    }
    ASSERT_EQ(done, 1);
    const size_t w = UnitAt(m_model, off);
    ASSERT_EQ(Str(gone), m_model.substr(off, w));
    ASSERT_EQ(row, oldRow);
    ASSERT_EQ(col, oldCol);
    m_doc.MakeLineInfo(std::max<int>(oldRow - 1, 0), 1);
    m_model.erase(off, w);
  }

  // A stream from a position to a later unit boundary.
  void StreamDelete() {
    size_t off = 0;
    long row = 0;
    int col = 0;
    ASSERT_NO_FATAL_FAILURE(RandomPosition(off, row, col));
    const std::vector<size_t> bounds = Boundaries(m_model);
    const size_t end = *std::lower_bound(bounds.begin(), bounds.end() - 1,
                                         std::min(m_model.size(), off + Pick(1500)));
    int changed = 0;
    CString gone;
    ASSERT_EQ(m_doc.DeleteByteStream(row, col, end - off, changed, &gone), 1);
    ASSERT_EQ(Str(gone), m_model.substr(off, end - off));
    m_doc.MakeLineInfo(std::max<int>(row - 1, 0), 1);
    m_model.erase(off, end - off);
  }

  void Replace() {
    size_t a = RandomOffset(), b = RandomOffset();
    if (Pick(3) == 0) b = a;
    CPoint from, to;
    long r;
    int c;
    ASSERT_NO_FATAL_FAILURE(Position(a, r, c));
    from = CPoint(c, static_cast<int>(r));
    ASSERT_NO_FATAL_FAILURE(Position(b, r, c));
    to = CPoint(c, static_cast<int>(r));
    const std::string s = RandomText(Pick(4) == 0 ? 200 + Pick(900) : Pick(5));
    CString old;
    ASSERT_EQ(m_doc.ReplaceText(from, to, edttext::ToCString(s), &old), 1);
    if (a > b) std::swap(a, b);
    if (a != b || !s.empty()) {
      ASSERT_EQ(Str(old), m_model.substr(a, b - a));
    }
    m_doc.MakeLineInfo(std::max(std::min(from.y, to.y) - 1, 0), 1);
    m_model.replace(a, b - a, s);
  }

  void Run(int steps) {
    for (int step = 0; step < steps; ++step) {
      SCOPED_TRACE(testing::Message()
                   << "step " << step << ", text of " << m_model.size() << " bytes");
      // Past 12000 bytes, streams replace most insertions so that the text
      // does not grow without end.
      const bool big = m_model.size() > 12000;
      const int op = Pick(20);
      if (op < (big ? 2 : 8)) {
        ASSERT_NO_FATAL_FAILURE(Insert());
      } else if (op < 11) {
        ASSERT_NO_FATAL_FAILURE(Backspace());
      } else if (op < 14) {
        ASSERT_NO_FATAL_FAILURE(Delete());
      } else if (op < (big ? 19 : 15)) {
        ASSERT_NO_FATAL_FAILURE(StreamDelete());
      } else {
        ASSERT_NO_FATAL_FAILURE(Replace());
      }
      if (m_wrap) {
        ASSERT_NO_FATAL_FAILURE(ExpectWrapped());
      } else {
        ASSERT_NO_FATAL_FAILURE(ExpectConsistent(m_doc, m_model));
      }
      m_maxBlocks = std::max(m_maxBlocks, m_doc.m_lstBlks.GetCount());
    }
  }
  int m_maxBlocks = 0;

  // Wrapped rows: the table is what a full rebuild makes, rows follow each
  // other without gaps, start on unit boundaries and lie in their blocks. A
  // full last row gets CR LF written after it, which the model takes over.
  void ExpectWrapped() {
    std::string text = DocText(m_doc);
    if (text == m_model + "\r\n") m_model = text;
    ASSERT_EQ(text, m_model);
    std::vector<typLineInfo> incremental;
    for (int r = 0; r < m_doc.GetLineCount(); ++r) incremental.push_back(m_doc.GetLineInfo(r));
    m_doc.MakeLineInfo(-1, 0);
    ASSERT_EQ(DocText(m_doc), m_model) << "a full rebuild changed the text";
    auto dump = [&]() {
      std::string out = "text [" + m_model + "]\nincremental:";
      for (const typLineInfo& li : incremental)
        out += " {" + std::to_string(li.m_nOffset) + "," + std::to_string(li.m_nBytes) + "," +
               std::to_string(li.m_nCols) + "," + std::to_string(li.m_nEnd) + "}";
      out += "\nfull:";
      for (int r = 0; r < m_doc.GetLineCount(); ++r) {
        const typLineInfo& li = m_doc.GetLineInfo(r);
        out += " {" + std::to_string(li.m_nOffset) + "," + std::to_string(li.m_nBytes) + "," +
               std::to_string(li.m_nCols) + "," + std::to_string(li.m_nEnd) + "}";
      }
      return out;
    };
    ASSERT_EQ(incremental.size(), static_cast<size_t>(m_doc.GetLineCount())) << dump();
    for (int r = 0; r < m_doc.GetLineCount(); ++r)
      ASSERT_TRUE(SameRow(incremental[r], m_doc.GetLineInfo(r))) << "row " << r << "\n" << dump();
    const std::vector<size_t> bounds = Boundaries(m_model);
    const auto starts = BlkStarts(m_doc);
    size_t expectStart = 0;
    for (int r = 0; r < m_doc.GetLineCount(); ++r) {
      SCOPED_TRACE(testing::Message() << "row " << r);
      const typLineInfo& li = m_doc.GetLineInfo(r);
      ASSERT_TRUE(m_doc.IsLineLive(li));
      ASSERT_LE(li.m_nOffset, m_doc.m_lstBlks.GetAt(li.m_posBlk).GetLength());
      const size_t start = RowStart(m_doc, starts, r);
      ASSERT_EQ(start, expectStart);
      ASSERT_TRUE(std::binary_search(bounds.begin(), bounds.end(), start))
          << "a row starts inside a unit";
      if (li.m_nBytes > 2 && li.m_nEnd == kRowEndSoft && r + 1 < m_doc.GetLineCount()) {
        ASSERT_LE(li.m_nCols, m_wrap + m_doc.m_nTabWidth);
      }
      expectStart = start + static_cast<size_t>(li.m_nBytes) +
                    (li.m_nEnd == kRowEndCRLF ? 2
                     : li.m_nEnd == kRowEndLF ? 1
                                              : 0);
    }
    ASSERT_EQ(expectStart, m_model.size());
  }

 private:
  int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

  std::mt19937 m_rng;
  int m_wrap;
  AEdtStor m_doc;
  std::string m_model;
};

}  // namespace

TEST(EdtDocModel, RandomEditsKeepTextAndRowsExact) {
  const int scale = Scale();
  for (unsigned seed = 1; seed <= 6u * static_cast<unsigned>(scale); ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    ModelRun run(seed, 0);
    ASSERT_NO_FATAL_FAILURE(run.Run(300 * scale));
    // The runs must reach texts of many blocks to test anything.
    EXPECT_GE(run.m_maxBlocks, 5);
  }
}

TEST(EdtDocModel, RandomEditsUnderWordWrapKeepRowsWhole) {
  const int scale = Scale();
  for (unsigned seed = 1; seed <= 4u * static_cast<unsigned>(scale); ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    ModelRun run(seed, static_cast<int>(5 + seed % 7));
    ASSERT_NO_FATAL_FAILURE(run.Run(200 * scale));
  }
}
