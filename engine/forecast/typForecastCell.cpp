#include "engine/forecast/typForecastCell.h"

#include <cstring>

typForecastCell::~typForecastCell() { Reset(); }

void typForecastCell::Reset() {
  if (ownsChildren)
    for (int i = 0; i < children.GetSize(); ++i) delete children[i];
  children.RemoveAll();
  ownsChildren = true;
  text.Empty();
  badCiInside.RemoveAll();
  badCiAtStart.RemoveAll();
  type = 0;
  ref = 0;
  flags = 0;
  id = 0;
  minLen = maxLen = split = 0;
  std::memset(endChars, 0, sizeof endChars);
}

int IsLeafNode(const typForecastCell* cell) { return cell && fcc::IsLeafType(cell->type) ? 1 : 0; }

typPriorIdInfo* GetFccIdInfoPtr(typPriorIdInfo* slots, char letter) {
  if (letter == 0) return nullptr;
  const char* p = std::strchr(fcc::kSlotLetters, letter);
  return p ? &slots[p - fcc::kSlotLetters] : nullptr;
}

int FccIdInfoFunc(int set, typPriorIdInfo* slots, char letter, typPriorIdInfo& rec) {
  typPriorIdInfo* slot = GetFccIdInfoPtr(slots, letter);
  if (!slot) return 0;
  if (set) {
    *slot = rec;
    return 1;
  }
  if (slot->kind == 0) return 0;
  rec = *slot;
  return 1;
}

void SwitchSwitchableRule(typForecastCell* cell) {
  if (!cell || cell->children.GetSize() < 2) return;
  typForecastCell* first = cell->children[0];
  cell->children[0] = cell->children[1];
  cell->children[1] = first;
}

typForecastCell* DuplicateForecastRule4NonDirectFire(const typForecastCell* rule) {
  auto* r = new typForecastCell;
  r->type = rule->type;
  r->minLen = rule->minLen;
  r->maxLen = rule->maxLen;
  r->id = rule->id;
  r->flags = rule->flags;
  std::memcpy(r->endChars, rule->endChars, sizeof r->endChars);
  r->ownsChildren = false;
  const int n = rule->children.GetSize();
  const int s = rule->split;
  if (s >= n) {  // no separator: nothing to reverse, and no rule to name
    r->type = fcc::kInvalid;
    return r;
  }
  for (int i = s + 1; i < n; ++i) r->children.Add(rule->children[i]);
  r->children.Add(rule->children[s]);
  for (int i = 0; i < s; ++i) r->children.Add(rule->children[i]);
  r->split = static_cast<uint8_t>(n - s - 1);
  return r;
}

int HasBadCi(const char* text, int s, int p, const typForecastCell* cell) {
  const int n = p - s + 2;
  for (int i = 0; i < cell->badCiAtStart.GetSize(); ++i) {
    const CString& w = cell->badCiAtStart[i];
    if (w.GetLength() <= n && std::memcmp(text + s, w.GetString(), w.GetLength()) == 0) return 1;
  }
  for (int i = 0; i < cell->badCiInside.GetSize(); ++i) {
    const CString& w = cell->badCiInside[i];
    if (w.GetLength() <= n &&
        std::memcmp(text + p + 2 - w.GetLength(), w.GetString(), w.GetLength()) == 0)
      return 1;
  }
  return 0;
}
