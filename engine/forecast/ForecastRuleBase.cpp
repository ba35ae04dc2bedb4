// The forecast rule base: reading fccdic.bin with every count, reference
// and limit checked, loading it into the engine and freeing it again.
#include "engine/forecast/ForecastRuleBase.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/ByteReader.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"

namespace {

std::string At(const char* what, size_t offset) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s at byte %zu", what, offset);
  return buf;
}

int ReadCell(typForecastCell* cell, ByteReader& in, int depth) {
  const uint8_t type = in.U8();
  if (!in.Ok() || type == fcc::kInvalid || type > fcc::kInertLast || depth > fcc::kMaxCellDepth)
    return 0;
  cell->type = type;
  cell->ref = in.Le32();
  cell->flags = in.Le16();
  cell->id = static_cast<char>(in.U8());
  cell->minLen = in.U8();
  cell->maxLen = in.U8();
  cell->split = in.U8();
  if (const uint8_t* e = in.Bytes(fcc::kEndCharBytes))
    std::memcpy(cell->endChars, e, fcc::kEndCharBytes);
  ReadString(cell->text, in);
  for (CStringArray* list : {&cell->badCiInside, &cell->badCiAtStart}) {
    const int n = in.U8();
    for (int i = 0; i < n && in.Ok(); ++i) {
      CString w;
      ReadString(w, in);
      list->Add(w);
    }
  }
  const int nChildren = in.U8();
  if (!in.Ok()) return 0;
  if (fcc::IsLeafType(type)) return 1;
  for (int i = 0; i < nChildren; ++i) {
    auto* child = new typForecastCell;
    cell->children.Add(child);  // owned from here, also on failure
    if (!ReadCell(child, in, depth + 1)) return 0;
  }
  return 1;
}

// Checks of one cell tree after reading: the things that the matcher
// would otherwise follow out of range or forever.
class TreeCheck {
 public:
  TreeCheck(const ForecastTables& t, int group, std::vector<std::vector<uint32_t>>& refs)
      : m_t(t), m_group(group), m_refs(refs) {}

  bool Rule(const typForecastCell* rule, int index, std::string& error) {
    m_rule = index;
    // A rule with split equal to its children has no forecast part: only
    // references use it. Reversing needs the separator.
    const int n = rule->children.GetSize();
    if (rule->type == fcc::kSequence && n > 0 &&
        (rule->split > n || ((rule->flags & fcc::kFlagReversible) && rule->split >= n)))
      return Fail("sequence rule whose split passes its children", error);
    return Cell(rule, error);
  }

 private:
  bool Cell(const typForecastCell* c, std::string& error) {
    const int n = c->children.GetSize();
    if (c->minLen > c->maxLen) return Fail("cell whose least length passes its greatest", error);
    for (const CStringArray* list : {&c->badCiInside, &c->badCiAtStart})
      for (int i = 0; i < list->GetSize(); ++i)
        if ((*list)[i].IsEmpty()) return Fail("empty bad word", error);
    if (c->endChars[0] != 0 && !(static_cast<uint8_t>(c->endChars[0]) & 0x80) &&
        std::memchr(c->endChars, 0, fcc::kEndCharBytes) == nullptr)
      return Fail("end characters without their terminator", error);
    if (c->type == fcc::kSequence && n == 0) {
      if (c->ref >= static_cast<uint32_t>(m_t.rules[m_group].GetSize()))
        return Fail("reference to a rule that the group lacks", error);
      m_refs[m_rule].push_back(c->ref);
    }
    if (c->type == fcc::kSwitchable && n != 2)
      return Fail("switchable pair without two children", error);
    if ((c->flags & fcc::kFlagPartial) &&
        (c->type == fcc::kSequence || c->type == fcc::kSwitchable) &&
        c->ref > static_cast<uint32_t>(n))
      return Fail("partial-completion limit beyond the children", error);
    if (c->type == fcc::kSetMember0 || c->type == fcc::kSetMember1) {
      if (c->text.GetLength() > fcc::kMaxSlotNameBytes)
        return Fail("set name longer than a capture slot holds", error);
      CStringArray words;
      if (!m_t.abstracts[c->type - fcc::kSetMember0].Lookup(c->text, words))
        return Fail("cell names a set entry that does not exist", error);
    }
    for (int i = 0; i < n; ++i)
      if (!Cell(c->children[i], error)) return false;
    return true;
  }
  bool Fail(const char* what, std::string& error) {
    char buf[200];
    std::snprintf(buf, sizeof buf, "group %d rule %d: %s", m_group, m_rule, what);
    error = buf;
    return false;
  }

  const ForecastTables& m_t;
  int m_group;
  int m_rule = 0;
  std::vector<std::vector<uint32_t>>& m_refs;
};

