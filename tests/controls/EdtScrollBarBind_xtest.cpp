// The editor view's scroll bars once the controls have bound them: real
// AScrl windows, hidden at first, the vertical one shown exactly while the
// document is taller than the view, and the view's numbers in the bars.
#include "tests/controls/DialogTestApp.h"

#include <string>

#include "controls/EdtScrollBarBind.h"
#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "framework/WinGeometry.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

class PlainHost : public AEdtVu {
 public:
  void GetVuRect(CRect* rc) override { *rc = CRect(0, 0, 200, 96); }
};

void SetRows(AEdtStor& doc, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += i + 1 < n ? "row\r\n" : "row";
  doc.ClearAll();
  long row = 0;
  int col = 0, disp = 0;
  doc.InsertBytes(reinterpret_cast<unsigned char*>(text.data()), text.size(), row, col, disp);
  doc.MakeLineInfo(-1, 0);
}

TEST(EdtScrollBarBind, ViewsGetAScrlBars) {
  BindEditorScrollBars();
  AEdtStor doc;
  PlainHost view;
  view.SetDocument(&doc);
  view.OnCreate();
  CRect rects[2] = {CRect(10, 120, 210, 136), CRect(214, 10, 230, 110)};
  view.InitScrollers(rects, nullptr, nullptr);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(view.GetScrollBar(i), nullptr);
    ASSERT_NE(view.GetScrollBar(i)->GetWin(), 0u);
    EXPECT_EQ(IsWinShown(view.GetScrollBar(i)->GetWin()), 0);
  }
  SetRows(doc, 100);
  view.OnInitialUpdate();
  IEdtScrollBar& vert = *view.GetScrollBar(1);
  EXPECT_EQ(IsWinShown(vert.GetWin()), 1);
  EXPECT_EQ(IsWinShown(view.GetScrollBar(0)->GetWin()), 0);  // the view never shows it
  EXPECT_EQ(vert.GetRangeMax(), 24 * 101 - 48);
  EXPECT_EQ(vert.GetPage(), 72);
  EXPECT_EQ(vert.GetStep(), 24);
  view.SetScrollThumPos(1, 240);
  EXPECT_EQ(vert.GetPos(), 240);

  SetRows(doc, 2);
  view.MySetScrollParams();
  EXPECT_EQ(IsWinShown(vert.GetWin()), 0);
  SetEdtScrollBarMaker(nullptr);
}

}  // namespace
