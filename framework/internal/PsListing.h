// PsListing.h: reading the lines of a "ps" listing. Two callers look for a
// program in such a listing: FindAppPid (by command name in "ps -A") and
// CWinApp::IsFirstInstance (by program path in "ps -x"). The matching rules
// are pure functions of one line, so they are tested on canned output.
// The listings themselves are read from /proc (ProcListing) in the layout
// ps prints them, which spares a start-up the ps runs (a fork and exec each,
// ~40 ms, against ~1 ms for /proc).
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace afc {

// True when ch separates words in a ps line: CR, LF, TAB or a blank.
bool IsPsSeparator(char ch);

// The process id at the start of a ps line (leading blanks skipped), or 0
// when the line does not start with a number.
int PsLinePid(const char* line);

// FindAppPid's rule: name occurs in line, its first occurrence starts at a
// column c with 11 <= c <= 99, the byte before it is a separator, the byte
// after it a separator or the end of the line. Returns the line's pid when
// all hold and the pid is above 0, else 0.
int PsLineNamesApp(const char* line, const char* name);

// IsFirstInstance's rule: programDir's first occurrence starts at a column p
// with 1 <= p <= 99 after a separator and is followed by programName and a
// separator or the end of the line (the program's own path, not a file
// beside it); the line does not contain "anjuta"; its pid is at least 1 and
// below ownPid.
bool PsLineIsOlderCopy(const char* line, const char* programName, const char* programDir,
                       int ownPid);

// Calls onLine for each line of the stream, read in pieces of at most
// pieceSize - 1 bytes (a longer line arrives as several pieces, as fgets
// delivers it). Stops early when onLine returns true; returns whether it did.
bool ForEachPsLine(FILE* stream, int pieceSize, const std::function<bool(const char*)>& onLine);

// The lines "ps" would print, read from procRoot (normally "/proc") in
// ascending pid order, with the columns the rules above look at where ps
// puts them:
//   kAll ("ps -A"):  "%5d ?        00:00:00 COMM\n", every process, COMM as
//                    in /proc/PID/comm (the first 15 bytes of the name);
//   kMine ("ps -x"): "%5d ?        S      0:00 ARGS\n", the processes whose
//                    /proc/PID belongs to uid, ARGS the command line with
//                    blanks between the arguments, or "[COMM]" when it is
//                    empty (kernel threads).
// The other columns are placeholders: no rule reads them. A process that
// ends while the listing is read is left out.
enum class PsColumns { kAll, kMine };
std::string ProcListing(PsColumns columns, const char* procRoot, unsigned uid);

// Calls onLine for each line of a listing held in memory (as ForEachPsLine).
bool ForEachListingLine(const std::string& listing, int pieceSize,
                        const std::function<bool(const char*)>& onLine);

}  // namespace afc
