// The parser of the forecast rules' text form (FccRules.h).
#include "engine/formats/ForecastFormat.h"
#include "tools/datagen/Text.h"
#include "tools/fccgen/FccRules.h"

namespace fccgen {

namespace {

using datagen::DecodeUtf8;
using datagen::EncodeUtf8;
using datagen::ToGbk;

bool IsSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == 0x3000; }
bool IsSyntax(char32_t c) {
  return std::u32string(U"[](){}<>|/,=\"*#@&?:").find(c) != std::u32string::npos;
}

class LineParser {
 public:
  explicit LineParser(std::u32string line) : m_s(std::move(line)) {}

  std::string error;

  void SkipSpace() {
    while (m_i < m_s.size() && IsSpace(m_s[m_i])) ++m_i;
  }
  bool AtEnd() {
    SkipSpace();
    return m_i >= m_s.size();
  }
  char32_t Peek() {
    SkipSpace();
    return m_i < m_s.size() ? m_s[m_i] : 0;
  }
  bool Take(char32_t c) {
    if (Peek() != c) return false;
    ++m_i;
    return true;
  }
  bool Expect(char32_t c) {
    if (Take(c)) return true;
    return Fail(std::string("expected '") + EncodeUtf8(c) + "'");
  }
  bool Fail(const std::string& what) {
    if (error.empty()) error = what;
    return false;
  }
  // A run of characters that are neither space nor syntax.
  std::u32string Word() {
    SkipSpace();
    const size_t b = m_i;
    while (m_i < m_s.size() && !IsSpace(m_s[m_i]) && !IsSyntax(m_s[m_i])) ++m_i;
    return m_s.substr(b, m_i - b);
  }
  bool Int(int& v) {
    SkipSpace();
    v = 0;
    const size_t b = m_i;
    while (m_i < m_s.size() && m_s[m_i] >= '0' && m_s[m_i] <= '9' && v < 100000)
      v = v * 10 + static_cast<int>(m_s[m_i++] - '0');
    return m_i > b || Fail("expected a number");
  }
  bool Gbk(const std::u32string& s, std::string& out) {
    out = ToGbk(s);
    if (out.empty() && !s.empty())
      return Fail("\"" + EncodeUtf8(s) + "\" is not double-byte GBK text");
    return true;
  }

  bool Attrs(Cell& c);
  bool Cells(std::vector<std::unique_ptr<Cell>>& out);
  std::unique_ptr<Cell> ParseCell();
  bool Sentence(Cell& cycle);
  size_t Pos() const { return m_i; }

 private:
  bool Range(Cell& c) {
    if (!Int(c.minLen) || !Expect('-') || !Int(c.maxLen)) return false;
    return true;
  }
  bool Alternatives(Cell& c);
  bool WordList(std::vector<std::string>& out);

