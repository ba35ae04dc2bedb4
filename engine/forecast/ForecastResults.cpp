// Forecast results: the text that cells produce once a rule has matched,
// with captured text repeated, chosen alternatives followed and set members
// named; the rest of a cell whose beginning has been typed; and the end
// punctuation added after a forecast.
#include <algorithm>
#include <cstring>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/forecast/ForecastSupport.h"

using namespace forecast;

namespace {

CString CharText(int memoryOrder) {
  CString s;
  if (memoryOrder == 0) return s;
  s += static_cast<char>(memoryOrder & 0xFF);
  s += static_cast<char>(memoryOrder >> 8);
  return s;
}

bool IsGbkEnd(const typForecastCell* c) {
  return (static_cast<uint8_t>(c->endChars[0]) & 0x80) != 0;
}

// The end character inside a cycle's full text.
CString CycleEndChar(const CChnChars& e, const typForecastCell* c) {
  if (IsGbkEnd(c)) {
    CString s;
    s.AddChars(c->endChars, 0, 2);
    return s;
  }
  return CharText(e.PeekEngChar2GB(static_cast<unsigned char>(c->endChars[0]), 0, 1));
}

// The end character after a forecast.
CString ForecastEndChar(const CChnChars& e, const typForecastCell* c) {
  if (c->endChars[0] == 0) return CString();
  if (IsGbkEnd(c)) {
    CString s;
    s.AddChars(c->endChars, 0, 2);
    return s;
  }
  if (cfgInputManager.UseChnPunctMark)
    return CharText(e.PeekEngChar2GB(static_cast<unsigned char>(c->endChars[0]), 0, 1));
  CString s;
  s += c->endChars[0];
  return s;
}

// The member at index of entry name of set m; false when either is absent.
bool Member(CChnChars& e, int m, const char* name, int index, CString& out) {
  CStringArray words;
  if (!e.m_abstracts[m].Lookup(name, words) || index < 0 || index >= words.GetSize()) return false;
  out = words[index];
  return true;
}

int SetMemberText(CChnChars& e, typForecastCell* c, CString& out) {
  const int m = c->type - fcc::kSetMember0;
  const char letter = (c->type == fcc::kSetMember1 && !c->id) ? 'P' : c->id;
  e.m_curPriorId = letter;
  typPriorIdInfo b{};
  const bool bound = letter && FccIdInfoFunc(0, e.m_priorIds, letter, b);
  bool found = false;
  if (c->type == fcc::kSetMember0) {
    if (!GetFccIdInfoPtr(e.m_priorIds, letter)) {
      found = Member(e, 0, c->text, 0, out);
    } else if (bound) {
      found = Member(e, 0, b.text, b.index, out);
      if (!found) EngineDiag("m_abstracts[m].Lookup2");
    } else {
      Bind(e, letter, fcc::kSetMember0, c->text, c->text.GetLength(), 0);
      found = Member(e, 0, c->text, 0, out);
      if (!found) EngineDiag("m_abstracts[m].Lookup3");
    }
  } else if (letter == 'P' && bound) {
    const int partner = b.index % 2 == 0 ? b.index + 1 : b.index - 1;
    found = Member(e, 1, b.text, partner, out);
    if (!found) EngineDiag("m_abstracts[m].Lookup5-1");
  } else if (!bound) {
    found = Member(e, 1, c->text, 0, out);
    if (!found) EngineDiag("m_abstracts[m].Lookup3-1");
  } else {
    found = Member(e, 1, b.text, b.index, out);
    if (!found) EngineDiag("m_abstracts[m].Lookup2-1");
  }
  if (found) return 1;
  if (Member(e, m, c->text, 0, out)) return 1;
  EngineDiag("m_abstracts[m].Lookup3-2");
  out.Empty();
  return 0;
}

// The rule a reference cell names, or the cell itself.
typForecastCell* Resolve(CChnChars& e, typForecastCell* c, int group) {
  if (c->type != fcc::kSequence || c->children.GetSize() > 0) return c;
  if (group < 0 || group >= fcc::kGroups ||
      c->ref >= static_cast<uint32_t>(e.m_forecastRules[group].GetSize()))
    return nullptr;
  return e.m_forecastRules[group][c->ref];
}

}  // namespace

int CChnChars::GetForecastResultHelper(typForecastCell* cell, CString& out) {
  out.Empty();
  DepthGuard guard(*this);
  if (!guard.Ok() || !cell) return 0;
  const char letter = cell->id;
  typPriorIdInfo b{};
  const bool bound = letter && FccIdInfoFunc(0, m_priorIds, letter, b);
  if (letter == 'X' || letter == 'Y' || letter == 'Z') {
    const typPriorIdInfo* slot = GetFccIdInfoPtr(m_priorIds, letter);
    out = CString(slot->text);
    return 1;
  }
  if (letter == 'E' && bound && b.text[0] == 0) return 1;
  m_curPriorId = letter;
  if (cell->flags & fcc::kFlagNoText) return 1;
  const int n = cell->children.GetSize();
  switch (cell->type) {
    case fcc::kInvalid: EngineDiag("fccInvalid4"); return 0;
    case fcc::kSequence:
    case fcc::kSwitchable:
      for (int i = 0; i < n; ++i) {
        CString t;
        if (GetForecastResultHelper(cell->children[i], t)) out += t;
      }
      return 1;
    case fcc::kLiteral: out = cell->text; return 1;
    case fcc::kFreeText:
    case fcc::kNumerals: return 1;
    case fcc::kOptional:
    case fcc::kOneOf: {
      if (n == 0) return 1;
      int i = 0;
      if (m_curPriorId == 'M' || m_curPriorId == 'N') {
        const typPriorIdInfo* slot = GetFccIdInfoPtr(m_priorIds, m_curPriorId);
        i = slot->index;
        if (i >= n) return 0;  // a choice this cell does not have
      }
      return GetForecastResultHelper(cell->children[i], out);
    }
    case fcc::kSetMember0:
    case fcc::kSetMember1: return SetMemberText(*this, cell, out);
    default: return 0;
  }
}

