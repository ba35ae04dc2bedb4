// RcCmplr.h: the resource compiler. At every start the application object
// has it compile the program's resource script ("Jux.rc" in kvr,
// "kvrsetup.rc" in kvrsetup, beside the program, with the "resource.h" it
// includes) into eight tables keyed by the resources' names after macro
// substitution, normally their decimal ids ("131"): dialogs, menus,
// toolbars, accelerator tables, strings, bitmaps, icons and cursors. Dialogs,
// popup menus and the image loader look resources up there for the rest of
// the run; SaveGuiRes writes the tables to res/*blob.brc.
//
// The script language is a Windows-style subset: comments, the "\t" escape,
// #define/#undef, #if/#ifdef/#ifndef/#else/#endif, #include, and the
// DIALOG, MENU, TOOLBAR, ACCELERATORS, STRINGTABLE, BITMAP, ICON, CURSOR
// and VERSIONINFO statements. A script is untrusted input: a broken line is
// reported ("file:line: text", kept in GetReports() and written to stderr)
// and skipped, and the compile goes on; nothing in a script can make the
// compiler overrun, loop or crash.
//
// Ownership: the tables own what they hold (menu roots included) until the
// next compile or the compiler's destruction; readers borrow.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/AArray.h"
#include "base/AList.h"
#include "base/AMap.h"
#include "base/AStack.h"
#include "base/AtomicFile.h"
#include "base/CString.h"
#include "base/CStringArray.h"
#include "base/FixedMaps.h"
#include "controls/DlgTemplate.h"
#include "controls/MnuTemplate.h"
#include "framework/ResourceCompiler.h"

// ---- Character and word tests of the script reader

// 1 for a letter or a digit (C library classes), '_' or '$'; else 0.
int IsCSymChar(int ch);
// Removes CR, LF, TAB and blanks from both ends of buf in place; returns 0
// (buf unchanged) when the leading run of them reaches max characters.
int StripWhitespacesAtEnds(char* buf, int max);
// The number of double quotes not preceded by a backslash when it is odd,
// else 0.
int HasOddQuotes(CString& text);
// 1 when word is a control keyword of a dialog body (LTEXT, CONTROL, ...).
int IsDlgStartTerm(const char* word);
// 1 when word is BEGIN, END, POPUP or MENUITEM.
int IsMnuStartTerm(const char* word);

// One #define.
struct typMacroDefinition {
  CString m_name;
  CString m_value;
};

// One source file being read.
struct typCurrFileInfo {
  CString m_name;                // the path as opened
  uint32_t m_nLines;             // physical lines read so far
  uint32_t m_nFileIndex;         // position of the name in the file-name list
  FILE* m_fp;                    // owned by the compiler while the record is on its stack
  AStack<int, int> m_stackCond;  // states of the open conditionals, innermost on top

  typCurrFileInfo() : m_nLines(0), m_nFileIndex(0), m_fp(nullptr) {}
  typCurrFileInfo(const typCurrFileInfo& other) : typCurrFileInfo() { *this = other; }
  typCurrFileInfo& operator=(const typCurrFileInfo& other);
  void Reset();  // no handle, empty name and conditionals
};

// The application object owns one (CWinApp::SetResourceCompiler) and reaches
// it through IResourceCompiler; dialogs and menus reach its tables through
// AppRcCmplr().
class CRcCmplr : public IResourceCompiler {
 public:
  static constexpr int kMaxTerms = 64;         // terms of one logical line
  static constexpr int kMaxIfWord = 127;       // bytes of an #if condition word
  static constexpr int kMaxIncludeDepth = 16;  // files open at once
  static constexpr int kMaxMacroText = 8192;   // bytes a substitution may grow a term to
  static constexpr int kMaxMenuDepth = typMnuCell::kMaxDepth;  // open menu cells

  // Also fills the dialog builder's control seam (InstallDlgCtrls).
  CRcCmplr();
  ~CRcCmplr() override;
  CRcCmplr(const CRcCmplr&) = delete;
  CRcCmplr& operator=(const CRcCmplr&) = delete;

  // Compiles the script at path. The directory of path (up to its last '/')
  // is the program directory: includes are looked for there and SaveGuiRes
  // writes under its res/. Returns 1 when the script was opened and compiled
  // (whatever it reported), 0 when it cannot be opened (the tables then stay
  // as they were).
  int LoadGuiResFromRC(const char* path) override;

  // Writes the eight tables to <program directory>res/{mnu,tbar,bmp,icon,
  // curs,accel,str,dlg}blob.brc, each through a temporary file renamed over
  // the old one. Stops at the first file that cannot be written (a missing
  // res/ writes nothing), with a report. Returns 1.
  int SaveGuiRes() override;

  // The bitmap and icon tables, for the image loader.
  const AMapStringToString* GetBitmapTable() const override { return &m_mapBmps; }
  const AMapStringToString* GetIconTable() const override { return &m_mapIcons; }

  // Reads the eight files back in the same order, each table emptied first.
  // Returns 0 at the first file that is missing or damaged (a damaged one
  // leaves its table empty and is reported; later tables stay unchanged),
  // else 1. Nothing in the programs calls it.
  int LoadGuiResFromBinary();

  // ---- Reading layer, driven by LoadGuiResFromRC (public for tests)

  // The next logical line of the current file: 1, or 0 at its end.
  int SrcReadLine(CString& line);
  // The next logical line of the script with its includes, continuation
  // lines of an open block joined: 1, or 0 at the end of the script.
  int SrcReadLineWithInclude(CString& line);
  // The single quoted word of text without its quotes (1), or its first
  // word as written (0).
  int GetMacroIncludeFileName(CString& text, CString& name);
  // Splits line into at most kMaxTerms terms; the number of terms, 0 for an
  // empty or rejected line. terms must hold kMaxTerms strings.
  int GetTermsInLine_RC(CString& line, CString* terms);

