// AEdtVu.h: the view of the text editor. It has no window of its own: the
// edit control and the combo box derive from it as their second base and
// own the X window, the document (AEdtStor, borrowed here) and the graphics
// contexts; they supply the five host operations (the virtual functions
// below). The view keeps the caret, the selection, the scroll position (in
// its two scroll bars, EdtScrollBar.h) and the character metrics; it paints
// the visible rows, maps between (row, byte column) positions and pixels,
// keeps the caret in sight and handles the mouse: presses, double, triple
// and quadruple clicks, and dragging with scrolling on a timer.
//
// Positions are a row of the document's row table and a byte column in it
// (CPoint: x the column, y the row). Pixels are document pixels (from the
// text's top-left corner) or view pixels (document pixels less the scroll
// position); mouse points are view pixels.
//
// The view never repaints by itself: the hosts repaint the whole control
// after every event they pass on (but a button release), so its repaint
// requests are empty. Clocks, timers, the focus, the caret and text
// measuring go through an IEdtVuWorld (EdtVuWorld.h); the engine through
// IEditorEngine (EditorEngine.h).
#pragma once

#include <cstdint>
#include <memory>

#include "base/AArray.h"
#include "base/CString.h"
#include "base/Geometry.h"
#include "editor/CEditStep.h"
#include "editor/EditorEngine.h"
#include "editor/EdtScrollBar.h"
#include "framework/CFont.h"
#include "framework/XTypes.h"

class AEdtStor;
class AWnd;
class IEdtVuWorld;

// Colours of the view (0xRRGGBB).
constexpr unsigned long kEdtBack = 0xFFFFFF;          // background
constexpr unsigned long kEdtBackDisabled = 0xBFBFBF;  // while the host is disabled
constexpr unsigned long kEdtAllSelected = 0x0000AF;   // everything drawn selected
constexpr unsigned long kEdtSelText = 0xFFFFFF;       // selected text

// The drag's direction bits (AEdtVu::m_dwDragDir).
constexpr uint32_t kDragLeft = 1, kDragRight = 2, kDragUp = 4, kDragDown = 8;
// The drag timer's period in milliseconds (the framework makes it one tick).
constexpr unsigned long kDragTimerMs = 40;
// MyShowCaret's answers.
constexpr int kShowCaretNone = -9, kShowCaretHorz = 1, kShowCaretVert = 0, kShowCaretBoth = -1;
// What GetPixelXPosByPointXOrCharX answers without a graphics context.
constexpr int kNoPixelX = -1000;

// One entry of the delimiter jump's table: an opening and a closing text
// (GBK), and whether pairs nest (1: depth is counted) or the first partner
// found is taken (0).
struct typDelimiterPair {
  CString m_strOpen;
  CString m_strClose;
  int32_t m_bNesting = 0;
};

// The bits of the X modifier state the view reads.
constexpr unsigned long kEdtShiftBit = 1, kEdtCtrlBit = 4, kEdtAltBit = 8;

// One key press or release as the view takes it (plain record): what the
// X lookup of the key event gave.
struct EdtKeyEvent {
  int pressed = 1;
  unsigned long keysym = 0;
  unsigned long state = 0;           // X modifier state (kEdtShiftBit, ...)
  char text[kEdtKeyTextBytes] = {};  // NUL-terminated
  int textLen = 0;
};
// ProcessKeyMsg's types as the view passes them.
enum : int { kEdtAltAlone = 1, kEdtKeyWithAlt = 2, kEdtKeyPress = 3, kEdtKeyRelease = 4 };

class AEdtVu {
 public:
  AEdtVu();
  virtual ~AEdtVu();
  AEdtVu(const AEdtVu&) = delete;
  AEdtVu& operator=(const AEdtVu&) = delete;

  // --- The host operations -------------------------------------------------
  // A new graphics context of the host window, released by the view with
  // the world's ReleaseGC; null when there is none.
  virtual GC edtvuGetGC() { return nullptr; }
  // The area to paint, in view pixels; the view's own leaves it unchanged.
  virtual void GetClipRc(CRect* rc) {}
  // Nonzero while the host window is disabled.
  virtual int edtIsDsabled() { return 0; }
  // The text area in view pixels, (0, 0, width, height).
  virtual void GetVuRect(CRect* rc) {}
  // The document's list mode, then the scroll parameters.
  virtual void OnInitialUpdate();