// True when following references from rule r comes back to a rule on the
// current path (state: 0 unvisited, 1 on the path, 2 done).
bool HasRefCycle(const std::vector<std::vector<uint32_t>>& refs, uint32_t r,
                 std::vector<char>& state) {
  if (state[r] == 1) return true;
  if (state[r] == 2) return false;
  state[r] = 1;
  for (uint32_t next : refs[r])
    if (HasRefCycle(refs, next, state)) return true;
  state[r] = 2;
  return false;
}

bool CheckGroup(const ForecastTables& t, int g, std::string& error) {
  const int nRules = t.rules[g].GetSize();
  std::vector<std::vector<uint32_t>> refs(static_cast<size_t>(nRules));
  TreeCheck check(t, g, refs);
  for (int r = 0; r < nRules; ++r)
    if (!check.Rule(t.rules[g][r], r, error)) return false;
  std::vector<char> state(static_cast<size_t>(nRules), 0);
  for (int r = 0; r < nRules; ++r) {
    if (HasRefCycle(refs, static_cast<uint32_t>(r), state)) {
      error = "group " + std::to_string(g) + " rule " + std::to_string(r) + ": refers to itself";
      return false;
    }
  }
  long pos = t.keys[g].GetStartPosition();
  while (pos) {
    unsigned short key = 0;
    CDWordArray list;
    t.keys[g].GetNextMapRec(pos, key, list);
    for (int i = 0; i < list.GetSize(); ++i) {
      if (list[i] >= static_cast<uint32_t>(nRules)) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "group %d key %04x lists rule %u of %d", g, key, list[i],
                      nRules);
        error = buf;
        return false;
      }
    }
  }
  return true;
}

// The entry a member word "(name)" stands for, or "" for a plain word.
CString EntryReference(const CString& word) {
  if (word.GetLength() < 2 || word[0] != '(') return CString();
  return word.Mid(1, word.GetLength() - 2);
}

bool SetEntryLoops(AbstractSetMap& set, const CString& name, std::vector<CString>& path) {
  for (const CString& p : path)
    if (p == name) return true;
  CStringArray words;
  if (!set.Lookup(name, words)) return false;
  path.push_back(name);
  for (int i = 0; i < words.GetSize(); ++i) {
    const CString ref = EntryReference(words[i]);
    if (!ref.IsEmpty() && SetEntryLoops(set, ref, path)) return true;
    if (!ref.IsEmpty()) break;  // the first reference decides the entry
  }
  path.pop_back();
  return false;
}

bool CheckSet(AbstractSetMap& set, int which, std::string& error) {
  long pos = set.GetStartPosition();
  std::vector<CString> names;
  while (pos) {
    CString name;
    CStringArray words;
    set.GetNextMapRec(pos, name, words);
    for (int i = 0; i < words.GetSize(); ++i) {
      if (words[i].GetLength() > 0 && words[i][0] == '(') {
        CStringArray target;
        if (words[i].GetLength() < 2 || !set.Lookup(EntryReference(words[i]), target)) {
          error = "abstract set " + std::to_string(which) + " entry \"" + std::string(name) +
                  "\" refers to a missing entry";
          return false;
        }
      }
    }
    names.push_back(name);
  }
  for (const CString& name : names) {
    std::vector<CString> path;
    if (SetEntryLoops(set, name, path)) {
      error = "abstract set " + std::to_string(which) + " entry \"" + std::string(name) +
              "\" refers to itself";
      return false;
    }
  }
  return true;
}

bool ReadSet(ByteReader& in, AbstractSetMap& set, std::string& error) {
  const uint32_t n = in.Le32();
  if (!in.Ok()) return (error = At("missing set entry count", in.Offset())), false;
  for (uint32_t i = 0; i < n; ++i) {
    const size_t where = in.Offset();
    CString name;
    const int nameLen = ReadString(name, in);
    const int16_t m = static_cast<int16_t>(in.Le16());
    if (!in.Ok()) return (error = At("set entry cut short", where)), false;
    if (nameLen > fcc::kMaxSetNameBytes) return (error = At("set name too long", where)), false;
    if (m < 0) return (error = At("negative word count", where)), false;
    CStringArray words;
    for (int k = 0; k < m && in.Ok(); ++k) {
      CString w;
      ReadString(w, in);
      words.Add(w);
    }
    if (!in.Ok()) return (error = At("set words cut short", where)), false;
    set[name] = words;
  }
  return true;
}

