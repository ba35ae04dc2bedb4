// RcTestUtil.h: helpers of the resource-compiler tests: scripts written into
// a scratch directory, compiled or read line by line.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "controls/RcCmplr.h"
#include "tests/support/TestPaths.h"

namespace rctest {

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every logical line of the script at path, as read gives them.
inline std::vector<std::string> Lines(CRcCmplr& rc, const std::string& path,
                                      int (CRcCmplr::*read)(CString&)) {
  std::vector<std::string> lines;
  if (!rc.BeginRead(path.c_str())) return lines;
  CString line;
  while ((rc.*read)(line)) lines.push_back(static_cast<const char*>(line));
  rc.EndRead();
  return lines;
}

// The lines of one file (SrcReadLine), and of the script with its
// includes (SrcReadLineWithInclude).
inline std::vector<std::string> FileLines(CRcCmplr& rc, const std::string& path) {
  return Lines(rc, path, &CRcCmplr::SrcReadLine);
}
inline std::vector<std::string> ScriptLines(CRcCmplr& rc, const std::string& path) {
  return Lines(rc, path, &CRcCmplr::SrcReadLineWithInclude);
}

inline std::vector<std::string> Reports(const CRcCmplr& rc) {
  std::vector<std::string> out;
  for (int i = 0; i < rc.GetReports().GetSize(); ++i)
    out.push_back(static_cast<const char*>(rc.GetReports()[i]));
  return out;
}

// Whether some report contains text.
inline bool Reported(const CRcCmplr& rc, const std::string& text) {
  for (const std::string& r : Reports(rc))
    if (r.find(text) != std::string::npos) return true;
  return false;
}

// Compiles script text written to dir/name.
inline int Compile(CRcCmplr& rc, const kvrtest::ScratchDir& dir, const std::string& text,
                   const std::string& name = "t.rc") {
  WriteFile(dir.File(name), text);
  rc.EchoReports(false);
  return rc.LoadGuiResFromRC(dir.File(name).c_str());
}

// The controls of a compiled dialog, in script order.
inline std::vector<typCtrl> Controls(CRcCmplr& rc, const char* key) {
  std::vector<typCtrl> out;
  typDlg dlg;
  CString k(key);
  if (!rc.m_mapDlgs.Lookup(k, dlg)) return out;
  for (long pos = dlg.m_ctrls.GetHeadPosition(); pos != 0;) out.push_back(dlg.m_ctrls.GetNext(pos));
  return out;
}

inline std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (size_t i = 0; i < v.size(); ++i) s += (i ? "|" : "") + v[i];
  return s;
}

}  // namespace rctest
