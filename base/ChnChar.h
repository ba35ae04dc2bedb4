// ChnChar.h: what a byte or a byte pair of GBK or Big5 text is. Text in this
// system is GBK (Big5 for traditional output): a double-byte character is a
// lead byte followed by a trail byte, everything else is one byte. These tests
// decide lead and trail bytes, symbols and punctuation ("white" characters,
// as opposed to ideographs), Chinese spaces, marks that may open a paragraph
// and identifier bytes.
//
// The ranges are fixed tables of the two encodings and never depend on the C
// locale, so a program started under any locale classifies the same way.
// All functions are pure; the pointers they take are borrowed for the call.
//
// The encoding flag is 0 for GBK and any other value for Big5, except for
// ChnCharBefore, which takes a UI language code (1001 selects Big5).
#pragma once

// Whether c can be a lead byte (lead nonzero) or a trail byte (lead 0).
//   GBK:  lead 0x81..0xFE, trail 0x40..0xFE except 0x7F
//   Big5: lead 0xA1..0xFA, trail 0x40..0xFE (0x7F included)
int IsChnChar(unsigned char c, int lead, int big5);

// A valid pair that is a symbol or punctuation character, not an ideograph:
// GBK codes below 0xB0A1; Big5 leads up to 0xA3 and 0xF9DD..0xF9FE,
// 0xFADD..0xFAFE.
int IsChnWhiteChar(unsigned char lead, unsigned char trail, int big5);

// The complement of IsChnWhiteChar's ranges, without the validity test.
int IsChnNonWhiteChar(unsigned char lead, unsigned char trail, int big5);

// A valid pair that the editor treats as a Chinese space (the ideographic
// space and the blank cells of the symbol rows).
int IsChnSpace(unsigned char lead, unsigned char trail, int big5);

// A valid pair that is a Chinese space or a bullet or numbering mark that can
// open a paragraph.
int IsChnParagraph1stChar(unsigned char lead, unsigned char trail, int big5);

// c is an ASCII letter, digit or '_'.
int IsCSym(unsigned char c);

// Some byte of s other than the last is a lead byte followed by a trail
// byte. s must not be null.
int HasChnChar(const char* s, int big5);

// Stores in starts the offsets at which the characters of s begin, walking
// while the offset is below len - 1 and the byte there is not NUL; a pair
// that would end exactly at len ends the walk. starts[0] is always 0, so
// starts needs room for max(len, 1) entries. Returns the number stored.
long ChnCharBefore(const char* s, long len, long* starts, int lang);

// The text is read as units 16-bit little-endian units (2 * units bytes from
// text). 1 when two consecutive units are (GBK lead, 0) and (GBK trail, 0):
// a GBK character that was widened byte by byte.
int IsUnicodeStrDistortedChn(wchar_t* text, unsigned long units);