  // --- Set-up, in the order the hosts call these ------------------------------
  // The document, borrowed: the host owns it and it outlives the view.
  void SetDocument(AEdtStor* doc) { m_pDoc = doc; }
  AEdtStor* GetDocument() const { return m_pDoc; }
  void SetWin(unsigned long window) { m_hWnd = window; }
  unsigned long GetWin() const { return m_hWnd; }
  // Metrics from the metric font (which the host has copied into m_font).
  // A height of 0 counts as 16 and a width of 0 as 8: the scrolling
  // arithmetic divides by the width. Returns 0.
  int OnCreate();
  // Creates the horizontal (rects[0]) and the vertical (rects[1]) bar,
  // hidden, owner receiving their position messages, parent holding them.
  void InitScrollers(CRect rects[2], AWnd* owner, AWnd* parent);
  // The world the view uses (borrowed; the framework's when never set).
  void SetWorld(IEdtVuWorld* world);
  void OnSize() { MySetScrollParams(); }

  int GetReadOnly() const;
  int SetReadOnly(int readOnly);
  int InBlockSelectMode() const;

  // --- Scrolling ---------------------------------------------------------------
  // Position of bar i (0 horizontal, 1 vertical); 0 in a single-line
  // document or without bars.
  int GetScrollThumPos(int i) const;
  CPoint GetScrollThumPosPt() const { return CPoint(GetScrollThumPos(0), GetScrollThumPos(1)); }
  // Stores pos unclamped; returns the previous position. A single-line
  // document never scrolls: nothing is stored and 0 returned.
  int SetScrollThumPos(int i, int pos);
  // Bar i (0 horizontal, 1 vertical); null before InitScrollers.
  IEdtScrollBar* GetScrollBar(int i) const {
    return i == 0 || i == 1 ? m_pScrlBars[i].get() : nullptr;
  }
  // Range maximum of bar i, 0 without bars.
  int GetScrollHi(int i) const;
  // Adds dx and dy to the positions, dropping a step towards a position
  // that is already at its end (0 or the maximum).
  void ScrollDoc(int dx, int dy);
  // Document size in pixels: columns x character width x 2 wide, one row
  // more than the rows high.
  CSize GetDocSize() const;
  // Recomputes page, line and document sizes and gives them to the bars.
  void MySetScrollParams();
  // The horizontal bar gets (size.cx, page.cx, line.cx); the vertical one
  // (size.cy - half the view height, page.cy, line.cy), a negative range
  // counting as 0.
  void SetScrollParams(CSize size, const CSize& page, const CSize& line);
  // Repaint and scroll-the-window requests: they have no effect, as the
  // hosts repaint the whole control after every event they pass on.
  void MyScrollWin(int, int) {}
  void ScrollWin(int, int) {}
  void RedrawWin() {}
  void edt_InvalidateRect(CRect*) {}
  void InvalidateRectWithOffset(CRect*, int) {}
  void UpdateWndByDocDirtyRect(CRect*) {}
  void OnViewRedraw() {}

  // --- Drawing and measuring ---------------------------------------------------
  // Paints the rows inside GetClipRc on the host window with gc (which the
  // caller owns). allSelected draws everything as selected on 0x0000AF.
  void edtvuDraw(GC gc, int allSelected);
  // Pixel x (document pixels, from the text's left edge) of byte column pos
  // of row (byPixel 0), or of the position nearest to pixel x pos (byPixel
  // 1), with that position's byte column in *byteCol. charAt gets the byte
  // (and the next one as high byte) where the walk stopped, dispCol the
  // display columns passed, atEnd whether the row's end was reached; each
  // may be null. gc null takes and releases the host's; kNoPixelX without
  // one. A row outside the table counts as empty.
  int GetPixelXPosByPointXOrCharX(GC gc, int row, int pos, int byPixel, unsigned short* charAt,
                                  long* dispCol, int* byteCol, int* atEnd);
  // (pixel x, row x row height) of the position; sets the caret's display
  // column as a side effect.
  CPoint LnChar2PointInDoc(GC gc, int row, int byteCol);

