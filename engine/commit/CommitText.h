// CommitText.h: the output conversion of the commit path, apart so that it
// can be tested on its own. in: GBK text; fanTi converts each character to
// Big5 with the two characters before and after it as context (through
// e.Gbk2Big5); addSpace puts a blank after each character that is not a
// full-width digit or letter. A lead byte without its trail byte at the end
// is dropped.
#pragma once

#include <string>

class CChnChars;
class CString;

std::string ConvertCommitText(CChnChars& e, const std::string& in, bool fanTi, bool addSpace);

// The blanks the output adds after the characters of text (none unless
// AddSpaceInOutput is on): what erasing the text at the client must
// erase as well.
int BlanksAddedTo(const CString& text);

// Sends n BackSpace presses to the client whose key was forwarded last
// (through copies of e.m_fwdEvent, which stays as the client sent it).
void SendBackSpacesToClient(CChnChars& e, int n);
