// CommitText.h: the text kvr commits to an XIM client, made into the
// COMPOUND_TEXT the client decodes in its own locale.
//
// The engine hands over GBK (Big5 while traditional output is on). The
// server converts in the GB18030 locale, which gives GB2312 segments for the
// GB2312 characters and UTF-8 segments for every other one: GBK, GB18030 and
// UTF-8 clients decode both, a GB2312 client only the first. So a GB2312
// client (it named such a locale when it opened the input method) gets text
// made only of GB2312 characters, and Big5 is turned into GBK first (the
// traditional characters all exist in GBK). Text that cannot take the form
// its client needs is refused whole: nothing is sent rather than garbage.
// A GBK client's XmbLookupString reads no GB2312 or UTF-8 segment, only the
// GBK extended segment ("ESC % / 2", named "GBK-0"), while its
// Xutf8LookupString reads only the standard segments; so a client that
// opened the input method in a GBK locale gets each run of Chinese text in
// both forms, and whichever lookup it calls skips the one it does not know.
#pragma once

#include <string>

struct _XDisplay;

enum class CommitCharset {
  kWide,        // GBK, GB18030, UTF-8 and every other locale
  kGb2312Only,  // .GB2312, .eucCN (Xlib names a zh_CN client "zh_CN.gb2312")
  kGbkSegment,  // .GBK, .CP936
};

// The form for a client that opened the input method in locale lang (null
// or empty: kWide).
CommitCharset CommitCharsetOfLocale(const char* lang);

// Big5 text converted to GBK; false (gbk emptied) when a byte sequence is
// not Big5 or has no GBK form.
bool Big5ToGbk(const char* big5, std::string& gbk);

// The engine's committed text as GBK, for an XIM client and for kvr's own
// edit controls (window message 1400) alike: the engine's GBK as it is, its
// Big5 under traditional output (big5) turned back into GBK, the leading
// 0x08 BackSpaces kept. The controls, their documents, the clipboard and
// the dialogs' data are GBK. False (gbk emptied) when Big5 text has no GBK
// form.
bool CommitGbk(const char* text, bool big5, std::string& gbk);

// Whether every character of GBK text is ASCII or a GB2312 character.
bool IsGb2312Text(const char* gbk);

// The COMPOUND_TEXT of GBK text for a GBK client: ASCII as it is, every
// run of double-byte characters in GBK-0 extended segments (at most 16383
// bytes counted a segment). False (out emptied) when the text is not GBK.
bool GbkToGbkSegments(const char* gbk, std::string& out);

// The COMPOUND_TEXT bytes of GBK text for a client of that form, converted
// on dpy in the current LC_CTYPE locale (GB18030 while kvr serves). False
// (out emptied) when the text is not valid for the form or the conversion
// does not take every character.
bool GbkToCompoundText(_XDisplay* dpy, const char* gbk, CommitCharset form, std::string& out);
