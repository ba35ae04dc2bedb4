// The popup menu's model: binding to the compiled cells, the row lists,
// measuring, the key and pointer handling and choosing. Showing, drawing
// and the window procedure are in AMenuPopup.cpp.
#include "controls/AMenu.h"

#include <algorithm>

#include "controls/ChnUIReader.h"
#include "controls/CtrlConsts.h"
#include "controls/RcCmplr.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/WinMsg.h"

int gbMnuUp = 0;

namespace {

constexpr int kMinFontH = 20;      // the menu's text is never smaller
constexpr int kRowPad = 9;         // row height = font height + 9
constexpr int kTopPad = 9;         // the first row's band starts below it
constexpr int kWidthPad = 3;       // added to the widest text
constexpr int kCellAccelPad = 6;   // width beyond the accelerators: font height + 6
constexpr int kListAccelPad = 22;  // the same on the list path
constexpr int kMeasureCell = 16;   // a TAB measures 16 by 16

int TextWidth(const char* text) {
  return ChnBmpStrExtent(text, 0, kMeasureCell, kMeasureCell, 0).cx;
}

// What a row shows for a text of the cells: its translation under a Chinese
// UI (the text itself when it has none).
CString ShownText(const CString& text) { return ReadChnUI() ? LoadStringChn(text, 0) : text; }

}  // namespace

AMenu::AMenu()
    : m_pRoot(nullptr),
      m_hWnd(0),
      m_nRowH(0),
      m_nFontH(0),
      m_nAccelX(0),
      m_nSepH(0),
      m_nTextX(0),
      m_size(0, 0),
      m_rect(0, 0, 0, 0),
      m_nMinWidth(0),
      m_bStrList(0),
      m_nResult(kMenuRunning),
      m_nCurRow(-1),
      m_hOwner(0) {}

// The cells are the menu table's: only the lists are ours.
AMenu::~AMenu() {
  m_arrTexts.RemoveAll();
  m_arrAccelTexts.RemoveAll();
  m_arrRowBottoms.RemoveAll();
}

int AMenu::CreateMenu() {
  m_pRoot = new typMnuCell;  // deleted by DestroyMenu
  return 1;
}

int AMenu::DestroyMenu() {
  if (m_pRoot) {
    m_pRoot->Reset();
    delete m_pRoot;
    m_pRoot = nullptr;
  }
  return 1;
}

int AMenu::GetResMenu(CString key, int n) {
  CRcCmplr* rc = AppRcCmplr();
  typMnuCell* cell = nullptr;
  if (!rc || !rc->m_mapMenus.Lookup(key, cell) || !cell) return 0;
  if (n >= 0) {
    if (n >= cell->m_children.GetSize()) return 0;
    cell = cell->m_children[n];
  }
  m_pRoot = cell;
  return 1;
}

int AMenu::GetResMenu(unsigned long id, int n) {
  CString key;
  key.Format("%d", static_cast<int>(id));
  return GetResMenu(key, n);
}

AMenu* AMenu::GetNthSubMenu(int n) {
  typMnuCell* cell = Cell(n);
  if (!cell) return nullptr;
  AMenu* sub = new AMenu;  // the caller deletes it
  sub->m_pRoot = cell;
  return sub;
}

int AMenu::GetItemCount() { return m_pRoot ? m_pRoot->m_children.GetSize() : m_arrTexts.GetSize(); }

typMnuCell* AMenu::Cell(int n) {
  if (!m_pRoot || n < 0 || n >= m_pRoot->m_children.GetSize()) return nullptr;
  return m_pRoot->m_children[n];
}

int AMenu::GetItemID(int n) {
  typMnuCell* cell = Cell(n);
  return cell ? cell->m_id : -1;
}

int AMenu::SetItemCheckByIndex(int n, int check) {
  typMnuCell* cell = Cell(n);
  if (!cell) return 0;
  cell->m_checked = check ? 1 : 0;
  return 1;
}

int AMenu::SetItemCheckByID(int id, int check) {
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItemID(i) == id) return SetItemCheckByIndex(i, check);
  return 0;
}

int AMenu::EnableItemByIndex(int n, int enable) {
  typMnuCell* cell = Cell(n);
  if (!cell) return 0;
  cell->m_disabled = enable ? 0 : 1;
  return 1;
}

