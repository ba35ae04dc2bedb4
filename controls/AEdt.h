// AEdt.h: the edit control (template type 6): a control window that is at
// the same time an editor view (AEdtHost) over a document of its own,
// single-line unless the template asks for several lines (flag 0x2), with
// the view's two scroll bars beside it in the dialog. Every key the dialog
// does not take for itself (Tab, Shift+Tab, Return's press) goes to the
// input engine first and then to the view; each such key is reported to
// the dialog with code 21. The engine's committed text arrives as window
// message 1400 and replaces the selection.
#pragma once

#include "base/CString.h"
#include "controls/AEdtHost.h"

class AEdt : public AEdtHost {
 public:
  AEdt();
  AEdt(int id, AWnd* parent);
  ~AEdt() override;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  // Type 6, nothing pressed, no scroll position seen.
  void Init();
  // The window (cx by cy), the document, the view and its two scroll bars
  // (hidden, in the dialog's control list). The text is the window text
  // only; the document starts empty. 1, or 0 without a window.
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);
  // The document := text, caret and selection at the start; the dialog
  // hears code 21. Returns 1.
  int SetText(const char* text);
  // The view's whole text (row 0 alone for a single-line control).
  CString GetText();

  // --- fields, in order ---
  uint8_t m_bPressed = 0;
  CPoint m_ptScroll;  // the bar positions last reported (1382 x, 1383 y)
  CRect m_rcHBar;
  CRect m_rcVBar;

 private:
  int OnMessage(XEvent* event);
  int OnKey(XEvent* event);
  int OnPress(XEvent* event);
  void EngineText(const char* text);
  void Notify();
};
