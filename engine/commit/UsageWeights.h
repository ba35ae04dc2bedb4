// UsageWeights.h: raising one record of a weighted run in place, the step
// under the learned order of pinyin characters (3-byte records: the
// character, then a weight byte) and the phrase weights of the weighted
// pinyin index and the initials index (4-byte entries: a phrase reference,
// then a weight byte). Borrows the run; owns nothing.
//
// A weight is the low five bits of its byte (0..31). The loaders and the
// lookups read only those values and an index scan must never meet a weight
// of 0x80 or above, so every weight is read as its five bits and written
// back as a value 0..31 with the high bits clear: the result of a walk is
// clamped to that range.
#pragma once

#include <cstdint>

namespace usage {

enum class RunKind {
  kChars,    // 3-byte records; a weight 0 stays 0 in the walk
  kPhrases,  // 4-byte entries; the walk raises every weight to at least 1
};

// The weight (0..31) of record r.
uint8_t WeightOf(const uint8_t* run, int stride, int r);

// Raises record p (0 <= p < count) of a run of count records: a weight
// below 31 gains 2 (30 gains 1) and the record moves before the records of
// lower weight; a record of weight 31 moves to the front, takes the weight
// of the record that was there, and the weights after it are walked down so
// that none is more than 2 below its predecessor. Returns false (nothing
// changed) when count < 2 or p is out of range.
bool RaiseRecord(uint8_t* run, int count, int p, RunKind kind);

}  // namespace usage
