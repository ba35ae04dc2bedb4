// ARdo.h: the radio button (template type 5). The dialog groups consecutive
// radio records; a click checks the button and unchecks the rest of its
// group, the arrow keys move the check and the focus within the group.
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"

class ARdo : public ACtrl {
 public:
  ARdo() { Init(); }
  ARdo(int id, AWnd* parent) : ACtrl(id, parent) { Init(); }
  ~ARdo() override = default;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  void Init();
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  int32_t m_bPressed = 0;
  int32_t m_bChecked = 0;
};
