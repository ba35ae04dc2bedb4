// DlgTemplate.h: the compiled form of a dialog of the resource script: the
// template (typDlg) with its control records (typCtrl) in script order. The
// resource compiler (RcCmplr.h) fills them; the dialog builder copies a
// template out of the compiler's dialog table and gives each control object
// a copy of its record. Both records are plain values: a template owns its
// control list, copies are deep.
//
// File form (dlgblob.brc, written by CRcCmplr::SaveGuiRes), little-endian,
// no filler:
//   typDlg:  style u32, width i32, height i32, font size i32, caption str,
//            font face str, control count i32, then each control
//   typCtrl: type u8, subtype u8, alignment u8, id i32, extra i32, spare1 i32,
//            style u32, spare2 i32, x i32, y i32, width i32, height i32,
//            text str
//   str:     length i32, then that many bytes, no NUL
// The group flag of a control is not stored.
#pragma once

#include <cstdint>
#include <cstdio>

#include "base/AArray.h"
#include "base/AList.h"
#include "base/CString.h"
#include "base/Geometry.h"

// Control types of a compiled control record.
enum : uint8_t {
  kCtrlStaticText = 0,
  kCtrlIcon = 1,
  kCtrlBitmap = 2,
  kCtrlOtherClass = 3,
  kCtrlComboBox = 4,
  kCtrlRadioButton = 5,
  kCtrlEditField = 6,
  kCtrlGroupBox = 7,
  kCtrlBlackFrame = 8,
  kCtrlPushButton = 9,
  kCtrlProgressBar = 10,
  kCtrlListBox = 11,
  kCtrlCheckBox = 13,
};

// Subtypes and text alignments.
enum : uint8_t { kSubNone = 0, kSubUpDown = 1, kSubStatic = 2 };
enum : uint8_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// Style bits of a control record, from the style words of its statement.
enum : uint32_t {
  kCtrlStyleHidden = 0x1,          // NOT WS_VISIBLE
  kCtrlStyleMultiLine = 0x2,       // ES_MULTILINE
  kCtrlStyleClientEdge = 0x10,     // WS_EX_CLIENTEDGE
  kCtrlStyleStaticEdge = 0x100,    // WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME
  kCtrlStyleSunken = 0x200,        // SS_SUNKEN
  kCtrlStyleOwnerDraw = 0x1000,    // BS_OWNERDRAW, CBS_OWNERDRAWFIXED
  kCtrlStyleTabStop = 0x10000,     // WS_TABSTOP
  kCtrlStyleDropDown = 0x100000,   // CBS_DROPDOWN
  kCtrlStyleVScroll = 0x200000,    // WS_VSCROLL
  kCtrlStyleHScroll = 0x400000,    // WS_HSCROLL, ES_AUTOHSCROLL
  kCtrlStyleReadOnly = 0x800000,   // ES_READONLY
  kCtrlStyleDropList = 0x1000000,  // CBS_DROPDOWNLIST
  kCtrlStyleDisabled = 0x2000000,  // WS_DISABLED
  kCtrlStyleNotify = 0x4000000,    // SS_NOTIFY
};

// Style bits of a dialog template.
enum : uint32_t {
  kDlgStyleModalFrame = 0x1,     // DS_MODALFRAME
  kDlgStyleCaption = 0x10,       // WS_CAPTION
  kDlgStyleSysMenu = 0x100,      // WS_SYSMENU
  kDlgStyleClientEdge = 0x1000,  // WS_EX_CLIENTEDGE
  kDlgStyleVisible = 0x2000,     // WS_VISIBLE
};

// One control of a dialog template. Positions and sizes are dialog units.
struct typCtrl {
  uint8_t m_type;     // kCtrl...
  uint8_t m_subtype;  // kSub...
  uint8_t m_align;    // kAlign...
  uint8_t m_group;    // 1: WS_GROUP, a new radio group starts here
  int32_t m_id;       // control id; an icon control's icon resource id
  int32_t m_extra;    // a bitmap control's bitmap resource id, else 0
  int32_t m_spare1;   // always 0
  uint32_t m_style;   // kCtrlStyle... bits
  int32_t m_spare2;   // always 0
  CPoint m_pt;        // x, y
  CSize m_size;       // width, height
  CString m_text;     // GBK

  typCtrl();  // every number 0, empty text
  typCtrl(const typCtrl& other) = default;
  typCtrl& operator=(const typCtrl& other) = default;
  ~typCtrl() = default;

  // read 0 writes the record to f, read 1 reads it back. Returns 1; 0 when a
  // read finds the file ending inside the record or a length that does not
  // fit in what is left of it (the record then holds what was read).
  int DiskIO(int read, FILE* f);
};

// One dialog template.
struct typDlg {
  uint32_t m_style;  // kDlgStyle... bits
  CSize m_size;      // dialog units
  CString m_caption;
  CString m_fontFace;
  int32_t m_fontSize;
  AList<typCtrl, typCtrl&> m_ctrls;  // owned, script order

  typDlg();  // Reset()
  typDlg(const typDlg& other);
  typDlg& operator=(const typDlg& other);
  ~typDlg() = default;

  // Style 0, 100 by 100, empty caption and face, font size 16, no controls.
  void Reset();

  // As typCtrl::DiskIO; reading replaces the control list.
  int DiskIO(int read, FILE* f);
};
