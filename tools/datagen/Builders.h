// Builders.h: the builders of the engine's data files. Each reads the model
// and adds finished file images to a FileSet; problems that must fail the
// build go into the report's errors. CheckInvariants re-reads the images the
// way the engine will and reports every broken limit.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/datagen/Model.h"

namespace datagen {

using FileSet = std::map<std::string, std::string>;  // file name -> bytes

struct Report {
  std::vector<std::string> errors;  // any error fails the build
  std::vector<std::string> notes;   // counts, printed
};

// The frequencies below which phrases are left out of the store: every
// phrase below `any`, and a phrase that only the essay word list holds (no
// pinyin dictionary lists it) below `essayOnly`.
struct PhraseFloors {
  double any = 0;
  double essayOnly = 0;
};

// The shipped floors. The essay list holds some 150,000 phrases that no
// pinyin dictionary lists, counted mostly between 300 and 1000: real words
// (水平面, 汽化器) beside chance runs of characters (下有, 和南). Being
// longer than the words they overlap, the runs won the longest-prefix walk
// of a key typed as one string ("yuanchengzhuji" gave 袁承志及, not 远程主机).
// The essay-only floor was chosen with the typing-quality benchmark
// (bench/quality; 400 words, 300 two-word pairs, 300 short phrases; "before"
// is the data without this floor and with the interjection syllables):
//   floor   words right  pairs right  phrases right  phrases kept
//   before      365          223           159          206,337
//    300        365          226           165          178,960
//    500        365          241           171          110,696
//   1000        366          255           183           55,712
// 500 loses no word and no pair against before and raises pairs by 18 and
// phrases by 12 (16 gained, 4 classical sayings lost). 1000 gains more but
// loses technical words (十六进制, 指导方针 typed as pairs) and 11 phrases,
// and drops nearly every essay-only phrase, the real words among them.
constexpr PhraseFloors kShippedPhraseFloors{30, 500};
// Most phrases filed under one key of the initials index.
constexpr size_t kMaxInitialsPerKey = 64;

// gbkflat.dic, pykeys.dic, ch2py.bin, ch2pypz1.bin, ch2pypz2.bin,
// py_1key.dic, sort.dic, bihuaku.bin.
void BuildPinyinCharFiles(const Model& m, FileSet& files, Report& report);
// chdicres.bin, ch2key.bin, chndic2.bin.
void BuildShapeCodeFiles(const Model& m, FileSet& files, Report& report);
// CiZuFlat.igb, pycizudic.idx, py2_3ZiCi1stZuMu.idx, pxcizudic.idx.
void BuildPhraseFiles(const Model& m, const PhraseFloors& floors, FileSet& files, Report& report);
// gbk2b5.bin, b5gbk.bin.
void BuildBig5Files(const Inputs& in, FileSet& files, Report& report);
// vmodewords.dic.
void BuildVModeFile(const Inputs& in, FileSet& files, Report& report);

// Checks every image against the limits the engine relies on.
void CheckInvariants(const FileSet& files, Report& report);

// The readings the lexicon takes first for a character (ch2py.bin): the
// most used one and any other with a share of at least 10 percent.
std::vector<std::string> MainReadings(const CharInfo& c);

}  // namespace datagen
