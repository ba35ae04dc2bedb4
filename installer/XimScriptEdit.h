// XimScriptEdit.h: the edit that makes the system's X input-method start-up
// script (xinput) choose Kivra in its simplified- and traditional-Chinese
// locale sections. Pure text work, so every rule is tested on fixtures;
// reading the script, the backup and the rewrite are in StartupEdits.h.
//
// The script is taken line by line, each line whole with its own line end.
// Rules, the first that applies deciding:
//   1. a comment goes through unchanged;
//   2. a line "zh_CN...)" or "zh_TW...)" opens that section (not deciding);
//   3. the first XIM= line of a section naming its server (Chinput, then
//      fcitx; xcin) names Kivra instead, and the "if" test line one (two in
//      zh_TW) above it tests for /usr/bin/kvr; XIM="Kivra" only closes the
//      section;
//   4. XIM="none" (any case) becomes Kivra (lower-case "none" only) and is
//      followed by the GTK_IM_MODULE export, unless that line follows it
//      already;
//   5. the first XIM_PROGRAM= line after a case label gets a Kivra entry
//      after it;
//   6. a Kivra entry of an earlier installation (its "Kivra)" label and its
//      XIM_PROGRAM line) is dropped, so a second run gives the same script.
// Lines are compared in their stripped form: blanks removed, then CR, LF,
// tabs and blanks trimmed from both ends.
#pragma once

#include <string>

namespace installer {

// The form in which lines are compared.
std::string StrippedLine(const std::string& line);

// Rewrites script into *out. False (and *out untouched) when the script
// has no case label before its first XIM_PROGRAM= line or no zh_CN or
// zh_TW section that names Chinput, fcitx, xcin or Kivra: then nothing
// should be written.
bool EditXimScript(const std::string& script, std::string* out);

}  // namespace installer
