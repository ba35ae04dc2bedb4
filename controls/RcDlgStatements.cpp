// Dialog statements of the resource compiler: a dialog's header (STYLE,
// CAPTION, FONT) and the control statements of its body.
#include "controls/RcCmplr.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

int32_t Num(const CString& term) { return static_cast<int32_t>(atol(term)); }

bool DigitLed(const CString& term) { return isdigit(static_cast<unsigned char>(term[0])) != 0; }

struct StyleWord {
  const char* word;
  uint32_t bit;
};

constexpr StyleWord kDlgStyles[] = {
    {"DS_MODALFRAME", kDlgStyleModalFrame}, {"WS_CAPTION", kDlgStyleCaption},
    {"WS_SYSMENU", kDlgStyleSysMenu},       {"WS_EX_CLIENTEDGE", kDlgStyleClientEdge},
    {"WS_VISIBLE", kDlgStyleVisible},
};

// Style words of a control statement that only set a bit.
constexpr StyleWord kCtrlStyleBits[] = {
    {"WS_EX_DLGMODALFRAME", kCtrlStyleStaticEdge},
    {"WS_EX_CLIENTEDGE", kCtrlStyleClientEdge},
    {"WS_EX_STATICEDGE", kCtrlStyleStaticEdge},
    {"BS_OWNERDRAW", kCtrlStyleOwnerDraw},
    {"WS_DISABLED", kCtrlStyleDisabled},
    {"SS_NOTIFY", kCtrlStyleNotify},
    {"SS_SUNKEN", kCtrlStyleSunken},
    {"ES_READONLY", kCtrlStyleReadOnly},
    {"ES_MULTILINE", kCtrlStyleMultiLine},
    {"CBS_DROPDOWN", kCtrlStyleDropDown},
    {"CBS_DROPDOWNLIST", kCtrlStyleDropList},
    {"CBS_OWNERDRAWFIXED", kCtrlStyleOwnerDraw},
    {"WS_VSCROLL", kCtrlStyleVScroll},
    {"WS_HSCROLL", kCtrlStyleHScroll},
    {"ES_AUTOHSCROLL", kCtrlStyleHScroll},
};

// How a control keyword fills its record: type, alignment, where the text,
// the id and the position come from and where the style scan starts.
// kFromK marks a value taken relative to k, the last digit-led term.
constexpr int kNone = -1;
constexpr int kFromK = -2;

struct CtrlForm {
  const char* keyword;
  uint8_t type;
  uint8_t align;
  int textTerm;   // kNone: no text
  int idTerm;     // kNone: id 0
  int rectTerm;   // first of the four position terms, or kFromK (terms k-3..k)
  int styleFrom;  // first scanned term, or kFromK (k + 1), or kNone (no scan)
};

constexpr CtrlForm kCtrlForms[] = {
    {"LTEXT", kCtrlStaticText, kAlignLeft, 1, 2, 3, 7},
    {"CTEXT", kCtrlStaticText, kAlignCentre, 1, 2, 3, 7},
    {"RTEXT", kCtrlStaticText, kAlignRight, 1, 2, 3, 7},
    {"ICON", kCtrlIcon, kAlignLeft, kNone, 1, 3, 8},
    {"CONTROL", kCtrlOtherClass, kAlignLeft, 1, 2, kFromK, 3},
    {"COMBOBOX", kCtrlComboBox, kAlignLeft, kNone, 1, 2, 6},
    {"EDITTEXT", kCtrlEditField, kAlignLeft, kNone, 1, 2, 6},
    {"GROUPBOX", kCtrlGroupBox, kAlignLeft, 1, kFromK, kFromK, 4},
    {"LISTBOX", kCtrlListBox, kAlignLeft, kNone, 1, kFromK, kFromK},
    {"PUSHBUTTON", kCtrlPushButton, kAlignLeft, 1, 2, kFromK, 3},
    // These two compile to an empty record and scan no style words.
    {"DEFPUSHBUTTON", kCtrlStaticText, kAlignLeft, kNone, kNone, kNone, kNone},
    {"SCROLLBAR", kCtrlStaticText, kAlignLeft, kNone, kNone, kNone, kNone},
};

void SetRect(typCtrl& c, const CString* terms, int first) {
  c.m_pt = CPoint(Num(terms[first]), Num(terms[first + 1]));
  c.m_size = CSize(Num(terms[first + 2]), Num(terms[first + 3]));
}

void SetClass(typCtrl& c, const CString& cls) {
  if (cls.CompareNoCase("Button") == 0) {
    c.m_type = kCtrlPushButton;
    c.m_subtype = kSubNone;
  } else if (strncasecmp(cls, "msctls_updown", 13) == 0) {
    c.m_subtype = kSubUpDown;
  } else if (strncmp(cls, "msctls_progress", 15) == 0) {
    c.m_type = kCtrlProgressBar;
  } else if (strncmp(cls, "Static", 6) == 0) {
    c.m_subtype = kSubStatic;
  }
}

}  // namespace

