// The Chinese texts of the sources are written as byte escapes (the
// programs' text is GBK, the sources are UTF-8), so a reader sees the text
// only in the comment beside it. This test holds every such comment to its
// bytes: a comment with Chinese in it speaks for the string literals with
// escaped high bytes
//   - on its own line, when it ends a line of code, or
//   - of the definition or assignment right below it, or of the literal
//     right below it (a field of a table row), when it stands on lines of
//     its own;
// adjacent literals count as one string, and a character written as its
// two bytes, (0xA3, 0xA1), counts as a string too. Each of those, read as
// GBK (or as UTF-8 or Big5, for the few texts in those encodings), must
// have its non-ASCII characters, in order, in the comment's. A string the
// comment does not spell, or bytes that are no text, fail with the place.
#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace {

namespace fs = std::filesystem;

// The bytes of a string literal, adjacent literals joined; high when an
// escape gives a byte of 0x80 or above.
struct Text {
  std::string bytes;
  bool high = false;
};

// A line cut into its code (each literal left as "") and its // comment,
// with the strings of its literals.
struct Line {
  std::string code, comment;
  bool hasComment = false;
  std::vector<Text> texts;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the body of a literal starting at s[i] (after the opening quote);
// leaves i on the closing quote. Sets high when an escape gives a byte of
// 0x80 or above.
std::string Unescape(const std::string& s, size_t& i, bool& high) {
  std::string out;
  while (i < s.size() && s[i] != '"') {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i++];
      continue;
    }
    const char e = s[i + 1];
    i += 2;
    if (e == 'x') {
      int v = 0;
      while (i < s.size() && HexValue(s[i]) >= 0) v = v * 16 + HexValue(s[i++]);
      out += static_cast<char>(v & 0xFF);
      high = high || (v & 0xFF) >= 0x80;
    } else if (e >= '0' && e <= '7') {
      int v = e - '0';
      for (int n = 0; n < 2 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++n)
        v = v * 8 + (s[i++] - '0');
      out += static_cast<char>(v & 0xFF);
      high = high || (v & 0xFF) >= 0x80;
    } else {
      const char* from = "ntr";
      const char* to = "\n\t\r";
      const char* at = std::char_traits<char>::find(from, 3, e);
      out += at ? to[at - from] : e;
    }
  }
  return out;
}

// Whether s holds at "0x" and exactly two hex digits; their value in v.
bool HexByte(const std::string& s, size_t at, int& v) {
  if (at + 4 > s.size() || HexValue(s[at + 2]) < 0 || HexValue(s[at + 3]) < 0) return false;
  if (at + 4 < s.size() && (HexValue(s[at + 4]) >= 0 || s[at + 4] == '_')) return false;
  v = HexValue(s[at + 2]) * 16 + HexValue(s[at + 3]);
  return true;
}

Line Cut(const std::string& raw) {
  Line line;
  std::string pending;  // the string of the literals seen since the last code
  bool pendingHigh = false, inString = false;
  auto flush = [&]() {
    if (inString) line.texts.push_back({pending, pendingHigh});
    pending.clear();
    pendingHigh = false;
    inString = false;
  };
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '"') {
      ++i;
      pending += Unescape(raw, i, pendingHigh);
      inString = true;
      line.code += "\"\"";  // the literal's place
      continue;
    }
    if (c == '\'' && i + 2 < raw.size()) {  // a character literal
      const size_t end = raw.find('\'', i + (raw[i + 1] == '\\' ? 3 : 2));
      if (end != std::string::npos && end - i <= 6) {
        flush();
        i = end;
        continue;
      }
    }
    if (c == '/' && i + 1 < raw.size() && raw[i + 1] == '/') {
      line.hasComment = true;
      line.comment = raw.substr(i + 2);
      break;
    }
    if (inString && c != ' ' && c != '\t') flush();
    line.code += c;
  }
  flush();
  // A character written as its two bytes, lead then trail: (0xA3, 0xA1).
  const std::string& code = line.code;
  for (size_t at = code.find("0x"); at != std::string::npos; at = code.find("0x", at + 2)) {
    int lead = 0, trail = 0;
    if (!HexByte(code, at, lead)) continue;
    size_t next = code.find_first_not_of(" \t", at + 4);
    if (next == std::string::npos || code[next] != ',') continue;
    next = code.find_first_not_of(" \t", next + 1);
    if (next == std::string::npos || code.compare(next, 2, "0x") != 0 ||
        !HexByte(code, next, trail))
      continue;
    if (lead >= 0x81)
      line.texts.push_back({{static_cast<char>(lead), static_cast<char>(trail)}, true});
  }
  return line;
}

