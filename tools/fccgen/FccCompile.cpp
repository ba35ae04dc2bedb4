// The forecast rule compiler's back end: references, bounds, keys and the
// bytes of fccdic.bin.
#include <algorithm>
#include <functional>
#include <set>

#include "base/ByteOrder.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/formats/ForecastFormat.h"
#include "tools/fccgen/FccRules.h"

namespace fccgen {

namespace {

constexpr int kMaxLen = 255;  // u8 length fields
// The scan's marks for "tried at every position".
constexpr uint16_t kNoKey = 0;

class Compiler {
 public:
  Compiler(RuleBase& base, std::vector<std::string>& errors) : m_base(base), m_errors(errors) {}

  bool Run(std::string& image) {
    for (int s = 0; s < 2; ++s)
      for (auto& e : m_base.sets[s]) m_sets[s][e.first] = &e.second;
    for (m_group = 0; m_group < fcc::kGroups; ++m_group) {
      auto& rules = m_base.groups[m_group];
      for (size_t r = 0; r < rules.size(); ++r)
        if (!rules[r].name.empty()) m_names[m_group][rules[r].name] = static_cast<uint32_t>(r);
      for (Rule& r : rules) {
        m_line = r.line;
        Resolve(*r.cell);
      }
    }
    if (!m_errors.empty()) return false;
    for (m_group = 0; m_group < fcc::kGroups; ++m_group) {
      m_done.assign(m_base.groups[m_group].size(), 0);
      for (size_t r = 0; r < m_base.groups[m_group].size(); ++r)
        RuleBounds(static_cast<uint32_t>(r));
    }
    if (!m_errors.empty()) return false;
    Write(image);
    return m_errors.empty();
  }

 private:
  void Error(const std::string& what) {
    m_errors.push_back("group " + std::to_string(m_group) + " rule at line " +
                       std::to_string(m_line) + ": " + what);
  }

  void Resolve(Cell& c) {
    if (!c.refName.empty()) {
      auto it = m_names[m_group].find(c.refName);
      if (it == m_names[m_group].end())
        Error("no rule named " + c.refName);
      else
        c.ref = it->second;
    }
    if (c.type == fcc::kSetMember0 || c.type == fcc::kSetMember1) {
      const int s = c.type - fcc::kSetMember0;
      if (!m_sets[s].count(c.text))
        Error("no entry of set " + std::to_string(s) + " named by a cell");
      if (c.text.size() > fcc::kMaxSlotNameBytes) Error("set name too long for a capture slot");
    }
    for (auto& k : c.children) Resolve(*k);
  }

  // The members of a set entry with "(name)" words followed, GBK.
  void Members(int set, const std::string& name, std::vector<std::string>& out, int depth = 0) {
    auto it = m_sets[set].find(name);
    if (it == m_sets[set].end() || depth > 16) return;
    for (const std::string& w : *it->second) {
      if (!w.empty() && w[0] == '(') {
        Members(set, w.substr(1, w.size() - 2), out, depth + 1);
        return;  // the first reference stands for the whole entry
      }
      out.push_back(w);
    }
  }

  // Bounds of a cell in characters; fills minLen/maxLen.
  void Bounds(Cell& c) {
    for (auto& k : c.children) Bounds(*k);
    const auto& kids = c.children;
    switch (c.type) {
      case fcc::kLiteral:
        if (c.text.empty() && IsRepeat(c.id)) {
          // Repeats what its letter captured: as long as the capturing cell.
          c.minLen = 0;
          c.maxLen = m_letterMax[c.id];
        } else {
          c.minLen = c.maxLen = static_cast<int>(c.text.size() / 2);
        }
        break;
      case fcc::kSequence:
        if (kids.empty()) {
          const Cell& target = *m_base.groups[m_group][c.ref].cell;
          RuleBounds(c.ref);
          c.minLen = SumMin(target, 0, target.children.size());
          c.maxLen = SumMax(target, 0, target.children.size());
        } else {
          c.minLen = SumMin(c, 0, kids.size());
          c.maxLen = SumMax(c, 0, kids.size());
        }
        break;
      case fcc::kSwitchable:
        c.minLen = SumMin(c, 0, kids.size());
        c.maxLen = SumMax(c, 0, kids.size());
        break;
      case fcc::kOneOf:
      case fcc::kOptional:
        c.minLen = kMaxLen;
        c.maxLen = 0;
        for (auto& k : kids)
          c.minLen = std::min(c.minLen, k->minLen), c.maxLen = std::max(c.maxLen, k->maxLen);
        if (c.type == fcc::kOptional || kids.empty()) c.minLen = 0;
        break;
      case fcc::kSetMember0:
      case fcc::kSetMember1: {
        std::vector<std::string> members;
        Members(c.type - fcc::kSetMember0, c.text, members);
        c.minLen = kMaxLen;
        c.maxLen = 0;
        for (const auto& m : members)
          c.minLen = std::min<int>(c.minLen, m.size() / 2),
          c.maxLen = std::max<int>(c.maxLen, m.size() / 2);
        if (members.empty()) c.minLen = 0;
        break;
      }
      default:  // free text, numerals: as written
        break;
    }
    if (c.id && !(c.type == fcc::kLiteral && c.text.empty()))
      m_letterMax[c.id] = std::max(m_letterMax[c.id], c.maxLen);
    if (c.minLen > c.maxLen) Error("a cell's least length passes its greatest");
    if (c.maxLen > kMaxLen) Error("a cell longer than 255 characters");
  }
  static bool IsRepeat(char id) { return id == 'X' || id == 'Y' || id == 'Z'; }
  static int SumMin(const Cell& c, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from; i < to; ++i) n += c.children[i]->minLen;
    return n;
  }
  static int SumMax(const Cell& c, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from; i < to; ++i) n += c.children[i]->maxLen;
    return n;
  }

