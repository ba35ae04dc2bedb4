// KvrClients.h: the clients the end-to-end tests type into through a
// running kvr, each started as a process of its own and stopped by its
// process id: our Xlib client (XimTestClient) in a locale, xterm running
// "cat > file" (real keys through XTEST), a Tk entry in wish and a GTK 3
// entry (zenity --entry through GTK's XIM input module). Each returns the
// bytes the client received, exactly: the Xlib client's lookup results,
// the file cat wrote, the entry's text.
//
// Keys are a script (tests/support/XTestKeys.h), typed through XTEST at a
// pace: stroke by stroke, about 30 ms apart, as a quick typist's (each key
// is released at once, the first too: the trigger's release reaches the
// client before it has heard from the input method), or in a burst, every
// key made back to back before the client reads any, as events arrive
// from a typing tool or queue up on a loaded machine.
// Include after <gtest/gtest.h>.
#pragma once

#include <string>
#include <vector>

namespace kvrtest {

enum class ClientKind { XlibGbk, XlibUtf8, XlibGb2312, XtermUtf8, XtermGbk, TkEntry, GtkEntry };

// "XlibGbk", ... for test names and messages.
const char* ClientName(ClientKind kind);
// The charset the client's bytes are in (for iconv).
const char* ClientCharset(ClientKind kind);

struct Typed {
  bool ok = false;        // the client ran and reported
  std::string bytes;      // what it received
  std::string diagnosis;  // why not ok
};

enum class Pace { Strokes, Burst };

// Types script into a new client of the given kind that selects imName.
// For xterm, Tk and GTK a Return follows the script (it ends the line that
// cat writes, or prints the entry), for our client's bursts a Tab (it
// comes back last); neither is part of the bytes.
Typed TypeInto(ClientKind kind, const std::string& imName, const std::string& script,
               Pace pace = Pace::Strokes);

// Several of our Xlib clients, each in a process of its own, connected and
// serving all the while: the keys of each script are made in one burst
// into its client (the focus moving to it), the next burst once that
// client has received what kvr gives. One at a time, because kvr's engine
// holds one input and Ctrl+Space switches one input mode: keys of two
// clients typed at the same moment interleave in it. A Tab follows each
// script: it comes back after all kvr makes of the keys before it, so a
// client knows it is done however slow kvr is; it is not part of the
// bytes. What each client received, in the order of scripts.
struct ClientScript {
  ClientKind kind;  // an Xlib kind
  std::string script;
};
std::vector<Typed> BurstIntoEachInTurn(const std::string& imName,
                                       const std::vector<ClientScript>& scripts);

// text (in from, UTF-8 unless said) in the given charset; "" when it does
// not convert.
std::string Recode(const std::string& text, const char* charset, const char* from = "UTF-8");
// Bytes as escaped text, for failure messages.
std::string Escaped(const std::string& bytes);

class XimTestClient;
// Opens client on kvr (imName) in a UTF-8 locale and presses Ctrl+Space
// twice, serving serveMs after each: the first press only starts kvr's
// forwarding of keys, the second switches to Chinese input and shows the
// bar. When the client cannot open, reports "error <step>" on reportFd and
// answers false.
bool OpenInChineseInput(XimTestClient& client, const std::string& imName, int reportFd,
                        int serveMs = 300);

}  // namespace kvrtest
