// WordSearch.h: what the word search dialog (CFindSayingDlg) finds, free of
// X so that tests reach it directly: a piece of GBK text in the phrases of
// the lexicon's store and in the lines of the forecast rule base (sayings,
// poems, xiehouyu).
//
// A match counts only where it starts on a character of the line: the line
// is walked by its GBK characters (a lead byte with its trail byte is one
// character, any other byte one), so bytes that straddle two characters
// never match, and single-byte characters (T恤, 卡拉OK) shift nothing.
#pragma once

#include <cstdint>

#include "base/CString.h"
#include "base/CStringArray.h"

class CChnChars;

namespace wordsearch {

// Kinds of the forecast rule base the dialog searches (groups of the
// engine's rules).
enum : int { kXiehouyu = 0, kSayings = 2, kPoems = 3 };

// Whether text (textLen bytes, at least 1) occurs in line (lineLen bytes)
// starting at one of the line's characters.
bool MatchAtCharacter(const char* line, int lineLen, const char* text, int textLen);
bool MatchAtCharacter(const CString& line, const CString& text);

// Appends every phrase of a phrase store (NUL-ended GBK phrases; the store
// opens with an empty one, so that offset 0 names no phrase) that matches
// text, in store order. The walk goes by the store's length, over empty
// phrases, and never past nBytes, whether or not the last phrase has its
// NUL. Returns the number appended; 0 for a null store.
int FindInPhraseStore(const unsigned char* store, uint32_t nBytes, const CString& text,
                      CStringArray& out);

// Appends the lines of the engine's forecast rules of one kind that match
// text: each non-empty rule of the kind in table order (for xiehouyu and
// poems only the cycle rules), its lines as the engine gives them. Returns
// the number appended.
int GetAllLinkedRules(CChnChars& engine, CStringArray& out, int kind, const CString& text);

}  // namespace wordsearch