  void RuleBounds(uint32_t r) {
    if (m_done[r] == 2) return;
    if (m_done[r] == 1) {
      Error("rule refers to itself");
      return;
    }
    m_done[r] = 1;
    const std::map<char, int> outerLetters = m_letterMax;  // a reference may nest rules
    Rule& rule = m_base.groups[m_group][r];
    const int savedLine = m_line;
    m_line = rule.line;
    Cell& c = *rule.cell;
    // Twice: a repeat of a captured letter takes the capturing cell's
    // length, which the first pass finds.
    m_letterMax.clear();
    for (int pass = 0; pass < 2; ++pass)
      for (auto& k : c.children) Bounds(*k);
    const size_t n = c.children.size();
    if (c.type == fcc::kCycle) {
      c.minLen = kMaxLen;
      c.maxLen = 0;
      for (auto& k : c.children) {
        c.minLen = std::min(c.minLen, k->minLen), c.maxLen = std::max(c.maxLen, k->maxLen);
        if (k->maxLen > fcc::kMaxConditionChars) Error("a sentence longer than the history holds");
      }
      if (n > kMaxLen) Error("more than 255 sentences");
    } else {
      const int condMin = SumMin(c, 0, c.split), condMax = SumMax(c, 0, c.split);
      c.minLen = condMin;
      c.maxLen = std::min(SumMax(c, 0, n), kMaxLen);
      if (c.flags & fcc::kFlagReversible) {
        const int fMin = SumMin(c, c.split + 1, n);
        c.minLen = std::min(c.minLen, fMin);
        if (SumMax(c, c.split + 1, n) > fcc::kMaxConditionChars)
          Error("reversed condition longer than the history holds");
      }
      if (!rule.pattern && condMax > fcc::kMaxConditionChars)
        Error("condition longer than the history holds");
      if (n > kMaxLen) Error("more than 255 cells");
    }
    m_done[r] = 2;
    m_line = savedLine;
    m_letterMax = outerLetters;
  }

  // ---- Keys: the characters a match of the rule can begin with.

  struct First {
    std::set<uint16_t> keys;
    bool any = false, digits = false;
  };
  // Adds what cells[from..] can begin with; true when all of them may be
  // empty.
  bool FirstOfRun(const std::vector<std::unique_ptr<Cell>>& cells, size_t from, size_t to, First& f,
                  int depth) {
    for (size_t i = from; i < to; ++i) {
      FirstOf(*cells[i], f, depth + 1);
      if (cells[i]->minLen > 0) return false;
    }
    return true;
  }
  void FirstOf(const Cell& c, First& f, int depth) {
    if (depth > 64) {
      f.any = true;
      return;
    }
    switch (c.type) {
      case fcc::kLiteral:
        if (c.text.size() >= 2) f.keys.insert(KeyOf(c.text));
        break;
      case fcc::kFreeText: f.any = true; break;
      case fcc::kNumerals: f.digits = true; break;
      case fcc::kSetMember0:
      case fcc::kSetMember1: {
        std::vector<std::string> members;
        Members(c.type - fcc::kSetMember0, c.text, members);
        for (const auto& m : members)
          if (m.size() >= 2) f.keys.insert(KeyOf(m));
        break;
      }
      case fcc::kOneOf:
      case fcc::kOptional:
        for (auto& k : c.children) FirstOf(*k, f, depth + 1);
        break;
      case fcc::kSwitchable:
        if (c.children.size() == 2) {
          FirstOfRun(c.children, 0, 2, f, depth);
          FirstOf(*c.children[1], f, depth + 1);
        }
        break;
      case fcc::kSequence:
        if (c.children.empty()) {
          const Cell& t = *m_base.groups[m_group][c.ref].cell;
          FirstOfRun(t.children, 0, t.children.size(), f, depth);
        } else {
          FirstOfRun(c.children, 0, c.children.size(), f, depth);
        }
        break;
      default: break;
    }
  }
  static uint16_t KeyOf(const std::string& gbk) {
    uint16_t k = little_endian::Load16(gbk.data());
    if (k == 0xB1A1) k = 0xB0A1;  // the scan looks a right double quote up as a left one
    return k;
  }

