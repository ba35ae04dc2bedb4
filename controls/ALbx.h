// ALbx.h: the list box (template type 11): single-line text rows, one of
// which may be selected, with a vertical and a horizontal scroll bar
// (AScrl) that show only when the rows do not fit. The owning dialog fills
// and reads it with window messages (1300 to 1303, 1306) or the members
// below; the list box reports a click (code 0) and a double click (code 11)
// through the dialog's CtrlEvProc.
//
// The list box owns its two bars; they are windows of its dialog beside
// it, in the dialog's control list. Each row keeps its measured width, so
// removing rows re-measures nothing unless the widest row went.
#pragma once

#include <cstdint>
#include <memory>

#include "base/AArray.h"
#include "controls/ACtrl.h"
#include "controls/AScrl.h"

// One row: its text, its data (0 for rows added by message) and its
// measured text width (-1 until measured).
struct typLBoxItem {
  typLBoxItem() = default;
  typLBoxItem(const typLBoxItem& other) = default;
  typLBoxItem& operator=(const typLBoxItem& other) = default;
  ~typLBoxItem() = default;

  CString m_strText;
  uint32_t m_nData = 0;
  int m_nWidth = -1;
};

// Messages of the list box (words 0 to 2 of a sent message).
constexpr int WM_LBX_ADDROW = 1300;   // l[1] text (a pointer: send, never post); 1
constexpr int WM_LBX_COUNT = 1301;    // the number of rows
constexpr int WM_LBX_GETTEXT = 1302;  // l[0] row, l[1] buffer, l[2] its size; the length or -1
constexpr int WM_LBX_DELROW = 1303;   // l[0] row; 1, or 0 for no such row
constexpr int WM_LBX_SETSEL = 1306;   // l[0] row, held inside the rows; 1

class ALbx : public ACtrl {
 public:
  ALbx() { Init(); }
  ALbx(int id, AWnd* parent);
  // Frees both bars, then the rows.
  ~ALbx() override;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  void Init();
  // The font height the dialog gave the object before this call sizes the
  // rows (a row is 1.3 font heights); the window is as tall as the whole
  // rows that fit in cy (at least one). Creates the window and both bars
  // (hidden until needed). 1, or 0 without a window (and then no bars).
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);
  // Empties the list: no rows, no selection, bars at 0. Neither recomputes
  // the bars nor redraws; the owner adds rows and invalidates.
  void ReSet();

  // The selected row, -1 for none; never a row that is gone.
  int GetSel() const { return m_nSel; }
  int GetCount() const { return m_arrItems.GetSize(); }
  // out := row i's text, 1; 0 (out untouched) when i names no row.
  int GetText(int i, CString& out) const;
  // Copies at most size - 1 bytes of row i's text and a NUL into buf;
  // returns the text's full length, -1 when i names no row. A null buffer
  // or a size of 0 copies nothing.
  int CopyText(int i, char* buf, uint32_t size) const;
  // Appends a row (data 0) and shows it unless redraw is held; 1.
  int AddRow(const char* text);
  // Removes row i and recomputes the bars from the widths the rows keep
  // (nothing is measured); a selection left past the end is cleared. 1, or
  // 0 when i names no row.
  int RemoveRow(int i);
  // Selects row i, held inside the rows (-1 when there are none or i is
  // negative), and scrolls it into view; 1.
  int SetSel(int i);
  // The widest text (from the margin) of row n, or of every row when
  // n < 0, plus 3; measures the rows asked for again.
  int GetLBWidth(int n);
  // Recomputes the bars after row n was added (n >= 0, measuring that row)
  // or after any other change (n < 0, measuring every row).
  void SetScroll(int n);
  // Scrolls so that the selected row is visible.
  void ShowSelection();
  // A key's effect on the selection (the arrows and the page keys), then
  // ShowSelection; other keys change nothing. With no rows the selection
  // stays -1.
  void MoveSelection(unsigned long keysym);

  // --- fields, in order ---
  uint8_t m_bPressed = 0;     // a button went down on the list and is not released
  uint8_t m_bTranslate = 0;   // rows shown through LoadStringChn in a Chinese UI
  uint8_t m_bHoldRedraw = 0;  // nonzero: Draw does nothing, added rows do not invalidate
  int m_nRowH = 0;            // 1.3 font heights
  int m_nBarW = 0;            // bar thickness: the row height
  int m_nVisRows = 0;         // whole rows that fit
  int m_nMargin = 0;          // row height / 5
  int m_nTextW = 10;          // width of a row's band
  int m_nTextH = 0;           // height of the rows' area
  int m_nWidest = 10;         // widest row text plus 3
  int m_nSel = -1;
  CPoint m_ptScroll;  // the bar positions last reported (1382 x, 1383 y)
  CRect m_rcList;     // the whole list with its bars, in the dialog
  CRect m_rcHBar;
  CRect m_rcVBar;
  std::unique_ptr<AScrl> m_pHScrl;
  std::unique_ptr<AScrl> m_pVScrl;  // its position is the first visible row
  AArray<typLBoxItem, typLBoxItem&> m_arrItems;

 private:
  int FirstRow() const;
  int LastRow() const { return m_arrItems.GetSize() - 1; }
  int MeasureRow(int i);
  int ShownRows() const;
  int HShift() const;
  bool Translating() const;
  CString ShownRow(int i) const;
  int OnMessage(XEvent* event);
  int OnKey(XEvent* event);
  int OnPress(XEvent* event);
  int OnRelease(XEvent* event);
  void ShowBar(AScrl* bar, bool show);
  void Invalidate();
  // The widest width from the rows' kept widths (measuring rows not yet
  // measured).
  int CachedWidest();
  // Shows, hides and sets the bars for the widest width and the rows.
  void LayoutBars();
  void DrawRow(GC gc, int i, int x, int y, bool focused);
};