  std::u32string m_s;
  size_t m_i = 0;
};

struct FlagName {
  const char* name;
  uint16_t flag;
};
constexpr FlagName kFlags[] = {
    {"quiet", fcc::kFlagNoFreshForecast}, {"notext", fcc::kFlagNoText},
    {"any", fcc::kFlagAnySentence},       {"reverse", fcc::kFlagReversible},
    {"addend", fcc::kFlagAddEndChar},     {"atstart", fcc::kFlagAtStart},
    {"nosep", fcc::kFlagNoSeparator},     {"mayend", fcc::kFlagMayEnd},
    {"neverend", fcc::kFlagNeverEnd}};

bool LineParser::WordList(std::vector<std::string>& out) {
  do {
    std::string g;
    const std::u32string w = Word();
    if (w.empty()) return Fail("expected a word");
    if (!Gbk(w, g)) return false;
    out.push_back(g);
  } while (Take('/'));
  return true;
}

bool LineParser::Attrs(Cell& c) {
  if (!Take('{')) return true;
  do {
    const std::string a = EncodeUtf8(Word());
    if (a.size() == 1 && std::string(fcc::kSlotLetters).find(a[0]) != std::string::npos) {
      c.id = a[0];
      continue;
    }
    bool known = false;
    for (const FlagName& f : kFlags)
      if (a == f.name) c.flags |= f.flag, known = true;
    if (known) continue;
    if (!Take('=')) return Fail("unknown attribute \"" + a + "\"");
    if (a == "partial") {
      int n = 0;
      if (!Int(n)) return false;
      c.flags |= fcc::kFlagPartial;
      c.ref = static_cast<uint32_t>(n);
    } else if (a == "bad") {
      if (!WordList(c.badInside)) return false;
    } else if (a == "badstart") {
      if (!WordList(c.badAtStart)) return false;
    } else if (a == "end") {
      SkipSpace();
      if (m_i >= m_s.size()) return Fail("expected an end character");
      const char32_t e = m_s[m_i++];
      if (e < 0x80)
        c.endChars = std::string(1, static_cast<char>(e));
      else if (!Gbk(std::u32string(1, e), c.endChars))
        return false;
    } else {
      return Fail("unknown attribute \"" + a + "\"");
    }
  } while (Take(','));
  return Expect('}');
}

bool LineParser::Alternatives(Cell& c) {
  do {
    std::vector<std::unique_ptr<Cell>> run;
    if (!Cells(run)) return false;
    if (run.empty()) return Fail("empty alternative");
    if (run.size() == 1) {
      c.children.push_back(std::move(run[0]));
    } else {
      auto seq = std::make_unique<Cell>();
      seq->type = fcc::kSequence;
      seq->children = std::move(run);
      c.children.push_back(std::move(seq));
    }
  } while (Take('|'));
  return Expect(')');
}

std::unique_ptr<Cell> LineParser::ParseCell() {
  auto c = std::make_unique<Cell>();
  const char32_t k = Peek();
  bool ok = true;
  if (Take('[')) {
    c->type = fcc::kSequence;
    ok = Cells(c->children) && Expect(']');
    if (ok && c->children.empty()) ok = Fail("empty sequence");
  } else if (Take('(')) {
    c->type = fcc::kOneOf;
    ok = Alternatives(*c);
  } else if (Take('?')) {
    c->type = fcc::kOptional;
    ok = Expect('(') && Alternatives(*c);
  } else if (Take('<')) {
    c->type = fcc::kSwitchable;
    ok = Cells(c->children) && Expect('>');
    if (ok && c->children.size() != 2) ok = Fail("a switchable pair needs two cells");
  } else if (Take('*')) {
    c->type = fcc::kFreeText;
    ok = Range(*c);
  } else if (Take('#')) {
    c->type = fcc::kNumerals;
    ok = Range(*c);
  } else if (k == '@' || k == '&') {
    ++m_i;
    c->type = k == '@' ? fcc::kSetMember0 : fcc::kSetMember1;
    ok = Gbk(Word(), c->text) && (!c->text.empty() || Fail("expected a set name"));
  } else if (Take('=')) {
    c->type = fcc::kSequence;
    c->refName = EncodeUtf8(Word());
    ok = !c->refName.empty() || Fail("expected a rule name");
  } else if (Take('"')) {
    const size_t b = m_i;
    while (m_i < m_s.size() && m_s[m_i] != '"') ++m_i;
    const std::u32string t = m_s.substr(b, m_i - b);
    c->type = fcc::kLiteral;
    ok = Expect('"') && Gbk(t, c->text);
  } else {
    const std::u32string w = Word();
    if (w.empty()) return nullptr;
    c->type = fcc::kLiteral;
    ok = Gbk(w, c->text);
  }
  if (!ok || !Attrs(*c)) return nullptr;
  return c;
}

bool LineParser::Cells(std::vector<std::unique_ptr<Cell>>& out) {
  for (;;) {
    const char32_t k = Peek();
    if (k == 0 || k == ']' || k == ')' || k == '|' || k == '>' || k == '/') return true;
    std::unique_ptr<Cell> c = ParseCell();
    if (!c) return Fail("expected a cell");
    out.push_back(std::move(c));
  }
}

bool LineParser::Sentence(Cell& cycle) {
  SkipSpace();
  const size_t b = m_i;
  while (m_i < m_s.size() && m_s[m_i] >= 0x80 && !IsSpace(m_s[m_i])) ++m_i;
  if (m_i == b || m_i >= m_s.size() || m_s[m_i] >= 0x80 || IsSpace(m_s[m_i]))
    return Fail("a sentence is its text and one ASCII end character");
  auto s = std::make_unique<Cell>();
  s->type = fcc::kLiteral;
  if (!Gbk(m_s.substr(b, m_i - b), s->text)) return false;
  s->endChars = std::string(1, static_cast<char>(m_s[m_i++]));
  if (m_i < m_s.size() && m_s[m_i] == '{' && !Attrs(*s)) return false;
  cycle.children.push_back(std::move(s));
  return true;
}

// "set0 NAME: words".
bool SetLine(LineParser& p, int which, RuleBase& base) {
  std::string name;
  if (!p.Gbk(p.Word(), name) || name.empty()) return p.Fail("expected a set name");
  if (!p.Expect(':')) return false;
  std::vector<std::string> words;
  while (!p.AtEnd()) {
    std::string w;
    const size_t before = p.Pos();
    std::u32string u = p.Word();
    if (u.empty() && p.Take('(')) {  // "(name)": the members of another entry
      std::string inner;
      if (!p.Gbk(p.Word(), inner) || !p.Expect(')')) return false;
      w = "(" + inner + ")";
    } else if (!p.Gbk(u, w)) {
      return false;
    }
    if (p.Pos() == before) return p.Fail("unexpected character in a word list");
    words.push_back(w);
  }
  base.sets[which].emplace_back(name, std::move(words));
  return true;
}

bool RuleLine(LineParser& p, const std::string& kind, int group, int line, RuleBase& base) {
  Rule r;
  r.line = line;
  r.cell = std::make_unique<Cell>();
  Cell& c = *r.cell;
  if (p.Peek() != '{' && p.Peek() != ':') r.name = EncodeUtf8(p.Word());
  if (!p.Attrs(c) || !p.Expect(':')) return false;
  if (kind == "cycle") {
    c.type = fcc::kCycle;
    while (!p.AtEnd())
      if (!p.Sentence(c)) return false;
    if (c.children.empty()) return p.Fail("a cycle needs sentences");
  } else if (kind == "pattern") {
    c.type = fcc::kSequence;
    r.pattern = true;
    if (r.name.empty()) return p.Fail("a pattern needs a name");
    if (!p.Cells(c.children) || !p.AtEnd()) return p.Fail("unexpected text after the cells");
    c.split = static_cast<uint8_t>(c.children.size());
  } else {
    c.type = fcc::kSequence;
    if (!p.Cells(c.children) || !p.Expect('/')) return false;
    c.split = static_cast<uint8_t>(c.children.size());
    std::vector<std::unique_ptr<Cell>> sep;
    if (!p.Cells(sep) || sep.size() != 1) return p.Fail("the separator is one cell");
    c.children.push_back(std::move(sep[0]));
    if (!p.Expect('/') || !p.Cells(c.children) || !p.AtEnd())
      return p.Fail("unexpected text after the forecast");
    if (c.split == 0) return p.Fail("a rule needs a condition");
  }
  base.groups[group].push_back(std::move(r));
  return true;
}

std::u32string StripComment(const std::u32string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    // "#N-M" is a numerals cell; a '#' before anything else starts a comment.
    const bool digitNext = i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '9';
    if (line[i] == '#' && !quoted && !digitNext) return line.substr(0, i);
  }
  return line;
}

}  // namespace

bool ParseRules(const std::string& text, const std::string& source, RuleBase& base,
                std::vector<std::string>& errors) {
  int group = 0;
  size_t start = 0;
  const size_t before = errors.size();
  for (int line = 1; start <= text.size(); ++line) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    LineParser p(StripComment(DecodeUtf8(text.substr(start, end - start))));
    start = end + 1;
    if (p.AtEnd()) continue;
    const std::string kind = datagen::EncodeUtf8(p.Word());
    bool ok = true;
    if (kind == "group") {
      ok = p.Int(group) && (group < fcc::kGroups || p.Fail("groups are 0 to 5"));
    } else if (kind == "set0" || kind == "set1") {
      ok = SetLine(p, kind == "set1", base);
    } else if (kind == "cycle" || kind == "seq" || kind == "pattern") {
      ok = RuleLine(p, kind, group, line, base);
    } else {
      ok = p.Fail("unknown line \"" + kind + "\"");
    }
    if (!ok) errors.push_back(source + ":" + std::to_string(line) + ": " + p.error);
  }
  return errors.size() == before;
}

}  // namespace fccgen
