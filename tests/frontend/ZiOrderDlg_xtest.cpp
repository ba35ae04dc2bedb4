// The character order editor on the private Xvfb, built from the shipped
// dialog 106, over the engine on the word search fixture with the manual
// order in use: a drag in the grid by the user's pointer, OK refused while
// a drop is not committed, Commit and OK writing only the syllable's run
// and handing the table to the engine, Cancel after a commit asking, a
// failed write reported with the old file kept, and a fuzzy variant that
// is not the engine's table written but not handed over. The grid during
// a drag is saved to build/screenshots/.
#include "frontend/CZiOrder.h"

#include "tests/controls/DialogTestApp.h"
// The dialog test application first: it brings Xlib after gtest.
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "tests/frontend/DialogEngine.h"
#include "tests/frontend/DialogTestSupport.h"
#include "tests/support/FileText.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

using dialogtest::ToGbk;
using dialogtest::ToUtf8;
using V = std::vector<std::string>;

using kvrtest::ReadFileText;

std::string Utf8Of(uint16_t v) {
  const char pair[3] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8), 0};
  return ToUtf8(CString(pair));
}

class TestZiOrder : public CZiOrder {
 public:
  TestZiOrder() : CZiOrder(nullptr) {}
  int Ask(const char* text, int, int) override { return boxes.Ask(text); }
  V Zi() const {
    V out;
    for (int i = 0; i < m_arrZi.GetSize(); ++i) out.push_back(Utf8Of(m_arrZi[i]));
    return out;
  }
  // The syllable typed into 1063, as the edit control reports it.
  void Type(const char* py) {
    SetCtrlText(kIdPinyin, py);
    CtrlEvProc(0, kIdPinyin, kCtrlEvTextChange, nullptr);
  }
  void Click(int id) {
    AWnd* c = GetCtrl(id);
    ASSERT_NE(c, nullptr) << id;
    TheApp().ClickAt(c->m_hWnd, c->m_szWin.cx / 2, c->m_szWin.cy / 2);
  }
  // The user's pointer: a press on character i, a move to (dx, dy) from
  // character i's centre.
  void PressOnZi(int i) {
    const CPoint at = m_grid.m_layout.CellOf(i).CenterPoint();
    TheApp().PressAt(m_grid.m_hWnd, at.x, at.y);
  }
  void MoveOverZi(int i, int dx, int dy) {
    CRect rc;
    ASSERT_TRUE(GetWinRect(m_grid.m_hWnd, &rc));
    const CPoint at = m_grid.m_layout.CellOf(i).CenterPoint();
    TheApp().MoveTo(rc.left + at.x + dx, rc.top + at.y + dy);
  }
  // A drop made without the pointer: from's character onto place to.
  void Drop(int from, int to) {
    ASSERT_TRUE(zigrid::MoveZi(m_arrZi, from, to));
    m_bOrderChanged = 1;
  }
  dialogtest::ScriptedBoxes boxes;
};

struct RenameFails : IFileOps {
  int Create(const char* p) override { return SystemFileOps().Create(p); }
  ssize_t Write(int fd, const void* d, size_t k) override {
    return SystemFileOps().Write(fd, d, k);
  }
  int Fchmod(int fd, mode_t m) override { return SystemFileOps().Fchmod(fd, m); }
  int Fsync(int fd) override { return SystemFileOps().Fsync(fd); }
  int Close(int fd) override { return SystemFileOps().Close(fd); }
  int Rename(const char*, const char*) override {
    errno = ENOSPC;
    return -1;
  }
  int SyncDir(const char* d) override { return SystemFileOps().SyncDir(d); }
  int Remove(const char* p) override { return SystemFileOps().Remove(p); }
};

class ZiOrderDlg : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    dialogtest::UseTextOnlyEdits();
    typInputSettings s = enginetest::PinYinSettings();
    s.candidateOrderChoice = 2;  // the manual order
    ASSERT_TRUE(dialogtest::StartDialogEngine(m_dir, m_host, s));
    ASSERT_NE(dictionary.m_pPyFlat, nullptr);
    m_plain = ReadFileText(Path("flatAdjust.dic"));
    ASSERT_GE(m_plain.size(), 100u);
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
    dialogtest::StopDialogEngine();
  }
  std::string Path(const char* name) const { return m_dir.File(name); }
  static std::string EngineTable() {
    return std::string(reinterpret_cast<const char*>(dictionary.m_pPyFlat),
                       dictionary.m_nPyFlatLen);
  }
  // The characters the engine offers for a syllable, in order.
  static V Candidates(const char* py) {
    AArray<typCharFatFmt, typCharFatFmt&> out;
    dictionary.m_strKeySeq = py;
    dictionary.Lookup0(py, out, 0, 0, 0);
    return lookuptest::Texts(out);
  }
  DialogTestApp& app = TheApp();
  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
  std::string m_plain;
};

