// EditDistance.h: the keyboard-aware edit distance between two key strings,
// which ranks dictionary keys against mistyped keys. Replacing a key by its
// neighbour on the keyboard costs 1; any other replacement, an insertion, a
// deletion or swapping two neighbouring keys costs 3; a match costs 0. The
// keyboard is four rows of the main block ('!', '@', '#' and '$' stand for
// Tab, Caps Lock and the two Shift keys); any other key is next to nothing.
//
// The adjacency set is filled once at dictionary loading and only read
// afterwards. EditDistance works in one scratch matrix that grows to the
// longest strings it has met; it is not re-entrant (the engine has one
// thread).
#pragma once

#include <cstdint>

#include "base/FixedMaps.h"

// The ordered pairs of adjacent keys: key b * 256 + a for the pair (a, b),
// both orders present; the value is unused. Filled by InitAdjcntCharPairs,
// read by adjacent.
extern AMapWordToPtr mapAdjcntCharPairs;

// Enters every adjacent pair of the keyboard rows; a second call adds
// nothing new.
void InitAdjcntCharPairs();
// 1 when a and b are neighbours on the keyboard, else 0.
char adjacent(char a, char b);
// 0 for equal keys, 1 for neighbours, 3 otherwise.
int distBetween2Chars(char a, char b);
// The edit distance of two NUL-terminated key strings of any length (null
// counts as empty). Symmetric in its arguments.
int EditDistance(const char* s1, const char* s2);
// EditDistance when it is below limit; otherwise some value of at least
// limit (the computation stops as soon as the distance cannot stay below).
int EditDistanceBelow(const char* s1, const char* s2, int limit);
