// CtrlConsts.h: the numbers the dialogs and controls share: notification
// codes of CtrlEvProc, the window messages of the controls, the kinds of
// window objects and the dialog colours. The keysyms the controls react to
// are framework/KeySyms.h, shared with the engine.
#pragma once

#include <cstdint>

// CtrlEvProc codes.
constexpr unsigned long kCtrlEvRowClick = 0;      // list box row clicked
constexpr unsigned long kCtrlEvSelChange = 1;     // combo box selection changed
constexpr unsigned long kCtrlEvRowDblClick = 11;  // list box row double-clicked
constexpr unsigned long kCtrlEvTextChange = 21;   // edit control key or text change
constexpr unsigned long kCtrlEvMotion = 2001;
constexpr unsigned long kCtrlEvPress = 2002;
constexpr unsigned long kCtrlEvClick = 2003;
constexpr unsigned long kCtrlEvDblClk = 2004;
constexpr unsigned long kCtrlEvOwnerDraw = 2100;
// The paint notification: CtrlEvProc(0, kPaintNotifyId, 0, expose event).
constexpr int kPaintNotifyId = 12;

// Window messages of the controls.
constexpr int WM_CTRL_SETPOS = 1306;  // progress bar: l[0] percentage
constexpr int WM_CTRL_EVENT = 1380;   // to a dialog: l[0] window, l[1] id, l[2] code
constexpr int WM_SCRL_HORZ = 1382;    // from a horizontal scroll bar: l[0] position
constexpr int WM_SCRL_VERT = 1383;    // from a vertical scroll bar: l[0] position

// Kinds of window objects (AWnd::m_nType): a control's template type, or a
// dialog.
constexpr int kWndScrollBar = 12;  // made by list boxes and editors, never by a template
constexpr int kWndDialog = 14;

// Result codes of dialogs and their standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Dialog colours (0xRRGGBB).
constexpr unsigned long kClrFace = 0xc7c7c7;
constexpr unsigned long kClrTitle = 0x0000ff;
constexpr unsigned long kClrCaption = 0xffffff;
constexpr unsigned long kClrText = 0x000000;
constexpr unsigned long kClrFocusFill = 0xe6e6f0;
constexpr unsigned long kClrFocusLine = 0x0000ff;
constexpr unsigned long kClrWell = 0xe6ffe6;
constexpr unsigned long kClrWellDisabled = 0xbfbfbf;
constexpr unsigned long kClrProgress = 0x0000ff;

// Raster function "copy".
constexpr int kDrawCopy = 3;
