// Forecast matching: whether a cell, or a run of sibling cells, matches a
// span of the forecast history exactly, backtracking over the lengths of
// every cell and recording what it matched in the capture slots.
//
// Spans never grow past the span a call was given, so every read stays in
// the text of the outermost call; the one way a span could turn negative,
// a back-reference longer than what is left, is refused where it happens.
#include <algorithm>
#include <cstring>

#include "base/ChnChar.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/forecast/ForecastSupport.h"

namespace forecast {

void Bind(CChnChars& e, char letter, uint8_t kind, const char* text, int n, uint16_t index,
          uint8_t kind2) {
  typPriorIdInfo* slot = GetFccIdInfoPtr(e.m_priorIds, letter);
  if (!slot) return;
  n = std::max(0, std::min(n, fcc::kSlotTextBytes - 1));
  std::memcpy(slot->text, text, static_cast<size_t>(n));
  slot->text[n] = 0;
  slot->kind = kind;
  slot->kind2 = kind2;
  slot->index = index;
}

bool SpanEquals(const typPriorIdInfo& binding, const char* p, int n) {
  return static_cast<int>(strnlen(binding.text, sizeof binding.text)) == n &&
         std::memcmp(binding.text, p, static_cast<size_t>(n)) == 0;
}

}  // namespace forecast

using namespace forecast;

namespace {

constexpr unsigned short kLeftDoubleQuote = 0xB0A1;   // A1B0, lead byte low
constexpr unsigned short kRightDoubleQuote = 0xB1A1;  // A1B1

bool InBounds(const typForecastCell* c, int L) { return L >= 2 * c->minLen && L <= 2 * c->maxLen; }

bool IsXYZ(char c) { return c == 'X' || c == 'Y' || c == 'Z'; }

// The binding of the cell's letter as the matcher enters it.
bool NoteBinding(CChnChars& e, const typForecastCell* c, typPriorIdInfo& binding) {
  return c->id != 0 && FccIdInfoFunc(0, e.m_priorIds, c->id, binding) == 1;
}

bool QuotePair(const char* text, int s, int L, const typPriorIdInfo& b) {
  if (L != 2) return false;
  const unsigned short ch = CharAt(text, s);
  const unsigned short bound = strnlen(b.text, sizeof b.text) == 2 ? CharAt(b.text, 0) : 0;
  return (ch == kRightDoubleQuote && bound == kLeftDoubleQuote) ||
         (ch == kLeftDoubleQuote && bound == kRightDoubleQuote);
}

bool BadWordBefore(const char* text, int s, const typForecastCell* c) {
  for (int i = 0; i < c->badCiAtStart.GetSize(); ++i) {
    const CString& w = c->badCiAtStart[i];
    if (w.GetLength() <= s &&
        std::memcmp(text + s - w.GetLength(), w.GetString(), w.GetLength()) == 0)
      return true;
  }
  return false;
}

bool BadWordInside(const char* text, int s, int e, const typForecastCell* c) {
  for (int i = 0; i < c->badCiInside.GetSize(); ++i) {
    const CString& w = c->badCiInside[i];
    for (int p = s; p < e - w.GetLength(); p += 2)
      if (std::memcmp(text + p, w.GetString(), w.GetLength()) == 0) return true;
  }
  return false;
}

}  // namespace

// ---- One cell on one span

