// Clipboard.h: text exchange with other X clients through the CLIPBOARD
// selection. Copying keeps the GBK text inside the program and makes the
// application's main window the selection's owner; the event loops answer
// other clients' requests (UTF8_STRING and STRING) while it owns it, and
// empty the text when another client takes the selection. Pasting asks the
// owner for UTF8_STRING, then STRING, and hands back GBK text.
//
// Copy and paste inside the program never go through the X server. The
// requests that the loops answer are served in framework/x11/ClipboardX.h.
#pragma once

#include "base/CString.h"
#include "framework/XTypes.h"

// The text the program offers (GBK); empty when it offers nothing. Written
// by SetClipbrdText and ClearMyClipboard, read when serving requests.
extern CString g_myClipboardStr;

// Atoms interned by ClpbrdInit.
extern unsigned long atmClpbrd, atmTgts, atmSlctnDat, atmUtf8, atmStrg, atmTxt, atmCmpndTxt;

// Interns the seven atoms (the kernel calls it once the display is open).
void ClpbrdInit();
// The CLIPBOARD atom, interned when still 0; 1 when interning fails.
unsigned long ClpbrdAtom();

// Makes the main window the owner of CLIPBOARD; when the server confirms
// it, keeps a copy of text and returns 1. Otherwise (no main window, a null
// text, ownership refused) returns 0 and the old text stays.
int SetClipbrdText(char* text, int);
// The clipboard's text as GBK: 1 with a new[]-allocated, NUL-terminated
// buffer in *out that the caller frees with delete[]; 0 (nothing stored) for
// a null out, no owner, a refusing owner, or one silent for half a second
// per target.
int GetClipbrdText(char** out, int);
// The selection's text for one target (UTF8_STRING is converted to GBK and
// stops before the first character GBK lacks; STRING comes as it is).
// 1 with a new[] buffer in *out, or 0. An owner that answers incrementally
// (INCR, for very large texts) is refused.
int GetSelectionText(unsigned long selection, unsigned long target, char** out);
// Asks the selection's owner to convert to target into SELECTION_DATA on the
// main window and waits up to 10 x 4 ms for the answer. 1 when an answer for
// CLIPBOARD came with a property, else 0. answer receives the event.
int AskForSelectionData(unsigned long selection, unsigned long target, XEvent* answer);
// Empties the program's text; 1 when it held text, else 0.
int ClearMyClipboard();