  // --- Caret ---------------------------------------------------------------------
  // Moves the framework caret to p (view pixels) when the host window has
  // the keyboard focus.
  void SetCaretPosWithOffset(POINT p);
  CPoint GetCaretPosWithOffset();
  // The caret placed at its position (view pixels).
  void PlaceCaret();
  // Scrolls so that the caret is in sight: kShowCaretNone, kShowCaretHorz,
  // kShowCaretVert or kShowCaretBoth by what scrolled.
  int MyShowCaret();
  // Caret to (row, byteCol); with center the view scrolls so that the row
  // is half a page below the top and the caret x at the left edge.
  void MySetCaretPos(int row, int byteCol, int center);
  void ResetCaretInfo();
  void MoveCaretToTopLeft();
  void MoveCaretToBottomRight(int, int noShow);
  // Row n (clamped) selected whole with the caret at its start, centred;
  // negative n: caret at the end of row -n, nothing selected.
  void GotoNHiliteLine(int n);
  CPoint GetSelectPosScrnCoord();

  // --- Mouse and selection --------------------------------------------------------
  // A left-button press at p (view pixels); the flags are not used (Shift
  // does not extend the selection).
  void AtLBtnDwn(unsigned long flags, CPoint p);
  // Runs a double, triple or quadruple click when the press is one; 1 then.
  int OnManageLButtonClicks(unsigned long flags, CPoint p);
  void AtLBtnDblClk(unsigned long flags, CPoint p);
  void OnLButton3Clk(unsigned long flags, CPoint p);
  void OnLButton4Clk(unsigned long flags, CPoint p);
  // Pointer motion with the button held: extends the selection, and runs
  // the drag timer while the pointer is outside the view.
  void AtPtrMv(unsigned long state, CPoint p);
  void AtLBtnUp(unsigned long flags, CPoint p);
  // A timer message: a tick of the drag timer moves the selection end one
  // character or row towards the pointer and scrolls.
  void AtTimer(unsigned long slot);
  // Orders the selection: anchor before end (row first, then column).
  void NormalizeSelPts();
  // 0 when the selection is empty; else the block (pixel x left and right,
  // top and bottom row) and 1.
  int GetBlockSelArea(CRect& rc);

  // --- Keys and typing (EdtVuKeys.cpp, EdtVuTyping.cpp) --------------------------
  // The hosts' entry for every key press and release: the key is offered to
  // the input engine first, and what it leaves goes to the view. Nonzero
  // when the engine used the key.
  int PreProcessEv(XEvent* ev);
  // PreProcessEv after the X lookup.
  int PreProcessKey(const EdtKeyEvent& key);
  // The view's own keys: chords, navigation and selection by Shift; 1 when
  // it used the key.
  int AtKeyEv(unsigned long keysym, unsigned long state);
  // A typed byte, or the keysyms BackSpace, Delete and Escape. The hosts
  // call it with BackSpace for each leading 0x08 byte of engine text.
  void AtCharEv(unsigned long code, unsigned long state);
  // Typing steps: the change (0 none, 1 text, 2 block shift) is returned.
  int DoKeyInput(unsigned long code, unsigned long state);
  int KeyInput(unsigned long code, unsigned long state, int overwrite, int& changed);
  // Inserts n bytes of code (low byte first), or removes the character
  // before (BackSpace) or at (Delete) the caret into *removed; 1 when the
  // text changed.
  int InsertChars(unsigned long code, int n, int& changed, CString* removed);
  // Removes a non-empty selection (not in block mode) with its undo step.
  void DeleteSelection(int& changed);
  // Indents (outdent 0) or outdents the rows of a multi-row selection; 2.
  int BlockShift(int outdent);
  // Ctrl+Up (up 1) and Ctrl+Down.
  void ScrollALine(int up);
  // The host calls this after it has inserted text the engine committed:
  // the caret is where the engine's last commit ends.
  void RecordEngineCommitPos();

  // Shift, Ctrl and Alt of the last typed character.
  int32_t m_bTypedShift = 0, m_bTypedCtrl = 0, m_bTypedAlt = 0;
  int32_t m_bHadSel = 0;  // the selection was not empty before the last typed key

