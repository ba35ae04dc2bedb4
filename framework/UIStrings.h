// UIStrings.h: translating the English UI texts at run time, and small text
// helpers of the framework (menu items, keys, paths, trimmed lines).
//
// Every caption, label, message and tool tip is written in English in the
// programs. LoadStringChn looks it up in the [UI_STR] section of the UI-text
// file (gstrUIINI, "morvelui.ini" beside the program) and returns the
// translation when the UI language is Chinese. The key of a text is the
// text without its '&' accelerator marks, cut at a TAB or at "..". The file
// is only read, at every call (it is small and may be edited while the
// program runs).
#pragma once

#include <cstdio>

#include "base/CString.h"

// The path of the UI-text file; empty until each program's InitInstance sets
// it to the program directory + "morvelui.ini". Written only at start-up,
// read by LoadStringChn.
extern CString gstrUIINI;

// Where LoadStringChn learns the UI language (0 English, 1000 simplified
// Chinese, 1001 traditional Chinese): the application object registers a
// reader of its own UI language when it is constructed. Without one the
// language is 0. reader may be null (back to 0).
using UILanguageReader = int (*)();
void SetUILanguageReader(UILanguageReader reader);
int GetUILanguage();

// The text to show for an English UI text: unchanged when the UI language is
// 0 and force is 0; else the [UI_STR] translation (at most 255 bytes, cut
// between characters) or, without one, the whole text. In either case every
// "\n" (backslash, n) becomes a blank and a line feed. text may be null
// (empty result).
CString LoadStringChn(const char* text, int force);

// Copies from to to without its '&' characters; returns to. to needs room
// for strlen(from) + 1 bytes; the two may be the same buffer.
char* remove_ampersand(const char* from, char* to);

// Splits a menu item at its first TAB into the text and the shortcut (empty
// without a TAB). Returns 1.
int GetMnuItemNShortcut(CString item, CString& text, CString& shortcut);

// 1 for the keysyms Home, Left, Up, Right, Down, Prior, Next and End
// (0xFF50 to 0xFF57), else 0.
int IsNavigationKey(unsigned long keysym);

// 1 for an ASCII letter, digit or '_' (the C locale's classes), else 0; any
// int is accepted, a negative one (a high byte through a signed char) is 0.
int iscsym(int c);

// The occurrences of c in s; 1 for c = 0, which finds the terminator.
int strCharCount(const char* s, char c);

// With L the length of pattern, tries the starts from max(0, index - L) to
// min(index, length of text - L) in rising order; at the first one where the
// L bytes of text equal pattern ignoring ASCII case, sets index to it and
// returns 1. Else (or for a negative index) returns 0.
int IsIndexAroundPattern(CString text, int& index, CString pattern);

// Splits a path at its last '\' into dir (before it, empty without one) and
// name (after it, the whole path without one), and the name into ext (after
// its last '.', empty without one). Null outputs are skipped. Returns 1 for
// a drive or network path ("C:...", "\\...", "//..."), else 2.
int GetPartsFromPath(CString* path, CString* dir, CString* name, CString* ext);

// Appends "." + ext unless the path's extension (after its last '.') is
// already ext, ignoring case; ext is given in lower case. Returns 1 when it
// appended, 0 when the extension was there.
int ForceFileExt(CString& path, const char* ext);

// Reads lines with fgets(buffer, size, file) until one holds something but
// CR, LF, TAB and blanks, trims those from both ends of it and moves it to
// the start of buffer. Returns the number of lines read, so the caller can
// count lines; when the file ends first, that count (0 for none) with the
// last line read left in buffer untrimmed.
int fgets_no_whitespace_at_ends(char* buffer, int size, FILE* file);