int AMenu::EnableItemByID(int id, int enable) {
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItemID(i) == id) return EnableItemByIndex(i, enable);
  return 0;
}

void AMenu::AddItem(const char* text) {
  m_arrTexts.Add(text ? text : "");
  m_arrAccelTexts.Add("");
}

void AMenu::InsertItemByIndex(int n, const char* text) {
  n = std::clamp(n, 0, m_arrTexts.GetSize());
  m_arrTexts.InsertTo(n, CString(text ? text : ""));
  m_arrAccelTexts.InsertTo(std::min(n, m_arrAccelTexts.GetSize()), CString());
}

void AMenu::DelItemByIndex(int n) {
  if (n < 0 || n >= m_arrTexts.GetSize()) return;
  m_arrTexts.RemoveAt(n, 1);
  if (n < m_arrAccelTexts.GetSize()) m_arrAccelTexts.RemoveAt(n, 1);
}

// --- Measuring -------------------------------------------------------------

void AMenu::SetMetrics() {
  const int appH = uniqueAFCAppPointer ? uniqueAFCAppPointer->GetDefaultFontHeight() : 16;
  m_nFontH = std::max(appH, kMinFontH);
  m_nRowH = m_nFontH + kRowPad;
  m_nTextX = m_nRowH * 3 / 2;
  m_nSepH = m_nRowH / 2;
  m_size = CSize(0, kTopPad);
}

// Row bottoms are 16-bit; a list too tall for them stops growing at the
// top of the range instead of wrapping, so the hit test stays in order.
void AMenu::AddRowBottom(int height) {
  m_arrRowBottoms.Add(static_cast<uint16_t>(std::min(height, 0xFFFF)));
}

// First measuring of a resource menu: the texts come from the cells. A
// cell's text is split at its last TAB into the row text and the
// accelerator text.
void AMenu::MeasureFromCells(int& widest, int& widestAccel) {
  m_arrTexts.RemoveAll();
  m_arrAccelTexts.RemoveAll();
  m_arrRowBottoms.RemoveAll();
  for (int i = 0; i < m_pRoot->m_children.GetSize(); ++i) {
    const typMnuCell* cell = m_pRoot->m_children[i];
    if (cell->m_kind == kMnuSeparator) {
      m_size.cy += m_nSepH;
      m_arrTexts.Add("");
      AddRowBottom(m_size.cy);
      m_arrAccelTexts.Add("");
      continue;
    }
    m_size.cy += m_nRowH;
    AddRowBottom(m_size.cy);
    CString text = cell->m_text;
    CString accel;
    const int tab = text.ReverseFind('\t');
    if (tab >= 0) {
      accel = text.Mid(tab + 1);
      text = text.Left(tab);
    }
    text.RTrim();
    text = ShownText(text);
    widest = std::max(widest, TextWidth(text));
    widestAccel = std::max(widestAccel, TextWidth(accel));
    m_arrTexts.Add(text);
    m_arrAccelTexts.Add(accel);
  }
}

// Later measurings and string lists: the stored texts. An empty text is a
// separator only in a resource menu; a string list draws and hit-tests
// every row at the full row height, so an empty entry is an ordinary row.
void AMenu::MeasureFromTexts(int& widest, int& widestAccel) {
  m_arrRowBottoms.RemoveAll();
  for (int i = 0; i < m_arrTexts.GetSize(); ++i) {
    const CString& text = m_arrTexts[i];
    if (text.IsEmpty() && !m_bStrList) {
      m_size.cy += m_nSepH;
      AddRowBottom(m_size.cy);
      continue;
    }
    m_size.cy += m_nRowH;
    AddRowBottom(m_size.cy);
    if (m_bStrList) {
      widest = std::max(widest, TextWidth(text));
      continue;
    }
    widest = std::max(widest, TextWidth(ShownText(text)));
    if (i < m_arrAccelTexts.GetSize())
      widestAccel = std::max(widestAccel, TextWidth(m_arrAccelTexts[i]));
  }
}