// text in the encoding from, as UTF-8; false when it is not text in it.
bool ToUtf8(const std::string& text, const char* from, std::string& out) {
  iconv_t cd = iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = text;
  out.assign(text.size() * 4 + 4, '\0');
  char* src = &in[0];
  char* dst = &out[0];
  size_t inLeft = in.size(), outLeft = out.size();
  const size_t r = iconv(cd, &src, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return r != static_cast<size_t>(-1) && inLeft == 0;
}

std::string NonAscii(const std::string& s) {
  std::string out;
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) out += c;
  return out;
}

// Whether the comment spells text (bytes) in one of the encodings the
// sources use.
bool Spells(const std::string& comment, const std::string& text, std::string& shown) {
  const std::string said = NonAscii(comment);
  shown.clear();
  for (const char* encoding : {"GBK", "UTF-8", "BIG5"}) {
    std::string utf8;
    if (!ToUtf8(text, encoding, utf8)) continue;
    if (shown.empty()) shown = utf8;
    const std::string chinese = NonAscii(utf8);
    if (!chinese.empty() && said.find(chinese) != std::string::npos) return true;
  }
  return false;
}

bool IsSource(const fs::path& p) { return p.extension() == ".cpp" || p.extension() == ".h"; }

std::vector<fs::path> Sources(const fs::path& root) {
  std::vector<fs::path> out;
  for (auto it =
           fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied);
       it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && (name[0] == '.' || name.rfind("build", 0) == 0)) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file() && IsSource(it->path())) out.push_back(it->path());
  }
  return out;
}

// Whether a statement sets something (holds an '=' that is no comparison):
// a comment above a definition or an assignment spells its text, one above
// a call or a table row may only speak about it.
bool Defines(const std::string& code) {
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] != '=') continue;
    const char before = i > 0 ? code[i - 1] : ' ';
    const char after = i + 1 < code.size() ? code[i + 1] : ' ';
    if (after != '=' && before != '=' && before != '!' && before != '<' && before != '>')
      return true;
  }
  return false;
}

bool StartsWithLiteral(const std::string& code) {
  const size_t at = code.find_first_not_of(" \t");
  return at != std::string::npos && code[at] == '"';
}

struct Checked {
  int texts = 0;
  std::vector<std::string> faults;
};

void Check(const std::string& where, const std::string& comment, const std::vector<Text>& texts,
           Checked& checked) {
  for (const Text& text : texts) {
    if (!text.high) continue;
    std::string shown;
    ++checked.texts;
    if (Spells(comment, text.bytes, shown)) continue;
    checked.faults.push_back(where + ": the bytes read \"" +
                             (shown.empty() ? std::string("(no text)") : shown) +
                             "\", the comment says \"" + comment + "\"");
  }
}

