// The statement compiler: logical lines of the script (RcReader.cpp) to the
// eight tables. Dialog statements are in RcDlgStatements.cpp, the blob files
// in RcBlobs.cpp.
#include "controls/RcCmplr.h"

#include <cstdlib>
#include <cstring>

#include "controls/DlgCtrls.h"
#include "framework/CWinApp.h"

namespace {

constexpr int kMapBlock = 16;  // records per pool block of every table

// The image file name of an image statement's last term: the text after its
// last backslash, the whole term when it has none.
CString ImageFileName(const CString& term) {
  const char* s = term;
  const char* slash = strrchr(s, '\\');
  return CString(slash ? slash + 1 : s);
}

}  // namespace

CRcCmplr::CRcCmplr()
    : m_mapIcons(kMapBlock),
      m_mapBmps(kMapBlock),
      m_mapCursors(kMapBlock),
      m_mapStrings(kMapBlock),
      m_mapDlgs(kMapBlock),
      m_mapMenus(kMapBlock),
      m_mapToolbars(kMapBlock),
      m_mapAccels(kMapBlock),
      m_pFileOps(&SystemFileOps()) {
  m_mapDlgs.m_nTextHash = 1;
  m_mapMenus.m_nTextHash = 1;
  m_mapToolbars.m_nTextHash = 1;
  m_mapAccels.m_nTextHash = 1;
  // Every program that builds dialogs makes its compiler first: the
  // dialog builder learns the controls of the seam here.
  InstallDlgCtrls();
}

CRcCmplr::~CRcCmplr() {
  CloseAllFiles();
  DeleteMenuRoots();
}

CRcCmplr* AppRcCmplr() {
  CWinApp* app = uniqueAFCAppPointer;
  return app ? dynamic_cast<CRcCmplr*>(app->GetResourceCompiler()) : nullptr;
}

// ---- Reports

void CRcCmplr::ReportAt(const SrcPos& pos, const char* text) {
  CString msg;
  if (pos.file.IsEmpty())
    msg = text;
  else
    msg.Format("%s:%u: %s", static_cast<const char*>(pos.file), pos.line, text);
  m_arrReports.Add(msg);
  if (m_bEchoReports) fprintf(stderr, "resource script: %s\n", static_cast<const char*>(msg));
}

void CRcCmplr::Report(const char* text) { ReportAt(m_posLine, text); }

// ---- Tables

void CRcCmplr::DeleteMenuRoots() {
  long pos = m_mapMenus.GetStartPosition();
  while (pos != 0) {
    CString key;
    typMnuCell* root = nullptr;
    m_mapMenus.GetNextMapRec(pos, key, root);
    delete root;
  }
  m_mapMenus.RemoveAll();
}

void CRcCmplr::StoreMenuRoot(const CString& key, typMnuCell* root) {
  typMnuCell* old = nullptr;
  CString k = key;
  if (m_mapMenus.Lookup(k, old)) delete old;  // a later menu of the same name replaces it
  m_mapMenus.SetAt(k, root);
}

void CRcCmplr::EmptyTables() {
  m_stackMenuScan.Reset();
  DeleteMenuRoots();
  m_mapToolbars.RemoveAll();
  m_mapBmps.RemoveAll();
  m_mapIcons.RemoveAll();
  m_mapCursors.RemoveAll();
  m_mapAccels.RemoveAll();
  m_mapStrings.RemoveAll();
  m_mapDlgs.RemoveAll();
  m_pDlg = nullptr;
  m_pToolbar = nullptr;
  m_pAccel = nullptr;
  m_mapDlgs.m_nTextHash = 1;
  m_mapMenus.m_nTextHash = 1;
  m_mapToolbars.m_nTextHash = 1;
  m_mapAccels.m_nTextHash = 1;
}

// ---- The compile

int CRcCmplr::LoadGuiResFromRC(const char* path) {
  m_arrReports.RemoveAll();
  m_posLine = SrcPos();
  if (!BeginRead(path)) {
    CString msg;
    msg.Format("%s: Cannot open source file!", path);
    Report(msg);
    return 0;
  }
  EmptyTables();
  CString line;
  while (SrcReadLineWithInclude(line)) CompileLine(line);
  EndRead();
  return 1;
}

void CRcCmplr::CompileLine(CString& line) {
  if (line.Find("*/") >= 0) {
    Report("Comment error 1!");
    return;
  }
  CString terms[kMaxTerms];
  const int n = GetTermsInLine_RC(line, terms);
  // Inside a dialog body only control statements and its END count; a
  // "#define" there is dropped too.
  if (m_nDlgState == 2 && !IsDlgStartTerm(terms[0]) && line != "END") return;
  if (terms[0] == "#define") {
    if (n < 2)
      Report("IDERR_BAD_DEFINE");
    else
      AddMacroDefine(terms[1], terms[2]);
    return;
  }
  if (terms[0] == "#undef") {
    if (n == 2)
      RemoveMacroDefine(terms[1]);
    else
      Report("IDERR_BAD_DEFINE");
    return;
  }
  for (int i = 0; i < n; ++i) {
    if (!terms[i].IsEmpty() && terms[i][0] != '"' && terms[i][0] != '\'')
      MacroSubstitution(terms[i]);
  }
  if (m_bMenu)
    MenuStatement(terms, n);
  else if (m_nDlgState != 0)
    DialogStatement(terms, n);
  else
    TopLevelStatement(terms, n);
}

