#include "installer/XimScriptEdit.h"

#include <strings.h>

#include <array>
#include <cstring>
#include <vector>

namespace installer {
namespace {

constexpr const char kXimPrgEqualLine[] = "XIM_PROGRAM=/usr/bin/kvr";
constexpr const char kIfLine[] = "           if [ -e /usr/bin/kvr ]; then\n";
constexpr const char kCaseLine[] = "      Kivra)\n";
constexpr const char kGtkLine[] = "\t    export GTK_IM_MODULE=xim\n";

enum Section { kNoSection = 0, kSimplified = 1, kTraditional = 2 };

// The servers a section may name, in the order they are tried.
const std::vector<const char*>& ProgramsOf(Section s) {
  static const std::vector<const char*> simplified = {"Chinput", "fcitx"};
  static const std::vector<const char*> traditional = {"xcin"};
  static const std::vector<const char*> none;
  return s == kSimplified ? simplified : s == kTraditional ? traditional : none;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool ContainsNoCase(const std::string& text, const char* part) {
  const size_t n = std::strlen(part);
  for (size_t i = 0; i + n <= text.size(); ++i)
    if (strncasecmp(text.c_str() + i, part, n) == 0) return true;
  return false;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::vector<std::string> SplitLines(const std::string& script) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    end = end == std::string::npos ? script.size() : end + 1;
    lines.push_back(script.substr(start, end - start));
    start = end;
  }
  return lines;
}

// The state of one pass over the script.
class XimScriptEditor {
 public:
  explicit XimScriptEditor(const std::string& script) : m_in(SplitLines(script)) {}

  bool Run(std::string* out) {
    for (m_i = 0; m_i < m_in.size(); ++m_i) TakeLine(m_in[m_i]);
    if (!m_entryHandled || !(m_done[kSimplified] || m_done[kTraditional])) return false;
    out->clear();
    for (const std::string& line : m_out) *out += line;
    return true;
  }

 private:
  void Emit(const std::string& line) {
    m_out.push_back(line);
    m_stripped.push_back(StrippedLine(line));
  }

  void TakeLine(std::string line) {
    const std::string s = StrippedLine(line);
    if (!s.empty() && s[0] == '#') return Emit(line);
    if (s.size() > 5 && s.back() == ')') {
      if (s.compare(0, 5, "zh_CN") == 0)
        m_section = kSimplified;
      else if (s.compare(0, 5, "zh_TW") == 0)
        m_section = kTraditional;
    }
    bool kivraChosen = false;
    if (m_section != kNoSection && !m_done[m_section] && Contains(s, "XIM=")) {
      if (Contains(s, "XIM=\"Kivra\"")) {
        m_done[m_section] = true;
        kivraChosen = true;
      } else if (ChooseKivra(line, s)) {
        return;
      }
    }
    if (!kivraChosen) {
      if (ContainsNoCase(s, "XIM=\"none\"")) return NoServer(line);
      if (!m_entryHandled && Contains(s, "XIM_PROGRAM=") && ProgramEntry(line, s)) return;
    }
    OtherLine(line, s);
  }

  // Rule 3 for a line naming one of the section's servers.
  bool ChooseKivra(std::string& line, const std::string& s) {
    for (const char* name : ProgramsOf(m_section)) {
      if (!Contains(s, name)) continue;
      m_done[m_section] = true;
      const size_t back = m_section == kSimplified ? 1 : 2;
      if (m_out.size() >= back) {
        const size_t at = m_out.size() - back;
        // The two lists part once an old entry is dropped: test the
        // output line itself.
        if (StrippedLine(m_out[at]).compare(0, 2, "if") == 0) m_out[at] = kIfLine;
      }
      ReplaceAll(line, name, "Kivra");
      Emit(line);
      return true;
    }
    return false;
  }

  // Rule 4. A second run finds the export it added right below.
  void NoServer(std::string line) {
    ReplaceAll(line, "none", "Kivra");
    Emit(line);
    const bool exportFollows =
        m_i + 1 < m_in.size() && StrippedLine(m_in[m_i + 1]) == StrippedLine(kGtkLine);
    if (!exportFollows) Emit(kGtkLine);
  }

  // Rule 5; false when the line is not the entry's place after all.
  bool ProgramEntry(const std::string& line, const std::string& s) {
    if (Contains(s, kXimPrgEqualLine)) {
      Emit(line);
      m_entryHandled = true;
      return true;
    }
    const std::string prev = m_stripped.empty() ? std::string() : m_stripped.back();
    if (prev.empty() || prev.back() != ')' || prev.find('(') != std::string::npos) return false;
    Emit(line);
    Emit(kCaseLine);
    Emit(std::string("        ") + kXimPrgEqualLine + " ;;\n");
    m_entryHandled = true;
    return true;
  }

  // Rule 6. Only an entry this installer wrote is dropped: its label is
  // the output line right above; any other line naming kvr stays.
  void OtherLine(const std::string& line, const std::string& s) {
    if (m_entryHandled && Contains(s, kXimPrgEqualLine) && !m_out.empty() &&
        StrippedLine(m_out.back()) == StrippedLine(kCaseLine)) {
      m_out.pop_back();
      m_stripped.push_back(s);
      return;
    }
    Emit(line);
  }

  const std::vector<std::string> m_in;
  size_t m_i = 0;
  std::vector<std::string> m_out;       // the lines written back
  std::vector<std::string> m_stripped;  // stripped forms, consulted by rule 5
  Section m_section = kNoSection;
  std::array<bool, 3> m_done{};
  bool m_entryHandled = false;
};

}  // namespace

std::string StrippedLine(const std::string& line) {
  std::string s;
  for (char c : line)
    if (c != ' ') s += c;
  const char* trim = "\r\n\t ";
  const size_t first = s.find_first_not_of(trim);
  if (first == std::string::npos) return std::string();
  const size_t last = s.find_last_not_of(trim);
  return s.substr(first, last - first + 1);
}

bool EditXimScript(const std::string& script, std::string* out) {
  XimScriptEditor editor(script);
  return editor.Run(out);
}

}  // namespace installer