  // --- commands (EdtVuCommands.cpp, EdtVuClipboard.cpp, EdtVuDelimiters.cpp) -------
  // The view's own message box: the host shows it (the edit control and
  // the combo box through ChMsgbox); the view's own shows nothing and
  // answers 0.
  virtual int edtvuMsgBox(const char* text, int type, int literal, int defButton) { return 0; }
  // Selects the whole text, the caret at the top left, the view scrolled
  // home; the engine's typed input is reset. Block-selection mode refuses
  // with a message box.
  void OnEditSelectAll();
  // The whole text: row 0 alone in a single-line document, else every row
  // with its line break.
  void GetAllText(CString& out);
  // The selected bytes, empty for an empty selection.
  void GetSelectedText(CString& out);
  // Copy, cut and paste through the framework's clipboard (the X CLIPBOARD
  // selection). Cut and paste change a read-only document too. Copy
  // answers 1 when the clipboard took the selected text; cut removes the
  // text only then.
  int AtEdtCpy();
  void AtEdtCut();
  void AtEdtPaste();
  void AtEdtPaste2();
  // Inserts text at the caret as one undo step; the caret ends after it
  // and is kept in sight. A selection stays in place: callers that want it
  // replaced delete it first.
  void DoInsertStr(unsigned char* text);
  // The block-selection form: each line of text goes into the next row at
  // the anchor's display column, short rows padded with spaces.
  void DoInsertStrBlock(unsigned char* text);
  // Appends text as a new last row, no step recorded, caret and scroll
  // position left alone.
  void DoAppendStrNoScrollNoCaretPosChng(unsigned char* text);
  // Empties the document and its undo list; caret and selection at (0, 0).
  void ClearAll(int redraw);
  // Removes length bytes at `at` (one undo step unless replaying); the
  // caret goes there. 1 when bytes were removed.
  int DoDeleteStr(CPoint at, unsigned long length);
  // Removes the selected text without an undo step; the caret and the
  // collapsed selection go to the anchor.
  void ReplaceText();
  // Applies the undo (undo 1) or redo step the other way round and puts its
  // inverse in its place; beeps when there is none.
  void UnDoReDo(int undo);
  void OnUnDo() { UnDoReDo(1); }
  void OnEditRedo() { UnDoReDo(0); }
  // Jumps from the delimiter at the caret (or the selected one) to its
  // partner. The keysym is not used.
  void GoOtherDelimiter(unsigned long keysym);
  // The double-byte character or identifier word at or before the caret;
  // 1 when there is one.
  int GetWordAtCaret(CString& word);
  // The double-byte character at the caret (after 1) or before it (after
  // 0), when the selection is empty or exactly that character; 1 then.
  int GetChnCharAtCaret(CString& ch, int& after);
  void OnFindFromHere() {}
  void OnFindFromTop() {}
  void FindFromHereOrTop(int) {}

  // --- view operations (EdtVuViewOps.cpp) -----------------------------------------
  // Focus in: the caret placed and shown (hidden while a block selection
  // has width), then the engine re-places its input panes.
  void OnSetFocus(AWnd* previous);
  // Remembers the view position (column, top row) before a font change.
  void OnChooseFont();
  CFont* OnChooseFontFixpitch() { return &m_font; }
  CFont* ChooseFont1() { return &m_font; }
  CFont* ChooseFont1_Helper(int) { return &m_font; }
  // Metrics again from the font height; caret, selection and drag reset.
  void UpdateParams();
  // The row under a right-button press; nothing changes.
  int OnRButtonDown(unsigned long flags, CPoint p);
  void OnPopMenuCmd();
  // List mode's "go to the spot" of the caret row, the action of Return
  // and of a double click there (list mode is never on in this system):
  // finds "(" and digits, and takes no action. 1 when the row holds a spot.
  int ParseCurLineAndGoSpot();
  // The pixel band of the selected rows (document pixels).
  void GetSelArea(CRect& rc);
  int GetPos1Pos2FromX1X2(int, int, int*, int*) { return 0; }
  int GetXCharPosFromX(int) { return 0; }

  // Command state.
  CEditStep m_editStep;         // filled by the editing operations
  int32_t m_bReplaying = 0;     // undo or redo running: record no step
  int32_t m_bPasteVariant = 0;  // passed to the clipboard read
  CPoint m_ptSavedViewPos;      // (column, top row), by OnChooseFont
  AArray<typDelimiterPair, const typDelimiterPair&> m_aDelimPairs;