TEST_F(ZiOrderDlg, DragCommitAndOkReorderTheSyllableForTheEngine) {
  TestZiOrder dlg;
  V before;
  const V engineBefore = Candidates("zhang");
  app.Then([&] {
    EXPECT_EQ(dlg.m_nDefBtnID, kIdCommit);
    EXPECT_TRUE(dlg.GetCtrl(kIdCancelOrder)->m_bHidden);  // no syllable yet
    dlg.Type("zhag");                                     // completed to zhang
    before = dlg.Zi();
    ASSERT_EQ(before.size(), 4u);
    EXPECT_FALSE(dlg.GetCtrl(kIdCancelOrder)->m_bHidden);
  });
  // The user presses on the third character and drags it.
  app.ThenWhen([&] { return !dlg.m_grid.m_layout.Empty(); }, [&] { dlg.PressOnZi(2); });
  app.Then([&] {
    EXPECT_EQ(dlg.m_grid.m_nDragged, 2);
    dlg.MoveOverZi(1, -5, 3);
  });
  app.ThenWhen(
      [&] { return dlg.m_grid.m_rcDrag.Width() > 0; },
      [&] {
        const CSize sz = GetWinSize(dlg.m_hWnd);
        EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "char_order_drag", sz.cx, sz.cy), "");
        // Released on the left half of the first character: it goes first.
        const CRect first = dlg.m_grid.m_layout.CellOf(0);
        CRect rc;
        ASSERT_TRUE(GetWinRect(dlg.m_grid.m_hWnd, &rc));
        app.MoveTo(rc.left + first.left + 3, rc.top + first.top + 10);
        app.Release();
      });
  app.Then([&] {
    EXPECT_EQ(dlg.Zi(), (V{before[2], before[0], before[1], before[3]}));
    EXPECT_EQ(dlg.m_bOrderChanged, 1);
    EXPECT_EQ(dlg.m_grid.m_nDragged, -1);
    dlg.Click(IDOK);
  });
  app.Then([&] {
    // Not committed: OK refuses.
    EXPECT_EQ(dlg.boxes.asked, V{"Please finish the above zi order first?"});
    EXPECT_FALSE(dlg.IsDlgEnded());
    dlg.Click(kIdCommit);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.m_bFileChanged, 1);
    EXPECT_EQ(dlg.m_bOrderChanged, 0);
    EXPECT_TRUE(dlg.Zi().empty());
    dlg.Click(IDOK);
  });
  EXPECT_EQ(dlg.ActModal(), IDOK);
  // Only zhang's run changed in the file.
  const std::string now = ReadFileText(Path("flatAdjust.dic"));
  ASSERT_EQ(now.size(), m_plain.size());
  const kvrtest::ByteChanges changed = kvrtest::ChangedBytes(m_plain, now);
  ASSERT_GT(changed.count, 0u);
  const size_t firstDiff = changed.first & ~size_t{1};  // the character's lead byte
  EXPECT_EQ(ToUtf8(CString(now.substr(firstDiff, 2).c_str())), before[2]);
  EXPECT_LE(changed.last - firstDiff, 6u);  // inside the four characters
  // The engine took the new table: zhang's characters start with the moved one.
  EXPECT_EQ(EngineTable(), now);
  const V engineNow = Candidates("zhang");
  ASSERT_FALSE(engineNow.empty());
  EXPECT_EQ(engineNow[0], before[2]);
  EXPECT_NE(engineNow, engineBefore);
}

// The user drops a character and clicks Commit at once, before the editor
// has read the release: the grid's pointer grab, still held at the server
// until the editor gives it up, must not swallow the click.
TEST_F(ZiOrderDlg, AClickStraightAfterADropReachesItsButton) {
  TestZiOrder dlg;
  app.Then([&] { dlg.Type("zhang"); });
  app.ThenWhen([&] { return !dlg.m_grid.m_layout.Empty(); }, [&] { dlg.PressOnZi(2); });
  app.Then([&] {
    ASSERT_EQ(dlg.m_grid.m_nDragged, 2);
    dlg.MoveOverZi(0, -5, 0);
    app.Release();
    dlg.Click(kIdCommit);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.m_bFileChanged, 1);
    EXPECT_TRUE(dlg.Zi().empty());
    EXPECT_EQ(dlg.m_grid.m_nDragged, -1);
    dlg.Click(IDOK);
  });
  EXPECT_EQ(dlg.ActModal(), IDOK);
  EXPECT_TRUE(dlg.boxes.asked.empty());
  EXPECT_NE(ReadFileText(Path("flatAdjust.dic")), m_plain);
}