namespace {

int MatchOneOf(CChnChars& e, char* text, int s, int end, typForecastCell* c, int group, bool bound,
               const typPriorIdInfo& b) {
  const int L = end - s;
  const char letter = c->id;
  Snapshot snap;
  if (letter) {
    e.m_curPriorId = letter;
    snap = Take(e);
  }
  int matched = -1;
  for (int i = 0; i < c->children.GetSize() && matched < 0; ++i) {
    bool tried = true;
    if (bound && (letter == 'M' || letter == 'N'))
      tried = i == b.index;
    else if (bound && IsXYZ(letter))
      tried = SpanEquals(b, text + s, L) || QuotePair(text, s, L, b);
    typForecastCell* child = c->children[i];
    if (tried && InBounds(child, L) && e.ForecastMatchHelper(text, s, end, child, group))
      matched = i;
  }
  if (matched >= 0 && letter && !bound)
    Bind(e, letter, c->type, text + s, L, static_cast<uint16_t>(matched));
  if (letter) {
    e.m_curPriorId = 0;
    if (matched < 0) Restore(e, snap);
  }
  return matched >= 0;
}

int MatchFreeOrNumerals(CChnChars& e, const char* text, int s, int end, const typForecastCell* c,
                        bool bound, const typPriorIdInfo& b) {
  const int L = end - s;
  for (int p = s; p < end; p += 2) {
    const unsigned short ch = CharAt(text, p);
    if (c->type == fcc::kNumerals ? !CChnChars::IsChnNumeric(ch) : CChnChars::IsChnPunctuation(ch))
      return 0;
  }
  if (!InBounds(c, L)) return 0;
  if (c->id) e.m_curPriorId = c->id;
  if (e.m_curPriorId) {
    const char letter = e.m_curPriorId;
    e.m_curPriorId = 0;
    if (!bound)
      Bind(e, letter, c->type, text + s, L, 0);
    else if (!SpanEquals(b, text + s, L))
      return 0;
  }
  return 1;
}

int MatchOptional(CChnChars& e, char* text, int s, int end, typForecastCell* c, int group,
                  bool bound, const typPriorIdInfo& b) {
  const int L = end - s;
  if (bound && c->id == 'E') {
    if (b.text[0] == 0) return L == 0;
    if (L == 0) return 0;
    return MatchOneOf(e, text, s, end, c, group, bound, b);
  }
  if (L == 0) {
    if (!c->id) return 1;
    typPriorIdInfo cur;
    if (FccIdInfoFunc(0, e.m_priorIds, e.m_curPriorId, cur)) {
      if (cur.text[0] == 0) return 1;
    } else {
      Bind(e, c->id, fcc::kOptional, "", 0, 0);
      return 1;
    }
  }
  return MatchOneOf(e, text, s, end, c, group, bound, b);
}

int MatchSwitchable(CChnChars& e, char* text, int s, int end, typForecastCell* c, int group,
                    bool bound, const typPriorIdInfo& b) {
  const int L = end - s;
  if (bound && !SpanEquals(b, text + s, L)) return 0;
  const char letter = c->id;
  Snapshot snap;
  if (letter) {
    e.m_curPriorId = letter;
    snap = Take(e);
  }
  int ok = 0;
  if (c->children.GetSize() != 2) {
    EngineDiag("fccSwitchable error19");
  } else {
    ok = e.Group2GroupMatch(text, s, end, c->children, 0, 2, group);
    if (!ok) {
      ForecastCellList swapped;
      swapped.Add(c->children[1]);
      swapped.Add(c->children[0]);
      ok = e.Group2GroupMatch(text, s, end, swapped, 0, 2, group);
    }
  }
  if (letter) {
    e.m_curPriorId = 0;
    if (!ok)
      Restore(e, snap);
    else
      Bind(e, letter, fcc::kSwitchable, text + s, L, 0);
  }
  return ok;
}

int MatchSetMember(CChnChars& e, const char* text, int s, int end, const typForecastCell* c,
                   bool bound, const typPriorIdInfo& b) {
  const int L = end - s;
  if (bound && !SpanEquals(b, text + s, L)) return 0;
  if (L <= 0 || !InBounds(c, L)) return 0;
  const int set = c->type - fcc::kSetMember0;
  unsigned short index = 0;
  int ok = e.MatchAbstract(text + s, L, c->text, set, index);
  if (!ok) return 0;
  if (c->id) {
    e.m_curPriorId = c->id;
    if (!bound) {
      if (c->type == fcc::kSetMember0)
        Bind(e, c->id, c->type, text + s, L, index, c->type);
      else
        Bind(e, c->id, c->type, c->text, c->text.GetLength(), index, c->type);
    }
  } else if (c->type == fcc::kSetMember1) {
    typPriorIdInfo p;
    if (!FccIdInfoFunc(0, e.m_priorIds, 'P', p)) {
      Bind(e, 'P', fcc::kSetMember1, c->text, c->text.GetLength(), index);
    } else {
      CStringArray words;
      if (!e.m_abstracts[1].Lookup(p.text, words)) {
        EngineDiag("m_abstracts[m].Lookup5");
      } else if (p.index < words.GetSize() && words[p.index].GetLength() == L &&
                 std::memcmp(words[p.index].GetString(), text + s, L) == 0) {
        ok = 0;  // a second pair cell matches only another member
      }
    }
  }
  e.m_curPriorId = 0;
  return ok;
}

}  // namespace

