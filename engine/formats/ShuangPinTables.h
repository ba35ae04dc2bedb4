// ShuangPinTables.h: the key tables of the three ShuangPin schemes (0 MS,
// 1 C_Star, 2 ZR): which initial a first key writes and which final a second
// key gives after a given first key. The engine's conversion of typed keys
// and the data generator's V-mode keys both read these tables.
#pragma once

#include <string>

namespace shuangpin {

enum Scheme { kMS = 0, kCStar = 1, kZR = 2 };
constexpr int kSchemes = 3;

// What the first key of a syllable does.
enum class InitialKind {
  kLetter,      // writes an initial (Initial() gives it); a final follows
  kZero,        // 'o': writes nothing; the next key gives the whole final
  kSyllable,    // writes a whole syllable ('a', 'e' outside ZR, ';' = ing);
                // the next key is again an initial
  kEWithFinal,  // 'e' in ZR: writes e; the next key is a final
  kSeparator,   // '\''
};

// The kind of a first key in a scheme.
InitialKind InitialKindOf(int scheme, char key);

// The text a first key writes: "ch", "sh", "zh" for i, u, v (C_Star swaps
// i and u), "ing" for ';', the letter itself otherwise, "" for 'o' and '\''.
std::string Initial(int scheme, char key);

// The final that finalKey gives after initialKey in the scheme; "" for the
// empty entries and '?'.
std::string Final(int scheme, char initialKey, char finalKey);

}  // namespace shuangpin

namespace shuangpin {

// The short form of pinyin text that the V-mode compares: every "ang",
// "eng", "ing", "ong" loses its n ("xinghao" -> "xighao"), and a final
// "ju", "qu", "xu", "yu" is written with v ("ju" -> "jv", "jun" stays).
std::string ShortForm(const std::string& pinyin);

}  // namespace shuangpin
