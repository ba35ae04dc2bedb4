// AChk.h: the check box (template type 13): a sunken box with a cross when
// checked, toggled by a click inside it or by space, reported to its dialog
// as CtrlEvProc(..., 2003). A disabled check box ignores mouse and keys and
// shows a grey well.
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"

class AChk : public ACtrl {
 public:
  AChk() { Init(); }
  AChk(int id, AWnd* parent) : ACtrl(id, parent) { Init(); }
  ~AChk() override = default;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  void Init();
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  uint8_t m_bPressed = 0;
  uint8_t m_bChecked = 0;
  uint8_t m_bNotifying = 0;  // set while the dialog handles its click

 private:
  int Toggle(XEvent* event);
};
