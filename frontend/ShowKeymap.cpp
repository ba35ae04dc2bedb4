#include "frontend/ShowKeymap.h"

#include "controls/CtrlConsts.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"
#include "frontend/MainBar.h"
#include "frontend/x11/KeymapEvents.h"

namespace {

constexpr unsigned long kInk = 0x000000;
constexpr unsigned long kPaper = 0xC8C899;
constexpr unsigned long kBackground = 0xC8C89F;  // around the picture
constexpr int kRasterCopy = 3;
constexpr int kFrame = 3;  // the dialog's frame around its inside

// The drag, shared by the program's keymap windows (there is one): taken
// when the button goes down.
struct KeymapDrag {
  bool moving = false;
  CPoint offset{0, 0};  // the pointer's offset from the window's top-left corner
  CSize size{0, 0};     // the window's size
};
KeymapDrag g_drag;

// The event being handled, so that the drag can read the pointer's root
// position from it.
const XEvent* g_event = nullptr;

bool PointerRoot(CPoint* root) {
  if (KeymapEventRootPoint(g_event, root)) return true;
  POINT pt;
  if (!GetPointerPos(&pt)) return false;
  *root = CPoint(pt.x, pt.y);
  return true;
}

// During a drag, moves the window so that the pointer keeps its offset.
void FollowDrag(unsigned long window) {
  CPoint root;
  if (g_drag.moving && PointerRoot(&root)) {
    SetWinPos(window, root.x - g_drag.offset.x, root.y - g_drag.offset.y, g_drag.size.cx,
              g_drag.size.cy, kSwpShow, 0, 0);
  }
}

}  // namespace

CString KeymapPictureName(const typInputSettings& s) {
  CString name = "keymap";
  if (s.IsPinYinMethod()) {
    if (s.ShuangPin) {
      name += s.StdPinYin ? "SPStd" : "SP";
      if (s.ShuangPinScheme >= 1) name += static_cast<char>('0' + s.ShuangPinScheme);
    } else {
      name += s.StdPinYin ? "PYStd" : "PY";
    }
  }
  name += ".bmp";
  return name;
}

CShowKeymap::CShowKeymap(AWnd* parent) : ADialog(kKeymapDlgId, parent) {}

CShowKeymap::~CShowKeymap() {
  afc::x11::DestroyImage(m_pPicture);
  m_pPicture = nullptr;
}

int CShowKeymap::InitDlg() {
  ADialog::InitDlg();
  ShowTipMsg("Loading. Please wait...");
  CString name = KeymapPictureName(cfgInputManager);
  afc::x11::DestroyImage(m_pPicture);
  m_pPicture = LoadBmp(name.GetBuffer(name.GetLength()));
  name.ReleaseBuffer();
  ShowTipMsg("");
  return 1;
}

int CShowKeymap::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick && (id == IDOK || id == IDCANCEL)) {
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  if (window == 0 && id == kPaintNotifyId && code == 0) {
    AtDraw(event);
    return 1;
  }
  const CPoint point = event ? afc::x11::EventPoint(event) : CPoint(0, 0);
  g_event = event;
  switch (code) {
    case kCtrlEvDblClk: AtLBtnDblClk(0, point); break;
    case kCtrlEvPress: AtLBtnDwn(0, point); break;
    case kCtrlEvClick: AtLBtnUp(0, point); break;
    case kCtrlEvMotion: AtPtrMv(0, point); break;
    default: break;
  }
  g_event = nullptr;
  return ADialog::CtrlEvProc(window, id, code, event);
}

void CShowKeymap::AtLBtnDwn(unsigned long flags, CPoint point) {
  g_drag.moving = false;
  CPoint root;
  CRect rect;
  if (PointerRoot(&root) && GetWinRect(m_hWnd, &rect)) {
    SetPtrGrab(m_hWnd);
    g_drag.moving = true;
    g_drag.offset = CPoint(root.x - rect.left, root.y - rect.top);
    g_drag.size = CSize(rect.Width(), rect.Height());
  }
  AWnd::AtLBtnDwn(flags, point);
}

void CShowKeymap::AtPtrMv(unsigned long flags, CPoint point) {
  FollowDrag(m_hWnd);
  AWnd::AtPtrMv(flags, point);
}

void CShowKeymap::AtLBtnUp(unsigned long flags, CPoint point) {
  UnsetPtrGrab();
  FollowDrag(m_hWnd);
  g_drag.moving = false;
  AWnd::AtLBtnUp(flags, point);
}

void CShowKeymap::AtLBtnDblClk(unsigned long, CPoint) {
  ShowWin(0, m_hWnd);
  ShowTipMsg("");
  // The menu's keymap check follows the window.
  RefreshMenuStates();
}

void CShowKeymap::OnClose() {
  if (!m_bKeepShown) ShowWin(0, m_hWnd);
}

void CShowKeymap::OnSysKeyDown(unsigned long key) {
  if (!m_bKeepShown && (key == 'K' || key == 'k' || key == 'J' || key == 'j')) ShowWin(0, m_hWnd);
}

void CShowKeymap::AtDraw(XEvent* expose) {
  if (!m_hWnd) return;
  GC gc = GetGC(m_hWnd);
  if (!gc) return;
  const unsigned long oldFg = SetFgClr(gc, kInk);
  const unsigned long oldBg = SetBkClr(gc, kPaper);
  // The drawing area is the dialog's inside: below the title bar, within
  // its frame. The picture sits at its top-left corner.
  const CSize win = GetWinSize(m_hWnd);
  const CRect area(kFrame, m_nCaptionH + kFrame, win.cx - kFrame, win.cy - kFrame);
  CRect exposed = area;
  if (expose) {
    const CRect rect = afc::x11::ExposeRect(expose);
    exposed.IntersectRect(&area, &rect);
  }
  const CSize pic = m_pPicture ? afc::x11::ImageSize(m_pPicture) : CSize(0, 0);
  const CRect picture(area.left, area.top, area.left + pic.cx, area.top + pic.cy);
  auto fill = [&](CRect r) {
    CRect part;
    if (part.IntersectRect(&r, &exposed)) FillClrRect(m_hWnd, gc, &part, kBackground);
  };
  fill(CRect(picture.right, area.top, area.right, area.bottom));
  fill(CRect(area.left, picture.bottom, area.right, area.bottom));
  // Only what lies inside the picture (and the area) is copied from it.
  CRect part;
  if (m_pPicture && part.IntersectRect(&picture, &exposed)) {
    AfcPutImage(dsply, m_hWnd, gc, m_pPicture, part.left - picture.left, part.top - picture.top,
                part.left, part.top, part.Width(), part.Height(), kRasterCopy);
  }
  SetFgClrPxl(gc, oldFg);
  SetBkClrPxl(gc, oldBg);
  ReleaseGC(gc);
}
