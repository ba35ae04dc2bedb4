// DlgLayout.h: the pixel arithmetic of dialogs and controls, apart from X so
// that it can be checked by table: the dialog font height, dialog units,
// minimum sizes, the single-line edit height, the geometry of check boxes,
// radio buttons and group boxes, and the message box's size and buttons.
// All divisions truncate toward zero, as the drawing code relies on.
#pragma once

#include "base/Geometry.h"

namespace dlglayout {

// The dialog's font height: f = fontSize x dpi / 72 in floating point; f
// truncated when it exceeds appDefault, else appDefault; at least 20.
int DlgFontHeight(int fontSize, double dpi, int appDefault);
// Dialog units to pixels: each coordinate x (h / 8).
CSize Units(CSize units, int h);
CPoint Units(CPoint units, int h);
// A width of 1 or less becomes 90, a height of 2 or less 100.
CSize MinSize(CSize size);
// Height of a single-line edit control: h x 1.3 + 6, truncated.
int SingleLineEditHeight(int h);
// Centres a w x h window on a screen of sw x sh.
CPoint Centre(int sw, int sh, int w, int h);

// A check box of window height h: its sunken box (q, t, s, s) and the x of
// its caption.
struct ChkGeom {
  int s, q, t, textX;
};
ChkGeom CheckBox(int h);
// A radio button of window height h: diameter d, radius r, centre, caption x.
struct RdoGeom {
  int d, r, cx, cy, textX;
};
RdoGeom RadioButton(int h);
// A group box at (x, y), cx by cy, whose title measures tw by th: its frame
// (in the dialog) and its title window.
struct GrpGeom {
  CRect frame;
  CRect title;
};
GrpGeom GroupBox(int x, int y, int cx, int cy, int tw, int th);
// Width of the blue part of a progress bar.
int ProgressFill(int width, int percent);

// The message box: its size from the text extent (tw, th) and the button
// size (bw, bh), the text origin, and the x of its buttons once the window
// is W by H.
struct MsgBoxGeom {
  int w, h;
  CPoint text;
};
MsgBoxGeom MsgBoxSize(int type, int tw, int th, int bw, int bh);
struct MsgBoxButtons {
  int y, x1, x2;
};  // x2 unused for type 1
MsgBoxButtons MsgBoxButtonPos(int type, int W, int H, int bw, int bh);

}  // namespace dlglayout
