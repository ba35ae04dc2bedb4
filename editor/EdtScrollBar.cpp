#include "editor/EdtScrollBar.h"

namespace {

// The numbers of a bar without a window; the defaults are the scroll bar
// control's own (range 100, page 10, step 1).
class CMemScrollBar final : public IEdtScrollBar {
 public:
  int GetRangeMax() const override { return m_nRange; }
  void SetRangeMax(int range) override { m_nRange = range; }
  int GetPos() const override { return m_nPos; }
  void SetPos(int pos) override { m_nPos = pos; }
  int GetPage() const override { return m_nPage; }
  void SetPage(int page) override { m_nPage = page; }
  int GetStep() const override { return m_nStep; }
  void SetStep(int step) override { m_nStep = step; }
  void Show(int show) override { m_bShown = show != 0; }
  int IsShown() const override { return m_bShown; }
  unsigned long GetWin() const override { return 0; }

 private:
  int m_nRange = 100, m_nPos = 0, m_nPage = 10, m_nStep = 1;
  bool m_bShown = false;
};

// Written by SetEdtScrollBarMaker at start-up, read when views are built.
EdtScrollBarMaker gMaker = nullptr;

}  // namespace

void SetEdtScrollBarMaker(EdtScrollBarMaker maker) { gMaker = maker; }

std::unique_ptr<IEdtScrollBar> MakeEdtScrollBar(int horizontal, const CRect& rect, AWnd* owner,
                                                AWnd* parent) {
  if (gMaker) {
    if (std::unique_ptr<IEdtScrollBar> bar = gMaker(horizontal, rect, owner, parent)) return bar;
  }
  return std::make_unique<CMemScrollBar>();
}
