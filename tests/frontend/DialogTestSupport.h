// DialogTestSupport.h: what the word search and character order dialog
// tests share beyond the dialog test application (tests/controls/
// DialogTestApp.h): an edit control stand-in for builds without the edit
// control (its text only, no window; the test sets it and reports the
// change itself), and message boxes answered from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "controls/ACtrl.h"
#include "controls/internal/DlgCtrlSeam.h"

namespace dialogtest {

// Edit fields keep their text in m_strText.
class TextOnlyEdit : public ACtrl {
 public:
  TextOnlyEdit() { m_nType = kCtrlEditField; }
};

// Puts TextOnlyEdit in the builder's seam for edit fields, unless the
// build has an edit control of its own.
inline void UseTextOnlyEdits() {
  static decltype(DlgCtrlSeam::newCtrl) s_next = nullptr;
  DlgCtrlSeam seam = GetDlgCtrlSeam();
  if (seam.editGetText) return;
  s_next = seam.newCtrl;
  seam.newCtrl = [](uint8_t type) -> ACtrl* {
    if (type == kCtrlEditField) return new TextOnlyEdit;
    return s_next ? s_next(type) : nullptr;
  };
  seam.editGetText = [](AWnd* edit) { return edit->m_strText; };
  seam.editSetText = [](AWnd* edit, const char* text) { edit->m_strText = text; };
  SetDlgCtrlSeam(seam);
}

// A message box's script: the texts asked and the answers to give (OK
// when none is left).
struct ScriptedBoxes {
  std::vector<std::string> asked;
  std::deque<int> answers;
  int Ask(const char* text) {
    asked.push_back(text ? text : "");
    if (answers.empty()) return 1;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace dialogtest