int CChnChars::ForecastMatchHelper(char* text, int s, int e, typForecastCell* cell, int group) {
  DepthGuard guard(*this);
  if (!guard.Ok() || !cell || s < 0 || e < s) return 0;
  const int L = e - s;
  typPriorIdInfo b{};
  const bool bound = NoteBinding(*this, cell, b);
  if (BadWordBefore(text, s, cell) || BadWordInside(text, s, e, cell)) return 0;
  if (cell->type == fcc::kOneOf && cell->children.GetSize() == 0) cell->type = fcc::kFreeText;

  switch (cell->type) {
    case fcc::kInvalid: EngineDiag("fccInvalid2"); return 0;
    case fcc::kSequence: {
      if (cell->children.GetSize() == 0) {
        if (group < 0 || group >= fcc::kGroups ||
            cell->ref >= static_cast<uint32_t>(m_forecastRules[group].GetSize()))
          return 0;
        return ForecastMatchHelper(text, s, e, m_forecastRules[group][cell->ref], group);
      }
      if (bound && !SpanEquals(b, text + s, L)) return 0;
      const char letter = cell->id;
      Snapshot snap;
      if (letter) {
        m_curPriorId = letter;
        snap = Take(*this);
      }
      const int ok =
          Group2GroupMatch(text, s, e, cell->children, 0, cell->children.GetSize(), group);
      if (letter) {
        if (!ok) {
          Restore(*this, snap);
          m_curPriorId = 0;
        } else if (letter == 'M' || letter == 'N') {
          m_curPriorId = 0;
        } else {
          Bind(*this, letter, fcc::kSequence, text + s, L, 0);
        }
      }
      return ok;
    }
    case fcc::kLiteral:
      return L == cell->text.GetLength() && std::memcmp(text + s, cell->text.GetString(), L) == 0;
    case fcc::kFreeText:
    case fcc::kNumerals: return MatchFreeOrNumerals(*this, text, s, e, cell, bound, b);
    case fcc::kOptional: return MatchOptional(*this, text, s, e, cell, group, bound, b);
    case fcc::kOneOf: return MatchOneOf(*this, text, s, e, cell, group, bound, b);
    case fcc::kSwitchable: return MatchSwitchable(*this, text, s, e, cell, group, bound, b);
    case fcc::kSetMember0:
    case fcc::kSetMember1: return MatchSetMember(*this, text, s, e, cell, bound, b);
    default: return 0;
  }
}

// ---- A run of cells on one span

namespace {

struct Run {
  CChnChars& e;
  char* text;
  int s, end;
  ForecastCellList& cells;
  int from, to, group;

  typForecastCell* Cell() { return cells[from]; }
  int Rest(int p) { return e.Group2GroupMatch(text, p, end, cells, from + 1, to, group); }

  // Tries every end of the first cell, shortest first. setCur: the cell
  // sets m_curPriorId to its letter (0 included) for each attempt, else an
  // enclosing cell's letter stays; snapshots when a slot may change.
  int General(bool setCur, bool snapshots) {
    typForecastCell* c = Cell();
    const int lo = s + std::max(2 * c->minLen, 2);
    const int hi = std::min(s + 2 * c->maxLen, end);
    const char outer = e.m_curPriorId;
    const char cur = setCur ? c->id : outer;
    for (int p = lo; p <= hi; p += 2) {
      e.m_curPriorId = cur;
      const Snapshot snap = Take(e);
      if (e.ForecastMatchHelper(text, s, p, c, group) && Rest(p)) return Done(c->id, 1);
      if (snapshots) Restore(e, snap);
    }
    e.m_curPriorId = cur;
    return Done(c->id, 0);
  }
  int Done(char letter, int r) {
    if (letter) e.m_curPriorId = 0;
    return r;
  }

