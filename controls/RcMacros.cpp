// The macro table of the resource compiler: #define, #undef and whole-word
// substitution.
#include "controls/RcCmplr.h"

#include <string>

void CRcCmplr::AddMacroDefine(CString name, CString value) {
  if (name == value) return;
  if (name.IsEmpty()) {
    // An empty name would match everywhere and never let substitution end.
    Report("#define with an empty name ignored");
    return;
  }
  // One level only: the stored value is not looked at again.
  for (int i = 0; i < m_arrMacros.GetSize(); ++i) {
    if (m_arrMacros[i].m_name == value) {
      value = m_arrMacros[i].m_value;
      break;
    }
  }
  for (int i = 0; i < m_arrMacros.GetSize(); ++i) {
    if (m_arrMacros[i].m_name == name) {
      CString msg;
      msg.Format("Macro redefinition(%s)!", static_cast<const char*>(name));
      Report(msg);
      m_arrMacros[i].m_value = value;
      return;
    }
  }
  typMacroDefinition def;
  def.m_name = name;
  def.m_value = value;
  m_arrMacros.Add(def);
}

void CRcCmplr::RemoveMacroDefine(CString name) {
  for (int i = 0; i < m_arrMacros.GetSize(); ++i) {
    if (m_arrMacros[i].m_name == name) {
      m_arrMacros.RemoveAt(i, 1);
      return;
    }
  }
}

int CRcCmplr::GetMacroDef(const char* name, CString& value, int noCase) {
  for (int i = 0; i < m_arrMacros.GetSize(); ++i) {
    const CString& n = m_arrMacros[i].m_name;
    if (noCase ? n.CompareNoCase(name) == 0 : n == name) {
      value = m_arrMacros[i].m_value;
      m_strScratch = value;
      return 1;
    }
  }
  return 0;
}

void CRcCmplr::MacroSubstitution(CString& text) {
  std::string cur = static_cast<const char*>(text);
  for (int m = 0; m < m_arrMacros.GetSize(); ++m) {
    const std::string name = static_cast<const char*>(m_arrMacros[m].m_name);
    const std::string value = static_cast<const char*>(m_arrMacros[m].m_value);
    if (name.empty() || cur.find(name) == std::string::npos) continue;
    std::string out;
    size_t from = 0, hit;
    while ((hit = cur.find(name, from)) != std::string::npos) {
      out.append(cur, from, hit - from);
      const size_t after = hit + name.size();
      const bool wholeWord =
          (out.empty() || !IsCSymChar(static_cast<unsigned char>(out.back()))) &&
          (after >= cur.size() || !IsCSymChar(static_cast<unsigned char>(cur[after])));
      out += wholeWord ? value : name;
      from = after;
    }
    out.append(cur, from, std::string::npos);
    // Definitions whose values name later macros can double a term at every
    // step; stop before the text grows without bound.
    if (out.size() > static_cast<size_t>(kMaxMacroText)) {
      CString msg;
      msg.Format("macro expansion of %.40s grows past %d bytes: stopped",
                 static_cast<const char*>(text), kMaxMacroText);
      Report(msg);
      break;
    }
    cur.swap(out);
  }
  text = cur.c_str();
}
