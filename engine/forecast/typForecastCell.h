// typForecastCell.h: one node of a forecast rule tree (typForecastCell) and
// one capture slot of the forecast matcher (typPriorIdInfo), with the small
// helpers on them that need no engine state.
//
// A rule is a tree of cells read from fccdic.bin (engine/formats/ForecastFormat.h
// describes the file, engine/forecast/ForecastRuleBase.h loads it). Every cell owns
// its children and deletes them with itself, except a reversed form made by
// DuplicateForecastRule4NonDirectFire: it borrows the children of the rule
// it was made from and deletes only itself.
#pragma once

#include <cstdint>

#include "engine/formats/ForecastFormat.h"
#include "engine/internal/FrameworkTypes.h"

struct typForecastCell;
using ForecastCellList = AArray<typForecastCell*, typForecastCell*>;

struct typForecastCell {
  uint8_t type = 0;    // fcc::kCycle ... ; 0 an invalid cell
  uint32_t ref = 0;    // rule index of a reference cell; child limit of 0x0080
  uint16_t flags = 0;  // fcc::kFlag...
  char id = 0;         // capture letter E, M, N, P, X, Y, Z; 0 none
  uint8_t minLen = 0;  // characters the cell matches, at least
  uint8_t maxLen = 0;  // and at most
  uint8_t split = 0;   // sequence rule: condition children; split = separator
  char endChars[fcc::kEndCharBytes] = {};
  CString text;               // literal, or abstract set name
  CStringArray badCiInside;   // words that may not occur inside the match
  CStringArray badCiAtStart;  // words that may not stand just before it
  ForecastCellList children;  // owned unless ownsChildren is false
  bool ownsChildren = true;   // false only for a reversed form

  typForecastCell() = default;
  ~typForecastCell();
  typForecastCell(const typForecastCell&) = delete;
  typForecastCell& operator=(const typForecastCell&) = delete;

  // Deletes the owned children and returns to an empty cell of type 0.
  void Reset();
};

// One capture slot. kind 0: unbound.
struct typPriorIdInfo {
  char text[fcc::kSlotTextBytes];  // NUL-terminated captured text or set name
  uint8_t kind;                    // type of the cell that bound the slot
  uint8_t kind2;                   // written by abstract cells, otherwise unused
  uint16_t index;                  // child index (one-of) or member index
};

// The seven slots, in the order of fcc::kSlotLetters.
constexpr int kPriorIdSlots = 7;

// 1 for the leaf types: literal, free text, numerals, set members.
int IsLeafNode(const typForecastCell* cell);
// set nonzero: copies rec into the letter's slot, 1. set 0: copies the slot
// into rec and answers 1 when the slot is bound, else 0 (rec unchanged).
// A letter without slot answers 0.
int FccIdInfoFunc(int set, typPriorIdInfo* slots, char letter, typPriorIdInfo& rec);
// The letter's slot, or null for a letter without one.
typPriorIdInfo* GetFccIdInfoPtr(typPriorIdInfo* slots, char letter);
// Swaps the first two children (a switchable pair); no effect with fewer.
void SwitchSwitchableRule(typForecastCell* cell);
// The reversed form of a sequence rule: its forecast part becomes the
// condition and its condition the forecast, with the same separator. The
// new cell borrows the rule's children; the caller deletes it (which frees
// nothing else). A rule whose split does not name a separator child gives an
// invalid cell (type 0) without children, which matches nothing.
typForecastCell* DuplicateForecastRule4NonDirectFire(const typForecastCell* rule);
// 1 when the free-text span [s, p+2) begins with a word of the cell's
// badCiAtStart or ends with a word of its badCiInside.
int HasBadCi(const char* text, int s, int p, const typForecastCell* cell);