void CRcCmplr::DialogStatement(CString* terms, int n) {
  if (m_pDlg == nullptr) {
    Report("!m_mapDlgs.Lookup(strObjName, dlg) error!");
    return;
  }
  if (m_nDlgState == 1)
    DialogHeader(*m_pDlg, terms, n);
  else if (terms[0] == "END")
    m_nDlgState = m_bMenu = 0;
  else
    DialogControl(*m_pDlg, terms, n);
}

void CRcCmplr::DialogHeader(typDlg& dlg, CString* terms, int n) {
  const CString& t0 = terms[0];
  if (t0 == "STYLE" || t0 == "EXSTYLE") {
    for (int i = 1; i < n; ++i)
      for (const StyleWord& s : kDlgStyles)
        if (terms[i] == s.word) dlg.m_style |= s.bit;
  } else if (t0 == "CAPTION") {
    dlg.m_caption = terms[1];
  } else if (t0 == "FONT") {
    dlg.m_fontSize = Num(terms[1]);
    dlg.m_fontFace = terms[2];
  } else if (t0 == "BEGIN") {
    m_nDlgState = 2;
  } else if (t0 == "END") {
    m_nDlgState = 0;
  }
}

void CRcCmplr::DialogControl(typDlg& dlg, CString* terms, int n) {
  const CtrlForm* form = nullptr;
  for (const CtrlForm& f : kCtrlForms)
    if (terms[0] == f.keyword) form = &f;
  if (form == nullptr) return;

  // k: the last term from n-1 down to 2 that begins with a digit. The four
  // position terms end there, so it must leave room for them after term 0
  // (after the text, for a group box, whose id stands before them).
  int k = -1;
  for (int i = n - 1; i >= 2; --i) {
    if (DigitLed(terms[i])) {
      k = i;
      break;
    }
  }
  const int minK = form->idTerm == kFromK ? 4 : 3;
  const bool usesK =
      form->rectTerm == kFromK || form->idTerm == kFromK || form->styleFrom == kFromK;
  if (usesK && k < minK) {
    CString msg;
    msg.Format("%s without its four position numbers: control ignored",
               static_cast<const char*>(terms[0]));
    Report(msg);
    return;
  }

  typCtrl c;
  c.m_type = form->type;
  c.m_align = form->align;
  if (form->textTerm != kNone && (form->type != kCtrlGroupBox || k >= 6))
    c.m_text = terms[form->textTerm];
  if (form->idTerm == kFromK)
    c.m_id = Num(terms[k - 4]);
  else if (form->idTerm != kNone)
    c.m_id = Num(terms[form->idTerm]);
  if (form->rectTerm == kFromK)
    SetRect(c, terms, k - 3);
  else if (form->rectTerm != kNone)
    SetRect(c, terms, form->rectTerm);
  if (form->type == kCtrlOtherClass) SetClass(c, terms[3]);

  const int from = form->styleFrom == kFromK ? k + 1 : form->styleFrom;
  for (int i = from; form->styleFrom != kNone && i < n; ++i) {
    const CString& t = terms[i];
    if (strncmp(t, "WS_VISIBLE", 10) == 0) {
      if (i > from && terms[i - 1] == "NOT") c.m_style |= kCtrlStyleHidden;
    } else if (t == "BS_AUTOCHECKBOX") {
      c.m_type = kCtrlCheckBox;
    } else if (t == "BS_AUTORADIOBUTTON") {
      c.m_type = kCtrlRadioButton;
    } else if (t == "WS_TABSTOP") {
      if (terms[i - 1].CompareNoCase("NOT") != 0) c.m_style |= kCtrlStyleTabStop;
    } else if (t == "SS_BITMAP") {
      c.m_type = kCtrlBitmap;
      c.m_extra = Num(terms[1]);  // the bitmap's id, written as the text
      c.m_id = Num(terms[2]);
      if (k >= 3) SetRect(c, terms, k - 3);
    } else if (t == "ES_RIGHT") {
      c.m_align = kAlignRight;
    } else if (t == "ES_LEFT") {
      c.m_align = kAlignLeft;
    } else if (t == "WS_GROUP") {
      c.m_group = 1;
    } else if (t == "SS_BLACKFRAME" || t == "SS_BLACKRECT") {
      if (c.m_type == kCtrlOtherClass) c.m_type = kCtrlBlackFrame;
    } else {
      for (const StyleWord& s : kCtrlStyleBits) {
        if (t == s.word) {
          c.m_style |= s.bit;
          break;
        }
      }
    }
  }
  dlg.m_ctrls.AddTail(c);
}