  // --- State the key and command handlers share -----------------------------------
  CFont m_font;              // metric font: the hosts copy a UI font into it
  CPoint m_ptTextOrigin;     // where column 0 of row 0 is drawn in the host window
  uint8_t m_byHeldLead = 0;  // lead byte waiting for its trail byte, 0 none

  int16_t m_nCharWidth = 8, m_nRowGap = 8, m_nRowHeight = 24, m_nFontHeight = 16;
  int16_t m_nSpaceWidth = 0;  // width of a blank, 0 until measured
  double m_dRowGapFactor = 0.5;

  // Caret: display column, row and byte column.
  int32_t m_nCaretDispCol = 0, m_nCaretRow = 0, m_nCaretCol = 0;
  // Selection: x byte column, y row; the end is where the caret is.
  CPoint m_ptSelAnchor, m_ptSelEnd;
  unsigned long m_clrBack = kEdtBack, m_clrSelBack = 0, m_clrText = 0;

  // Drag state.
  uint32_t m_dwDragDir = 0;
  uint8_t m_bLineSel = 0;
  int32_t m_nDragTimer = 0;  // 0: no timer runs
  // Click bookkeeping (milliseconds of the world's clock).
  uint32_t m_dwLastPress = 0, m_dwLastDblClk = 0, m_dwLast3Clk = 0;
  CPoint m_ptLastDblClk;
  uint32_t m_dwDblClkIntvl;

  int32_t m_nBlockSelX = 0;    // block selection's other edge, pixel x
  int32_t m_bCaretHidden = 0;  // set while a block selection hides the caret
  int32_t m_bListMode = 0;     // the document's list mode, copied at the initial update
  CSize m_szLastDoc, m_szLastPage, m_szLastLine;  // what the bars were last given

 protected:
  IEdtVuWorld& World() const { return *m_pWorld; }
  // The document's row count, 0 without a document.
  int RowCount() const;
  // The row's bytes (empty outside the table); returns their count.
  int RowText(int row, CString& text) const;
  // Big5 flag of the mouse's character bounds (the host window's language).
  int WinBig5() const;

 private:
  class HostGC;
  // Caret row, byte column and display column := the position nearest to
  // view point p on the row under it (below the text: the last row's end);
  // returns its pixel x.
  int CaretToPoint(CPoint p);
  // Pixel x (document pixels) of the caret's byte column on its row.
  int CaretPixelX();
  void PlaceSelection(CPoint anchor, CPoint end);
  void CollapseSelectionAtCaret();
  void ResetEngineInput();
  void UpdateBlockCaret();
  // Keys (EdtVuKeys.cpp).
  int MoveByKey(unsigned long keysym, bool ctrl, bool shift);
  void KeepCaretX(int row, int x);
  void ScrollForVerticalMove(int oldVPos);
  void ScrollForHorizontalMove(bool left);
  void ScrollForRowEnd(int x);
  int WordRight(bool homeRules);
  int WordLeft();
  // Typing and the engine's re-selection (EdtVuTyping.cpp).
  void ScrollForInsertion();
  void ReSelectionCheck(CPoint a, CPoint b);
  void LeaveReSelectionIfMoved();
  void CloseReSelection();
  int ScrollHorzForCaret(const CRect& visible, int caretX);
  int ScrollVertForCaret(const CRect& visible, int caretY);
  int RowHeight() const { return m_nRowHeight > 0 ? m_nRowHeight : 1; }
  int CharWidth() const { return m_nCharWidth > 0 ? m_nCharWidth : 8; }
  int SpaceWidth(const CFont& font);
  // Commands' helpers (EdtVuCommands.cpp, EdtVuDelimiters.cpp).
  void BuildDelimiterPairs();
  CPoint SnapToChar(CPoint p) const;
  int InsertAtCaret(const unsigned char* text, unsigned long n, CEditStep& step);
  void AfterEdit(int fromRow);
  void LeaveReSelectionAfterEdit(CPoint editAt);

  AEdtStor* m_pDoc = nullptr;  // borrowed: the host owns the document
  unsigned long m_hWnd = 0;    // the host's X window
  IEdtVuWorld* m_pWorld;       // borrowed: lives as long as the process (or the test)
  std::unique_ptr<IEdtScrollBar> m_pScrlBars[2];  // [0] horizontal, [1] vertical
  bool m_bInClickCount = false;                   // OnManageLButtonClicks is running a click
};
