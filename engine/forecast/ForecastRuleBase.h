// ForecastRuleBase.h: reading and freeing the forecast rule base, the
// tables that fccdic.bin (engine/formats/ForecastFormat.h) fills: the two abstract
// word sets, the rule trees of the six groups and their key indexes.
//
// The engine keeps its tables in CChnChars (m_abstracts, m_forecastRules,
// m_forecastKeys) and loads them with CChnChars::LoadForecastDB; the rule
// compiler (tools/fccgen) reads its own output back through the same reader
// to prove that the engine will take it. ForecastTables only points at the
// caller's arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/forecast/typForecastCell.h"

class ByteReader;

using AbstractSetMap = AMap<CString, const char*, CStringArray, CStringArray&>;
using ForecastKeyMap = AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&>;

struct ForecastTables {
  AbstractSetMap* abstracts;  // fcc::kSets maps, borrowed
  ForecastCellList* rules;    // fcc::kGroups lists, borrowed
  ForecastKeyMap* keys;       // fcc::kGroups maps, borrowed
};

// Tables of their own, for readers other than the engine (the rule
// compiler's check of its output, tests); the rules are freed with them.
struct OwnedForecastTables {
  AbstractSetMap sets[fcc::kSets] = {AbstractSetMap(kBlock), AbstractSetMap(kBlock)};
  ForecastCellList rules[fcc::kGroups];
  ForecastKeyMap keys[fcc::kGroups] = {ForecastKeyMap(kBlock), ForecastKeyMap(kBlock),
                                       ForecastKeyMap(kBlock), ForecastKeyMap(kBlock),
                                       ForecastKeyMap(kBlock), ForecastKeyMap(kBlock)};
  OwnedForecastTables() { sets[0].m_nTextHash = sets[1].m_nTextHash = 1; }
  ~OwnedForecastTables();
  OwnedForecastTables(const OwnedForecastTables&) = delete;
  OwnedForecastTables& operator=(const OwnedForecastTables&) = delete;
  ForecastTables Tables() { return ForecastTables{sets, rules, keys}; }

 private:
  static constexpr int kBlock = 16;  // records per pool block of each map
};

// Reads the whole file image into t (emptied first) and checks it: every
// count, length and type against the format, every reference against the
// rules and sets it names. True on success; false with a message that says
// what was wrong and at which byte, and t left empty.
[[nodiscard]] bool ReadForecastTables(const uint8_t* data, size_t size, const ForecastTables& t,
                                      std::string& error);
// Deletes every rule tree and empties the sets, groups and key maps.
void FreeForecastTables(const ForecastTables& t);

// Reads one cell (and its children) from in into cell, which must be an
// empty cell. 1 on success; 0 for a type byte of 0 or above 14, a cell
// nested deeper than fcc::kMaxCellDepth or bytes missing (in's error is
// then set or the cell is left partly filled for the caller to delete).
int ReadACell(typForecastCell*& cell, ByteReader& in);
// Reads a u8 length and that many bytes into s; a length of 0 leaves s as
// it was. Returns the length byte (0 also when the bytes are missing).
int ReadString(CString& s, ByteReader& in);
