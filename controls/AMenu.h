// AMenu.h: the popup menu. A menu has no window while it is idle;
// PopupMenu creates an override-redirect window, runs the modal menu loop
// until a row is chosen or the menu is cancelled, and destroys the window
// again. It returns the menu's result byte: 1 cancelled, 2 chosen (0 when
// the window cannot be created).
//
// Two kinds:
// - a resource menu is bound to a typMnuCell of the compiled menu table
//   (GetResMenu); its rows are the cell's children. Choosing a row posts
//   the command message 273 {command id, 0} to the owner window;
// - a string-list menu (m_bStrList set) is a plain list of texts; choosing
//   a row only ends the menu and the caller reads m_nCurRow.
//
// Only one menu is up at a time: MenuProc serves the menu its window was
// last created for. Keys: Up/Down step to the previous/next row that can
// be chosen (wrapping), Home/Page Up and End/Page Down go to the first/last,
// Return and space choose, Escape cancels; every search ends, also when no
// row can be chosen. The pointer highlights the row under it and a release
// on a row chooses it; a press on another window or the loss of the
// keyboard focus cancels.
//
// Ownership: the cells belong to the compiled menu table (or to the cell
// that CreateMenu made, which DestroyMenu deletes); a menu only borrows
// them, so checks and enables set through one menu are seen through every
// menu over the same cells. GetNthSubMenu hands out a new AMenu that the
// caller deletes.
#pragma once

#include <cstdint>

#include "base/CString.h"
#include "base/CStringArray.h"
#include "base/CWordArray.h"
#include "base/Geometry.h"
#include "controls/MnuTemplate.h"
#include "framework/ModalHosts.h"
#include "framework/XTypes.h"

// 1 while a popup menu is up, else 0. Written by PopupMenu; the main bar
// reads it (its timers rest meanwhile).
extern int gbMnuUp;

// The menu window's control id.
constexpr long kMenuWinId = 9999;

// Result bytes.
constexpr uint8_t kMenuRunning = 0;
constexpr uint8_t kMenuCancelled = 1;
constexpr uint8_t kMenuChosen = 2;

class AMenu final : public IMenuHost {
 public:
  AMenu();
  ~AMenu();
  AMenu(const AMenu&) = delete;
  AMenu& operator=(const AMenu&) = delete;

  // A new empty root cell (owned until DestroyMenu). Returns 1.
  int CreateMenu();
  // Resets and deletes the root cell when one is set. Returns 1. Only for
  // a root made by CreateMenu: a bound cell belongs to the menu table.
  int DestroyMenu();

  // Binds to the compiled menu named key: n < 0 the menu's root cell, else
  // its n-th child. 1 when bound; 0 (root unchanged) when the key is not
  // in the table, n is beyond the children or there is no compiler.
  int GetResMenu(CString key, int n);
  int GetResMenu(unsigned long id, int n);
  // A new menu over the n-th child of the root (the caller deletes it);
  // null without a root or for n out of range.
  AMenu* GetNthSubMenu(int n);

  // The root's child count, or the number of texts without a root.
  int GetItemCount();
  // The command id of child n; -1 for n out of range or without a root.
  int GetItemID(int n);
  // Set child n's (or the first child with the command id's) check flag or
  // disabled flag (!enable). 1, or 0 when there is no such child.
  int SetItemCheckByIndex(int n, int check);
  int SetItemCheckByID(int id, int check);
  int EnableItemByIndex(int n, int enable);
  int EnableItemByID(int id, int enable);

  // String-list rows: append, insert at n (clamped to the list) and remove
  // row n (ignored when out of range). Each row has an empty accelerator.
  void AddItem(const char* text);
  void InsertItemByIndex(int n, const char* text);
  void DelItemByIndex(int n);

  // Measures the menu: metrics, texts (filled from the cells the first
  // time), row bottoms, accelerator column and size; returns the size.
  CSize GetMenuPixelSize();
  // Paints the menu window; the event is not used.
  void Draw(XEvent* event);
  // Chooses the current row: a resource menu posts the command of a row
  // that can be chosen to the owner and sets the result 2 (otherwise
  // nothing changes); a string-list menu sets the result 2. Returns the
  // result byte.
  uint8_t FireCmd();
  // Shows the menu with its top-left corner at root (x, y), moved left or
  // up to stay on the screen, runs the menu loop and returns the result
  // byte (0 when the window cannot be created). owner receives the command
  // and, for a resource menu, is redrawn and gets the keyboard focus back.
  int PopupMenu(int x, int y, unsigned long owner, unsigned long);

  // IMenuHost: the result byte DoMenuEventLoop turns on.
  uint8_t GetMenuResult() override { return m_nResult; }

  // --- what MenuProc does with one event, by kind (the menu window is
  // m_hWnd; a row's rectangle is in the window's pixels) ---
  // A key: Escape cancels; with a current row the others navigate or
  // choose (Return and space only when onMenu). Redraws on a change.
  void OnMenuKey(unsigned long keysym, bool onMenu);
  // Pointer motion: the row at (x, y) when onMenu and inside, else none.
  void OnMenuMotion(bool onMenu, int x, int y);
  // A press elsewhere than the menu window cancels.
  void OnMenuButtonPress(bool onMenu);
  // A release inside the menu on a current row chooses it.
  void OnMenuButtonRelease(bool onMenu, int x, int y);

  // Whether row n can be chosen: a row of a string-list menu, or a cell
  // that is neither a separator nor disabled.
  bool CanChooseRow(int n);
  // The row whose band holds y (0 <= y <= height), -1 for none.
  int RowAtY(int y);

  // --- fields, in order ---
  typMnuCell* m_pRoot;           // borrowed from the menu table (or CreateMenu's)
  unsigned long m_hWnd;          // the menu window while shown, else 0
  int m_nRowH;                   // font height + 9
  int m_nFontH;                  // the default font height, at least 20
  int m_nAccelX;                 // x of the accelerator column
  int m_nSepH;                   // row height / 2
  int m_nTextX;                  // row height * 3 / 2: left margin of the texts
  CSize m_size;                  // the menu window's size
  CStringArray m_arrTexts;       // one per row; empty for a separator
  CStringArray m_arrAccelTexts;  // one per row; empty for none
  CWordArray m_arrRowBottoms;    // running height down to each row's lower edge
  CRect m_rect;                  // the menu window on the screen while shown
  int m_nMinWidth;               // least width of a string-list menu
  uint8_t m_bStrList;            // nonzero for a string-list menu
  uint8_t m_nResult;             // 0 running, 1 cancelled, 2 chosen
  int m_nCurRow;                 // highlighted row, -1 for none
  unsigned long m_hOwner;        // receives the command message

 private:
  void SetMetrics();
  void MeasureFromCells(int& widest, int& widestAccel);
  void MeasureFromTexts(int& widest, int& widestAccel);
  void AddRowBottom(int height);
  bool IsSeparatorRow(int n);
  int RowCount();
  typMnuCell* Cell(int n);
  // The first row that can be chosen from `from` in steps of step (+1 or
  // -1), wrapping when wrap is set; -1 when none.
  int SearchRow(int from, int step, bool wrap);
  void SetCurRow(int row);
  void DrawRows(GC gc, int width);
  void DrawCheckMark(GC gc, int y, unsigned long rgb);
  void DrawSeparators(GC gc, int width);
};

// The window procedure of the menu window: hands each event the menu loop
// reads to the served menu. Returns 1.
int MenuProc(XEvent* event);