bool ReadGroup(ByteReader& in, ForecastCellList& rules, ForecastKeyMap& keys, std::string& error) {
  const uint32_t nKeys = in.Le32();
  if (!in.Ok() || nKeys > in.Remaining() / 4)
    return (error = At("bad key count", in.Offset())), false;
  for (uint32_t i = 0; i < nKeys; ++i) {
    const size_t where = in.Offset();
    const uint16_t key = in.Le16();
    const int16_t j = static_cast<int16_t>(in.Le16());
    if (!in.Ok() || j < 0 || static_cast<size_t>(j) > in.Remaining() / 4)
      return (error = At("bad rule index count", where)), false;
    CDWordArray& list = keys[key];
    for (int k = 0; k < j; ++k) list.Add(in.Le32());
  }
  const uint32_t nRules = in.Le32();
  if (!in.Ok() || nRules > in.Remaining() / (fcc::kCellHeaderBytes + 4))
    return (error = At("bad rule count", in.Offset())), false;
  for (uint32_t r = 0; r < nRules; ++r) {
    const size_t where = in.Offset();
    auto* cell = new typForecastCell;
    rules.Add(cell);
    if (!ReadCell(cell, in, 1))
      return (error =
                  At(in.Ok() ? "invalid cell type or nesting too deep" : "cell cut short", where)),
             false;
  }
  return true;
}

bool ReadAll(ByteReader& in, const ForecastTables& t, std::string& error) {
  in.U8();  // format tag
  for (int s = 0; s < fcc::kSets; ++s)
    if (!ReadSet(in, t.abstracts[s], error)) return false;
  for (int g = 0; g < fcc::kGroups; ++g)
    if (!ReadGroup(in, t.rules[g], t.keys[g], error)) return false;
  if (!in.Ok()) return (error = At("file cut short", in.Offset())), false;
  if (in.Remaining() != 0) return (error = At("bytes after the last group", in.Offset())), false;
  for (int s = 0; s < fcc::kSets; ++s)
    if (!CheckSet(t.abstracts[s], s, error)) return false;
  for (int g = 0; g < fcc::kGroups; ++g)
    if (!CheckGroup(t, g, error)) return false;
  return true;
}

}  // namespace

int ReadString(CString& s, ByteReader& in) {
  const int n = in.U8();
  if (n == 0) return 0;
  const uint8_t* b = in.Bytes(static_cast<size_t>(n));
  if (!b) return 0;
  s.Empty();
  s.AddChars(reinterpret_cast<const char*>(b), 0, n);
  return n;
}

int ReadACell(typForecastCell*& cell, ByteReader& in) { return ReadCell(cell, in, 1); }

OwnedForecastTables::~OwnedForecastTables() { FreeForecastTables(Tables()); }

void FreeForecastTables(const ForecastTables& t) {
  for (int s = 0; s < fcc::kSets; ++s) t.abstracts[s].RemoveAll();
  for (int g = 0; g < fcc::kGroups; ++g) {
    for (int r = 0; r < t.rules[g].GetSize(); ++r) delete t.rules[g][r];
    t.rules[g].RemoveAll();
    t.keys[g].RemoveAll();
  }
}

bool ReadForecastTables(const uint8_t* data, size_t size, const ForecastTables& t,
                        std::string& error) {
  FreeForecastTables(t);
  ByteReader in(data, size);
  if (ReadAll(in, t, error)) return true;
  FreeForecastTables(t);
  return false;
}

// ---- The engine's rule base

ForecastTables CChnChars::ForecastTablesOf() {
  return ForecastTables{m_abstracts, m_forecastRules, m_forecastKeys};
}

int CChnChars::LoadForecastDB() {
  const CString path = CString(EngineHost().DataDir()) + "fccdic.bin";
  FILE* f = std::fopen(path, "rb");
  if (!f) return 0;
  std::vector<uint8_t> bytes;
  uint8_t buf[8192];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + got);
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  // Loading again never adds to what is there.
  UnloadForecastDB();
  std::string error;
  if (readError) {
    EngineDiag("%s: read error", static_cast<const char*>(path));
    return 0;
  }
  if (!ReadForecastTables(bytes.data(), bytes.size(), ForecastTablesOf(), error)) {
    EngineDiag("%s: refused: %s", static_cast<const char*>(path), error.c_str());
    return 0;
  }
  m_bForecastLoaded = 1;
  return 1;
}

int CChnChars::UnloadForecastDB() {
  FreeForecastTables(ForecastTablesOf());
  m_bForecastLoaded = 0;
  ZiCiForecastingReset(0);
  return 1;
}

void CChnChars::ForecastDBLoadUnload() {
  if (cfgInputManager.useZiCiForecast != 0 && !m_bForecastLoaded) {
    LoadForecastDB();
  } else if (cfgInputManager.useZiCiForecast == 0 && m_bForecastLoaded) {
    UnloadForecastDB();
  }
}
