// FccRules.h: the forecast rule compiler: a readable text form of the
// forecast rules, parsed, checked and compiled into fccdic.bin
// (engine/formats/ForecastFormat.h). The compiler computes what the file must keep
// consistent with the rules: every cell's length bounds, every rule's
// bounds and the key index that tells the engine where to try a rule.
//
// Text form (UTF-8; '#' not followed by a digit starts a comment outside
// quotes; one item a line):
//
//   set0 NAME: word word ...      an entry of abstract set 0 (type-9 cells)
//   set1 NAME: a1 b1 a2 b2 ...    an entry of set 1: members 2k and 2k+1
//                                 are partners (type-10 cells)
//   group N                       the following rules go to group N (0..5)
//   cycle [NAME] [{attrs}]: S1 S2 ...
//       a cycle of sentences; each sentence is its text followed by one
//       ASCII end character (",.;:!?_\" ...) and optional {attrs}
//   seq [NAME] [{attrs}]: CONDITION / SEPARATOR / FORECAST
//       a sequence rule; the condition and forecast are runs of cells, the
//       separator is one cell ("" for none)
//   pattern NAME [{attrs}]: CELLS
//       a sequence that only reference cells use; it never fires itself
//
// Cells:
//   text or "text"    literal                   *N-M   free text, N..M chars
//   [cells]           sequence                  #N-M   numerals
//   (a | b c | d)     one of (an alternative of several cells is a sequence)
//   ?(a | b)          optional                  <a b>  switchable pair
//   @NAME             member of set0 entry      &NAME  member of set1 entry
//   =NAME             the pattern or rule NAME of the same group
// Attributes, after a cell or a rule keyword: {a, b, ...} with
//   E M N P X Y Z     capture letter            notext  no output
//   partial=N         partial completion limit  bad=w/w  badstart=w/w
//   end=C             end character (ASCII punctuation or one Chinese one)
//   quiet any reverse addend atstart nosep mayend neverend   (flags)
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fccgen {

struct Cell {
  uint8_t type = 0;
  uint32_t ref = 0;
  uint16_t flags = 0;
  char id = 0;
  int minLen = 0, maxLen = 0;  // characters
  uint8_t split = 0;
  std::string endChars;                            // at most 6 bytes, written NUL-padded
  std::string text;                                // GBK
  std::vector<std::string> badInside, badAtStart;  // GBK
  std::string refName;                             // a reference cell before it is resolved
  std::vector<std::unique_ptr<Cell>> children;
};

struct Rule {
  std::string name;      // may be empty
  bool pattern = false;  // never keyed
  std::unique_ptr<Cell> cell;
  int line = 0;
};

struct RuleBase {
  // Set entries in file order: name and member words, GBK.
  std::vector<std::pair<std::string, std::vector<std::string>>> sets[2];
  std::vector<Rule> groups[6];
};

// Parses text (named `source` in messages) into base, appending to what it
// holds; group 0 until a "group" line says otherwise. False with messages
// "source:line: what" for every refused line (the rest is still parsed).
bool ParseRules(const std::string& text, const std::string& source, RuleBase& base,
                std::vector<std::string>& errors);

// Resolves references, computes every bound and key and writes the file
// image. False with messages on an inconsistent rule base (unknown names,
// bounds beyond the format, a condition longer than the history allows).
bool CompileRules(RuleBase& base, std::string& image, std::vector<std::string>& errors);

// The rule text of the poems of a fortunes-zh poem file (tang300, song100):
// every poem as a cycle of its sentences; poems with a sentence the format
// cannot hold are left out (their number goes to dropped). sentences, when
// given, receives every sentence (UTF-8).
std::string PoemRules(const std::string& fortunes, int& dropped,
                      std::set<std::string>* sentences = nullptr);
// The rule text of the two-part sayings of fortunes-zh's "chinese" file:
// entries of one line "first，second。" become condition, comma, forecast.
// An entry whose first part is in skip is left out: a couplet of a poem is
// forecast by the poem's cycle, line after line.
std::string SayingRules(const std::string& fortunes, const std::set<std::string>& skip = {});

// The whole build: the rule files, then (when fortunesDir is not empty) the
// poems of tang300 and song100 into group 3 and the sayings of "chinese"
// into group 2, compiled and read back through the engine's own reader.
// False with the reasons in errors; notes say what was left out.
bool BuildForecastFile(const std::vector<std::string>& ruleFiles, const std::string& fortunesDir,
                       std::string& image, std::vector<std::string>& notes,
                       std::vector<std::string>& errors);

}  // namespace fccgen