int CChnChars::GetForecastResult(typForecastCell* rule, int from, CStringArray& out, int group) {
  DepthGuard guard(*this);
  if (!guard.Ok() || !rule || from < 0) return 0;
  CString t;
  if (IsLeafNode(rule)) {
    if (!GetForecastResultHelper(rule, t)) return 0;
    out.Add(t);
    return 1;
  }
  if (from > rule->children.GetSize()) {
    EngineDiag("GetForecastResult error1");
    return 0;
  }
  if (rule->type == fcc::kOneOf) {
    for (int i = from; i < rule->children.GetSize(); ++i)
      if (GetForecastResultHelper(rule->children[i], t)) out.Add(t);
    return out.GetSize() > 0;
  }
  typForecastCell* r = rule->children.GetSize() > 0 ? rule : Resolve(*this, rule, group);
  if (!r) return 0;
  const int n = r->children.GetSize();
  if (from == n - 1 && r->children[from]->type == fcc::kOneOf) {
    typForecastCell* alts = r->children[from];
    for (int i = 0; i < alts->children.GetSize(); ++i)
      if (GetForecastResultHelper(alts->children[i], t)) out.Add(t);
    return out.GetSize() > 0;
  }
  CString whole;
  for (int i = from; i < n; ++i) {
    typForecastCell* c = Resolve(*this, r->children[i], group);
    if (!c || !GetForecastResultHelper(c, t)) continue;
    if (r->type == fcc::kCycle && !t.IsEmpty() && c->endChars[0] != 0) t += CycleEndChar(*this, c);
    whole += t;
  }
  if (!whole.IsEmpty()) out.Add(whole);
  return out.GetSize() > 0;
}

namespace {

// The completion of a sequence (or of a switchable pair in the order
// given): the typed text ends inside child i.
int CompleteRun(CChnChars& e, char* text, int s, int end, typForecastCell* owner,
                ForecastCellList& kids, CString& out, int group, int& partial, bool limit) {
  const int n = kids.GetSize();
  for (int i = 0; i < n; ++i) {
    typForecastCell* child = kids[i];
    for (int p = std::max(s, end - 2 * child->maxLen); p < end; p += 2) {
      if (!e.Group2GroupMatch(text, s, p, kids, 0, i, group)) continue;
      CString rest;
      if (!e.IsCellPrefixNGetForecastResult(text, p, end, child, rest, group, partial)) continue;
      out = rest;
      const bool partialLimit = limit && (owner->flags & fcc::kFlagPartial) &&
                                static_cast<uint32_t>(i) < owner->ref &&
                                !(static_cast<uint32_t>(i) + 1 == owner->ref && out.IsEmpty());
      if (partialLimit) {
        partial = 1;
        return 1;
      }
      partial = 0;
      for (int j = i + 1; j < n; ++j) {
        CString t;
        if (e.GetForecastResultHelper(kids[j], t)) out += t;
      }
      return 1;
    }
  }
  return 0;
}

}  // namespace

int CChnChars::IsCellPrefixNGetForecastResult(char* text, int s, int e, typForecastCell* cell,
                                              CString& out, int group, int& partial) {
  partial = 0;
  DepthGuard guard(*this);
  if (!guard.Ok() || !cell || s < 0 || e < s) return 0;
  const int L = e - s;
  switch (cell->type) {
    case fcc::kInvalid: EngineDiag("fccInvalid3"); return 0;
    case fcc::kLiteral:
      if (L > cell->text.GetLength() || std::memcmp(text + s, cell->text.GetString(), L) != 0)
        return 0;
      out = cell->text.Right(cell->text.GetLength() - L);
      return 1;
    case fcc::kOptional:
    case fcc::kOneOf:
      for (int i = 0; i < cell->children.GetSize(); ++i) {
        typForecastCell* c = cell->children[i];
        if (L <= 2 * c->maxLen &&
            IsCellPrefixNGetForecastResult(text, s, e, c, out, group, partial))
          return 1;
      }
      return 0;
    case fcc::kSwitchable:
    case fcc::kSequence: {
      if (cell->type == fcc::kSwitchable && cell->children.GetSize() != 2)
        EngineDiag("fccSwitchable error1-3");
      typForecastCell* c = Resolve(*this, cell, group);
      if (!c) return 0;
      if (CompleteRun(*this, text, s, e, c, c->children, out, group, partial, true)) return 1;
      if (cell->type != fcc::kSwitchable || c->children.GetSize() != 2) return 0;
      ForecastCellList reversed;
      reversed.Add(c->children[1]);
      reversed.Add(c->children[0]);
      return CompleteRun(*this, text, s, e, c, reversed, out, group, partial, false);
    }
    default: return 0;
  }
}

int CChnChars::ForecastAddEndchars(CStringArray& list, typForecastCell* cell) {
  const CString end = ForecastEndChar(*this, cell);
  if (end.IsEmpty()) return 0;
  for (int i = 0; i < list.GetSize(); ++i) list[i] += end;
  return 0;
}

int CChnChars::ForecastAddEndcharsSingle(CString& str, typForecastCell* cell) {
  str += ForecastEndChar(*this, cell);
  return 1;
}