void CheckFile(const fs::path& path, const std::string& name, Checked& checked) {
  std::ifstream in(path);
  std::vector<Line> lines;
  for (std::string raw; std::getline(in, raw);) lines.push_back(Cut(raw));
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    if (!l.hasComment || NonAscii(l.comment).empty()) continue;
    const std::string where = name + ":" + std::to_string(i + 1);
    const bool ownLine = l.code.find_first_not_of(" \t") == std::string::npos;
    if (!ownLine) {
      Check(where, l.comment, l.texts, checked);
      continue;
    }
    // A comment block: its lines, then the statement below up to its ';'.
    std::string block = l.comment;
    size_t j = i + 1;
    for (; j < lines.size() && lines[j].hasComment &&
           lines[j].code.find_first_not_of(" \t") == std::string::npos;
         ++j)
      block += lines[j].comment;
    std::vector<Text> texts;
    std::string statement;
    const bool literalLed = j < lines.size() && StartsWithLiteral(lines[j].code);
    for (size_t k = j; k < lines.size(); ++k) {
      const Line& s = lines[k];
      if (s.code.find_first_not_of(" \t") == std::string::npos) break;
      if (literalLed && !StartsWithLiteral(s.code)) break;
      statement += s.code;
      // A literal cut over lines is one string.
      for (size_t t = 0; t < s.texts.size(); ++t) {
        const bool continues =
            t == 0 && !texts.empty() && k > j &&
            s.code.find_first_not_of(" \t") == s.code.find('"') &&
            lines[k - 1].code.find_last_not_of(" \t") == lines[k - 1].code.rfind('"');
        if (continues) {
          texts.back().bytes += s.texts[t].bytes;
          texts.back().high = texts.back().high || s.texts[t].high;
        } else {
          texts.push_back(s.texts[t]);
        }
      }
      if (s.code.find(';') != std::string::npos || s.code.find('{') != std::string::npos) break;
    }
    if (literalLed || Defines(statement)) Check(where, block, texts, checked);
    i = j - 1;
  }
}

TEST(SourceTexts, EveryChineseCommentSpellsItsBytes) {
  Checked checked;
  const fs::path root = kvrtest::SourceDir();
  for (const fs::path& p : Sources(root)) CheckFile(p, fs::relative(p, root).string(), checked);
  for (const std::string& f : checked.faults) ADD_FAILURE() << f;
  // The walk found the texts at all (a broken scanner checks nothing).
  EXPECT_GT(checked.texts, 250);
}

// The scanner itself, on small sources.
TEST(SourceTexts, TheScannerFindsTheTextOfAComment) {
  const struct {
    const char* source;
    int texts, faults;
  } cases[] = {
      {"const char k[] = \"\\xD6\\xD0\";  // \xE4\xB8\xAD\n", 1, 0},  // zhong
      {"const char k[] = \"\\xD6\\xD1\";  // \xE4\xB8\xAD\n", 1, 1},  // a wrong byte
      {"// \xE4\xB8\xAD\xE5\x9B\xBD\nconst char k[] =\n    \"\\xD6\\xD0\"\n    \"\\xB9\\xFA\";\n",
       1, 0},  // zhongguo over two lines
      {"// \xE4\xB8\xAD\xE5\x9B\xBD\nconst char k[] =\n    \"\\xD6\\xD0\"\n    \"\\xB9\\xFB\";\n",
       1, 1},
      {"f(\"\\xD6\\xD0\", '\"', \"\\xB9\\xFA\");  // \xE4\xB8\xAD, \xE5\x9B\xBD\n", 2, 0},
      {"f(\"\\xD6\");  // \xE4\xB8\xAD\n", 1, 1},                    // no text
      {"f(\"\\xE4\\xB8\\xAD\");  // \xE4\xB8\xAD (UTF-8)\n", 1, 0},  // UTF-8 bytes
      {"f(\"\\xD6\\xD0\");  // a plain comment\n", 0, 0},
      {"{Mem(0xD6, 0xD0), Mem(0xB9, 0xFA)},  // \xE4\xB8\xAD \xE5\x9B\xBD\n", 2, 0},
      {"{Mem(0xD6, 0xD0), Mem(0xB9, 0xFB)},  // \xE4\xB8\xAD \xE5\x9B\xBD\n", 2, 1},
      // A row's field below its comment; a comment above a call only talks.
      {"  {1,\n   // \xE4\xB8\xAD\n   \"\\xD6\\xD1\",\n   2},\n", 1, 1},
      {"// \xE4\xB8\xAD\nf(\"\\xD6\\xD1\");\n", 0, 0},
  };
  for (const auto& c : cases) {
    kvrtest::ScratchDir dir;
    const std::string file = dir.File("t.cpp");
    std::ofstream(file) << c.source;
    Checked checked;
    CheckFile(file, "t.cpp", checked);
    EXPECT_EQ(checked.texts, c.texts) << c.source;
    EXPECT_EQ(static_cast<int>(checked.faults.size()), c.faults) << c.source;
  }
}

}  // namespace