void CRcCmplr::AccelCell(CString* terms, int n) {
  if (m_pAccel == nullptr) return;
  typAccltrCell* cell = new typAccltrCell;
  cell->m_bytes[0] = static_cast<uint8_t>(terms[0][0]);
  cell->m_id = static_cast<int32_t>(atol(terms[1]));
  for (int i = 2; i < n; ++i) {
    if (terms[i] == "CONTROL" || terms[i] == "SHIFT") cell->m_bytes[5] = 1;
    if (terms[i] == "ALT") cell->m_bytes[3] = cell->m_bytes[4] = 1;
  }
  m_pAccel->m_cells.Add(cell);
}

template <class V>
V& CRcCmplr::OpenBlock(AMap<CString, CString&, V, V&>& table, const CString& name) {
  // Records of a map never move, so the reference stays good until the
  // tables are emptied by the next compile.
  m_strObjName = name;
  V& rec = table[m_strObjName];
  rec.Reset();
  return rec;
}

void CRcCmplr::TopLevelStatement(CString* terms, int n) {
  const CString& t0 = terms[0];
  const CString& t1 = terms[1];
  if (m_bVersionInfo) {
    if (t0 == "BEGIN") ++m_nVersionInfoDepth;
    if (t0 == "END" && --m_nVersionInfoDepth <= 0) {
      m_bVersionInfo = 0;
      m_nVersionInfoDepth = 0;
    }
  } else if (n > 0 && t1 == "VERSIONINFO") {
    m_bVersionInfo = 1;
    m_nVersionInfoDepth = 0;
  } else if (m_bToolbar) {
    if (t0 == "BUTTON" && m_pToolbar != nullptr) {
      typMnuCell* button = new typMnuCell;
      button->m_id = static_cast<int32_t>(atol(t1));
      m_pToolbar->m_buttons.Add(button);
    } else if (t0 == "END") {
      m_bToolbar = 0;
    }
  } else if (n > 1 && t1 == "TOOLBAR") {
    m_bToolbar = 1;
    m_pToolbar = &OpenBlock(m_mapToolbars, t0);
  } else if (m_bAccelerator) {
    if (t0 == "END")
      m_bAccelerator = 0;
    else if (t0 != "BEGIN")
      AccelCell(terms, n);
  } else if (n > 1 && t1 == "ACCELERATORS") {
    m_bAccelerator = 1;
    m_pAccel = &OpenBlock(m_mapAccels, t0);
  } else if (m_bStringTable) {
    if (t0 == "END")
      m_bStringTable = 0;
    else if (t0 != "BEGIN")
      m_mapStrings.SetAt(t0, t1);
  } else if (n > 0 && t0 == "STRINGTABLE") {
    m_bStringTable = 1;
  } else if (n > 2 && t1 == "ICON") {
    m_mapIcons.SetAt(t0, ImageFileName(terms[n - 1]));
  } else if (n > 2 && t1 == "CURSOR") {
    m_mapCursors.SetAt(t0, ImageFileName(terms[n - 1]));
  } else if (n > 2 && strncmp(t1, "BITMAP", 6) == 0) {
    m_mapBmps.SetAt(t0, ImageFileName(terms[n - 1]));
  } else if (n > 2 && t1 == "MENU") {
    m_bMenu = 1;
    m_nMenuSkip = 0;
    m_stackMenuScan.Reset();
    typMnuCell* root = new typMnuCell;
    root->m_kind = kMnuPopup;
    root->m_id = static_cast<int32_t>(atol(t0));
    m_strObjName = t0;
    StoreMenuRoot(m_strObjName, root);
    m_stackMenuScan.Push(root);
  } else if (n > 5 && t1.Find("DIALOG") >= 0) {
    m_pDlg = &OpenBlock(m_mapDlgs, t0);
    m_pDlg->m_size =
        CSize(static_cast<int32_t>(atol(terms[n - 2])), static_cast<int32_t>(atol(terms[n - 1])));
    m_nDlgState = 1;
  }
  // Anything else (language statements, #pragma, design information, a
  // passed-on #else or #endif) is dropped.
}

void CRcCmplr::MenuStatement(CString* terms, int n) {
  if (m_stackMenuScan.GetSize() < 1) {
    Report("1 > m_stackMenuScan.GetSize()!");
    return;
  }
  typMnuCell* top = m_stackMenuScan.Top();
  const CString& t0 = terms[0];
  // Popups nested deeper than any menu can show are dropped with all they
  // hold, so that no cell tree outgrows the stack of its recursive walks.
  if (m_nMenuSkip > 0) {
    if (t0 == "POPUP") ++m_nMenuSkip;
    if (t0 == "END") --m_nMenuSkip;
    return;
  }
  if (t0 == "POPUP" && m_stackMenuScan.GetSize() >= kMaxMenuDepth) {
    Report("menu nested too deep: popup dropped");
    m_nMenuSkip = 1;
    return;
  }
  if (t0 == "POPUP") {
    typMnuCell* popup = new typMnuCell;
    popup->m_kind = kMnuPopup;
    popup->m_text = terms[1];
    top->m_children.Add(popup);
    m_stackMenuScan.Push(popup);
  } else if (t0 == "MENUITEM") {
    typMnuCell* item = new typMnuCell;
    CString upper = terms[1];
    if (strcasestr(upper, "SEPARATOR") != nullptr) {
      item->m_kind = kMnuSeparator;
      item->m_id = -1;
    } else {
      item->m_kind = kMnuItem;
      item->m_text = terms[1];
      item->m_id = static_cast<int32_t>(atol(terms[2]));
    }
    top->m_children.Add(item);
  } else if (t0 == "END") {
    typMnuCell* popped;
    (void)m_stackMenuScan.Pop(popped);
    if (m_stackMenuScan.GetSize() == 0) {
      m_bMenu = 0;
      m_nDlgState = 0;
    }
  }
}
