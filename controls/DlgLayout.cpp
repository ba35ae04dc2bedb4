#include "controls/DlgLayout.h"

namespace dlglayout {

int DlgFontHeight(int fontSize, double dpi, int appDefault) {
  const double f = fontSize * dpi / 72.0;
  int h = f > appDefault ? static_cast<int>(f) : appDefault;
  return h < 20 ? 20 : h;
}

CSize Units(CSize units, int h) { return CSize(units.cx * (h / 8), units.cy * (h / 8)); }
CPoint Units(CPoint units, int h) { return CPoint(units.x * (h / 8), units.y * (h / 8)); }

CSize MinSize(CSize size) {
  return CSize(size.cx <= 1 ? 90 : size.cx, size.cy <= 2 ? 100 : size.cy);
}

int SingleLineEditHeight(int h) { return static_cast<int>(h * 1.3 + 6.0); }

CPoint Centre(int sw, int sh, int w, int h) { return CPoint((sw - w) / 2, (sh - h) / 2); }

ChkGeom CheckBox(int h) {
  ChkGeom g;
  g.s = 3 * h / 5;
  g.q = g.s / 4;
  g.t = g.s / 3;
  g.textX = g.q + g.s - 1 + g.s / 4;
  return g;
}

RdoGeom RadioButton(int h) {
  RdoGeom g;
  g.d = static_cast<int>(h * 0.82);
  g.r = g.d / 2;
  g.cx = static_cast<int>(g.d * 0.4) + g.r;
  g.cy = g.d / 8 + g.r;
  g.textX = 2 * g.d;
  return g;
}

GrpGeom GroupBox(int x, int y, int cx, int cy, int tw, int th) {
  const int half = th / 2;
  GrpGeom g;
  g.frame = CRect(x, y + half, x + cx, y + cy);
  g.title = CRect(x + half, y, x + half + tw + 3, y + th + 3);
  return g;
}

int ProgressFill(int width, int percent) { return width * percent / 100; }

MsgBoxGeom MsgBoxSize(int type, int tw, int th, int bw, int bh) {
  const int minW = (type == 1 ? 2 : 3) * bw;
  MsgBoxGeom g;
  g.w = tw + 2 * bh > minW ? tw + 2 * bh : minW;
  g.h = 3 * (bh + th);
  g.text = CPoint(bh, 5 * th / 4);
  return g;
}

MsgBoxButtons MsgBoxButtonPos(int type, int W, int H, int bw, int bh) {
  MsgBoxButtons b;
  b.y = H - 3 * bh / 2;
  if (type == 1) {
    b.x1 = (W - bw) / 2;
    b.x2 = b.x1;
  } else {
    b.x1 = (W - 7 * bw / 3) / 2;
    b.x2 = b.x1 + 4 * bw / 3;
  }
  return b;
}

}  // namespace dlglayout