  int Literal() {
    typForecastCell* c = Cell();
    if (BadWordBefore(text, s, c)) return 0;
    const char* want = c->text.GetString();
    int n = c->text.GetLength();
    if (c->id) {
      e.m_curPriorId = c->id;
      if (const typPriorIdInfo* slot = GetFccIdInfoPtr(e.m_priorIds, c->id)) {
        if (slot->text[0]) {
          want = slot->text;
          n = static_cast<int>(strnlen(slot->text, sizeof slot->text));
        }
      }
    }
    int r = 0;
    if (n <= end - s && std::memcmp(text + s, want, n) == 0) {
      const Snapshot snap = Take(e);
      r = Rest(s + n);
      if (!r && c->id) Restore(e, snap);
    }
    return Done(c->id, r);
  }

  // One end p of a free-text or numerals cell against its letter's slot.
  int TryEnd(int p, bool keepLetter) {
    typForecastCell* c = Cell();
    const typPriorIdInfo* slot = GetFccIdInfoPtr(e.m_priorIds, c->id);
    if (slot && slot->kind && !SpanEquals(*slot, text + s, p - s)) return 0;
    const Snapshot snap = Take(e);
    if (slot && !slot->kind) Bind(e, c->id, c->type, text + s, p - s, 0);
    if (keepLetter) e.m_curPriorId = c->id;
    if (Rest(p)) return 1;
    Restore(e, snap);
    return 0;
  }

  bool Refused(int p, bool numerals) {
    const unsigned short ch = CharAt(text, p);
    if (numerals) return !CChnChars::IsChnNumeric(ch);
    return CChnChars::IsChnPunctuation(ch) || HasBadCi(text, s, p, Cell());
  }

  int Stretch(bool numerals) {
    typForecastCell* c = Cell();
    const bool keepLetter = numerals && c->id;
    const int minEnd = std::min(s + 2 * c->minLen, end);
    for (int p = s; p < minEnd; p += 2)
      if (Refused(p, numerals)) return Done(c->id, 0);
    if (c->minLen < c->maxLen) {
      const int hi = std::min(s + 2 * c->maxLen, end);
      for (int p = s + 2 * c->minLen; p <= hi; p += 2) {
        if (TryEnd(p, keepLetter)) return Done(c->id, 1);
        if (p + 2 <= end && Refused(p, numerals)) break;
      }
      return Done(c->id, 0);
    }
    return Done(c->id, TryEnd(minEnd, keepLetter));
  }

  int Optional() {
    typForecastCell* c = Cell();
    typPriorIdInfo b{};
    const bool bound = NoteBinding(e, c, b);
    const bool onlyEmpty = bound && c->id == 'E' && b.text[0] == 0;
    const bool onlyText = bound && c->id == 'E' && b.text[0] != 0;
    if (!onlyText) {
      const Snapshot snap = Take(e);
      if (c->id) e.m_curPriorId = c->id;
      if (c->id == 'E' && !bound) Bind(e, 'E', fcc::kOptional, "", 0, 0);
      if (Rest(s)) return Done(c->id, 1);
      Restore(e, snap);
      if (onlyEmpty) return Done(c->id, 0);
    }
    return General(c->id != 0, c->id != 0);
  }
};

}  // namespace

