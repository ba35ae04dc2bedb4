// JiaMiJieMi.h: the byte scrambling of the phrase store (CiZuFlat.igb).
// Byte i of a run is XORed with byte (i mod 55) of the fixed key `pattern`;
// applying it twice restores the input, so one routine scrambles and
// unscrambles. Callers restart the run at every 512-byte block of the store
// (engine/formats/PhraseStoreFormat.h). The key is fixed for the whole system: a
// store written with one key can only be read with the same key.
#pragma once

#include <cstdint>

// Length of the scrambling key in bytes.
constexpr int kJiaMiKeyLength = 55;

// The scrambling key. Written by nobody; read by JiaMiJieMi.
extern const unsigned char pattern[kJiaMiKeyLength];

// Writes length bytes to `to`: from[i] XOR pattern[i mod 55]. `from` and `to`
// may be the same buffer. A length of 0 or below writes nothing. Returns 1.
int JiaMiJieMi(const unsigned char* from, unsigned char* to, int length);
