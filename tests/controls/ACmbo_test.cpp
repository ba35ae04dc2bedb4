// The combo box's rows and its row history without a display: finding and
// reading rows, the selection's bounds, and the history file written
// through a temporary file and read back bounded. ACmbo_xtest builds real
// combo boxes in dialogs.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "controls/ACmbo.h"
#include "controls/CtrlConsts.h"
#include "framework/CWinApp.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

std::vector<std::string> Rows(ACmbo& c) {
  std::vector<std::string> rows;
  for (int i = 0; i < c.GetCount(); ++i) {
    CString t;
    EXPECT_EQ(c.GetLstText(i, t), 1);
    rows.emplace_back(static_cast<const char*>(t));
  }
  return rows;
}

TEST(ACmbo, StartsAsAnEmptyStringList) {
  ACmbo c;
  EXPECT_EQ(c.m_nType, kCtrlComboBox);
  EXPECT_EQ(c.m_list.m_bStrList, 1);
  EXPECT_EQ(c.m_bDropList, 0);
  EXPECT_EQ(c.m_bHistory, 0);
  EXPECT_EQ(c.m_pArrow, nullptr);
  // Selection 0 names no row of an empty list.
  EXPECT_EQ(c.GetSel(), -1);
}

TEST(ACmbo, RowsAreFoundReadAndSelectedInsideTheList) {
  ACmbo c;
  for (const char* r : {"A", "B", "C", "B"}) c.AddRow(r);
  EXPECT_EQ(c.FindRowExact("B", 0), 1);
  EXPECT_EQ(c.FindRowExact("B", 2), 3);
  EXPECT_EQ(c.FindRowExact("b", 0), -1);
  EXPECT_EQ(c.FindRowExact("A", -4), 0);
  CString out = "kept";
  EXPECT_EQ(c.GetLstText(4, out), 0);
  EXPECT_EQ(c.GetLstText(-1, out), 0);
  EXPECT_STREQ(out, "kept");
  c.InsertRow(0, "Z");
  c.DelRow(2);
  EXPECT_EQ(Rows(c), (std::vector<std::string>{"Z", "A", "C", "B"}));
  // Without a window there is no text to show; the selection still holds.
  c.SetSel(9);
  EXPECT_EQ(c.GetSel(), 3);
  c.SetSel(-2);
  EXPECT_EQ(c.GetSel(), -1);
  // A row removed from under the selection is no selection.
  c.SetSel(3);
  c.DelRow(3);
  EXPECT_EQ(c.GetSel(), -1);
}

TEST(ACmbo, HistoryKeepsSixteenDistinctRowsNewestFirst) {
  ACmbo c;
  for (int i = 0; i < 20; ++i) c.AddToMRU(("row " + std::to_string(i)).c_str());
  ASSERT_EQ(c.GetCount(), kMruMaxRows);
  EXPECT_EQ(Rows(c).front(), "row 19");
  EXPECT_EQ(Rows(c).back(), "row 4");
  // An equal row moves to the top instead of being added twice.
  c.AddToMRU("row 10");
  EXPECT_EQ(c.GetCount(), kMruMaxRows);
  EXPECT_EQ(Rows(c)[0], "row 10");
  EXPECT_EQ(c.FindRowExact("row 10", 1), -1);
  // A long text is cut to 256 bytes.
  c.AddToMRU(std::string(300, 'x').c_str());
  EXPECT_EQ(Rows(c)[0], std::string(kMruMaxBytes, 'x'));
}

class HistoryFile : public ::testing::Test {
 protected:
  void SetUp() override { app.m_strProgDir = (dir.Path() + "/").c_str(); }
  kvrtest::ScratchDir dir;
  CWinApp app;
};

TEST_F(HistoryFile, IsWrittenWholeAndReadBack) {
  ACmbo c;
  c.m_strHistory = "dlg108";
  EXPECT_EQ(std::string(c.MruPath()), dir.File("combomrudlg108.bin"));
  for (const char* r : {"one", "\xd6\xd0\xce\xc4", "three"}) c.AddToMRU(r);
  ASSERT_EQ(c.SaveMRU(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(dir.File("combomrudlg108.bin")),
            "three\n\xd6\xd0\xce\xc4\none\n");
  ACmbo back;
  back.m_strHistory = "dlg108";
  ASSERT_EQ(back.LoadMRU(), 1);
  EXPECT_EQ(Rows(back), (std::vector<std::string>{"three", "\xd6\xd0\xce\xc4", "one"}));
  ACmbo none;
  none.m_strHistory = "other";
  EXPECT_EQ(none.LoadMRU(), 0);
  EXPECT_EQ(none.GetCount(), 0);
}

TEST_F(HistoryFile, AHostileFileIsReadBounded) {
  {
    std::ofstream f(dir.File("combomruh.bin"), std::ios::binary);
    f << std::string(5000, 'a') << "\r\n";    // one over-long line
    f << std::string("be\0fore", 7) << "\n";  // a NUL ends the row's text
    for (int i = 0; i < 100; ++i) f << "r" << i << "\n";
    f << std::string(1 << 20, 'z');  // a huge tail without a line end
  }
  ACmbo c;
  c.m_strHistory = "h";
  ASSERT_EQ(c.LoadMRU(), 1);
  const std::vector<std::string> rows = Rows(c);
  ASSERT_EQ(rows.size(), static_cast<size_t>(kMruMaxRows));
  EXPECT_EQ(rows[0], std::string(kMruMaxBytes, 'a'));
  EXPECT_EQ(rows[1], "be");
  EXPECT_EQ(rows[2], "r0");
  for (const std::string& r : rows) EXPECT_LE(r.size(), static_cast<size_t>(kMruMaxBytes));
}

}  // namespace
