// APrgss.h: the progress bar (template type 10): a blue share of its width
// on grey, set by window message 1306 with the percentage. Percentages
// outside 0 to 100 are drawn as 0 and 100.
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"

class APrgss : public ACtrl {
 public:
  APrgss() { Init(); }
  APrgss(int id, AWnd* parent);
  ~APrgss() override = default;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;
  // AWnd::ReplaceDlgCtrl; returns 1.
  int ReplaceDlgCtrl(int id, IDialogHost* dialog) override;

  void Init();
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  int32_t m_nPercent = 0;
};
