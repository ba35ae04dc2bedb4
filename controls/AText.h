// AText.h: the passive texts of a dialog: a line of text (template type 0),
// a group box's title (type 7; the dialog draws its frame) or a bitmap from
// the resource script (type 2). They take no focus, keys or clicks.
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"
#include "framework/XDrawTypes.h"

class AText : public ACtrl {
 public:
  enum : uint8_t { kModeText = 0, kModeGroup = 1, kModeBitmap = 2 };

  AText() { Init(); }
  AText(int id, AWnd* parent);
  // Frees the picture.
  ~AText() override;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  void Init();
  // See the modes above; a group box's parent must be its dialog. 1, or 0
  // without a window.
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  uint8_t m_nMode = kModeText;
  CRect m_rcFrame;             // a group box's frame, dialog coordinates
  XImage* m_pImage = nullptr;  // owned: a bitmap static's picture
};
