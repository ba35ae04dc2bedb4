// ACmbo.h: the combo box (template type 4): a one-line edit part (the
// combo box's own window, an editor view over a single-line document), an
// arrow button beside it and a drop-down list of rows (a string-list popup
// menu whose current row is the selection).
//
// Two kinds: the editable kind takes typed text, handing each key to the
// input engine first (AEdtHost); the drop-list kind (template flag
// 0x1000000) shows the selected row, steps through the rows with the arrow
// keys and tells its dialog about a new selection with code 1.
//
// The combo box owns its document and its arrow button (a window of the
// dialog, in the dialog's control list while it lives).
//
// The row history (TakeResult, AddToMRU, LoadMRU) keeps the last texts
// entered, newest first, in "<program directory>combomru<name>.bin"; no
// dialog turns it on.
#pragma once

#include <cstdint>
#include <memory>

#include "base/CString.h"
#include "controls/AEdtHost.h"
#include "controls/AMenu.h"

class ABtn;

// Messages of the combo box (sent; the words of a sent message may hold
// pointers).
constexpr int WM_CMBO_ADDROW = 1300;  // l[1] text; 1
constexpr int WM_CMBO_SETSEL = 1306;  // l[0] row; 1
constexpr int WM_CMBO_GETSEL = 1308;  // the selection, -1 for none

// The row history's bounds.
constexpr int kMruMaxRows = 16;
constexpr int kMruMaxBytes = 256;

class ACmbo : public AEdtHost {
 public:
  ACmbo();
  ACmbo(int id, AWnd* parent);
  // The arrow button leaves the dialog and goes, then the document.
  ~ACmbo() override;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  // Type 4, no arrow button, selection 0, a string-list menu, the flags 0,
  // the history name given (empty for null); the history is read when it
  // is on (it never is). Returns 1.
  int Init(const char* name, int);
  // The edit part (cx - h wide, h = font height * 1.3 + 6 tall whatever cy
  // says) and the h by h arrow button beside it, 2 pixels to the left. The
  // drop-list kind comes from the template copy's flag 0x1000000. 1, or 0
  // without a window (and then no document and no arrow).
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  void AddRow(const char* text) { m_list.AddItem(text ? text : ""); }
  void InsertRow(int i, const char* text) { m_list.InsertItemByIndex(i, text ? text : ""); }
  void DelRow(int i) { m_list.DelItemByIndex(i); }
  int GetCount() { return m_list.m_arrTexts.GetSize(); }
  // out := row i's text and 1; 0 (out untouched) when i names no row.
  int GetLstText(int i, CString& out);
  // The first row from start on whose text equals text, else -1.
  int FindRowExact(const char* text, int start);
  // Selects row i (the last row when i is past it) and shows its text; no
  // notification. With no rows, or i negative, the selection names no row
  // and the text stays.
  void SetSel(int i);
  // The selection, -1 when it names no row.
  int GetSel();
  // The edit part's text := text (no notification); 1.
  int SetText(const char* text);
  // The whole text of the edit part.
  CString GetText();
  // Shows the list under the edit part and makes the row chosen (or left
  // current by Escape or a click elsewhere) the selection, with code 1 when
  // it changed. Nothing for a disabled combo box or while the list is up.
  void DropDown();

  // --- the row history ---
  // Puts the edit text first in the list (AddToMRU) and writes the list.
  void TakeResult();
  // Puts text (cut to 256 bytes) first: an equal row goes, at most 16 rows
  // stay; the list's width is measured again.
  void AddToMRU(const char* text);
  // Reads the history file: one row per line, at most 16 rows of at most
  // 256 bytes (longer lines are cut, a NUL ends a row; nothing past the
  // first 64 KiB is read). 1 when the file was read.
  int LoadMRU();
  // Writes the rows one per line through a temporary file; 1 when written.
  int SaveMRU();
  // "<program directory>combomru<name>.bin".
  CString MruPath() const;
  // The list's least width: the edit part's (the list grows to its widest
  // row when it is shown).
  void CalcLBMaxWidth();

  // --- fields, in order ---
  uint8_t m_bPressed = 0;   // a mouse button went down on the combo box
  uint8_t m_bDropList = 0;  // the drop-list kind
  uint8_t m_bHistory = 0;   // the row history is used; always 0
  uint8_t m_bDropping = 0;  // the list is being shown
  CRect m_rcEdit;           // the edit part in the dialog
  CRect m_rcBtn;            // the square beside it
  std::unique_ptr<ABtn> m_pArrow;
  CString m_strHistory;  // name part of the history file
  AMenu m_list;          // the rows; its current row is the selection

 private:
  int OnMessage(XEvent* event);
  int OnKey(XEvent* event);
  // The drop-list kind's arrow and page keys: the next or previous row,
  // wrapping; true when the key was one of them.
  bool StepSelection(unsigned long keysym);
  int OnPress(XEvent* event);
  int OnRelease(XEvent* event);
  int OnMotion(XEvent* event);
  void EngineText(const char* text);
  void Notify(unsigned long code);
  bool Focused();
};
