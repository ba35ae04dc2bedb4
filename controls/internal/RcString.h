// RcString.h: small text helpers of the resource-script reader, on
// std::string. "Blank" is the reader's white space: CR, LF, TAB and space.
#pragma once

#include <string>

namespace rctext {

inline bool IsBlank(char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' '; }

// Removes blanks from both ends.
void Trim(std::string& s);
bool StartsWith(const std::string& s, const char* prefix);
// The text up to the first blank (the whole text when it has none).
std::string FirstWord(const std::string& s);
// Replaces every occurrence of from (not empty) by to, left to right.
void ReplaceAll(std::string& s, const char* from, const char* to);
// Whether the leading number of s (C library atoi: blanks, an optional sign,
// then digits) is not 0; it never overflows, however long the digit run.
bool LeadingNumberIsNonZero(const std::string& s);

}  // namespace rctext
