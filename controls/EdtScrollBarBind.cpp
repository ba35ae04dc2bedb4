#include "controls/EdtScrollBarBind.h"

#include <memory>

#include "controls/AScrl.h"
#include "editor/EdtScrollBar.h"
#include "framework/WinGeometry.h"

namespace {

// An AScrl seen as an editor view's bar. The view writes the bar's numbers
// directly, as the list box does; the bar clamps only its own moves.
class CEdtAScrl final : public IEdtScrollBar {
 public:
  int GetRangeMax() const override { return m_bar.m_nMax; }
  void SetRangeMax(int range) override { m_bar.m_nMax = range; }
  int GetPos() const override { return m_bar.m_nPos; }
  void SetPos(int pos) override { m_bar.m_nPos = pos; }
  int GetPage() const override { return m_bar.m_nPage; }
  void SetPage(int page) override { m_bar.m_nPage = page; }
  int GetStep() const override { return m_bar.m_nStep; }
  void SetStep(int step) override { m_bar.m_nStep = step; }
  void Show(int show) override {
    if (m_bar.m_hWnd) ShowWin(show, m_bar.m_hWnd);
    m_bar.m_bHidden = show ? 0 : 1;
  }
  int IsShown() const override { return !m_bar.m_bHidden; }
  unsigned long GetWin() const override { return m_bar.m_hWnd; }

  AScrl m_bar;
};

std::unique_ptr<IEdtScrollBar> MakeAScrlForEditor(int horizontal, const CRect& rect, AWnd* owner,
                                                  AWnd* parent) {
  auto bar = std::make_unique<CEdtAScrl>();
  bar->m_bar.SetOrientation(horizontal);
  bar->m_bar.m_pOwner = owner;
  bar->m_bar.m_bHidden = 1;
  if (!bar->m_bar.Create(rect.left, rect.top, rect.Width(), rect.Height(), "", parent, 0))
    return nullptr;
  return bar;
}

}  // namespace

void BindEditorScrollBars() { SetEdtScrollBarMaker(MakeAScrlForEditor); }