TEST_F(ZiOrderDlg, CancelAfterACommitAsksFirst) {
  TestZiOrder dlg;
  app.Then([&] {
    dlg.Type("zhang");
    dlg.Drop(3, 0);
    dlg.Click(kIdCommit);
  });
  app.Then([&] {
    dlg.boxes.answers = {IDNO};
    dlg.Click(IDCANCEL);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.boxes.asked, V{"Do you want to cancel all changes?"});
    EXPECT_FALSE(dlg.IsDlgEnded());
    dlg.boxes.answers = {IDYES};
    dlg.Click(IDCANCEL);
  });
  const std::string table = EngineTable();
  EXPECT_EQ(dlg.ActModal(), IDCANCEL);
  EXPECT_EQ(ReadFileText(Path("flatAdjust.dic")), m_plain);
  EXPECT_EQ(EngineTable(), table);
}

TEST_F(ZiOrderDlg, AFailedWriteIsReportedAndKeepsTheOldFile) {
  TestZiOrder dlg;
  RenameFails failing;
  dlg.m_pFileOps = &failing;
  const std::string table = EngineTable();
  app.Then([&] {
    dlg.Type("zhang");
    dlg.Drop(1, 0);
    dlg.Click(kIdCommit);
  });
  app.Then([&] {
    dlg.boxes.answers = {IDOK, IDNO};  // the report, then: keep the changes
    dlg.Click(IDOK);
  });
  app.Then([&] {
    ASSERT_EQ(dlg.boxes.asked.size(), 2u);
    EXPECT_NE(dlg.boxes.asked[0].find("Cannot save the character order"), std::string::npos)
        << dlg.boxes.asked[0];
    EXPECT_NE(dlg.boxes.asked[0].find("flatAdjust.dic"), std::string::npos) << dlg.boxes.asked[0];
    EXPECT_EQ(dlg.boxes.asked[1], "Do you want to cancel all changes?");
    EXPECT_FALSE(dlg.IsDlgEnded());
    EXPECT_EQ(ReadFileText(Path("flatAdjust.dic")), m_plain);
    EXPECT_EQ(EngineTable(), table);
    // The disk has room again: OK now saves.
    dlg.m_pFileOps = &SystemFileOps();
    dlg.Click(IDOK);
  });
  EXPECT_EQ(dlg.ActModal(), IDOK);
  EXPECT_NE(ReadFileText(Path("flatAdjust.dic")), m_plain);
  EXPECT_EQ(EngineTable(), ReadFileText(Path("flatAdjust.dic")));
}

TEST_F(ZiOrderDlg, AFuzzyVariantThatIsNotTheEnginesIsWrittenButNotHandedOver) {
  TestZiOrder dlg;
  // The options dialog shows zh-z fuzzy while the engine runs without.
  dlg.m_fuzzy = {true, true, false, false, false};
  const std::string table = EngineTable();
  const unsigned char* tableAt = dictionary.m_pPyFlat;
  std::string variantBefore;
  app.Then([&] {
    EXPECT_EQ(dlg.m_strFile, (dictionary.m_strFlatAdjustPath + "1000"));
    variantBefore = ReadFileText(Path("flatAdjust.dic1000"));
    EXPECT_GE(variantBefore.size(), 100u);
    // The variant's own list merges zhang's run into zang's; zhang keeps
    // only the mark that sends it there.
    dlg.Type("zhang");
    EXPECT_EQ(dlg.Zi().size(), 1u);
    dlg.Type("zang");
    const V zi = dlg.Zi();
    EXPECT_EQ(zi.size(), 6u);
    EXPECT_NE(std::find(zi.begin(), zi.end(), "张"), zi.end());
    dlg.Drop(5, 0);
    dlg.Click(kIdCommit);
  });
  app.Then([&] { dlg.Click(IDOK); });
  EXPECT_EQ(dlg.ActModal(), IDOK);
  // The variant and its syllable list were made by the engine's own path.
  EXPECT_GE(ReadFileText(Path("pykeys.dic1000")).size(), 100u);
  EXPECT_NE(ReadFileText(Path("flatAdjust.dic1000")), variantBefore);
  EXPECT_EQ(ReadFileText(Path("flatAdjust.dic")), m_plain);
  EXPECT_EQ(dictionary.m_pPyFlat, tableAt);
  EXPECT_EQ(EngineTable(), table);
}

}  // namespace
