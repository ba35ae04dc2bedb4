// ChnText.h: small text helpers around Chinese input: completing shortened
// pinyin finals, and converting between Big5 and GBK text.
#pragma once

#include "base/CString.h"

// Completes shortened finals in place, each replacement over the whole text
// (non-overlapping, from the left) in this order: "ag" -> "ang", "eg" ->
// "eng", "ig" -> "ing", "og" -> "ong", "jv" -> "ju", "qv" -> "qu", "xv" ->
// "xu", "yv" -> "yu". Returns 1.
int RestoreCompletePY(CString& py);

// Converts src from Big5 to GBK (toBig5 0) or from GBK to Big5 (otherwise)
// into dst, through the C library's converters. A character without a
// counterpart, or a byte that is not one of the source encoding, becomes '?'.
// Returns 1, or 0 when no converter is available (dst is then empty).
int StrBig5ToGbBySys(const char* src, CString& dst, int toBig5);
