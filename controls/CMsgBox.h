// CMsgBox.h: the modal message box of both programs, built from dialog 112
// of the resource script (push buttons 1 OK, 2 Cancel, 6 Yes, 7 No, hidden
// until the box shows the ones its type needs). It sizes itself to its text
// (one line), centres itself and draws the text itself.
//
// ChMsgbox shows a box and returns the button that ended it: 1 OK, 2 Cancel
// or Escape, 6 Yes, 7 No. ChMsgbox2 formats first; its format is looked up
// in [UI_STR] of the UI-text file unless literal, and a translation is used
// only when it takes the same arguments as the original format.
#pragma once

#include <cstdarg>

#include "base/CString.h"
#include "controls/ADialog.h"
#include "controls/ChnUIReader.h"
#include "controls/CtrlConsts.h"

// Box types.
constexpr int kMsgBoxOk = 1;
constexpr int kMsgBoxYesNo = 2;
constexpr int kMsgBoxOkCancel = 3;  // any other value too
// The message box's dialog template.
constexpr int kMsgBoxDlgId = 112;

class CMsgBox : public ADialog {
 public:
  explicit CMsgBox(AWnd* parent);
  ~CMsgBox() override = default;

  void OnOK() override { QuitDlg(IDOK); }
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  // Translates the text (ChnUI set and not literal), sizes and centres the
  // box, shows and places its buttons, picks the default button.
  int InitDlg() override;

  void AtDraw();
  void OnYes() { QuitDlg(IDYES); }
  void OnNo() { QuitDlg(IDNO); }

  int m_nMsgType = kMsgBoxOk;
  CString m_strMsg;
  CPoint m_ptText{0, 0};
  int m_bLiteral = 0;
  int m_nMsgDefBtn = -1;
};

// The box learns the engine's ChnUI setting (nonzero: texts are keys of
// [UI_STR]) through the reader of controls/ChnUIReader.h.

// Shows text in a box of type (kMsgBox...); literal nonzero shows it as it
// stands; defaultButton is the button Return presses in a two-button box
// (-1 none). Returns 1, 2, 6 or 7. The owner is the application's main
// window.
int ChMsgbox(const char* text, int type, int literal, int defaultButton);
// Formats (vsnprintf into 160 bytes) and shows the result literally with no
// default button.
int ChMsgbox2(const char* format, int type, int literal, ...);
// ChMsgbox2 with its arguments as a va_list (the engine's host hands them
// on this way).
int ChMsgbox2V(const char* format, int type, int literal, va_list args);
// The same formatting without a box.
CString ChMsgText(const char* format, int literal, ...);