  First RuleKeys(const Rule& rule) {
    First f;
    if (rule.pattern) return f;
    const Cell& c = *rule.cell;
    const size_t n = c.children.size();
    if (c.type == fcc::kCycle) {
      for (size_t i = 0; i < n; ++i) {
        const Cell& s = *c.children[i];
        const bool may = (i == 0 || ((c.flags & fcc::kFlagAnySentence) && (i != n - 1 || n < 3)) ||
                          (s.flags & fcc::kFlagMayEnd)) &&
                         !(s.flags & fcc::kFlagNeverEnd);
        if (may) FirstOf(s, f, 0);
      }
    } else {
      if (FirstOfRun(c.children, 0, c.split, f, 0)) f.any = true;
      if ((c.flags & fcc::kFlagReversible) && FirstOfRun(c.children, c.split + 1, n, f, 0))
        f.any = true;
    }
    return f;
  }

  // ---- Bytes

  void Put8(std::string& o, int v) { o.push_back(static_cast<char>(v)); }
  void Put16(std::string& o, uint16_t v) { chardict::PutLe16(o, v); }
  void Put32(std::string& o, uint32_t v) { chardict::PutLe32(o, v); }
  void PutStr(std::string& o, const std::string& s) {
    if (s.size() > 255) Error("text longer than 255 bytes");
    Put8(o, static_cast<int>(std::min<size_t>(s.size(), 255)));
    o.append(s, 0, std::min<size_t>(s.size(), 255));
  }
  void PutCell(std::string& o, const Cell& c) {
    Put8(o, c.type);
    Put32(o, c.ref);
    Put16(o, c.flags);
    Put8(o, c.id);
    Put8(o, c.minLen);
    Put8(o, c.maxLen);
    Put8(o, c.split);
    std::string ends = c.endChars;
    ends.resize(fcc::kEndCharBytes, '\0');
    o += ends;
    PutStr(o, c.text);
    for (const auto* list : {&c.badInside, &c.badAtStart}) {
      Put8(o, static_cast<int>(list->size()));
      for (const auto& w : *list) PutStr(o, w);
    }
    Put8(o, static_cast<int>(c.children.size()));
    if (!fcc::IsLeafType(c.type))
      for (auto& k : c.children) PutCell(o, *k);
  }

  void Write(std::string& o) {
    o.clear();
    Put8(o, fcc::kFormatTag);
    for (int s = 0; s < 2; ++s) {
      Put32(o, static_cast<uint32_t>(m_base.sets[s].size()));
      for (const auto& e : m_base.sets[s]) {
        if (e.first.size() > fcc::kMaxSetNameBytes) Error("set name longer than 127 bytes");
        PutStr(o, e.first);
        Put16(o, static_cast<uint16_t>(e.second.size()));
        for (const auto& w : e.second) PutStr(o, w);
      }
    }
    for (m_group = 0; m_group < fcc::kGroups; ++m_group) {
      auto& rules = m_base.groups[m_group];
      std::map<uint16_t, std::vector<uint32_t>> keys;
      for (size_t r = 0; r < rules.size(); ++r) {
        const First f = RuleKeys(rules[r]);
        for (uint16_t k : f.keys) keys[k].push_back(static_cast<uint32_t>(r));
        if (f.any) keys[fcc::kKeyAny].push_back(static_cast<uint32_t>(r));
        if (f.digits) keys[fcc::kKeyDigits].push_back(static_cast<uint32_t>(r));
      }
      keys.erase(kNoKey);
      Put32(o, static_cast<uint32_t>(keys.size()));
      for (const auto& k : keys) {
        if (k.second.size() > 32767) Error("more than 32767 rules under one key");
        Put16(o, k.first);
        Put16(o, static_cast<uint16_t>(k.second.size()));
        for (uint32_t r : k.second) Put32(o, r);
      }
      Put32(o, static_cast<uint32_t>(rules.size()));
      for (const Rule& r : rules) PutCell(o, *r.cell);
    }
  }

  RuleBase& m_base;
  std::vector<std::string>& m_errors;
  std::map<std::string, const std::vector<std::string>*> m_sets[2];
  std::map<std::string, uint32_t> m_names[fcc::kGroups];
  std::vector<char> m_done;
  std::map<char, int> m_letterMax;  // per rule: longest capture of a letter
  int m_group = 0;
  int m_line = 0;
};

}  // namespace

bool CompileRules(RuleBase& base, std::string& image, std::vector<std::string>& errors) {
  Compiler c(base, errors);
  return c.Run(image);
}

}  // namespace fccgen
