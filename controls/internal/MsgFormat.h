// MsgFormat.h: whether a translated printf format may stand in for the
// original. A translation comes from a text file a user can edit; used as
// a format with the original's arguments it must consume exactly the same
// arguments, or the formatting reads values that were never passed.
#pragma once

#include <string>

namespace msgfmt {

// The argument signature of a printf format: for every conversion its '*'
// widths and precisions, its length modifier and its conversion letter, in
// order ("%%" takes nothing). False for a format that is not understood: an
// unfinished or unknown conversion, a positional argument ("%1$d") or %n,
// which writes through its argument.
bool Signature(const char* format, std::string* signature);

// True when translation may be used as the format of original's arguments:
// both are understood and their signatures are equal.
bool SameConversions(const char* original, const char* translation);

}  // namespace msgfmt
