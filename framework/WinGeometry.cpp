// The parts of the window helpers that need no X server.
#include "framework/WinGeometry.h"

#include "framework/AWnd.h"
#include "framework/CWinApp.h"

int GetDlgCaptionH() {
  const int h = uniqueAFCAppPointer ? uniqueAFCAppPointer->GetDefaultFontHeight() : 16;
  return h < 20 ? 25 : h * 5 / 4;
}

CSize DigUnitToScrnDot(CSize size, long h) {
  const long f = h / 8;
  return CSize(size.cx * f, size.cy * f);
}

CPoint DigUnitToScrnDot(CPoint point, long h) {
  const long f = h / 8;
  return CPoint(static_cast<int>(point.x * f), static_cast<int>(point.y * f));
}

int GetDblClikIntvl() { return static_cast<int>(kDblClikIntvl); }
