// KvrClients.h: the clients the end-to-end tests type into through a
// running kvr, each started as a process of its own and stopped by its
// process id: our Xlib client (XimTestClient) in a locale, xterm running
// "cat > file" (real keys through XTEST) and a Tk entry in wish. Each
// returns the bytes the client received, exactly: the Xlib client's lookup
// results, the file cat wrote, the entry's text.
//
// Keys are a script (tests/support/XTestKeys.h), typed through XTEST about
// 30 ms apart, as a quick typist's; each key is released at once, the
// first too (the trigger's release reaches the client before it has heard
// from the input method).
// Include after <gtest/gtest.h>.
#pragma once

#include <string>

namespace kvrtest {

enum class ClientKind { XlibGbk, XlibUtf8, XlibGb2312, XtermUtf8, XtermGbk, TkEntry };

// "XlibGbk", ... for test names and messages.
const char* ClientName(ClientKind kind);
// The charset the client's bytes are in (for iconv).
const char* ClientCharset(ClientKind kind);

struct Typed {
  bool ok = false;        // the client ran and reported
  std::string bytes;      // what it received
  std::string diagnosis;  // why not ok
};

// Types script into a new client of the given kind that selects imName.
// For xterm and Tk a Return follows the script (it ends the line that cat
// writes, or prints the entry) and is not part of the bytes.
Typed TypeInto(ClientKind kind, const std::string& imName, const std::string& script);

// text (UTF-8) in the given charset; "" when it does not convert.
std::string Recode(const std::string& text, const char* charset);
// Bytes as escaped text, for failure messages.
std::string Escaped(const std::string& bytes);

}  // namespace kvrtest
