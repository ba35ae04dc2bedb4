// CTips.h: the tips dialog, one usage tip at a time from tips.txt beside
// the program, with buttons for the next and the previous tip. The tips
// command runs it modally (frontend/BarCommands.cpp); it opens on the tip
// after the one shown last time. The number of the tip shown is TipNum of
// the settings, which moves as the user pages (also when the dialog is then
// cancelled) and reaches the profile with the next save.
//
// tips.txt is GBK text, one tip a line: a line that begins with ';' is a
// comment, one that begins with 'p' is a tip for pinyin input only and one
// that begins with 'x' for shape-code input only (the letter is not shown),
// one that begins with 'j' is shown in neither; every other line is a tip
// for both.
#pragma once

#include <cstdint>

#include "base/AList.h"
#include "base/CString.h"
#include "controls/ADialog.h"

// The dialog's template and its controls.
constexpr int kTipsDlgId = 113;
constexpr int kTipsNextId = 1046;
constexpr int kTipsPrevId = 1049;
constexpr int kTipsTextId = 1074;         // the tip, drawn by the dialog
constexpr int kTipsShowAtStartId = 1035;  // hidden and disabled
// The picture in the tip area's bottom-right corner.
constexpr int kTipsBitmapId = 120;

using TipList = AList<CString, const CString&>;

// Appends the tips of the file usable in the input method (kPinYin or
// kXingMa) to tips, in file order; CR and LF are taken off their ends and
// empty tips are skipped. A line is read up to 2047 bytes, cut between
// characters; the rest of a longer line is dropped. False when the file
// cannot be opened.
bool ReadTipsFile(const char* path, int inputMethod, TipList& tips);

// The tip number after a step (1 next, 65535 previous: minus 1 in 16 bits)
// from tipNum among count tips: 16-bit arithmetic; past the last it is 1,
// below 1 it is the last (0 when there are none).
int16_t StepTipNum(int32_t tipNum, int step, int count);

class CTips : public ADialog {
 public:
  explicit CTips(AWnd* parent);
  ~CTips() override;

  // Draws the tip area (control 1074): white, the picture in its
  // bottom-right corner, the tip inside margins, wrapped.
  void AtDrawCtrl(int id, unsigned long window) override;
  // OK, Cancel, Next and Previous; the tip area's owner-draw request.
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  // Reads the tips and shows the next one; without tips.txt the dialog ends
  // at once with 2 and this returns 0.
  int InitDlg() override;

  void OnNext() { SetTipText(1); }
  void OnPrev() { SetTipText(65535); }
  // Moves TipNum by step and shows that tip (an empty text when there are
  // no tips).
  void SetTipText(int step);

  int32_t m_nTipAtStart = 0;  // TipAtStart: copied in and (on OK) back by the opener
  TipList m_listTips{10};
  CString m_strTip;  // the tip shown
};
