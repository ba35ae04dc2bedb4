// Reading layer of the resource compiler: physical lines to logical lines
// (comments, the TAB escape, conditionals, includes, joined continuation
// lines). The statements are compiled in RcCmplr.cpp.
#include "controls/RcCmplr.h"

#include <sys/stat.h>

#include <cctype>
#include <cstring>

#include "controls/internal/RcString.h"

using rctext::IsBlank;
using rctext::StartsWith;
using rctext::Trim;

namespace {

constexpr int kLineBuf = 2048;  // a longer physical line arrives in pieces

// States of a conditional on a file's conditional stack.
enum : int {
  kCondNone = 0,
  kCondIfFalse = 2,     // if-part of a false condition: lines dropped
  kCondIfTrue = 3,      // if-part of a true condition: lines returned
  kCondElseShown = 4,   // else-part after a false condition
  kCondElseHidden = 5,  // else-part after a true condition
};

bool SameFile(FILE* a, FILE* b) {
  struct stat sa, sb;
  return fstat(fileno(a), &sa) == 0 && fstat(fileno(b), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

// ---- Physical lines

int CRcCmplr::ReadPhysicalLine(std::string& text) {
  if (m_fpCurr == nullptr || m_stackFiles.GetSize() == 0) return 0;
  char buf[kLineBuf];
  for (;;) {
    // A read error ends the file just as its end does: fgets keeps failing,
    // so nothing retries.
    if (fgets(buf, sizeof buf, m_fpCurr) == nullptr) return 0;
    CurFile().m_nLines++;
    text = buf;  // a NUL byte ends the line
    Trim(text);
    if (!text.empty()) return 1;
  }
}

int CRcCmplr::TakeTextInHand(std::string& text) {
  if (!m_strPending.IsEmpty()) {
    text = static_cast<const char*>(m_strPending);
    m_strPending.Empty();
    return 1;
  }
  return ReadPhysicalLine(text);
}

CRcCmplr::SrcPos CRcCmplr::ReadPos() {
  SrcPos pos;
  if (m_stackFiles.GetSize() > 0) {
    pos.file = CurFile().m_name;
    pos.line = CurFile().m_nLines;
  }
  return pos;
}

// ---- Comments

// Removes block comments. A comment left open at the end of the text takes
// the following physical lines up to its end; what follows the end becomes
// the pending remainder. Returns 0 when the file ends inside a comment.
int CRcCmplr::StripComments(std::string& text, bool& empty) {
  empty = false;
  size_t open;
  while ((open = text.find("/*")) != std::string::npos) {
    std::string before = text.substr(0, open);
    const size_t close = text.find("*/", open + 2);
    if (close != std::string::npos) {
      text = before + text.substr(close + 2);
      Trim(text);
      if (text.empty()) {
        empty = true;
        return 1;
      }
      continue;
    }
    std::string next;
    size_t end;
    do {
      if (!ReadPhysicalLine(next)) {
        ReportAt(ReadPos(), "Unexpected End-Of-File!");
        m_strPending.Empty();
        return 0;
      }
    } while ((end = next.find("*/")) == std::string::npos);
    std::string rest = next.substr(end + 2);
    Trim(rest);
    m_strPending = rest.c_str();
    Trim(before);
    text = before;
    empty = text.empty();
    return 1;
  }
  return 1;
}

// ---- Conditionals

bool CRcCmplr::EvalCondition(CondDir dir, const std::string& text, bool& hasWord) {
  const size_t nDir = dir == CondDir::kIf ? 3 : dir == CondDir::kIfdef ? 6 : 7;
  size_t b = nDir + 1;  // after the directive and its separator
  while (b < text.size() && IsBlank(text[b])) ++b;
  std::string word = rctext::FirstWord(text.substr(b < text.size() ? b : text.size()));
  hasWord = !word.empty();
  const bool digitLed = hasWord && isdigit(static_cast<unsigned char>(word[0]));
  CString value;
  if (dir != CondDir::kIf) {
    const bool defined = hasWord && !digitLed && GetMacroDef(word.c_str(), value, 0);
    return dir == CondDir::kIfdef ? defined : !defined;
  }
  if (text.find("!defined(AFX_RESOURCE_DLL)") != std::string::npos) {
    hasWord = true;
    return true;
  }
  if (!hasWord) return false;
  if (!digitLed && GetMacroDef(word.c_str(), value, 0)) word = static_cast<const char*>(value);
  if (word.size() > static_cast<size_t>(kMaxIfWord)) word.resize(kMaxIfWord);
  return rctext::LeadingNumberIsNonZero(word);
}

// Applies the conditional directives to one line of text. Returns true when
// the text is to be returned as a logical line. nSkipNest counts the open
// conditionals of a nested block that is being skipped whole.
bool CRcCmplr::ApplyConditionals(const std::string& text, int& nSkipNest) {
  CondDir dir = CondDir::kNone;
  if (StartsWith(text, "#if") && text.size() > 3 && (text[3] == ' ' || text[3] == '\t'))
    dir = CondDir::kIf;
  else if (StartsWith(text, "#ifdef") && text.size() > 6 && (text[6] == ' ' || text[6] == '\t'))
    dir = CondDir::kIfdef;
  else if (StartsWith(text, "#ifndef") && text.size() > 7 && (text[7] == ' ' || text[7] == '\t'))
    dir = CondDir::kIfndef;
  else if (StartsWith(text, "#else"))
    dir = CondDir::kElse;
  else if (StartsWith(text, "#endif"))
    dir = CondDir::kEndif;
  const bool opens = dir == CondDir::kIf || dir == CondDir::kIfdef || dir == CondDir::kIfndef;

  if (nSkipNest > 0) {
    if (opens) ++nSkipNest;
    if (dir == CondDir::kEndif) --nSkipNest;
    return false;
  }
  AStack<int, int>& cond = CurFile().m_stackCond;
  const int state = cond.GetSize() > 0 ? cond.Top() : kCondNone;
  const bool dropping = state == kCondIfFalse || state == kCondElseHidden;

  if (opens) {
    if (dropping) {
      nSkipNest = 1;
      return false;
    }
    bool hasWord = false;
    const bool isTrue = EvalCondition(dir, text, hasWord);
    if (dir == CondDir::kIf && !hasWord) return false;  // dropped, nothing pushed
    cond.Push(isTrue ? kCondIfTrue : kCondIfFalse);
    return false;
  }
  if (dir == CondDir::kElse) {
    if (state == kCondNone || state == kCondElseShown) return true;  // passed on
    if (state == kCondIfTrue) cond.Top() = kCondElseHidden;
    if (state == kCondIfFalse) cond.Top() = kCondElseShown;
    return false;
  }
  if (dir == CondDir::kEndif) {
    if (state == kCondNone) return true;  // passed on
    int popped;
    (void)cond.Pop(popped);
    return false;
  }
  return !dropping;
}

// ---- Logical lines of one file

int CRcCmplr::SrcReadLine(CString& line) {
  int nSkipNest = 0;
  std::string text;
  for (;;) {
    if (!TakeTextInHand(text)) return 0;
    rctext::ReplaceAll(text, "\\t", "\t");
    const size_t slashes = text.find("//");
    if (slashes != std::string::npos) {
      CString before(text.substr(0, slashes).c_str());
      if (!HasOddQuotes(before)) {  // else the "//" lies inside a string
        text.erase(slashes);
        Trim(text);
        if (text.empty()) continue;
      }
    }
    bool empty = false;
    if (!StripComments(text, empty)) return 0;
    if (empty) continue;
    if (!ApplyConditionals(text, nSkipNest)) continue;
    line = text.c_str();
    m_posLast = ReadPos();
    return 1;
  }
}

// ---- Logical lines of the script

bool CRcCmplr::JoinsNextLine(const CString& next) const {
  const std::string first = rctext::FirstWord(static_cast<const char*>(next));
  if (first == "END") return false;
  bool joins = false;
  if (m_nDlgState == 2 && !IsDlgStartTerm(first.c_str())) joins = true;
  if (m_bMenu && !IsMnuStartTerm(first.c_str())) joins = true;
  if (m_bAccelerator && !first.empty() && first[0] != '"' && !StartsWith(first, "VK_"))
    joins = true;
  if (m_bStringTable && !first.empty() && first[0] == '"') joins = true;
  return joins;
}

int CRcCmplr::GetMacroIncludeFileName(CString& text, CString& name) {
  std::string t = static_cast<const char*>(text);
  Trim(t);
  text = t.c_str();
  const std::string first = rctext::FirstWord(t);
  name = first.c_str();
  if (first.size() == t.size() && first.size() >= 2 && first.front() == '"' &&
      first.back() == '"') {
    name = first.substr(1, first.size() - 2).c_str();
    return 1;
  }
  return 0;
}

void CRcCmplr::OpenInclude(const CString& name, const SrcPos& at) {
  CString msg;
  if (name.IsEmpty()) {
    ReportAt(at, "#include without a file name");
    return;
  }
  const CString path = name.GetLength() > 1 && name[1] == ':' ? name : m_strProgDir + name;
  if (m_stackFiles.GetSize() >= kMaxIncludeDepth) {
    msg.Format("includes nested deeper than %d files: %s not read", kMaxIncludeDepth,
               static_cast<const char*>(path));
    ReportAt(at, msg);
    return;
  }
  FILE* fp = fopen(path, "r");
  if (fp == nullptr) {
    msg.Format("cannot open include file %s", static_cast<const char*>(path));
    ReportAt(at, msg);
    return;
  }
  for (long pos = m_stackFiles.GetHeadPosition(); pos != 0;) {
    const typCurrFileInfo& open = m_stackFiles.GetNext(pos);
    if (open.m_fp != nullptr && SameFile(open.m_fp, fp)) {
      msg.Format("%s includes itself: not read again", static_cast<const char*>(path));
      ReportAt(at, msg);
      fclose(fp);
      return;
    }
  }
  typCurrFileInfo rec;
  rec.m_name = path;
  rec.m_nLines = 0;
  rec.m_nFileIndex = static_cast<uint32_t>(m_arrFileNames.GetSize());
  rec.m_fp = fp;
  m_stackFiles.Push(rec);
  m_arrFileNames.Add(path);
  m_fpCurr = fp;
}

int CRcCmplr::SrcReadLineWithInclude(CString& line) {
  for (;;) {
    if (m_stackFiles.GetSize() == 0) return 0;
    CString hand;
    SrcPos handPos;
    if (!m_strLookAhead.IsEmpty()) {
      hand = m_strLookAhead;
      handPos = m_posLookAhead;
      m_strLookAhead.Empty();
    } else if (SrcReadLine(hand)) {
      handPos = m_posLast;
    } else {
      if (m_stackFiles.GetSize() <= 1) return 0;
      typCurrFileInfo done;
      (void)m_stackFiles.Pop(done);
      if (done.m_fp != nullptr) fclose(done.m_fp);
      m_fpCurr = CurFile().m_fp;
      continue;  // on in the including file, after its #include line
    }

    if (m_nDlgState == 2 || m_bMenu || m_bAccelerator || m_bStringTable) {
      for (int i = 0; i < 3 && hand != "END"; ++i) {
        CString next;
        if (!SrcReadLine(next)) break;  // the end is met again by the next call
        if (!JoinsNextLine(next)) {
          m_strLookAhead = next;
          m_posLookAhead = m_posLast;
          break;
        }
        hand += " ";
        hand += next;
      }
    }

    const std::string h = static_cast<const char*>(hand);
    if (StartsWith(h, "#include")) {
      CString rest(h.size() > 9 ? h.substr(9).c_str() : "");
      CString name;
      (void)GetMacroIncludeFileName(rest, name);
      if (name.CompareNoCase("resource.h") == 0 && ++m_nResHeaderCount > 1) {
        ReportAt(handPos, "Extra reading of resource.h ignored.");
        continue;
      }
      OpenInclude(name, handPos);
      continue;
    }

    m_posLine = handPos;
    const std::string first = rctext::FirstWord(h);
    if (first.size() < h.size() && !first.empty() && first.back() == ':') {
      line = first.c_str();
      m_strLookAhead = h.substr(first.size()).c_str();
      m_posLookAhead = handPos;
      return 1;
    }
    line = hand;
    return 1;
  }
}

// ---- Start and end of a read

int CRcCmplr::BeginRead(const char* path) {
  const char* slash = strrchr(path, '/');
  m_strProgDir = slash ? CString(path).Left(static_cast<int>(slash - path) + 1) : CString();
  FILE* fp = fopen(path, "r");
  if (fp == nullptr) return 0;
  CloseAllFiles();
  m_nResHeaderCount = 0;
  m_arrFileNames.RemoveAll();
  m_arrMacros.RemoveAll();
  static const char* const kPredefined[][2] = {
      {"ID_APP_ABOUT", "57664"}, {"IDC_STATIC", "-1"}, {"IDOK", "1"},
      {"IDCANCEL", "2"},         {"IDYES", "6"},       {"IDNO", "7"},
      {"IDABORT", "3"},          {"IDRETRY", "4"},     {"IDIGNORE", "5"},
      {"IDCLOSE", "8"},          {"IDHELP", "9"}};
  for (const auto& m : kPredefined) {
    typMacroDefinition def;
    def.m_name = m[0];
    def.m_value = m[1];
    m_arrMacros.Add(def);
  }
  typCurrFileInfo rec;
  rec.m_name = path;
  rec.m_nLines = 0;
  rec.m_nFileIndex = 0;
  rec.m_fp = fp;
  m_stackFiles.Push(rec);
  m_arrFileNames.Add(CString(path));
  m_fpCurr = fp;
  m_strPending.Empty();
  m_strLookAhead.Empty();
  m_nDlgState = 0;
  m_bMenu = m_bVersionInfo = m_bToolbar = m_bAccelerator = m_bStringTable = 0;
  m_nVersionInfoDepth = 0;
  return 1;
}

void CRcCmplr::CloseAllFiles() {
  typCurrFileInfo rec;
  while (m_stackFiles.Pop(rec))
    if (rec.m_fp != nullptr) fclose(rec.m_fp);
  m_fpCurr = nullptr;
}

void CRcCmplr::EndRead() {
  CloseAllFiles();
  m_arrFileNames.RemoveAll();
  m_arrMacros.RemoveAll();
  m_strPending.Empty();
  m_strLookAhead.Empty();
}