  void AddMacroDefine(CString name, CString value);
  void RemoveMacroDefine(CString name);
  int GetMacroDef(const char* name, CString& value, int noCase);
  // Replaces whole-word occurrences of every macro name, in table order.
  void MacroSubstitution(CString& text);

  // Starts reading a script without compiling it: what LoadGuiResFromRC
  // does before its first line (for tests of the reading layer). Returns 0
  // when the file cannot be opened. EndRead closes what is still open.
  int BeginRead(const char* path);
  void EndRead();

  // The program directory: LoadGuiResFromRC sets it from the script's path;
  // set it directly to read or write blob files without compiling.
  const CString& GetProgramDir() const { return m_strProgDir; }
  void SetProgramDir(const char* dir) { m_strProgDir = dir; }
  // What the last compile (or blob read) reported, oldest first.
  const CStringArray& GetReports() const { return m_arrReports; }
  // The file operations SaveGuiRes replaces the blob files with (the
  // system's unless a test gives others). Borrowed: ops must outlive the
  // compiler or the next call.
  void SetFileOps(IFileOps& ops) { m_pFileOps = &ops; }
  // Whether reports also go to stderr (on by default).
  void EchoReports(bool on) { m_bEchoReports = on; }

  // ---- Compiled tables, keyed by name text ("%d" of a numeric id)
  AMapStringToString m_mapIcons;    // name -> image file name
  AMapStringToString m_mapBmps;     // name -> image file name
  AMapStringToString m_mapCursors;  // name -> image file name
  AMapStringToString m_mapStrings;  // id -> text
  AMap<CString, CString&, typDlg, typDlg&> m_mapDlgs;
  AMap<CString, CString&, typMnuCell*, typMnuCell*&> m_mapMenus;  // roots, owned
  AMap<CString, CString&, typToolbar, typToolbar&> m_mapToolbars;
  AMap<CString, CString&, typAccelerator, typAccelerator&> m_mapAccels;

  // ---- Block state of the compile; the reader's joining reads it
  int m_nDlgState = 0;  // 0 no dialog, 1 its header, 2 its body
  int m_bMenu = 0;
  int m_bVersionInfo = 0;
  int m_nVersionInfoDepth = 0;
  int m_bToolbar = 0;
  int m_bAccelerator = 0;
  int m_bStringTable = 0;

 private:
  struct SrcPos {
    CString file;
    uint32_t line = 0;
  };
  enum class CondDir { kNone, kIf, kIfdef, kIfndef, kElse, kEndif };

  // Reading (RcReader.cpp)
  typCurrFileInfo& CurFile() { return m_stackFiles.Top(); }
  int ReadPhysicalLine(std::string& text);
  int TakeTextInHand(std::string& text);
  int StripComments(std::string& text, bool& empty);
  bool ApplyConditionals(const std::string& text, int& nSkipNest);
  bool EvalCondition(CondDir dir, const std::string& text, bool& hasWord);
  bool JoinsNextLine(const CString& next) const;
  void OpenInclude(const CString& name, const SrcPos& at);
  void CloseAllFiles();

  // Statements (RcCmplr.cpp, RcDlgStatements.cpp)
  void CompileLine(CString& line);
  void TopLevelStatement(CString* terms, int n);
  void MenuStatement(CString* terms, int n);
  void DialogStatement(CString* terms, int n);
  void DialogHeader(typDlg& dlg, CString* terms, int n);
  void DialogControl(typDlg& dlg, CString* terms, int n);
  void AccelCell(CString* terms, int n);
  // Stores a fresh record under name (the object name) and returns it.
  template <class V>
  V& OpenBlock(AMap<CString, CString&, V, V&>& table, const CString& name);
  void EmptyTables();
  void DeleteMenuRoots();
  void StoreMenuRoot(const CString& key, typMnuCell* root);

  // Reports (RcCmplr.cpp)
  void Report(const char* text);
  void ReportAt(const SrcPos& pos, const char* text);
  SrcPos ReadPos();

  CString m_strProgDir;  // ends with '/' unless empty
  CStringArray m_arrFileNames;
  AArray<typMacroDefinition, typMacroDefinition&> m_arrMacros;
  AStack<typCurrFileInfo, typCurrFileInfo&> m_stackFiles;
  FILE* m_fpCurr = nullptr;  // the top record's handle
  int m_nResHeaderCount = 0;
  CString m_strPending;    // text after a comment that spanned lines
  CString m_strLookAhead;  // a logical line read ahead
  SrcPos m_posLookAhead;
  SrcPos m_posLast;  // where the last logical line of SrcReadLine ended
  SrcPos m_posLine;  // where the line being compiled came from
  CString m_strScratch;

  // Open blocks of the compile
  CString m_strObjName;
  typDlg* m_pDlg = nullptr;                           // borrowed from m_mapDlgs
  typToolbar* m_pToolbar = nullptr;                   // borrowed from m_mapToolbars
  typAccelerator* m_pAccel = nullptr;                 // borrowed from m_mapAccels
  AStack<typMnuCell*, typMnuCell*&> m_stackMenuScan;  // borrowed cells of the open menu
  int m_nMenuSkip = 0;  // open popups of a dropped, too deep part of a menu

  CStringArray m_arrReports;
  bool m_bEchoReports = true;
  IFileOps* m_pFileOps;  // borrowed
};

// The application object's resource compiler, whose tables dialogs, menus
// and images are looked up in; null before the application has set one (or
// when it set a compiler of another kind). Borrowed: the application owns it.
CRcCmplr* AppRcCmplr();
