// AEdtHost.h: what the edit control (AEdt) and the combo box (ACmbo) share
// as hosts of an editor view. Each is a control with an X window of its own
// (its primary base, ACtrl) and at the same time the editor view of that
// window (its second base, AEdtVu): it owns the text document the view
// edits, gives the view its graphics contexts and its text rectangle (the
// window less the 3-pixel frame), shows the framework's caret while it has
// the keyboard focus, and takes the text the input engine commits while it
// hands the engine a key (window message 1400).
//
// A key is handed to the engine through the view (AEdtVu::PreProcessEv)
// with the application's edit-key flag and window set to this control, so
// that whatever the engine commits meanwhile comes back here as message
// 1400 instead of going to an XIM client; the flag is cleared on every way
// out, so a later commit can never reach a control.
#pragma once

#include <memory>

#include "controls/ACtrl.h"
#include "editor/AEdtVu.h"

class AEdtStor;

// Message 1400: text the engine committed while the control handed it a
// key; l[0] a pointer to the NUL-terminated GBK text (sent, never posted).
// Each leading 0x08 byte stands for a BackSpace.
constexpr int WM_EDT_ENGINETEXT = 1400;

class AEdtHost : public ACtrl, public AEdtVu {
 public:
  AEdtHost();
  // Frees the document after the view part is done with it.
  ~AEdtHost() override;

  // The window shared by both bases is the control's.
  using ACtrl::m_hWnd;

  // --- host operations of the view ---
  GC edtvuGetGC() override;
  void GetClipRc(CRect* rc) override { GetVuRect(rc); }
  int edtIsDsabled() override { return m_bDisabled; }
  // (0, 0, window width - 6, window height - 6).
  void GetVuRect(CRect* rc) override;
  // The view's message boxes are the dialogs' (ChMsgbox).
  int edtvuMsgBox(const char* text, int type, int literal, int defButton) override;

  AEdtStor* Doc() const { return m_doc.get(); }

 protected:
  // The window at the rectangle ACtrl::Create recorded, raised; then the
  // document (single-line when asked), the client area less the frame, the
  // view's text origin (4, 4), its window and its metric font (the UI font
  // of the language), and the view's OnCreate. 0 when X refused the window
  // (and then there is no document).
  int CreateHostWin(bool singleLine);
  // Hands a key press or release to the view (the engine first) with the
  // edit-key flag and window set to this control for exactly that call.
  // Returns PreProcessEv's result.
  int HandKeyToView(XEvent* event);
  // The engine's text: one BackSpace per leading 0x08 byte; returns the
  // rest (empty when every byte was 0x08).
  const char* TakeEngineBackSpaces(const char* text);
  // FocusIn attaches the framework's caret (the control's font height) and
  // shows it; FocusOut detaches it. True when the event was one of them.
  bool OnFocusEvent(XEvent* event);
  // The point of a motion event, replaced by the newest queued motion while
  // this control holds its dialog's pointer capture.
  CPoint NewestMotionPoint(XEvent* event);
  // A press's point relative to the client origin; true when it lies in
  // the view's rectangle (not in the frame).
  bool PressInView(XEvent* event, CPoint& point);
  // A button press: the dialog's focus goes to this control; with intoView,
  // a press in the view (not in the frame) also captures the pointer and
  // starts a selection there.
  void TakePress(XEvent* event, bool intoView);
  // Inserts text at the caret as one undo step (the view's DoInsertStr on a
  // copy); nothing for null or empty text.
  void InsertText(const char* text);
  // Empties the document (no repaint) and inserts text at the caret.
  void ReplaceAllText(const char* text);

  std::unique_ptr<AEdtStor> m_doc;  // the text the view edits
};
