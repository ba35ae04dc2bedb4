// XimServer.h: the XIM server's public calls. The application opens the
// server on its display with name/value arguments (IMOpenIM), sets further
// values (IMSetIMValues), and sends requests back to clients through the
// server's method table: a key event it does not use (IMForwardEvent),
// committed text (IMCommitString), start and stop of key forwarding
// (IMPreeditStart, IMPreeditEnd). Client requests reach the application
// through the protocol handler it installs as "protocolHandler".
//
// Arguments are pairs of a name and a value ending with a null name:
//   IMOpenIM(dpy, IMModifiers, "Xi18n", IMServerWindow, win,
//            IMServerName, "Kivra", IMLocale, "zh_CN.GBK,en_US.UTF-8",
//            IMServerTransport, "X/", IMInputStyles, &styles, nullptr);
// Each value is converted at the call into one pointer-sized word: integers
// (a Window, a 32-bit mask) are widened without sign, pointers and function
// pointers keep their value, so the server never reads a 4-byte argument as
// 8 bytes.
//
// Ownership: the handle belongs to the application; IMCloseIM frees it.
// Strings, styles, key lists and encoding lists are copied by the server
// (the encoding names themselves stay the caller's and must outlive it).
// Everything runs on the thread that takes the display's events.
#pragma once

#include <X11/Xlib.h>

#include <array>
#include <cstdint>
#include <type_traits>

#include "xim/XimProto.h"

// Names of the server's values.
constexpr const char* IMModifiers = "modifiers";
constexpr const char* IMServerWindow = "serverWindow";
constexpr const char* IMServerName = "serverName";
constexpr const char* IMLocale = "locale";
constexpr const char* IMServerTransport = "serverTransport";
constexpr const char* IMInputStyles = "inputStyles";
constexpr const char* IMProtocolHandler = "protocolHandler";
constexpr const char* IMOnKeysList = "onKeysList";
constexpr const char* IMOffKeysList = "offKeysList";
constexpr const char* IMEncodingList = "encodingList";
constexpr const char* IMFilterEventMask = "filterEventMask";

// One name/value pair; a list ends with a null name.
struct XIMArg {
  const char* name;
  uintptr_t value;
};

struct IMCoreRec {
  Display* display;
  int screen;
};

// The server's method table, in slot order.
struct IMMethodsRec {
  void* (*setup)(Display* dpy, const XIMArg* args);
  int (*openIM)(XIMS ims);
  int (*closeIM)(XIMS ims);
  const char* (*setIMValues)(XIMS ims, const XIMArg* args);
  const char* (*getIMValues)(XIMS ims, const XIMArg* args);
  int (*forwardEvent)(XIMS ims, IMForwardEventStruct* call_data);
  int (*commitString)(XIMS ims, IMCommitStruct* call_data);
  int (*callCallback)(XIMS ims, IMProtocol* call_data);
  int (*preeditStart)(XIMS ims, IMProtocol* call_data);
  int (*preeditEnd)(XIMS ims, IMProtocol* call_data);
  int (*syncXlib)(XIMS ims, IMProtocol* call_data);
};

struct Xi18nCore;

struct _XIMS {
  const IMMethodsRec* methods;
  IMCoreRec core;
  int sync;             // 1 after IMSyncXlib until the client's sync reply
  Xi18nCore* protocol;  // owned: the server core
};

// The method table of the X transport server.
extern const IMMethodsRec Xi18n_im_methods;

// List forms of the calls below. `args` ends with a null name.
XIMS IMOpenIMList(Display* dpy, const XIMArg* args);
const char* IMSetIMValuesList(XIMS ims, const XIMArg* args);
const char* IMGetIMValuesList(XIMS ims, const XIMArg* args);

namespace ximargs {
template <class T>
uintptr_t Word(T value) {
  if constexpr (std::is_same<T, std::nullptr_t>::value) {
    return 0;
  } else if constexpr (std::is_pointer<T>::value) {
    return reinterpret_cast<uintptr_t>(value);
  } else if constexpr (std::is_enum<T>::value) {
    return static_cast<uintptr_t>(
        static_cast<std::make_unsigned_t<std::underlying_type_t<T>>>(value));
  } else {
    static_assert(std::is_integral<T>::value, "an argument value is a number or a pointer");
    return static_cast<uintptr_t>(static_cast<std::make_unsigned_t<T>>(value));
  }
}

inline void Fill(XIMArg* out, std::nullptr_t) {
  out->name = nullptr;
  out->value = 0;
}

template <class V, class... Rest>
void Fill(XIMArg* out, const char* name, V value, Rest... rest) {
  out->name = name;
  out->value = Word(value);
  Fill(out + 1, rest...);
}

// The list of pairs given to a variadic call, ending with its null name.
template <class... A>
std::array<XIMArg, sizeof...(A) / 2 + 1> List(A... args) {
  static_assert(sizeof...(A) % 2 == 1, "name/value pairs followed by a null name");
  std::array<XIMArg, sizeof...(A) / 2 + 1> list{};
  Fill(list.data(), args...);
  return list;
}
}  // namespace ximargs

// Opens a server on `dpy`: registers "@server=<serverName>" and XIM_SERVERS
// and starts the X transport. Returns null when an argument is bad or
// missing ("locale", "serverTransport", "serverName"), "modifiers" is set
// to something other than empty or "Xi18n", or the name is served already.
template <class... A>
XIMS IMOpenIM(Display* dpy, A... args) {
  return IMOpenIMList(dpy, ximargs::List(args...).data());
}

// Sets further values. Null on success, else the name of the first value
// that failed (a value set before cannot be set again, except
// "protocolHandler").
template <class... A>
const char* IMSetIMValues(XIMS ims, A... args) {
  return IMSetIMValuesList(ims, ximargs::List(args...).data());
}

// Reads values: each value is the address to store into. Lists and strings
// come back as new blocks the caller frees with free(). Null on success,
// else the name of the first value that was never set.
template <class... A>
const char* IMGetIMValues(XIMS ims, A... args) {
  return IMGetIMValuesList(ims, ximargs::List(args...).data());
}

// Unregisters the server, ends the transport and frees the handle. 1.
int IMCloseIM(XIMS ims);

// Sends the key event in `call_data` back to its client (always
// synchronously: the client's sync flag and the record's sync_bit become 1).
// 1 on success; 0 when the connection is unknown or no buffer can be had.
int IMForwardEvent(XIMS ims, IMForwardEventStruct* call_data);
// Commits `commit_string` (or a keysym) to the client's input context; the
// record's flag gains XimSYNCHRONUS. 1 on success, 0 otherwise.
int IMCommitString(XIMS ims, IMCommitStruct* call_data);
// Sends one of the server-to-client callback messages, chosen by the
// record's major code. 0 when no sender is installed for that code.
int IMCallCallback(XIMS ims, IMProtocol* call_data);
// Tells the client to start (mask: the filter event mask) or stop (mask 0)
// forwarding key events for the record's input context. 0 when no trigger
// keys are registered.
int IMPreeditStart(XIMS ims, IMProtocol* call_data);
int IMPreeditEnd(XIMS ims, IMProtocol* call_data);
// Sends XIM_SYNC for the record's input context.
int IMSyncXlib(XIMS ims, IMProtocol* call_data);