CSize AMenu::GetMenuPixelSize() {
  SetMetrics();
  int widest = 0, widestAccel = 0;
  if (m_arrTexts.GetSize() == 0 && !m_bStrList && m_pRoot) {
    MeasureFromCells(widest, widestAccel);
    widest += kWidthPad;
    m_nAccelX = widest + m_nTextX;
    m_size.cx = widest + m_nTextX + widestAccel + m_nFontH + kCellAccelPad;
    return m_size;
  }
  MeasureFromTexts(widest, widestAccel);
  widest += kWidthPad;
  m_nAccelX = widest + m_nTextX;
  m_size.cx = widest + m_nTextX + widestAccel + kListAccelPad;
  if (m_bStrList) {
    m_size.cx = std::max(m_size.cx, m_nMinWidth);
    m_size.cy = std::max(m_size.cy, m_nRowH);
  }
  return m_size;
}

// --- Rows ------------------------------------------------------------------

int AMenu::RowCount() { return m_bStrList ? m_arrTexts.GetSize() : GetItemCount(); }

bool AMenu::IsSeparatorRow(int n) {
  if (m_bStrList) return false;
  const typMnuCell* cell = Cell(n);
  return cell && cell->m_kind == kMnuSeparator;
}

bool AMenu::CanChooseRow(int n) {
  if (n < 0 || n >= RowCount()) return false;
  if (m_bStrList) return true;
  const typMnuCell* cell = Cell(n);
  return cell && cell->m_kind != kMnuSeparator && !cell->m_disabled;
}

int AMenu::RowAtY(int y) {
  if (y < 0 || y > m_size.cy) return -1;
  const int n = std::min(RowCount(), m_arrRowBottoms.GetSize());
  for (int i = 0; i < n; ++i)
    if (m_arrRowBottoms[i] >= y) return i;
  return -1;
}

// Visits at most every row once, so the search ends also when no row can
// be chosen (every row a separator or disabled).
int AMenu::SearchRow(int from, int step, bool wrap) {
  const int n = RowCount();
  if (n <= 0) return -1;
  int row = from;
  for (int visited = 0; visited < n; ++visited) {
    if (row < 0 || row >= n) {
      if (!wrap) return -1;
      row = (row + n) % n;
    }
    if (CanChooseRow(row)) return row;
    row += step;
  }
  return -1;
}

void AMenu::SetCurRow(int row) {
  if (row == m_nCurRow) return;
  m_nCurRow = row;
  if (m_hWnd) Draw(nullptr);
}

// --- Events ----------------------------------------------------------------

void AMenu::OnMenuKey(unsigned long keysym, bool onMenu) {
  if (keysym == keysym::kEscape) {
    m_nResult = kMenuCancelled;
    return;
  }
  const int n = RowCount();
  if (m_nCurRow < 0 || m_nCurRow >= n) return;
  switch (keysym) {
    case keysym::kReturn:
    case keysym::kSpace:
      if (onMenu) FireCmd();
      return;
    case keysym::kHome:
    case keysym::kPrior: SetCurRow(SearchRow(0, 1, false)); return;
    case keysym::kEnd:
    case keysym::kNext: SetCurRow(SearchRow(n - 1, -1, false)); return;
    case keysym::kUp: SetCurRow(SearchRow(m_nCurRow - 1, -1, true)); return;
    case keysym::kDown: SetCurRow(SearchRow(m_nCurRow + 1, 1, true)); return;
    default: return;
  }
}

void AMenu::OnMenuMotion(bool onMenu, int x, int y) {
  int row = -1;
  if (onMenu && x >= 0 && x <= m_size.cx && y >= 0 && y <= m_size.cy) {
    row = RowAtY(y);
    if (!CanChooseRow(row)) row = -1;
  }
  SetCurRow(row);
}

void AMenu::OnMenuButtonPress(bool onMenu) {
  if (!onMenu) m_nResult = kMenuCancelled;
}

void AMenu::OnMenuButtonRelease(bool onMenu, int x, int y) {
  if (!onMenu || x < 0 || x > m_size.cx || y < 0 || y > m_size.cy) return;
  if (m_nCurRow < 0 || m_nCurRow >= RowCount()) return;
  FireCmd();
}

uint8_t AMenu::FireCmd() {
  if (m_bStrList) {
    m_nResult = kMenuChosen;
    return m_nResult;
  }
  if (!CanChooseRow(m_nCurRow)) return m_nResult;
  const typMnuCell* cell = Cell(m_nCurRow);
  PostWinEvent(m_hOwner, WM_AFC_COMMAND, static_cast<uint32_t>(cell->m_id), 0);
  m_nResult = kMenuChosen;
  return m_nResult;
}