int CChnChars::Group2GroupMatch(char* text, int s, int e, ForecastCellList& cells, int from, int to,
                                int group) {
  DepthGuard guard(*this);
  if (!guard.Ok() || s < 0 || e < s || from < 0 || to > cells.GetSize()) return 0;
  const int L = e - s;
  const int k = to - from;
  if (k <= 0) return L == 0 && k == 0;
  typForecastCell* c = cells[from];
  if (k == 1) return InBounds(c, L) ? ForecastMatchHelper(text, s, e, c, group) : 0;

  Run run{*this, text, s, e, cells, from, to, group};
  if (IsXYZ(c->id)) {
    const typPriorIdInfo* slot = GetFccIdInfoPtr(m_priorIds, c->id);
    const int n = static_cast<int>(strnlen(slot->text, sizeof slot->text));
    // A capture longer than the span left cannot repeat here.
    if (n > 0 && n <= L && std::memcmp(text + s, slot->text, n) == 0) return run.Rest(s + n);
  }
  switch (c->type) {
    case fcc::kInvalid: EngineDiag("fccInvalid3"); return 0;
    case fcc::kSequence:
    case fcc::kOneOf: return run.General(c->id != 0, c->id != 0);
    case fcc::kSwitchable: {
      if (run.General(c->id != 0, c->id != 0)) return 1;
      SwitchSwitchableRule(c);
      const int r = run.General(c->id != 0, c->id != 0);
      SwitchSwitchableRule(c);
      return r;
    }
    case fcc::kLiteral: return run.Literal();
    case fcc::kFreeText: return run.Stretch(false);
    case fcc::kNumerals: return run.Stretch(true);
    case fcc::kOptional: return run.Optional();
    case fcc::kSetMember0:
    case fcc::kSetMember1: return run.General(true, c->id != 0 || c->type == fcc::kSetMember1);
    default: return 0;
  }
}

// ---- Abstract sets and end punctuation

int CChnChars::MatchAbstract(const char* text, int len, CString name, int set,
                             unsigned short& index) {
  DepthGuard guard(*this);
  if (!guard.Ok() || set < 0 || set >= fcc::kSets || len < 0) return 0;
  CStringArray words;
  if (!m_abstracts[set].Lookup(name, words)) return 0;
  for (int i = 0; i < words.GetSize(); ++i) {
    const CString& w = words[i];
    if (w.GetLength() > 0 && w[0] == '(') {
      if (w.GetLength() < 2) return 0;
      return MatchAbstract(text, len, w.Mid(1, w.GetLength() - 2), set, index);
    }
    if (len <= w.GetLength() && std::memcmp(w.GetString(), text, len) == 0) {
      index = static_cast<unsigned short>(i);
      return 1;
    }
  }
  return 0;
}

int CChnChars::IsMatchingBiaoDian(unsigned short ch, const char* ends, int loose) const {
  // Sentence ends that the loose test takes for one another (memory order).
  static constexpr unsigned short kLooseEnds[] = {0xACA3, 0xA1A3, 0xBBA3, 0xBFA3, 0xA3A1};
  if (!ends || !ends[0] || ch == 0) return 0;
  for (int i = 0; i < fcc::kEndCharBytes && ends[i]; ++i) {
    const char b = ends[i];
    if (loose && std::strchr(".!,;?", b) &&
        std::find(std::begin(kLooseEnds), std::end(kLooseEnds), ch) != std::end(kLooseEnds))
      return 1;
    if (PeekEngChar2GB(static_cast<unsigned char>(b), 2, 1) == ch) {
      const char next = i + 1 < fcc::kEndCharBytes ? ends[i + 1] : 0;
      return next != b ? 1 : 0;
    }
  }
  return 0;
}

const char* CChnChars::GetRuleEndChars(typForecastCell* cell, int group) {
  // The loader refuses reference loops; the bound is for rules built in
  // memory.
  for (int hops = 0;
       cell && cell->type == fcc::kSequence && cell->children.GetSize() == 0 && hops < kMaxDepth;
       ++hops) {
    if (group < 0 || group >= fcc::kGroups ||
        cell->ref >= static_cast<uint32_t>(m_forecastRules[group].GetSize()))
      break;
    cell = m_forecastRules[group][cell->ref];
  }
  return cell ? cell->endChars : "";
}
