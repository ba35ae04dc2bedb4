#include "controls/AText.h"

#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "controls/DlgLayout.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

AText::AText(int id, AWnd* parent) : AText() {
  m_nID = id;
  m_pParent = parent;
}

AText::~AText() {
  afc::x11::DestroyImage(m_pImage);
  m_pImage = nullptr;
}

void AText::Init() {
  m_nType = kCtrlStaticText;
  m_nMode = kModeText;
  m_pImage = nullptr;
}

int AText::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  m_nType = m_ctrlTmpl.m_type;
  if (m_nMode == kModeBitmap) {
    afc::x11::DestroyImage(m_pImage);
    m_pImage = LoadBmpId(m_ctrlTmpl.m_extra);
  }
  if (m_nMode != kModeGroup) return CreateCtrlWin(1);

  CString title = ShownText();
  const bool empty = title.IsEmpty();
  if (empty) title = GetUILanguage() == kUILangEnglish ? "A" : "\xb0\xa1";  // 啊
  const CSize ext = ChnBmpStrExtent(title, 0, m_nFontH, m_nFontH, m_nFontH);
  const dlglayout::GrpGeom g =
      dlglayout::GroupBox(static_cast<int>(x), static_cast<int>(y), static_cast<int>(cx),
                          static_cast<int>(cy), ext.cx, ext.cy);
  m_rcFrame = g.frame;
  m_rcWin = empty ? CRect(g.title.left, g.title.top, g.title.left + 1, g.title.top + 1) : g.title;
  m_szWin = CSize(m_rcWin.Width(), m_rcWin.Height());
  if (!CreateCtrlWin(1)) return 0;
  if (ADialog* dlg = GetDlg()) dlg->AddGroupFrame(m_rcFrame, m_hWnd);
  return 1;
}

int AText::Winproc(XEvent* event) {
  RedrawOnPaintEvent(event, false);
  return 1;
}

void AText::Draw(XEvent*) {
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  SetFgClr(gc, kClrText);
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrFace);
  if (m_nMode != kModeBitmap) {
    const int y = GetUILanguage() == kUILangBig5 ? 0 : 1;
    DrawCaption(gc, 1, y, ShownText());
  } else if (m_pImage) {
    const CSize img = afc::x11::ImageSize(m_pImage);
    const int y = (h - img.cy) / 2 > 0 ? (h - img.cy) / 2 : 0;
    AfcPutImage(dsply, m_hWnd, gc, m_pImage, 0, 0, 0, y, img.cx, img.cy, kDrawCopy);
  }
}
